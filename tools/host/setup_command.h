#pragma once
// quorlex-host setup: loads the host file, makes the command line's changes through the setup
// sheet's logic, writes the file when they are all accepted, and shows the sheet's view.

#include <ostream>
#include <span>
#include <string_view>

namespace quorlex::host {

// The arguments after "setup"; the exit status: 0 when done, 2 for any error, which is one
// message on err (the usage after a bad command line) and leaves the file untouched.
int runSetupCommand(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err);

}  // namespace quorlex::host
