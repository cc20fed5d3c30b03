#include "platform/OleLibrary.h"

#include <ole2.h>
#include <windows.h>

namespace orv {

// A thread that the host already initialised for COM in another mode answers
// RPC_E_CHANGED_MODE: then there is nothing of ours to release.
OleLibrary::OleLibrary() : initialised_(SUCCEEDED(OleInitialize(nullptr))) {}

OleLibrary::~OleLibrary()
{
    if (initialised_) OleUninitialize();
}

}  // namespace orv
