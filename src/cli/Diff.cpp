// kx2ctl diff: what differs between two configurations, or between a unit and a file, in the
// names and forms of show. Exit codes follow diff(1): 0 same, 1 different, 2 trouble.

#include <filesystem>
#include <stdexcept>

#include "app/BoundValues.h"
#include "base/Cp1250.h"
#include "cli/Commands.h"

namespace cli {
namespace {

constexpr int kSame = 0;
constexpr int kDifferent = 1;
constexpr int kTrouble = 2;

std::string Shown(const std::string& value, bool text) {
  return text ? Cp1250ToUtf8(value) : value;
}

// The file's values as show prints them; nothing when the file cannot be read (the program's
// message was printed).
std::optional<std::vector<BoundValue>> FileValues(const Args& a, const Options& o,
                                                  const std::string& file, std::ostream& err) {
  Session s(err, FlagsOf(o, a));
  if (!LoadInto(s, file)) return std::nullopt;
  s.Settle();
  return BoundValues(s.Main());
}

// The unit's values, read exactly as read reads them.
std::optional<std::vector<BoundValue>> UnitValues(const Args& a, const Options& o,
                                                  const std::string& port, std::ostream& err) {
  const uint32_t timeout = TimeoutMs(o, 10);
  Session s(err, FlagsOf(o, a));
  if (!s.Connect(port, timeout)) return std::nullopt;
  const bool ok = s.Transfer(false);
  std::optional<std::vector<BoundValue>> values;
  if (ok) {
    s.Settle();
    values = BoundValues(s.Main());
  }
  if (!s.Disconnect()) return std::nullopt;
  return values;
}

}  // namespace

int CmdDiff(const Args& a, std::ostream& out, std::ostream& err) {
  Options o(a.rest, {"--port", "--timeout"}, {"--no-verify", "--yes"});
  const auto port = o.Value("--port");
  const auto& files = o.Positional();
  if (port ? files.size() != 1 : files.size() != 2)
    throw Usage{port ? "diff --port takes one configuration file"
                     : "diff takes two configuration files, or --port and one file"};
  if (!port && (o.Value("--timeout") || o.Flag("--no-verify") || o.Flag("--yes")))
    throw Usage{"--timeout, --no-verify and --yes go with --port"};
  try {
    // The file first: a file that cannot be read is known before the unit is disturbed.
    const auto b = FileValues(a, o, files.back(), err);
    if (!b) return kTrouble;
    const auto unitOrFile = port ? UnitValues(a, o, *port, err) : FileValues(a, o, files[0], err);
    if (!unitOrFile) return kTrouble;
    const auto differences = Differences(*unitOrFile, *b);
    for (const ValueDifference& d : differences) {
      // Both sides come from the same windows, so a name has one kind of value on either.
      bool text = true;
      for (const BoundValue& v : *b)
        if (v.name == d.name) text = v.kind == BoundValue::Kind::Text;
      out << d.name << ": " << Shown(d.a, text) << " -> " << Shown(d.b, text) << "\n";
    }
    out.flush();
    return differences.empty() ? kSame : kDifferent;
  } catch (const std::exception& e) {
    err << "kx2ctl: " << e.what() << "\n";
    return kTrouble;
  }
}

}  // namespace cli
