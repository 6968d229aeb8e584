#pragma once
// The one JSON shape kx2ctl reads: the flat object that show --json prints, names to strings or
// booleans.

#include <stdexcept>
#include <string>
#include <vector>

namespace cli {

struct JsonMember {
  std::string name;   // UTF-8
  std::string value;  // UTF-8 text; a boolean as "1" or "0"
  bool isBool = false;
};

struct JsonError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Members in the order written. Throws JsonError (with the offset) on anything else: nesting,
// numbers, null, a repeated name, text after the object, a broken escape or UTF-8 sequence.
std::vector<JsonMember> ParseFlatJson(const std::string& text);

}  // namespace cli
