#include "orv-render/SystemCalls.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "orv-render/linux/PosixFiles.h"

namespace orv {

int createTemporaryBeside(const std::string& path, std::string& tempPath)
{
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string name = folder + "/." + base + ".orv-render-XXXXXX";
    const int fd = mkstemp(name.data());
    if (fd < 0) return -1;
    // mkstemp makes the file private; give it the permissions a new file normally gets.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    tempPath = name;
    return fd;
}

// Written beside the destination and renamed into place, like the audio output.
bool writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error)
{
    std::string temp;
    const int fd = createTemporaryBeside(path, temp);
    if (fd < 0) {
        error = "cannot write state file '" + path + "': " + std::strerror(errno);
        return false;
    }
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    const bool ok = done == bytes.size() && ::close(fd) == 0;
    if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
        error = "cannot write state file '" + path + "': " + std::strerror(errno);
        unlink(temp.c_str());
        return false;
    }
    return true;
}

void catchInterrupts(void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaction(sig, &action, nullptr);
}

bool standardErrorIsTerminal() { return isatty(STDERR_FILENO) != 0; }

}  // namespace orv
