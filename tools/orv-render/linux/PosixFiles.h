// Helpers of orv-render's Linux files.
#pragma once

#include <string>

namespace orv {

// Creates a hidden temporary file in the folder of path, with the permissions a new file
// normally gets, for writing there and renaming over path. Answers its descriptor and sets
// tempPath, or answers -1 with errno set.
int createTemporaryBeside(const std::string& path, std::string& tempPath);

}  // namespace orv
