// Starting a helper program (dialogs, the desktop's opener, its queries) without waiting for it.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace orv {

// Starts args[0] (looked up on PATH) with args, standard input from /dev/null and standard
// output into stdoutFd (or /dev/null when stdoutFd < 0); its error output goes to /dev/null
// when discardErrors is set, else where ours goes. Answers the child's id, -1 when it could
// not be started.
pid_t spawnChild(const std::vector<std::string>& args, int stdoutFd, bool discardErrors);

// The same with standard output into a new pipe whose read end (close-on-exec) is put in
// readFd; -1 and no pipe left open when it could not be started.
pid_t spawnReading(const std::vector<std::string>& args, bool discardErrors, int& readFd);

// True when an executable of that name is in one of PATH's folders (an empty entry is the
// current folder).
bool isOnPath(const std::string& program);

}  // namespace orv
