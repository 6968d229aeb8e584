#include "cli/Session.h"

#include <filesystem>

#include "app/BoundValues.h"
#include "app/Dialogs.h"
#include "base/Cp1250.h"
#include "base/Paths.h"

namespace cli {

Args SplitGlobal(const std::vector<std::string>& args) {
  Args a;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& s = args[i];
    if (s == "--lang") {
      if (i + 1 >= args.size()) throw Usage{"--lang needs a language name"};
      a.language = args[++i];
    } else if (s == "--comms-log") {
      if (i + 1 >= args.size()) throw Usage{"--comms-log needs a file name"};
      a.commsLog = args[++i];
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

Session::Flags FlagsOf(const Options& o, const Args& a) {
  Session::Flags f;
  f.yes = o.Flag("--yes");
  f.verify = !o.Flag("--no-verify");
  f.badCrc = o.Flag("--bad-crc");
  f.verbose = a.verbose;
  f.language = a.language;
  return f;
}

// A control's value as show prints it: text in UTF-8 for edits and combo boxes, 1/0 for check
// boxes and radio buttons, "mixed" for a greyed all-bits box.
std::string ValueOf(const ui::Control& c, bool& isBool, bool& isMixed) {
  const BoundValue v = ValueOfControl(c);
  isBool = v.kind != BoundValue::Kind::Text;
  isMixed = v.kind == BoundValue::Kind::Mixed;
  return isBool ? v.value : Cp1250ToUtf8(v.value);
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

std::vector<std::pair<ui::Control*, std::string>> ResolveAssignments(
    Session& s, const std::vector<std::string>& assignments) {
  const auto controls = BoundControls(s.Main());
  std::vector<std::pair<ui::Control*, std::string>> work;
  for (const std::string& assignment : assignments) {
    const size_t eq = assignment.find('=');
    if (eq == std::string::npos || eq == 0) throw Usage{"expected NAME=VALUE, got " + assignment};
    const std::string name = assignment.substr(0, eq);
    ui::Control* found = nullptr;
    for (ui::Control* c : controls)
      if (ui::SameName(c->Name(), name)) found = c;
    if (found == nullptr) throw Usage{"unknown setting " + name};
    work.push_back({found, assignment.substr(eq + 1)});
  }
  return work;
}

bool ApplyAssignments(Session& s, const std::vector<std::string>& assignments, std::ostream& err) {
  for (auto& [control, value] : ResolveAssignments(s, assignments))
    if (!Assign(s, *control, value, err)) return false;
  return true;
}

std::vector<std::string> TakeList(std::vector<std::string>& rest, const std::string& option) {
  std::vector<std::string> list;
  std::vector<std::string> kept;
  for (size_t i = 0; i < rest.size(); ++i) {
    if (rest[i] != option) {
      kept.push_back(rest[i]);
      continue;
    }
    const size_t first = i + 1;
    while (i + 1 < rest.size() && rest[i + 1].find('=') != std::string::npos &&
           rest[i + 1][0] != '-')
      list.push_back(rest[++i]);
    if (i + 1 == first) throw Usage{option + " needs NAME=VALUE assignments"};
  }
  rest = std::move(kept);
  return list;
}

}  // namespace cli
