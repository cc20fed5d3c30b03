// Opens a document with the application the desktop associates with its type: the type and its
// application are looked up with xdg-mime, the document is handed to xdg-open, which keeps
// running on its own (the caller never waits for the viewer).
#pragma once

#include <string>

namespace orv {

class ShellOpen {
public:
    enum class Result {
        Opened,         // xdg-open was started with the document
        NoApplication,  // no application is associated with the document's type
        Failed,         // no such document, or xdg-open is missing or could not be started
    };

    static Result openDocument(const std::string& path);
};

}  // namespace orv
