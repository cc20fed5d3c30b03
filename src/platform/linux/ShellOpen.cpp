#include "platform/ShellOpen.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "platform/ChildProcess.h"

namespace orv {

namespace {

constexpr int kQueryTimeoutMs = 5000;  // xdg-mime answers in well under a second

// Waits for a child; a host that ignores SIGCHLD reaps it itself (ECHILD), which counts as a
// normal end.
int waitForChild(pid_t pid)
{
    int status = 0;
    for (;;) {
        if (waitpid(pid, &status, 0) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (errno == EINTR) continue;
        return errno == ECHILD ? 0 : -1;
    }
}

// Runs a short query and collects its first output line; false when it could not run, failed or
// took too long.
bool query(const std::vector<std::string>& args, std::string& line)
{
    int fd = -1;
    const pid_t pid = spawnReading(args, true, fd);
    if (pid < 0) return false;
    std::string output;
    bool timedOut = false;
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        const int ready = poll(&p, 1, kQueryTimeoutMs);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) {
            timedOut = true;
            break;
        }
        char buffer[512];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        output.append(buffer, static_cast<std::size_t>(n));
    }
    close(fd);
    if (timedOut) kill(pid, SIGKILL);
    const int status = waitForChild(pid);
    if (timedOut || status != 0) return false;
    line = output.substr(0, output.find('\n'));
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    return true;
}

}  // namespace

ShellOpen::Result ShellOpen::openDocument(const std::string& path)
{
    if (path.empty() || access(path.c_str(), R_OK) != 0) return Result::Failed;

    // Without xdg-mime the association cannot be checked; xdg-open then decides alone.
    if (isOnPath("xdg-mime")) {
        std::string type;
        std::string application;
        if (query({"xdg-mime", "query", "filetype", path}, type) && !type.empty() &&
            query({"xdg-mime", "query", "default", type}, application) && application.empty())
            return Result::NoApplication;
    }

    if (!isOnPath("xdg-open")) return Result::Failed;
    // xdg-open is started by a shell that leaves it running in the background and ends at once:
    // the viewer is never waited for, and no child is left behind for the host to reap.
    const pid_t shell =
        spawnChild({"/bin/sh", "-c", "xdg-open \"$1\" </dev/null >/dev/null 2>&1 &", "sh", path}, -1, true);
    if (shell < 0) return Result::Failed;
    return waitForChild(shell) == 0 ? Result::Opened : Result::Failed;
}

}  // namespace orv
