#pragma once
// kx2ctl run in-process: its exit code and what it printed.

#include <sstream>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "common/TempDir.h"

struct CtlResult {
  int code;
  std::string out, err;
};

inline CtlResult Ctl(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int code = cli::Run(args, out, err);
  return {code, out.str(), err.str()};
}

// A test with a fresh folder of its own; P("a.eep") names a file in it.
struct CtlInFolder : ::testing::Test {
  TempDir dir;
  std::string P(const char* name) const { return dir / name; }
};
