#include "platform/ChildProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>

extern char** environ;

namespace orv {

pid_t spawnChild(const std::vector<std::string>& args, int stdoutFd, bool discardErrors)
{
    if (args.empty()) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (stdoutFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, stdoutFd, STDOUT_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    if (discardErrors) posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int err = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return err == 0 ? pid : -1;
}

pid_t spawnReading(const std::vector<std::string>& args, bool discardErrors, int& readFd)
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return -1;
    const pid_t pid = spawnChild(args, fds[1], discardErrors);
    close(fds[1]);
    if (pid < 0) {
        close(fds[0]);
        return -1;
    }
    readFd = fds[0];
    return pid;
}

bool isOnPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    if (path == nullptr) return false;
    const std::string_view dirs = path;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = dirs.find(':', start);
        const std::string_view dir = dirs.substr(start, end == std::string_view::npos ? dirs.npos : end - start);
        const std::string candidate = (dir.empty() ? std::string(".") : std::string(dir)) + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0) return true;
        if (end == std::string_view::npos) return false;
        start = end + 1;
    }
}

}  // namespace orv
