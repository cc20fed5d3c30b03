// Opens a document with the application the system associates with its type; the caller never
// waits for the viewer.
// - Linux: the type and its application are looked up with xdg-mime, the document is handed to
//   xdg-open, which keeps running on its own.
// - Windows: the shell's "open" verb (ShellExecuteW, shown normally).
#pragma once

#include <string>

namespace orv {

class ShellOpen {
public:
    enum class Result {
        Opened,         // the opener was started with the document
        NoApplication,  // no application is associated with the document's type
        Failed,         // no such document, or the opener is missing or could not be started
    };

    static Result openDocument(const std::string& path);
};

}  // namespace orv
