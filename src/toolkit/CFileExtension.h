// A file type offered by a file selector: a description and an extension without the dot.
#pragma once

#include <string>

namespace orv {

struct CFileExtension {
    std::string description;
    std::string extension;
};

}  // namespace orv
