#pragma once
// The commands of kx2ctl that live in files of their own. Each returns the exit code; usage
// errors are thrown as Usage.

#include <ostream>

#include "cli/Session.h"

namespace cli {

int CmdDiff(const Args& a, std::ostream& out, std::ostream& err);
int CmdProbe(const Args& a, std::ostream& out, std::ostream& err);
int CmdDoctor(const Args& a, std::ostream& out, std::ostream& err);

}  // namespace cli
