#include "cli/Cli.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>

#include "app/BoundValues.h"
#include "app/Dialogs.h"
#include "app/FormMain.h"
#include "app/Program.h"
#include "base/Cp1250.h"
#include "base/LangText.h"
#include "base/Paths.h"
#include "base/Qelutils.h"
#include "cli/Commands.h"
#include "cli/FlatJson.h"
#include "cli/Record.h"
#include "cli/Session.h"
#include "components/VQelTerminal.h"
#include "components/VQelTerminalView.h"
#include "device/KXADCdect.h"
#include "eeprom/VConfigByteArray.h"
#include "lang/LanguageRecord.h"
#include "lang/VQelLanguage.h"
#include "protocol/VScriptConnect.h"
#include "protocol/VScriptReset.h"
#include "protocol/VScriptSyncEEPROM.h"
#include "serial/CommsLog.h"
#include "serial/PortNames.h"
#include "serial/TQlsComm32.h"
#include "ui/HeadlessLoop.h"

namespace cli {
namespace {

const char* const kUsage =
    "usage: kx2ctl [--lang NAME] [--verbose] [--comms-log FILE] COMMAND [ARGS]\n"
    "\n"
    "global options (before or after the command):\n"
    "  --lang NAME        the program's texts in this language (its display name, e.g. English)\n"
    "  -v, --verbose      the terminal's lines of the traffic on stderr\n"
    "  --comms-log FILE   append the serial component's debug log to FILE\n"
    "\n"
    "commands:\n"
    "  ports                                   list the serial ports found (path, adapter)\n"
    "  probe [PORT...] [--timeout SEC] [--yes]\n"
    "                                          look for a unit on each port given, or on every\n"
    "                                          port found (2 s each): 'PORT: TYPE, firmware\n"
    "                                          MAJ.MIN, BYTES bytes' or 'PORT: no unit'; exit 0\n"
    "                                          when at least one unit answered, 1 when none did\n"
    "  identify --port PORT [--timeout SEC] [--yes]\n"
    "                                          connect, print type, firmware and memory size\n"
    "  reset --port PORT [--timeout SEC] [--yes]\n"
    "                                          connect, reset the unit, close the port\n"
    "  doctor [PORT]                           check what stands between this user and the\n"
    "                                          serial ports (permissions, group, ModemManager,\n"
    "                                          brltty) and say how to mend it; exit 0 when\n"
    "                                          nothing does, 1 when something does\n"
    "  new --output FILE.eep                   save the configuration a fresh start shows\n"
    "  show FILE.eep [--json]                  print the settings of a configuration file\n"
    "  set FILE.eep [NAME=VALUE...] [--from-json JSON] [--output OUT.eep]\n"
    "                                          edit settings as a user would, then save;\n"
    "                                          --from-json applies what show --json prints\n"
    "                                          (JSON a file, - for stdin), leaving values that\n"
    "                                          already match alone, then the assignments\n"
    "  diff A.eep B.eep | diff --port PORT [--timeout SEC] [--no-verify] [--yes] FILE.eep\n"
    "                                          one line 'NAME: A -> B' per setting that differs\n"
    "                                          (with --port the unit, read as read reads it, is\n"
    "                                          A); exit 0 when nothing differs, 1 when something\n"
    "                                          does, 2 on trouble, as diff(1)\n"
    "  read --port PORT --output FILE.eep [--no-verify] [--timeout SEC] [--yes]\n"
    "       [--record FILE.csv]\n"
    "                                          read the unit's configuration into a file\n"
    "  write --port PORT FILE.eep [--set NAME=VALUE...] [--backup OLD.eep] [--no-verify]\n"
    "        [--bad-crc] [--timeout SEC] [--yes] [--record FILE.csv]\n"
    "                                          write a configuration file to the unit; --set\n"
    "                                          changes settings as set does for this write only\n"
    "                                          (the file stays as it is); --backup first reads\n"
    "                                          the unit into OLD.eep and writes nothing when that\n"
    "                                          read fails\n"
    "  report FILE.eep --output REPORT.html    the HTML report of a configuration file\n"
    "\n";

const char* const kRecordNote =
    "--record FILE.csv appends one line per run (UTC time, port, type, firmware, memory,\n"
    "station, operation, result, message), with a header line when the file is new.\n";

const char* const kExitCodes =
    "\n"
    "Exit codes: 0 success, 1 the operation failed (the program's message on stderr), 2 usage;\n"
    "diff: 0 same, 1 different, 2 trouble.\n"
    "Run 'kx2ctl COMMAND --help' for a command's options.\n";

int CmdPorts(const Args& a, std::ostream& out) {
  Options o(a.rest, {}, {});
  if (!o.Positional().empty()) throw Usage{"ports takes no arguments"};
  // The path first and alone when there is nothing to add, so that a script may take the first
  // word of each line (or the whole line) as the port.
  for (const serial::Port& p : serial::FindPorts()) {
    out << p.path;
    if (!p.description.empty()) out << "  " << p.description;
    out << "\n";
  }
  return 0;
}

int CmdIdentify(const Args& a, std::ostream& out, std::ostream& err, bool reset) {
  Options o(a.rest, {"--port", "--timeout"}, {"--yes"});
  const auto port = o.Value("--port");
  if (!port) throw Usage{"--port is required"};
  if (!o.Positional().empty()) throw Usage{"unexpected argument " + o.Positional().front()};
  const uint32_t timeout = TimeoutMs(o, 10);
  Session s(err, FlagsOf(o, a));
  if (!s.Connect(*port, timeout)) return 1;
  if (!reset) {
    VUniModule& m = s.Module();
    out << "type: " << Cp1250ToUtf8(m.TypeName(m.devTypeC, m.devTypeB, m.devTypeA)) << "\n";
    out << "firmware: " << int(m.verMajor) << "." << int(m.verMinor) << "\n";
    out << "memory: " << m.Image().capacity() << "\n";
    out.flush();
  }
  if (!s.Disconnect() || s.MessageFailed()) return 1;
  return 0;
}

// ---- configuration files ----

int CmdNew(const Args& a, std::ostream&, std::ostream& err) {
  Options o(a.rest, {"--output"}, {});
  const auto output = o.Value("--output");
  if (!output) throw Usage{"--output is required"};
  if (!o.Positional().empty()) throw Usage{"unexpected argument " + o.Positional().front()};
  Session s(err, FlagsOf(o, a));
  return s.Main().SaveConfigFile(std::filesystem::absolute(*output).string()) ? 0 : 1;
}

int CmdShow(const Args& a, std::ostream& out, std::ostream& err) {
  Options o(a.rest, {}, {"--json"});
  if (o.Positional().size() != 1) throw Usage{"show takes one configuration file"};
  Session s(err, FlagsOf(o, a));
  if (!LoadInto(s, o.Positional()[0])) return 1;
  s.Loop().RunPending();
  const auto controls = BoundControls(s.Main());
  if (o.Flag("--json")) {
    out << "{";
    bool first = true;
    for (ui::Control* c : controls) {
      bool isBool, isMixed;
      const std::string v = ValueOf(*c, isBool, isMixed);
      out << (first ? "\n  " : ",\n  ") << JsonString(c->Name()) << ": ";
      if (isMixed)
        out << "\"mixed\"";
      else if (isBool)
        out << (v == "1" ? "true" : "false");
      else
        out << JsonString(v);
      first = false;
    }
    out << "\n}\n";
  } else {
    for (ui::Control* c : controls) {
      bool isBool, isMixed;
      out << c->Name() << "=" << ValueOf(*c, isBool, isMixed) << "\n";
    }
  }
  return 0;
}

std::string ReadAll(const std::string& path) {
  if (path == "-") return std::string(std::istreambuf_iterator<char>(std::cin), {});
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Usage{"cannot read " + path};
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// --from-json: the object show --json prints, applied in creation order. A value that equals the
// control's current one is left alone, so greyed or disabled controls that already match are no
// error, and a show --json of the same file applies as nothing at all.
bool ApplyJson(Session& s, const std::string& jsonPath, std::ostream& err) {
  std::vector<JsonMember> members;
  try {
    members = ParseFlatJson(ReadAll(jsonPath));
  } catch (const JsonError& e) {
    throw Usage{jsonPath + ": " + e.what()};
  }
  const auto controls = BoundControls(s.Main());
  for (const JsonMember& m : members) {
    bool known = false;
    for (ui::Control* c : controls) known = known || ui::SameName(c->Name(), m.name);
    if (!known) throw Usage{"unknown setting " + m.name};
  }
  // An all-bits box reads "mixed" because of the boxes of its row, which come after it: it is
  // checked once they are done.
  std::vector<std::pair<ui::Control*, const JsonMember*>> mixed;
  for (ui::Control* c : controls) {
    for (const JsonMember& m : members) {
      if (!ui::SameName(c->Name(), m.name)) continue;
      bool isBool, isMixed;
      const std::string now = ValueOf(*c, isBool, isMixed);
      if (isBool && !m.isBool && m.value == "mixed") {
        mixed.push_back({c, &m});
        continue;
      }
      if (m.isBool && !isBool)
        throw Usage{m.name + " takes a text, not " + (m.value == "1" ? "true" : "false")};
      if (now == m.value) continue;
      if (!Assign(s, *c, m.value, err)) return false;
    }
  }
  for (auto& [c, m] : mixed) {
    bool isBool, isMixed;
    ValueOf(*c, isBool, isMixed);
    if (!isMixed && !Assign(s, *c, m->value, err)) return false;
  }
  return true;
}

int CmdSet(const Args& a, std::ostream&, std::ostream& err) {
  Options o(a.rest, {"--output", "--from-json"}, {});
  const auto& pos = o.Positional();
  const auto json = o.Value("--from-json");
  if (pos.empty() || (pos.size() < 2 && !json))
    throw Usage{"set takes a configuration file and NAME=VALUE assignments or --from-json"};
  const std::string file = pos[0];
  const std::string output = o.Value("--output").value_or(file);
  Session s(err, FlagsOf(o, a));
  if (!LoadInto(s, file)) return 1;
  s.Loop().RunPending();
  // The assignments are checked before anything is applied: a usage error changes nothing.
  const std::vector<std::string> assignments(pos.begin() + 1, pos.end());
  ResolveAssignments(s, assignments);
  if (json && !ApplyJson(s, *json, err)) return 1;
  if (!ApplyAssignments(s, assignments, err)) return 1;
  return s.Main().SaveConfigFile(std::filesystem::absolute(output).string()) ? 0 : 1;
}

// --record FILE.csv: the line of this run, whatever its end.
class Recorder {
 public:
  Recorder(const Options& o, std::string port, std::string operation) {
    if (const auto path = o.Value("--record")) path_ = std::filesystem::absolute(*path).string();
    line_.port = std::move(port);
    line_.operation = std::move(operation);
  }
  // The unit as identified; called once connected.
  void Identified(Session& s) {
    VUniModule& m = s.Module();
    line_.type = Cp1250ToUtf8(m.TypeName(m.devTypeC, m.devTypeB, m.devTypeA));
    line_.firmware = std::to_string(m.verMajor) + "." + std::to_string(m.verMinor);
    line_.memory = std::to_string(m.Image().capacity());
  }
  // The result; false when the record could not be written (which fails the run: a
  // technician relies on the list being complete).
  bool Finish(Session& s, bool ok, std::ostream& err) {
    if (path_.empty()) return true;
    line_.station = Cp1250ToUtf8(s.Main().EditStationName->Text());
    line_.result = ok ? "ok" : "failed";
    line_.message = s.LastMessage();
    std::string error;
    if (AppendRecord(path_, line_, error)) return true;
    err << "kx2ctl: " << path_ << ": " << error << "\n";
    return false;
  }

 private:
  std::string path_;
  RecordLine line_;
};

int CmdRead(const Args& a, std::ostream&, std::ostream& err) {
  Options o(a.rest, {"--port", "--output", "--timeout", "--record"}, {"--no-verify", "--yes"});
  const auto port = o.Value("--port");
  const auto output = o.Value("--output");
  if (!port || !output) throw Usage{"--port and --output are required"};
  if (!o.Positional().empty()) throw Usage{"unexpected argument " + o.Positional().front()};
  const uint32_t timeout = TimeoutMs(o, 10);
  Session s(err, FlagsOf(o, a));
  Recorder record(o, *port, "read");
  if (!s.Connect(*port, timeout)) {
    record.Finish(s, false, err);
    return 1;
  }
  record.Identified(s);
  const bool ok = s.Transfer(false);
  // A failed read writes no file.
  const bool saved = ok && s.Main().SaveConfigFile(std::filesystem::absolute(*output).string());
  const bool released = s.Disconnect();
  const bool done = ok && saved && released;
  const bool recorded = record.Finish(s, done, err);
  return done && recorded ? 0 : 1;
}

int CmdWrite(const Args& a, std::ostream&, std::ostream& err) {
  std::vector<std::string> rest = a.rest;
  const std::vector<std::string> assignments = TakeList(rest, "--set");
  Options o(rest, {"--port", "--timeout", "--record", "--backup"},
            {"--no-verify", "--bad-crc", "--yes"});
  const auto port = o.Value("--port");
  if (!port) throw Usage{"--port is required"};
  if (o.Positional().size() != 1) throw Usage{"write takes one configuration file"};
  const std::string file = o.Positional()[0];
  const auto backup = o.Value("--backup");
  // A backup over the file would write the unit's old settings back to it.
  if (backup && std::filesystem::weakly_canonical(std::filesystem::absolute(*backup)) ==
                    std::filesystem::weakly_canonical(std::filesystem::absolute(file)))
    throw Usage{"--backup must not name the file being written"};
  const uint32_t timeout = TimeoutMs(o, 10);
  Session s(err, FlagsOf(o, a));
  Recorder record(o, *port, "write");
  // The file with its assignments, as the window shows it before the write.
  auto prepare = [&] {
    if (!LoadInto(s, file)) return false;
    s.Loop().RunPending();
    return ApplyAssignments(s, assignments, err);
  };
  // Checked before the unit is touched; the file itself is never saved, so one file serves
  // many units.
  if (!prepare()) {
    record.Finish(s, false, err);
    return 1;
  }
  if (!s.Connect(*port, timeout)) {
    record.Finish(s, false, err);
    return 1;
  }
  record.Identified(s);
  if (backup) {
    // What the unit held, read as read reads it; without it nothing is written.
    const bool saved =
        s.Transfer(false) && s.Main().SaveConfigFile(std::filesystem::absolute(*backup).string());
    if (!saved || !prepare()) {
      s.Disconnect();
      record.Finish(s, false, err);
      return 1;
    }
  }
  const bool ok = s.Transfer(true);
  const bool released = s.Disconnect();
  const bool recorded = record.Finish(s, ok && released, err);
  return ok && released && recorded ? 0 : 1;
}

int CmdReport(const Args& a, std::ostream&, std::ostream& err) {
  Options o(a.rest, {"--output"}, {});
  const auto output = o.Value("--output");
  if (!output) throw Usage{"--output is required"};
  if (o.Positional().size() != 1) throw Usage{"report takes one configuration file"};
  Session s(err, FlagsOf(o, a));
  if (!LoadInto(s, o.Positional()[0])) return 1;
  s.Loop().RunPending();
  return s.Main().SaveReport(std::filesystem::absolute(*output).string()) ? 0 : 1;
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  try {
    const Args a = SplitGlobal(args);
    if (a.command.empty()) {
      (a.help ? out : err) << kUsage << kRecordNote << kExitCodes;
      return a.help ? 0 : 2;
    }
    if (a.help) {
      // The command's own lines of the usage text.
      const std::string usage = kUsage;
      const std::string head = "  " + a.command + " ";
      size_t at = usage.find(head);
      if (at == std::string::npos) at = usage.find("  " + a.command + "\n");
      if (at == std::string::npos) throw Usage{"unknown command " + a.command};
      size_t end = usage.find("\n  ", at + 1);
      while (end != std::string::npos && usage.compare(end + 3, 1, " ") == 0)
        end = usage.find("\n  ", end + 1);
      out << "usage: kx2ctl [--lang NAME] [--verbose] [--comms-log FILE]"
          << usage.substr(at + 1, end - at) << "\n";
      if (a.command == "read" || a.command == "write") out << kRecordNote;
      if (a.command != "diff" && a.command != "probe" && a.command != "doctor")
        out << "Exit codes: 0 success, 1 the operation failed (the program's message on stderr), "
               "2 usage.\n";
      return 0;
    }
    std::optional<serial::CommsLogScope> commsLog;
    if (!a.commsLog.empty()) commsLog.emplace(std::filesystem::absolute(a.commsLog).string());
    if (a.command == "ports") return CmdPorts(a, out);
    if (a.command == "probe") return CmdProbe(a, out, err);
    if (a.command == "doctor") return CmdDoctor(a, out, err);
    if (a.command == "diff") return CmdDiff(a, out, err);
    if (a.command == "identify") return CmdIdentify(a, out, err, false);
    if (a.command == "reset") return CmdIdentify(a, out, err, true);
    if (a.command == "new") return CmdNew(a, out, err);
    if (a.command == "show") return CmdShow(a, out, err);
    if (a.command == "set") return CmdSet(a, out, err);
    if (a.command == "read") return CmdRead(a, out, err);
    if (a.command == "write") return CmdWrite(a, out, err);
    if (a.command == "report") return CmdReport(a, out, err);
    throw Usage{"unknown command " + a.command};
  } catch (const Usage& u) {
    err << "kx2ctl: " << u.message << "\n" << kUsage << kRecordNote << kExitCodes;
    return 2;
  } catch (const std::exception& e) {
    err << "kx2ctl: " << e.what() << "\n";
    return 1;
  }
}

}  // namespace cli
