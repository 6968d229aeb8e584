#include "cli/Cli.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "app/Dialogs.h"
#include "app/FormMain.h"
#include "app/Program.h"
#include "base/Cp1250.h"
#include "base/LangText.h"
#include "base/Paths.h"
#include "base/Qelutils.h"
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

struct Usage {
  std::string message;
};

// Command-line arguments after the global options are taken out.
struct Args {
  std::string command;
  std::vector<std::string> rest;
  bool verbose = false;
  bool help = false;
  std::string language;
};

Args SplitGlobal(const std::vector<std::string>& args) {
  Args a;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& s = args[i];
    if (s == "--lang") {
      if (i + 1 >= args.size()) throw Usage{"--lang needs a language name"};
      a.language = args[++i];
    } else if (s == "-v" || s == "--verbose") {
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
  env.loadLastFile = false;
  env.userLanguageId = 0x0405;  // the program's own language unless --lang names another
  return env;
}

// -v: the terminal's lines on stderr, rendered as the terminal renders them, each when it ends.
class TrafficPrinter : public ui::FormView {
 public:
  TrafficPrinter(VQelTerminal& terminal, std::ostream& err)
      : form_(terminal.TermForm()), lines_(terminal.RichEdit()), err_(err) {
    if (form_ != nullptr) form_->SetView(this);
  }
  ~TrafficPrinter() override {
    if (form_ != nullptr && form_->View() == this) form_->SetView(nullptr);
  }
  void ControlAdded(ui::Control&) override {}
  void ControlRemoved(ui::Control&) override {}
  void ControlChanged(ui::Control& control, ui::Prop what) override {
    if (&control != lines_ || what != ui::Prop::Items) return;
    if (lines_->LastChange().kind == TerminalLines::ChangeKind::LineEnded &&
        !lines_->Lines().empty())
      err_ << Cp1250ToUtf8(lines_->Lines().back().Text()) << "\n";
  }

 private:
  ui::Form* form_;
  TerminalLines* lines_;
  std::ostream& err_;
};

// A headless program with the unit's questions answered and its messages printed.
class Session {
 public:
  struct Flags {
    bool yes = false;
    bool verify = true;
    bool badCrc = false;
    bool verbose = false;
    std::string language;  // display name, UTF-8; empty: the program's own
  };

  Session(std::ostream& err, const Flags& flags)
      : loop_(ui::HeadlessLoop::Clock::Real), err_(err), program_(Env()) {
    const bool yes = flags.yes;
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
    if (!flags.language.empty()) {
      lang::VQelLanguage& language = *Main().VQelLanguage1;
      const std::string wanted = Utf8ToCp1250(flags.language);
      language.SetCurrLanguage(wanted);
      if (!SameTextAscii(language.GetCurrLanguage(), wanted)) {
        std::string known;
        for (const auto& record : language.Languages())
          known += (known.empty() ? "" : ", ") + Cp1250ToUtf8(record->displayName);
        throw Usage{"unknown language " + flags.language + " (known: " + known + ")"};
      }
      loop_.RunPending();
    }
    // The command line works at the Advanced level, where the verification box counts.
    TFormOptions& options = program_.FormOptions();
    options.RGroupExpLevel->SetItemIndex(TFormOptions::Advanced);
    options.CheckCheckEEREAD->SetChecked(flags.verify);
    options.CheckSpoilCRC->SetChecked(flags.badCrc);
    if (flags.verbose) {
      traffic_ = std::make_unique<TrafficPrinter>(*Main().VQelTerminal1, err_);
    }
    progress_ = ::isatty(2) != 0;
    // What start-up reported (a missing list of SMS centres) is printed but is not the
    // operation's failure.
    failed_ = false;
  }

  ~Session() {
    // Close as the desktop closes: the unit is let go and the port closed first. Whatever the
    // command changed it has saved itself, so the unsaved-changes question does not arise.
    Main().configSaved = true;
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

  // Reads or writes the unit's configuration as the Read and Write buttons do. True when the
  // transfer ended successfully.
  bool Transfer(bool writing) {
    TFormMain& m = Main();
    (writing ? m.WriteEEPROM : m.ReadEEPROM)->UserClick();
    auto& sync = Module().SyncScript();
    if (!sync.IsRunning()) return false;  // refused (the message was printed)
    int shown = -1;
    loop_.RunUntil(
        [&] {
          if (progress_) {
            const ui::Gauge& g = *program_.FormProgress().GaugeProg;
            const int percent = g.PercentDone();
            if (percent != shown) {
              err_ << "\r" << (writing ? "writing " : "reading ") << percent << " %" << std::flush;
              shown = percent;
            }
          }
          return !sync.IsRunning();
        },
        24 * 3600 * 1000u);
    if (progress_) err_ << "\n";
    loop_.RunPending();
    return sync.LastEndState() == ScriptDone;
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
  std::unique_ptr<TrafficPrinter> traffic_;
  bool progress_ = false;
  bool failed_ = false;
};

int CmdPorts(const Args& a, std::ostream& out) {
  Options o(a.rest, {}, {});
  if (!o.Positional().empty()) throw Usage{"ports takes no arguments"};
  for (const std::string& p : serial::ListPorts()) out << p << "\n";
  return 0;
}

Session::Flags FlagsOf(const Options& o, const Args& a) {
  Session::Flags f;
  f.yes = o.Flag("--yes");
  f.verify = !o.Flag("--no-verify");
  f.badCrc = o.Flag("--bad-crc");
  f.verbose = a.verbose;
  f.language = a.language;
  return f;
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

// Controls bound to a setting, in creation order: a bound control carries its editor's watch.
std::vector<ui::Control*> BoundControls(const ui::Component& root) {
  std::vector<ui::Control*> out;
  for (ui::Component* c : root.Components()) {
    if (auto* control = dynamic_cast<ui::Control*>(c)) {
      for (ui::Component* inner : control->Components())
        if (std::string(inner->ClassName()) == "TEditorWatch") {
          out.push_back(control);
          break;
        }
    }
    const auto deeper = BoundControls(*c);
    out.insert(out.end(), deeper.begin(), deeper.end());
  }
  return out;
}

// A control's value as show prints it: text for edits and combo boxes, 1/0 for check boxes and
// radio buttons, "mixed" for a greyed all-bits box.
std::string ValueOf(const ui::Control& c, bool& isBool, bool& isMixed) {
  isBool = isMixed = false;
  if (auto* box = dynamic_cast<const ui::CheckBox*>(&c)) {
    isBool = true;
    if (box->State() == ui::CheckState::Grayed) {
      isMixed = true;
      return "mixed";
    }
    return box->Checked() ? "1" : "0";
  }
  if (auto* radio = dynamic_cast<const ui::RadioButton*>(&c)) {
    isBool = true;
    return radio->Checked() ? "1" : "0";
  }
  return Cp1250ToUtf8(c.Text());
}

std::string JsonString(const std::string& utf8) {
  std::string out = "\"";
  for (unsigned char ch : utf8) {
    switch (ch) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (ch < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", ch);
          out += buf;
        } else {
          out += static_cast<char>(ch);
        }
    }
  }
  return out + "\"";
}

// Loads the file and lets the window do what its next poll does (the memory figures, the
// settings' constraints), so what follows sees the window as a user would after the load.
bool LoadInto(Session& s, const std::string& file) {
  const std::string path = std::filesystem::absolute(file).string();
  if (!s.Main().LoadConfigFile(path, true)) return false;
  s.Main().PollStep();
  s.Loop().RunPending();
  return true;
}

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

// One assignment done as a user does it; false (with a message) when a user could not do it.
bool Assign(Session& s, ui::Control& c, const std::string& value, std::ostream& err) {
  TFormMain& m = s.Main();
  if (!c.EffectivelyEnabled() || !c.Showing()) {
    // Pages other than the shown one are not "hidden" to a user: bring its page forward.
    for (ui::Control* p = c.Parent(); p != nullptr; p = p->Parent())
      if (auto* sheet = dynamic_cast<ui::TabSheet*>(p))
        if (sheet->PageControlOf() != nullptr) sheet->PageControlOf()->SetActivePage(sheet);
  }
  if (!c.EffectivelyEnabled()) {
    err << c.Name() << ": the control is disabled\n";
    return false;
  }
  if (auto* box = dynamic_cast<ui::CheckBox*>(&c)) {
    bool want;
    if (value == "1" || value == "on" || value == "true")
      want = true;
    else if (value == "0" || value == "off" || value == "false")
      want = false;
    else if (value == "mixed") {
      err << c.Name() << ": a check box cannot be set to mixed\n";
      return false;
    } else
      throw Usage{c.Name() + " takes 1/0, on/off or true/false"};
    const ui::CheckState target = want ? ui::CheckState::Checked : ui::CheckState::Unchecked;
    for (int i = 0; i < 3 && box->State() != target; ++i) box->UserClick();
    if (box->State() != target) {
      err << c.Name() << ": the check box does not take that state\n";
      return false;
    }
  } else if (auto* radio = dynamic_cast<ui::RadioButton*>(&c)) {
    if (value != "1") throw Usage{c.Name() + " takes 1 (select it)"};
    radio->UserClick();
  } else if (auto* edit = dynamic_cast<ui::Edit*>(&c)) {
    edit->UserReplace(Utf8ToCp1250(value));
  } else if (auto* combo = dynamic_cast<ui::ComboBox*>(&c)) {
    combo->UserReplace(Utf8ToCp1250(value));
  } else {
    throw Usage{c.Name() + " cannot be set"};
  }
  // Leave the control, then let the settings settle.
  m.SetActiveControl(nullptr);
  s.Loop().Advance(30);
  return true;
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
