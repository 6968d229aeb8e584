#include "cli/Cli.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
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
#include "serial/PortNames.h"
#include "serial/TQlsComm32.h"
#include "ui/HeadlessLoop.h"

namespace cli {
namespace {

const char* const kUsage =
    "usage: kx2ctl [--lang NAME] [--verbose] COMMAND [ARGS]\n"
    "\n"
    "commands:\n"
    "  ports                                   list the serial ports found\n"
    "  identify --port PORT [--timeout SEC] [--yes]\n"
    "                                          connect, print type, firmware and memory size\n"
    "  reset --port PORT [--timeout SEC] [--yes]\n"
    "                                          connect, reset the unit, close the port\n"
    "  new --output FILE.eep                   save the configuration a fresh start shows\n"
    "  show FILE.eep [--json]                  print the settings of a configuration file\n"
    "  set FILE.eep NAME=VALUE... [--output OUT.eep]\n"
    "                                          edit settings as a user would, then save\n"
    "  read --port PORT --output FILE.eep [--no-verify] [--timeout SEC] [--yes]\n"
    "                                          read the unit's configuration into a file\n"
    "  write --port PORT FILE.eep [--no-verify] [--bad-crc] [--timeout SEC] [--yes]\n"
    "                                          write a configuration file to the unit\n"
    "  report FILE.eep --output REPORT.html    the HTML report of a configuration file\n"
    "\n"
    "Run 'kx2ctl COMMAND --help' for a command's options.\n";

int CmdPorts(const Args& a, std::ostream& out) {
  Options o(a.rest, {}, {});
  if (!o.Positional().empty()) throw Usage{"ports takes no arguments"};
  for (const std::string& p : serial::ListPorts()) out << p << "\n";
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

int CmdSet(const Args& a, std::ostream&, std::ostream& err) {
  Options o(a.rest, {"--output"}, {});
  const auto& pos = o.Positional();
  if (pos.size() < 2) throw Usage{"set takes a configuration file and NAME=VALUE assignments"};
  const std::string file = pos[0];
  const std::string output = o.Value("--output").value_or(file);
  Session s(err, FlagsOf(o, a));
  if (!LoadInto(s, file)) return 1;
  s.Loop().RunPending();
  const auto controls = BoundControls(s.Main());
  std::vector<std::pair<ui::Control*, std::string>> work;
  for (size_t i = 1; i < pos.size(); ++i) {
    const size_t eq = pos[i].find('=');
    if (eq == std::string::npos || eq == 0) throw Usage{"expected NAME=VALUE, got " + pos[i]};
    const std::string name = pos[i].substr(0, eq);
    ui::Control* found = nullptr;
    for (ui::Control* c : controls)
      if (ui::SameName(c->Name(), name)) found = c;
    if (found == nullptr) throw Usage{"unknown setting " + name};
    work.push_back({found, pos[i].substr(eq + 1)});
  }
  for (auto& [control, value] : work)
    if (!Assign(s, *control, value, err)) return 1;
  return s.Main().SaveConfigFile(std::filesystem::absolute(output).string()) ? 0 : 1;
}

int CmdRead(const Args& a, std::ostream&, std::ostream& err) {
  Options o(a.rest, {"--port", "--output", "--timeout"}, {"--no-verify", "--yes"});
  const auto port = o.Value("--port");
  const auto output = o.Value("--output");
  if (!port || !output) throw Usage{"--port and --output are required"};
  if (!o.Positional().empty()) throw Usage{"unexpected argument " + o.Positional().front()};
  const uint32_t timeout = TimeoutMs(o, 10);
  Session s(err, FlagsOf(o, a));
  if (!s.Connect(*port, timeout)) return 1;
  const bool ok = s.Transfer(false);
  // A failed read writes no file.
  const bool saved = ok && s.Main().SaveConfigFile(std::filesystem::absolute(*output).string());
  const bool released = s.Disconnect();
  return ok && saved && released ? 0 : 1;
}

int CmdWrite(const Args& a, std::ostream&, std::ostream& err) {
  Options o(a.rest, {"--port", "--timeout"}, {"--no-verify", "--bad-crc", "--yes"});
  const auto port = o.Value("--port");
  if (!port) throw Usage{"--port is required"};
  if (o.Positional().size() != 1) throw Usage{"write takes one configuration file"};
  const uint32_t timeout = TimeoutMs(o, 10);
  Session s(err, FlagsOf(o, a));
  if (!LoadInto(s, o.Positional()[0])) return 1;
  if (!s.Connect(*port, timeout)) return 1;
  const bool ok = s.Transfer(true);
  const bool released = s.Disconnect();
  return ok && released ? 0 : 1;
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
      (a.help ? out : err) << kUsage;
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
      out << "usage: kx2ctl [--lang NAME] [--verbose]" << usage.substr(at + 1, end - at) << "\n";
      return 0;
    }
    if (a.command == "ports") return CmdPorts(a, out);
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
    err << "kx2ctl: " << u.message << "\n" << kUsage;
    return 2;
  } catch (const std::exception& e) {
    err << "kx2ctl: " << e.what() << "\n";
    return 1;
  }
}

}  // namespace cli
