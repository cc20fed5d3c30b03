#include "toolkit/CNewFileSelector.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "platform/ChildProcess.h"
#include "toolkit/CFrame.h"
#include "toolkit/IPlatformFrame.h"

namespace orv {

struct CNewFileSelector::Session {
    int pid = -1;
    int pipeFd = -1;
    bool outputClosed = false;
    std::string output;
};

namespace {

// Reads what the dialog has written so far.
void readOutput(int fd, std::string& output, bool& closed)
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0) {
            output.append(buffer, static_cast<size_t>(n));
            continue;
        }
        if (n == 0) closed = true;
        if (n < 0 && errno == EINTR) continue;
        break;  // EOF or nothing more for now
    }
}

bool hasExtension(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    return dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
}

}  // namespace

const char CNewFileSelector::kPathSeparator = '/';

CNewFileSelector::CNewFileSelector(CFrame* frame, Style style) : frame_(frame), style_(style) {}

CNewFileSelector::~CNewFileSelector() { stopSession(); }

bool CNewFileSelector::canRun() const { return !getCommandLine().empty(); }

std::vector<std::string> CNewFileSelector::getCommandLine() const
{
    std::string program;
    bool zenityStyle = true;
    if (const char* custom = std::getenv(kCommandVariable); custom != nullptr && *custom != 0) {
        program = custom;
    } else if (isOnPath("zenity")) {
        program = "zenity";
    } else if (isOnPath("kdialog")) {
        program = "kdialog";
        zenityStyle = false;
    } else {
        return {};
    }

    unsigned long parentWindow = 0;
    if (frame_ != nullptr && frame_->getPlatformFrame() != nullptr && frame_->getPlatformFrame()->isValid())
        parentWindow = frame_->getPlatformFrame()->getTopLevelWindowId();

    std::string start = initialDirectory_;
    if (!start.empty() && start.back() != '/') start += '/';
    if (style_ == kSelectSaveFile) start += defaultSaveName_;

    std::vector<std::string> args{program};
    if (zenityStyle) {
        args.push_back("--file-selection");
        args.push_back("--title=" + title_);
        args.push_back("--modal");
        if (parentWindow != 0) args.push_back("--attach=" + std::to_string(parentWindow));
        if (style_ == kSelectSaveFile) {
            args.push_back("--save");
            args.push_back("--confirm-overwrite");
        } else if (style_ == kSelectDirectory) {
            args.push_back("--directory");
        }
        if (multiple_ && style_ == kSelectFile) {
            args.push_back("--multiple");
            args.push_back("--separator=\n");
        }
        if (!start.empty()) args.push_back("--filename=" + start);
        for (const CFileExtension& e : extensions_)
            args.push_back("--file-filter=" + e.description + " (*." + e.extension + ") | *." + e.extension);
        if (!extensions_.empty()) args.push_back("--file-filter=All files | *");
    } else {
        args.push_back("--title");
        args.push_back(title_);
        if (parentWindow != 0) {
            args.push_back("--attach");
            args.push_back(std::to_string(parentWindow));
        }
        if (multiple_ && style_ == kSelectFile) {
            args.push_back("--multiple");
            args.push_back("--separate-output");
        }
        args.push_back(style_ == kSelectSaveFile        ? "--getsavefilename"
                           : style_ == kSelectDirectory ? "--getexistingdirectory"
                                                        : "--getopenfilename");
        args.push_back(start.empty() ? "." : start);
        if (style_ != kSelectDirectory) {
            std::string filter;
            for (const CFileExtension& e : extensions_) {
                if (!filter.empty()) filter += '\n';
                filter += e.description + " (*." + e.extension + ")";
            }
            if (!filter.empty()) args.push_back(filter);
        }
    }
    return args;
}

bool CNewFileSelector::run(Callback callback)
{
    if (isRunning() || frame_ == nullptr) return false;
    const std::vector<std::string> args = getCommandLine();
    if (args.empty()) return false;

    int fd = -1;
    // The dialog's own warnings stay visible on our error output.
    const pid_t pid = spawnReading(args, false, fd);
    if (pid < 0) return false;
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);

    session_ = std::make_unique<Session>();
    session_->pid = pid;
    session_->pipeFd = fd;
    selected_.clear();
    callback_ = std::move(callback);
    remember();  // kept alive until the dialog has answered
    frame_->addIdleListener(this);
    frame_->beginModalSession();
    return true;
}

void CNewFileSelector::onIdle()
{
    if (!isRunning()) return;
    Session& session = *session_;
    readOutput(session.pipeFd, session.output, session.outputClosed);
    int status = 0;
    const pid_t r = waitpid(session.pid, &status, WNOHANG);
    if (r == 0) return;  // still open
    int exitStatus = 1;
    if (r == session.pid) {
        exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 1;
    } else {
        // The host reaps children itself (SIGCHLD ignored): judge by the output once it ends.
        if (!session.outputClosed) return;
        exitStatus = session.output.empty() ? 1 : 0;
    }
    // Everything the program wrote before exiting is already in the pipe.
    readOutput(session.pipeFd, session.output, session.outputClosed);
    close(session.pipeFd);
    const std::string output = std::move(session.output);
    session_.reset();
    if (exitStatus == 0) {
        std::stringstream lines(output);
        std::string line;
        while (std::getline(lines, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.empty()) continue;
            if (style_ == kSelectSaveFile && !hasExtension(line)) {
                const std::string& ext = !defaultExtension_.extension.empty() ? defaultExtension_.extension
                    : !extensions_.empty()                                    ? extensions_.front().extension
                                                                              : std::string();
                if (!ext.empty()) line += "." + ext;
            }
            selected_.push_back(line);
        }
    }
    deliver();
}

void CNewFileSelector::stopSession()
{
    if (session_ == nullptr) return;
    if (session_->pid > 0) {
        kill(session_->pid, SIGTERM);
        int status = 0;
        while (waitpid(session_->pid, &status, 0) < 0 && errno == EINTR) {}
    }
    if (session_->pipeFd >= 0) close(session_->pipeFd);
    session_.reset();
}

}  // namespace orv
