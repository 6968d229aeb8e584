#pragma once
// Controls of the terminal window that the general control model does not have:
//   - TerminalLines, the history: coloured text kept as lines of runs, the way a rich text view
//     holds it, so that a toolkit view can mirror it and tests can look at every colour;
//   - TerminalInputLine, the edit that takes the keys typed anywhere in the terminal window.

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "ui/Controls.h"

// A piece of a line in one colour.
struct TerminalRun {
  std::string text;
  ui::Color color = ui::clBlack;
  bool operator==(const TerminalRun&) const = default;
};

struct TerminalLine {
  std::vector<TerminalRun> runs;
  // When the line began: milliseconds since the epoch (wall clock).
  int64_t stampMs = 0;
  // The line's characters without colours.
  std::string Text() const;
};

// The history. Text is appended at the end only; CR LF, a lone CR or a lone LF in appended text
// ends the line, as it does in a rich text view. The last line may still be open (text without
// a line end); an ended history has no open line. A user cannot edit it: keys reaching it change
// nothing.
//
// Every change is announced as Prop::Items with LastChange() telling what happened, so a view can
// follow without rebuilding all the lines.
class TerminalLines : public ui::Control {
 public:
  enum class ChangeKind {
    Appended,      // runs were added to the last line (it may be new)
    LineEnded,     // the last line got its line end
    FrontRemoved,  // count lines were removed from the front
    Cleared,       // everything was removed
  };
  struct Change {
    ChangeKind kind = ChangeKind::Cleared;
    int count = 0;
  };

  TerminalLines(ui::Component* owner, std::string name = {});
  const char* ClassName() const override { return "TRichEdit"; }
  bool CanFocus() const override { return true; }

  const std::deque<TerminalLine>& Lines() const { return lines_; }
  // Lines as the view counts them: ended lines plus an open line that has text.
  int LineCount() const { return static_cast<int>(lines_.size()); }
  // True when the history is empty or its last line has ended.
  bool AtLineStart() const { return lines_.empty() || ended_; }

  // Appends text in one colour at the end; a run continues the previous one when the colours
  // agree. Empty text changes nothing.
  void Append(const std::string& text, ui::Color color);
  // Ends the last line (an ended or empty history gets an empty line).
  void EndLine();
  // Removes up to count lines from the front.
  void RemoveFirstLines(int count);
  void Clear();

  // All lines joined with CR LF, with a final CR LF when the last line has ended.
  std::string PlainText() const;
  // What a support log needs: every line in UTF-8 after its local time stamp
  // ("2026-03-01T14:05:09.120+0100 + #  81 0D"), each ended by LF.
  std::string StampedText() const;

  // The wall clock that stamps new lines (ms since the epoch); none: the system's.
  std::function<int64_t()> clock;

  const Change& LastChange() const { return change_; }

 private:
  int64_t Now() const;
  void AppendPiece(const std::string& piece, ui::Color color);
  void Changed(ChangeKind kind, int count = 0);

  std::deque<TerminalLine> lines_;
  bool ended_ = false;
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
