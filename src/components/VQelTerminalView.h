#pragma once
// Controls of the terminal window that the general control model does not have:
//   - TerminalLines, the history control: it holds the TerminalHistory, so that a toolkit view
//     can mirror its lines and tests can look at every colour;
//   - TerminalInputLine, the edit that takes the keys typed anywhere in the terminal window.

#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "components/TerminalHistory.h"
#include "ui/Controls.h"

// The history as a control. A user cannot edit it: keys reaching it change nothing.
//
// Every change is announced as Prop::Items with LastChange() telling what happened, so a view can
// follow without rebuilding all the lines.
class TerminalLines : public ui::Control {
 public:
  using ChangeKind = TerminalHistory::ChangeKind;
  using Change = TerminalHistory::Change;

  TerminalLines(ui::Component* owner, std::string name = {});
  const char* ClassName() const override { return "TRichEdit"; }
  bool CanFocus() const override { return true; }

  TerminalHistory& History() { return history_; }
  const TerminalHistory& History() const { return history_; }

  // The history's text; see TerminalHistory.
  const std::deque<TerminalLine>& Lines() const { return history_.Lines(); }
  int LineCount() const { return history_.LineCount(); }
  bool AtLineStart() const { return history_.AtLineStart(); }
  void Append(const std::string& text, ui::Color color) { history_.Append(text, color); }
  void EndLine() { history_.EndLine(); }
  void RemoveFirstLines(int count) { history_.RemoveFirstLines(count); }
  void Clear() { history_.Clear(); }
  std::string PlainText() const { return history_.PlainText(); }
  std::string StampedText() const { return history_.StampedText(); }

  // The wall clock that stamps new lines (ms since the epoch); none: the system's.
  std::function<int64_t()> clock;

  const Change& LastChange() const { return change_; }

 private:
  TerminalHistory history_;
  Change change_;
};

// The input line. Besides what an edit does it lets the terminal window put characters at its
// caret: the window takes every key first and inserts the characters itself.
class TerminalInputLine : public ui::Edit {
 public:
  using ui::Edit::Edit;
  // Replaces the selection with text and leaves the caret behind it (raises OnChange).
  void InsertAtCaret(const std::string& text) { ReplaceSelection(text); }
};
