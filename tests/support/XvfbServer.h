// A private Xvfb server for the X11 tests, on a display number it picks itself (it reports
// the number through -displayfd), stopped when the object goes.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

extern char** environ;

namespace orv::test {

class XvfbServer {
public:
    ~XvfbServer() { stop(); }

    // Starts a server with one screen of the given size. Answers an empty text on success,
    // else why there is no server.
    std::string start(int width, int height)
    {
        int fds[2];
        if (pipe(fds) != 0) return "no pipe for Xvfb";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        constexpr int kChildFd = 3;  // the descriptor the server writes its display number to
        posix_spawn_file_actions_adddup2(&actions, fds[1], kChildFd);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
        const char* argv[] = {"Xvfb", "-displayfd", "3", "-screen", "0", screen.c_str(), "-nolisten", "tcp", nullptr};
        const int err = posix_spawnp(&pid_, "Xvfb", &actions, nullptr, const_cast<char**>(argv), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        if (err != 0) {
            close(fds[0]);
            pid_ = -1;
            return "Xvfb is not installed (Debian package xvfb, installed by ./go setup)";
        }
        std::string number;
        pollfd p{fds[0], POLLIN, 0};
        constexpr int kStartTimeoutMs = 10000;
        char c = 0;
        while (poll(&p, 1, kStartTimeoutMs) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        close(fds[0]);
        if (number.empty()) return "Xvfb did not report its display";
        display_ = ":" + number;
        return "";
    }
    void stop()
    {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

}  // namespace orv::test
