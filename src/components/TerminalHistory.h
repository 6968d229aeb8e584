#pragma once
// The terminal's history without its window: the traffic of the serial link kept as lines of
// coloured runs, the way a rich text view holds it. It knows how each kind of traffic is written
// (line types, prefixes, colours, escapes), keeps the open line and its type, trims itself at
// MaxLines and stamps every line with the wall clock for saving. The history control of the
// terminal window (TerminalLines) holds one and announces its changes to the views.
//
// Line types: pieces of one type continue the open line; a different type ends it and starts a
// new line with the type's prefix:
//   0 received text  "+ "   black, bytes 0x20..0x80 as they are, others as "<#0D>" in blue
//   1 received bytes "+ #"  blue, each byte as " 0D"
//   2 sent text      " - "  as type 0
//   3 sent bytes     " - #" as type 1
//   4 remark         " E "  purple, bytes as they are
//   5 (and any other value) "? " red, bytes as they are

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "base/TerminalSink.h"
#include "ui/Types.h"

// Line types besides the two raw ones the device module uses (TerminalSink.h).
enum : int {
  VQelTerminal_ltInLine = 0,
  VQelTerminal_ltOutLine = 2,
  VQelTerminal_ltExtra = 4,
  VQelTerminal_lt_NoType = 5,
};
using VQelTerminal_LineType = int;

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

class TerminalHistory {
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

  // ---- Traffic ----
  // Writes count bytes of the given line type (see above). When the history holds MaxLines lines
  // it first drops about one per cent of them at once (1100 -> 1088), so that trimming does not
  // run on every append. Nothing happens for count <= 0.
  void Add(const uint8_t* data, int count, VQelTerminal_LineType lineType);
  // Ends the open line of traffic, if any.
  void BreakLine();
  // True when no line of traffic is open.
  bool StartingNewLine() const { return !lineOpen_; }
  int MaxLines() const { return maxLines_; }
  void SetMaxLines(int lines) { maxLines_ = lines; }

  // ---- Text ----
  // Text is appended at the end only; CR LF, a lone CR or a lone LF in appended text ends the
  // line, as it does in a rich text view. The last line may still be open (text without a line
  // end); an ended history has no open line.
  const std::deque<TerminalLine>& Lines() const { return lines_; }
  // Lines as a view counts them: ended lines plus an open line that has text.
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
  // Empties the history; what comes next starts a line with its prefix.
  void Clear();

  // All lines joined with CR LF, with a final CR LF when the last line has ended.
  std::string PlainText() const;
  // What a support log needs: every line in UTF-8 after its local time stamp
  // ("2026-03-01T14:05:09.120+0100 + #  81 0D"), each ended by LF.
  std::string StampedText() const;

  // The wall clock that stamps new lines (ms since the epoch); none: the system's.
  std::function<int64_t()> clock;
  static int64_t SystemClock();
  // Told of every change, so that a view can follow without rebuilding all the lines.
  std::function<void(const Change&)> onChange;
  // Told the type of each new line of traffic before its prefix is written (after trimming).
  std::function<void(VQelTerminal_LineType)> onLineStart;

 private:
  int64_t Now() const;
  void AppendPiece(const std::string& piece, ui::Color color);
  void Changed(ChangeKind kind, int count = 0);

  std::deque<TerminalLine> lines_;
  bool ended_ = false;
  bool lineOpen_ = false;
  VQelTerminal_LineType openType_ = VQelTerminal_lt_NoType;
  int maxLines_ = 1100;
};
