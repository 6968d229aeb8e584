#pragma once
// kx2ctl: the program's windows built headless and driven the way a user drives them.
// Exit codes: 0 success, 1 the operation failed (the program's message on stderr), 2 usage.

#include <ostream>
#include <string>
#include <vector>

namespace cli {

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace cli
