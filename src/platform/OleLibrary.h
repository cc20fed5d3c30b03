// The window system's object library (OLE: drag and drop, the clipboard, the shell's dialogs),
// initialised for the calling thread while an object of this class lives. Windows only; there
// is nothing to initialise on Linux.
#pragma once

namespace orv {

class OleLibrary {
public:
    OleLibrary();
    ~OleLibrary();
    OleLibrary(const OleLibrary&) = delete;
    OleLibrary& operator=(const OleLibrary&) = delete;

    // True when this object's initialisation succeeded and will be released.
    bool isInitialised() const { return initialised_; }

private:
    bool initialised_ = false;
};

}  // namespace orv
