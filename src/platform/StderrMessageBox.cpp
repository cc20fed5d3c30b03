#include "platform/StderrMessageBox.h"

#include <cstdio>

namespace orv {

void StderrMessageBox::show(const std::string& title, const std::string& text)
{
    std::fprintf(stderr, "%s%s%s\n", title.c_str(), title.empty() ? "" : ": ", text.c_str());
}

}  // namespace orv
