// The few things orv-render asks of the operating system beyond standard C++.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orv {

// Writes bytes to a temporary file beside path and puts it in place of path only when all
// was written, so that a failure leaves no partial file behind.
bool writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error);

// Calls handler when the user interrupts the program (Ctrl-C, or a termination request).
void catchInterrupts(void (*handler)(int));

// True when the standard error stream is a terminal (a progress bar is worth drawing).
bool standardErrorIsTerminal();

}  // namespace orv
