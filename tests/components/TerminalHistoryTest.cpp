#include "components/TerminalHistory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TerminalRender.h"

namespace {

std::vector<std::string> Rendered(const TerminalHistory& history) {
  std::vector<std::string> out;
  for (const auto& line : history.Lines()) out.push_back(Render(line));
  return out;
}

struct Piece {
  std::string bytes;
  int type;
  bool endsLine = true;  // as addLine; false: as addChars
};

TEST(TerminalHistoryTest, TrafficIsWrittenByLineType) {
  const struct {
    const char* what;
    std::vector<Piece> pieces;
    std::vector<std::string> lines;
    bool open;
  } cases[] = {
      {"sent text escapes what is not printable",
       {{"AT\r", VQelTerminal_ltOutLine}},
       {" - AT@black|<#0D>@blue"},
       false},
      {"received text shows 0x80 as itself",
       {{std::string("A\x80\x81\0", 4), VQelTerminal_ltInLine}},
       {"+ A\x80@black|<#81><#00>@blue"},
       false},
      {"bytes in hex", {{"\x02\x41", VQelTerminal_ltInBin}}, {"+ # 02 41@blue"}, false},
      {"sent bytes", {{"\x0D", VQelTerminal_ltOutBin}}, {" - # 0D@blue"}, false},
      {"a remark as it is",
       {{"no\rte", VQelTerminal_ltExtra}},
       {" E no@purple", "te@purple"},
       false},
      {"unknown types as type 5",
       {{"x", VQelTerminal_lt_NoType}, {"y", 9}, {"z", -1}},
       {"? x@red", "? y@red", "? z@red"},
       false},
      {"nothing for no bytes", {{"", VQelTerminal_ltInBin}}, {}, false},
      {"one type continues the open line",
       {{"\x01", VQelTerminal_ltInBin, false}, {"\x02", VQelTerminal_ltInBin, false}},
       {"+ # 01 02@blue"},
       true},
      {"another type ends it",
       {{"\x01", VQelTerminal_ltInBin, false},
        {"\x03", VQelTerminal_ltOutBin, false},
        {"ok", VQelTerminal_lt_NoType, false},
        {"!", VQelTerminal_ltInBin, false}},
       {"+ # 01@blue", " - # 03@blue", "? ok@red", "+ # 21@blue"},
       true},
      {"an open line continued by a whole line",
       {{"\x21", VQelTerminal_ltInBin, false}, {"\x06\x0D", VQelTerminal_ltInBin}},
       {"+ # 21 06 0D@blue"},
       false},
  };
  for (const auto& c : cases) {
    TerminalHistory history;
    for (const Piece& piece : c.pieces) {
      history.Add(reinterpret_cast<const uint8_t*>(piece.bytes.data()),
                  static_cast<int>(piece.bytes.size()), piece.type);
      if (piece.endsLine) history.BreakLine();
    }
    EXPECT_EQ(Rendered(history), c.lines) << c.what;
    EXPECT_EQ(history.StartingNewLine(), !c.open) << c.what;
  }
}

// Trimming drops about one per cent at once (1100 -> 1088) before the new line comes.
TEST(TerminalHistoryTest, ReachingMaxLinesCutsTheFrontBack) {
  const struct {
    int maxLines, before, after;
    const char* first;
  } cases[] = {
      {1100, 1099, 1100, "+ 0@black"},  // not yet full
      {1100, 1100, 1089, "+ 12@black"},
      {0, 1, 1, "+ next@black"},  // a limit that keeps nothing empties the history
  };
  for (const auto& c : cases) {
    TerminalHistory history;
    history.SetMaxLines(c.maxLines);
    auto addLine = [&history](const std::string& text) {
      history.Add(reinterpret_cast<const uint8_t*>(text.data()), static_cast<int>(text.size()),
                  VQelTerminal_ltInLine);
      history.BreakLine();
    };
    for (int i = 0; i < c.before; ++i) addLine(std::to_string(i));
    addLine("next");
    EXPECT_EQ(history.LineCount(), c.after) << c.maxLines << "/" << c.before;
    EXPECT_EQ(Rendered(history).front(), c.first) << c.maxLines << "/" << c.before;
    EXPECT_EQ(Rendered(history).back(), "+ next@black");
  }
}

}  // namespace
