#include "platform/OleLibrary.h"

namespace orv {

OleLibrary::OleLibrary() = default;
OleLibrary::~OleLibrary() = default;

}  // namespace orv
