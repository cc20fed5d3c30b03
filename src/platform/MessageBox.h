// A simple message box: a title and a text shown to the user, who closes it. The editor shows
// it as a modal view inside its window; without one it goes to the standard error stream.
#pragma once

#include <string>

namespace orv {

class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual void show(const std::string& title, const std::string& text) = 0;
};

}  // namespace orv
