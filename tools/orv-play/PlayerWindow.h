// The editor in a top-level X11 window of its own, titled with the current program's name.
// Everything here runs on the main thread, which also idles the editor.
#pragma once

#include <string>

#include "hostlib/PluginHost.h"

typedef struct _XDisplay Display;

namespace orv::play {

class PlayerWindow {
public:
    explicit PlayerWindow(PluginHost& host) : host_(host) {}
    ~PlayerWindow() { close(); }
    PlayerWindow(const PlayerWindow&) = delete;
    PlayerWindow& operator=(const PlayerWindow&) = delete;

    // Opens the window at the editor's size and the editor in it. False with the reason.
    bool open(std::string& error);
    // Handles the window's events, idles the editor and follows the program name. False once
    // the user closed the window.
    bool idle();
    // Waits at most milliseconds for an event of the window.
    void wait(int milliseconds);
    void close();

private:
    void updateTitle();

    PluginHost& host_;
    Display* display_ = nullptr;
    unsigned long window_ = 0;
    unsigned long deleteAtom_ = 0;
    bool editorOpen_ = false;
    bool closed_ = false;     // the user asked to close the window
    bool destroyed_ = false;  // the window is gone already
    std::string title_;
};

}  // namespace orv::play
