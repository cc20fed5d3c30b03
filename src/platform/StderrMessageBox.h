// Message box for when no window can show one: writes the title and the text on the standard
// error stream.
#pragma once

#include "platform/MessageBox.h"

namespace orv {

class StderrMessageBox : public MessageBox {
public:
    void show(const std::string& title, const std::string& text) override;
};

}  // namespace orv
