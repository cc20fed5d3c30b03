// Open and save file dialogs; the answer is handed to a callback at the frame's idle, and while
// a dialog is open the frame ignores mouse and keys (the dialog is modal over it).
// On Linux the dialog is a separate program (zenity, or kdialog where that is what exists)
// started without waiting, its answer read from a pipe. The environment variable
// ORV_FILE_SELECTOR names a program to run instead; it gets zenity's arguments and answers as
// zenity does (chosen paths on standard output, one per line, exit status 0; cancel: exit
// status 1, no output). Tests script it that way.
// On Windows it is the system's common open or save dialog (linux/ and windows/
// CNewFileSelector.cpp hold the two implementations).
#pragma once

#include <functional>
#include <memory>
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
    // The separator of the folders in the paths the dialog answers ('/' or '\\').
    static const char kPathSeparator;

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

    // False when this system has no way to show the dialog (Linux: no dialog program).
    bool canRun() const;
    // Starts the dialog (on Linux it returns at once, on Windows when the dialog has closed);
    // false when it could not be started. The callback runs once, at a later idle of the
    // frame, after the dialog has closed.
    bool run(Callback callback);
    // Ends a running dialog; the callback is not called.
    void cancel();
    bool isRunning() const { return session_ != nullptr; }

    int getNumSelectedFiles() const { return static_cast<int>(selected_.size()); }
    const char* getSelectedFile(int index) const;

    // Linux: the argument vector the dialog runs with (the program first); empty when there
    // is no dialog program.
    std::vector<std::string> getCommandLine() const;

    void onIdle() override;
    void onFrameClosing() override;

private:
    // The dialog under way (on Linux its process and pipe), one definition per OS.
    struct Session;
    // Ends the session without an answer.
    void stopSession();
    // Hands the answer in selected_ to the callback, once the session has ended.
    void deliver();

    CFrame* frame_;
    Style style_;
    std::string title_;
    std::string initialDirectory_;
    std::string defaultSaveName_;
    std::vector<CFileExtension> extensions_;
    CFileExtension defaultExtension_;
    bool multiple_ = false;

    Callback callback_;
    std::unique_ptr<Session> session_;
    std::vector<std::string> selected_;
};

}  // namespace orv
