#include "sim/SimOptions.h"

#include <charconv>
#include <optional>

namespace sim {

namespace {

// A whole number in the given base, nothing else around it, at most max.
std::optional<unsigned long> ParseNumber(const std::string& text, int base, unsigned long max) {
  unsigned long value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
  if (text.empty() || ec != std::errc() || ptr != end || value > max) return std::nullopt;
  return value;
}

std::optional<uint8_t> ParseHexByte(std::string text) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.erase(0, 2);
  if (text.size() > 2) return std::nullopt;
  const auto value = ParseNumber(text, 16, 0xFF);
  if (!value) return std::nullopt;
  return static_cast<uint8_t>(*value);
}

bool ParseType(const std::string& text, Identity& id) {
  uint8_t parts[3];
  size_t from = 0;
  for (int i = 0; i < 3; ++i) {
    const size_t comma = i < 2 ? text.find(',', from) : text.size();
    if (comma == std::string::npos) return false;
    const auto value = ParseHexByte(text.substr(from, comma - from));
    if (!value) return false;
    parts[i] = *value;
    from = comma + 1;
  }
  id.c = parts[0];
  id.b = parts[1];
  id.a = parts[2];
  return true;
}

bool ParseFirmware(const std::string& text, Identity& id) {
  const size_t dot = text.find('.');
  if (dot == std::string::npos) return false;
  const auto major = ParseNumber(text.substr(0, dot), 10, 255);
  const auto minor = ParseNumber(text.substr(dot + 1), 10, 255);
  if (!major || !minor) return false;
  id.major = static_cast<uint8_t>(*major);
  id.minor = static_cast<uint8_t>(*minor);
  return true;
}

constexpr unsigned long kMaxCount = 1'000'000;

}  // namespace

std::string SimUsage() {
  return "Usage: kx2sim [OPTION]...\n"
         "A simulated KX2 unit on a pseudo-terminal. Prints the terminal's path as the first\n"
         "line and answers as a unit until SIGTERM or SIGINT.\n"
         "\n"
         "  --link PATH          also make PATH a symbolic link to the terminal\n"
         "  --type C,B,A         identity bytes in hex (default 1,DA,2: a KX2 unit)\n"
         "  --firmware MAJ.MIN   firmware version (default 1.8)\n"
         "  --size-code N        memory of 128 * 2^N bytes for N from 0 to 9 (default 6: 8192)\n"
         "  --image FILE         raw memory image to start from (default: erased, 0xFF)\n"
         "  --save FILE          write the raw memory image at the end\n"
         "  --latency MS         wait before each reply\n"
         "  --baud N             take the wire time of N baud for what is sent and received\n"
         "  --fault KIND[:ARG]   misbehave; may be repeated:\n"
         "                         silent:N   no reply after N commands (default 0)\n"
         "                         ignore:N   the first N commands get no reply (default 1)\n"
         "                         corrupt:K  every K-th reply has a wrong checksum (default 1)\n"
         "                         noise:N    N noise bytes before each reply (default 1)\n"
         "                         chunk:N    replies written in pieces of N bytes (default 1)\n"
         "                         close:N    the line hangs up after N commands (default 1)\n"
         "  --log FILE           write the traffic to FILE as text\n"
         "  --help               show this text\n";
}

bool ParseFault(const std::string& text, Faults& faults, std::string& error) {
  const size_t colon = text.find(':');
  const std::string kind = text.substr(0, colon);
  struct Kind {
    const char* name;
    int Faults::*field;
    unsigned long fallback;
    unsigned long least;
  };
  static const Kind kKinds[] = {
      {"silent", &Faults::silentAfter, 0, 0},   {"ignore", &Faults::ignoreFirst, 1, 0},
      {"corrupt", &Faults::corruptEvery, 1, 1}, {"noise", &Faults::noise, 1, 0},
      {"chunk", &Faults::chunk, 1, 1},          {"close", &Faults::closeAfter, 1, 1},
  };
  for (const Kind& k : kKinds) {
    if (kind != k.name) continue;
    unsigned long value = k.fallback;
    if (colon != std::string::npos) {
      const auto parsed = ParseNumber(text.substr(colon + 1), 10, kMaxCount);
      if (!parsed || *parsed < k.least) {
        error = "bad argument in --fault " + text;
        return false;
      }
      value = *parsed;
    }
    faults.*k.field = static_cast<int>(value);
    return true;
  }
  error = "unknown fault '" + kind + "' (silent, ignore, corrupt, noise, chunk, close)";
  return false;
}

bool ParseSimOptions(const std::vector<std::string>& args, SimOptions& options,
                     std::string& error) {
  for (size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i];
    std::optional<std::string> inlineValue;
    if (const size_t eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
      inlineValue = name.substr(eq + 1);
      name.erase(eq);
    }
    if (name == "--help" || name == "-h") {
      options.help = true;
      continue;
    }
    static const char* const kWithValue[] = {"--link",  "--type", "--firmware", "--size-code",
                                             "--image", "--save", "--latency",  "--baud",
                                             "--fault", "--log"};
    bool known = false;
    for (const char* option : kWithValue) known = known || name == option;
    if (!known) {
      error = "unknown option " + args[i];
      return false;
    }
    std::string value;
    if (inlineValue) {
      value = *inlineValue;
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      error = name + " needs a value";
      return false;
    }
    const auto bad = [&] {
      error = "bad value for " + name + ": " + value;
      return false;
    };
    if (name == "--link") {
      if (value.empty()) return bad();
      options.link = value;
    } else if (name == "--type") {
      if (!ParseType(value, options.unit.identity)) return bad();
    } else if (name == "--firmware") {
      if (!ParseFirmware(value, options.unit.identity)) return bad();
    } else if (name == "--size-code") {
      const auto code = ParseNumber(value, 10, 255);
      if (!code) return bad();
      options.unit.sizeCode = static_cast<uint8_t>(*code);
    } else if (name == "--image") {
      if (value.empty()) return bad();
      options.image = value;
    } else if (name == "--save") {
      if (value.empty()) return bad();
      options.save = value;
    } else if (name == "--latency") {
      const auto ms = ParseNumber(value, 10, 600'000);
      if (!ms) return bad();
      options.unit.latencyMs = static_cast<int>(*ms);
    } else if (name == "--baud") {
      const auto baud = ParseNumber(value, 10, 10'000'000);
      if (!baud || *baud < 50) return bad();
      options.unit.baud = static_cast<int>(*baud);
    } else if (name == "--fault") {
      if (!ParseFault(value, options.unit.faults, error)) return false;
    } else if (name == "--log") {
      if (value.empty()) return bad();
      options.log = value;
    }
  }
  return true;
}

}  // namespace sim
