#include "cli/Cli.h"

#include <cstdlib>
#include <functional>
#include <map>
#include <optional>

#include "app/FormMain.h"
#include "app/Program.h"
#include "device/KXADCdect.h"
#include "eeprom/VConfigByteArray.h"
#include "lang/LangText.h"
#include "protocol/VScriptConnect.h"
#include "protocol/VScriptReset.h"
#include "serial/PortNames.h"
#include "serial/TQlsComm32.h"
#include "support/Cp1250.h"
#include "support/Paths.h"
#include "ui/HeadlessLoop.h"

namespace cli {
namespace {

const char* const kUsage =
    "usage: kx2ctl [--verbose] COMMAND [ARGS]\n"
    "\n"
    "commands:\n"
    "  ports                                   list the serial ports found\n"
    "  identify --port PORT [--timeout SEC] [--yes]\n"
    "                                          connect, print type, firmware and memory size\n"
    "  reset --port PORT [--timeout SEC] [--yes]\n"
    "                                          connect, reset the unit, close the port\n"
    "\n"
    "Run 'kx2ctl COMMAND --help' for a command's options.\n";

struct Usage {
  std::string message;
};

// Command-line arguments after the global options are taken out.
struct Args {
  std::string command;
  std::vector<std::string> rest;
  bool verbose = false;
  bool help = false;
};

Args SplitGlobal(const std::vector<std::string>& args) {
  Args a;
  for (const std::string& s : args) {
    if (s == "-v" || s == "--verbose") {
      a.verbose = true;
    } else if (s == "-h" || s == "--help") {
      a.help = true;
    } else if (a.command.empty() && !s.empty() && s[0] != '-') {
      a.command = s;
    } else {
      a.rest.push_back(s);
    }
  }
  return a;
}

// Options of one command: "--name value" and flags.
class Options {
 public:
  Options(std::vector<std::string> rest, std::vector<std::string> valued,
          std::vector<std::string> flags) {
    for (size_t i = 0; i < rest.size(); ++i) {
      const std::string& s = rest[i];
      if (std::find(valued.begin(), valued.end(), s) != valued.end()) {
        if (i + 1 >= rest.size()) throw Usage{s + " needs a value"};
        values_[s] = rest[++i];
      } else if (std::find(flags.begin(), flags.end(), s) != flags.end()) {
        flags_[s] = true;
      } else if (!s.empty() && s[0] == '-' && s != "-") {
        throw Usage{"unknown option " + s};
      } else {
        positional_.push_back(s);
      }
    }
  }
  std::optional<std::string> Value(const std::string& name) const {
    auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    return it->second;
  }
  bool Flag(const std::string& name) const { return flags_.count(name) != 0; }
  const std::vector<std::string>& Positional() const { return positional_; }

 private:
  std::map<std::string, std::string> values_;
  std::map<std::string, bool> flags_;
  std::vector<std::string> positional_;
};

uint32_t TimeoutMs(const Options& o, uint32_t defaultSec) {
  const auto v = o.Value("--timeout");
  if (!v) return defaultSec * 1000;
  char* end = nullptr;
  const double sec = std::strtod(v->c_str(), &end);
  if (end == v->c_str() || *end != 0 || sec <= 0 || sec > 86400) throw Usage{"bad --timeout"};
  return static_cast<uint32_t>(sec * 1000);
}

// kx2ctl reads and writes none of the desktop's stored options; it takes the shipped system
// files from beside its own folder.
ProgramEnv Env() {
  ProgramEnv env;
  env.sysConfDir = SysConfDir();
  return env;
}

// A headless program with the unit's questions answered and its messages printed.
class Session {
 public:
  Session(std::ostream& err, bool yes)
      : loop_(ui::HeadlessLoop::Clock::Real), err_(err), program_(Env()) {
    loop_.SetBoxHandler([this, yes](const ui::HeadlessLoop::BoxCall& call) -> int {
      const unsigned type = call.flags & ui::MB_TYPEMASK;
      if (type == ui::MB_YESNO || type == ui::MB_YESNOCANCEL) {
        const int answer = yes ? ui::IDYES : ui::IDNO;
        err_ << Cp1250ToUtf8(call.text) << " -> " << (yes ? "yes" : "no") << "\n";
        return answer;
      }
      err_ << Cp1250ToUtf8(call.text) << "\n";
      if ((call.flags & ui::MB_ICONMASK) == ui::MB_ICONERROR ||
          (call.flags & ui::MB_ICONMASK) == ui::MB_ICONWARNING)
        failed_ = true;
      return ui::IDOK;
    });
    program_.Start();
    loop_.RunUntil([this] { return Main().startedUp; }, 10000);
  }

  ~Session() {
    // Close as the desktop closes: the unit is let go and the port closed first.
    Main().Close();
    loop_.RunUntil([this] { return Main().closeDone; }, 15000);
  }

  TFormMain& Main() { return program_.Main(); }
  VUniModule& Module() { return *Main().uniModule; }
  ui::HeadlessLoop& Loop() { return loop_; }
  bool MessageFailed() const { return failed_; }

  // Connects as the desktop does: the port typed into the combo box, then Connect. The link test
  // is repeated until the unit answers or linkTimeoutMs passes; later exchanges run on the
  // program's own time-outs. Returns true when the unit is identified.
  bool Connect(const std::string& port, uint32_t linkTimeoutMs) {
    TFormMain& m = Main();
    m.ComboComm->UserReplace(Utf8ToCp1250(port));
    m.BtnConnect->UserClick();
    loop_.RunPending();  // the port's state report arrives as posted work
    if (!m.QlsComm321->Connected()) {
      err_ << Cp1250ToUtf8(m.LabelComm->Text()) << ": " << port << "\n";
      return false;
    }
    auto& connect = Module().ConnectScript();
    loop_.RunUntil([&] { return !connect.IsRunning() || connect.State() > 1; }, linkTimeoutMs);
    if (connect.IsRunning() && connect.State() <= 1) {
      // No answer to the link test: abort as a user does with the same button.
      m.BtnConnect->UserClick();
      loop_.RunUntil([&] { return !connect.IsRunning(); }, 5000);
      err_ << Cp1250ToUtf8(GetLangText("Texts", "CommPortNoResp", Win1250("Není odpověď"))) << "\n";
      return false;
    }
    loop_.RunUntil([&] { return !connect.IsRunning(); }, 60000);
    return !Module().IsDisconnected();
  }

  // Disconnects as the desktop's Disconnect does: reset, then the port closes.
  bool Disconnect() {
    TFormMain& m = Main();
    if (Module().IsDisconnected()) return true;
    m.BtnConnect->UserClick();
    auto& reset = Module().ResetScript();
    loop_.RunUntil([&] { return !reset.IsRunning() && !m.QlsComm321->Connected(); }, 30000);
    return !failed_;
  }

 private:
  ui::HeadlessLoop loop_;
  std::ostream& err_;
  Program program_;
  bool failed_ = false;
};

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
  Session s(err, o.Flag("--yes"));
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

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  try {
    const Args a = SplitGlobal(args);
    if (a.command.empty()) {
      (a.help ? out : err) << kUsage;
      return a.help ? 0 : 2;
    }
    if (a.help) {
      out << kUsage;
      return 0;
    }
    if (a.command == "ports") return CmdPorts(a, out);
    if (a.command == "identify") return CmdIdentify(a, out, err, false);
    if (a.command == "reset") return CmdIdentify(a, out, err, true);
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
