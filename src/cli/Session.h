#pragma once
// What the commands of kx2ctl share: the parsing of their arguments and the headless program
// they drive (the windows answered and printed the way a user at the command line needs).

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/Dialogs.h"
#include "app/FormMain.h"
#include "app/Program.h"
#include "base/Cp1250.h"
#include "base/LangText.h"
#include "base/Qelutils.h"
#include "components/VQelTerminal.h"
#include "components/VQelTerminalView.h"
#include "device/KXADCdect.h"
#include "lang/LanguageRecord.h"
#include "lang/VQelLanguage.h"
#include "protocol/VScriptConnect.h"
#include "protocol/VScriptReset.h"
#include "protocol/VScriptSyncEEPROM.h"
#include "serial/TQlsComm32.h"
#include "ui/Controls.h"
#include "ui/HeadlessLoop.h"

namespace cli {

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
  std::string commsLog;  // --comms-log FILE; empty: no debug log
};

Args SplitGlobal(const std::vector<std::string>& args);

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

uint32_t TimeoutMs(const Options& o, uint32_t defaultSec);

// kx2ctl reads and writes none of the desktop's stored options; it takes the shipped system
// files from beside its own folder.
ProgramEnv Env();

// -v: the terminal's lines on stderr, rendered as the terminal renders them, each when it ends.
class TrafficPrinter : public ui::FormView {
 public:
  TrafficPrinter(VQelTerminal& terminal, std::ostream& err)
      : form_(terminal.TermForm()), lines_(terminal.RichEdit()), err_(err) {
    if (form_) form_->SetView(this);
  }
  ~TrafficPrinter() override {
    if (form_ && form_->View() == this) form_->SetView(nullptr);
  }
  void ControlAdded(ui::Control&) override {}
  void ControlRemoved(ui::Control&) override {}
  void ControlChanged(ui::Control& control, ui::Prop what) override {
    if (&control != lines_.get() || what != ui::Prop::Items) return;
    if (lines_->LastChange().kind == TerminalLines::ChangeKind::LineEnded &&
        !lines_->Lines().empty())
      err_ << Cp1250ToUtf8(lines_->Lines().back().Text()) << "\n";
  }

 private:
  ui::Ref<ui::Form> form_;
  ui::Ref<TerminalLines> lines_;
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
        lastMessage_ = Cp1250ToUtf8(call.text);
        return answer;
      }
      err_ << Cp1250ToUtf8(call.text) << "\n";
      lastMessage_ = Cp1250ToUtf8(call.text);
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
    lastMessage_.clear();
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
  // The last message shown (UTF-8), for the commissioning record.
  const std::string& LastMessage() const { return lastMessage_; }
  void NoteMessage(const std::string& utf8) { lastMessage_ = utf8; }

  // Lets the window settle as it does between a user's actions: posted work, then a few ticks
  // of the poll loop, whose last step brings the settings tree up to date.
  void Settle() {
    loop_.RunPending();
    loop_.Advance(30);
  }

  // Connects as the desktop does: the port typed into the combo box, then Connect. The link test
  // is repeated until the unit answers or linkTimeoutMs passes; later exchanges run on the
  // program's own time-outs. Returns true when the unit is identified.
  bool Connect(const std::string& port, uint32_t linkTimeoutMs) {
    TFormMain& m = Main();
    m.ComboComm->UserReplace(Utf8ToCp1250(port));
    m.BtnConnect->UserClick();
    loop_.RunPending();  // the port's state report arrives as posted work
    if (!m.QlsComm321->Connected()) {
      // The label's text, the port, and the system's reason from the label's hint.
      lastMessage_ = Cp1250ToUtf8(m.LabelComm->Text());
      err_ << lastMessage_ << ": " << port;
      if (!m.LabelComm->Hint().empty()) {
        lastMessage_ += " (" + Cp1250ToUtf8(m.LabelComm->Hint()) + ")";
        err_ << " (" << Cp1250ToUtf8(m.LabelComm->Hint()) << ")";
      }
      err_ << "\n";
      return false;
    }
    auto& connect = Module().ConnectScript();
    loop_.RunUntil([&] { return !connect.IsRunning() || connect.State() > 1; }, linkTimeoutMs);
    if (connect.IsRunning() && connect.State() <= 1) {
      // No answer to the link test: abort as a user does with the same button.
      m.BtnConnect->UserClick();
      loop_.RunUntil([&] { return !connect.IsRunning(); }, 5000);
      lastMessage_ = Cp1250ToUtf8(GetLangText("Texts", "CommPortNoResp", Win1250("Není odpověď")));
      err_ << lastMessage_ << "\n";
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
  std::string lastMessage_;
};

Session::Flags FlagsOf(const Options& o, const Args& a);

// A control's value as show prints it: text for edits and combo boxes, 1/0 for check boxes and
// radio buttons, "mixed" for a greyed all-bits box.
std::string ValueOf(const ui::Control& c, bool& isBool, bool& isMixed);

std::string JsonString(const std::string& utf8);

bool LoadInto(Session& s, const std::string& file);

// One assignment done as a user does it; false (with a message) when a user could not do it.
bool Assign(Session& s, ui::Control& c, const std::string& value, std::ostream& err);

// NAME=VALUE assignments resolved to the window's bound controls; an unknown name or a word
// without "=" is a usage error.
std::vector<std::pair<ui::Control*, std::string>> ResolveAssignments(
    Session& s, const std::vector<std::string>& assignments);

// Resolves, then does the assignments one by one as a user does; false at the first one a user
// could not do (the reason on err).
bool ApplyAssignments(Session& s, const std::vector<std::string>& assignments, std::ostream& err);

// Takes "OPTION NAME=VALUE..." out of the arguments, every time it stands there: the words with
// "=" that follow it. "--set A=1 B=2 f.eep" gives {"A=1", "B=2"} and leaves "f.eep".
std::vector<std::string> TakeList(std::vector<std::string>& rest, const std::string& option);

}  // namespace cli
