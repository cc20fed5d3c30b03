// Open and save file dialogs. The dialog is a separate program (zenity, or kdialog where that
// is what exists) started without waiting; its answer is read from a pipe at the frame's idle
// and handed to a callback. While it runs, the frame ignores mouse and keys (the dialog is
// modal over it). The environment variable ORV_FILE_SELECTOR names a program to run instead;
// it gets zenity's arguments and answers as zenity does (chosen paths on standard output, one
// per line, exit status 0; cancel: exit status 1, no output). Tests script it that way.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "toolkit/CBaseObject.h"
#include "toolkit/CFileExtension.h"
#include "toolkit/IIdleListener.h"

namespace orv {

class CFrame;

class CNewFileSelector : public CBaseObject, public IIdleListener {
public:
    enum Style { kSelectFile, kSelectSaveFile, kSelectDirectory };
    using Callback = std::function<void(CNewFileSelector*)>;

    static constexpr const char* kCommandVariable = "ORV_FILE_SELECTOR";

    static CNewFileSelector* create(CFrame* frame, Style style) { return new CNewFileSelector(frame, style); }
    CNewFileSelector(CFrame* frame, Style style);
    ~CNewFileSelector() override;

    void setTitle(const std::string& title) { title_ = title; }
    void setInitialDirectory(const std::string& directory) { initialDirectory_ = directory; }
    void setDefaultSaveName(const std::string& name) { defaultSaveName_ = name; }
    void addFileExtension(const CFileExtension& extension) { extensions_.push_back(extension); }
    // Appended to a saved file name that has no extension.
    void setDefaultExtension(const CFileExtension& extension) { defaultExtension_ = extension; }
    void setAllowMultiFileSelection(bool state) { multiple_ = state; }

    // Starts the dialog and returns at once; false when no dialog program could be started.
    // The callback runs once, at a later idle of the frame, after the dialog has closed.
    bool run(Callback callback);
    // Ends a running dialog; the callback is not called.
    void cancel();
    bool isRunning() const { return pid_ > 0; }

    int getNumSelectedFiles() const { return static_cast<int>(selected_.size()); }
    const char* getSelectedFile(int index) const;

    // The argument vector the dialog runs with (the program first).
    std::vector<std::string> getCommandLine() const;

    void onIdle() override;
    void onFrameClosing() override;

private:
    void stopChild();
    void readOutput();
    void finish(int exitStatus);

    CFrame* frame_;
    Style style_;
    std::string title_;
    std::string initialDirectory_;
    std::string defaultSaveName_;
    std::vector<CFileExtension> extensions_;
    CFileExtension defaultExtension_;
    bool multiple_ = false;

    Callback callback_;
    int pid_ = -1;
    int pipeFd_ = -1;
    bool outputClosed_ = false;
    std::string output_;
    std::vector<std::string> selected_;
};

}  // namespace orv
