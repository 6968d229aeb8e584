#include "components/TerminalHistory.h"

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "base/Cp1250.h"
#include "base/Qelutils.h"

namespace {

struct LineStyle {
  const char* prefix;
  ui::Color prefixColor;
};

// Indexed by line type 0..5.
constexpr LineStyle kStyles[] = {
    {"+ ", ui::clBlack},    // received text
    {"+ #", ui::clBlue},    // received bytes
    {" - ", ui::clBlack},   // sent text
    {" - #", ui::clBlue},   // sent bytes
    {" E ", ui::clPurple},  // remark
    {"? ", ui::clRed},      // anything else
};

bool ShownAsItself(uint8_t byte) {
  return byte >= 0x20 && byte <= 0x80;
}

std::string HexByte(uint8_t byte) {
  return {Hex2Asc(byte >> 4), Hex2Asc(byte & 0x0F)};
}

}  // namespace

std::string TerminalLine::Text() const {
  std::string text;
  for (const auto& run : runs) text += run.text;
  return text;
}

// ---- Traffic ----

void TerminalHistory::Add(const uint8_t* data, int count, VQelTerminal_LineType lineType) {
  if (count <= 0 || data == nullptr) return;
  const int type =
      lineType >= VQelTerminal_ltInLine && lineType <= VQelTerminal_ltExtra ? lineType : 5;

  const int lines = LineCount();
  if (lines >= maxLines_) {
    const int keep = maxLines_ - maxLines_ / 100 - 1;
    RemoveFirstLines(lines - std::max(keep, 0));
  }

  if (!lineOpen_ || type != openType_) {
    BreakLine();
    lineOpen_ = true;
    openType_ = type;
    if (onLineStart) onLineStart(type);
    Append(kStyles[type].prefix, kStyles[type].prefixColor);
  }

  switch (type) {
    case VQelTerminal_ltInBin:
    case VQelTerminal_ltOutBin: {
      std::string hex;
      hex.reserve(static_cast<size_t>(count) * 3);
      for (int i = 0; i < count; ++i) hex += ' ' + HexByte(data[i]);
      Append(hex, ui::clBlue);
      break;
    }
    case VQelTerminal_ltInLine:
    case VQelTerminal_ltOutLine: {
      std::string plain;
      for (int i = 0; i < count; ++i) {
        if (ShownAsItself(data[i])) {
          plain += static_cast<char>(data[i]);
          continue;
        }
        Append(plain, ui::clBlack);
        plain.clear();
        Append("<#" + HexByte(data[i]) + ">", ui::clBlue);
      }
      Append(plain, ui::clBlack);
      break;
    }
    default:
      Append(std::string(reinterpret_cast<const char*>(data), count),
             type == VQelTerminal_ltExtra ? ui::clPurple : ui::clRed);
      break;
  }
}

void TerminalHistory::BreakLine() {
  if (!lineOpen_) return;
  lineOpen_ = false;
  openType_ = VQelTerminal_lt_NoType;
  EndLine();
}

// ---- Text ----

void TerminalHistory::AppendPiece(const std::string& piece, ui::Color color) {
  if (piece.empty()) return;
  if (AtLineStart()) {
    lines_.emplace_back();
    lines_.back().stampMs = Now();
    ended_ = false;
  }
  auto& runs = lines_.back().runs;
  if (!runs.empty() && runs.back().color == color)
    runs.back().text += piece;
  else
    runs.push_back({piece, color});
}

void TerminalHistory::Append(const std::string& text, ui::Color color) {
  if (text.empty()) return;
  bool appended = false;
  size_t start = 0;
  while (start < text.size()) {
    const size_t brk = text.find_first_of("\r\n", start);
    if (brk == std::string::npos) {
      AppendPiece(text.substr(start), color);
      appended = true;
      break;
    }
    if (brk > start) {
      AppendPiece(text.substr(start, brk - start), color);
      appended = true;
    }
    if (appended) Changed(ChangeKind::Appended);
    appended = false;
    EndLine();
    start = brk + 1;
    if (text[brk] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  if (appended) Changed(ChangeKind::Appended);
}

void TerminalHistory::EndLine() {
  if (AtLineStart()) {
    lines_.emplace_back();
    lines_.back().stampMs = Now();
  }
  ended_ = true;
  Changed(ChangeKind::LineEnded);
}

void TerminalHistory::RemoveFirstLines(int count) {
  count = std::min(count, LineCount());
  if (count <= 0) return;
  lines_.erase(lines_.begin(), lines_.begin() + count);
  if (lines_.empty()) ended_ = false;
  Changed(ChangeKind::FrontRemoved, count);
}

void TerminalHistory::Clear() {
  lineOpen_ = false;
  openType_ = VQelTerminal_lt_NoType;
  lines_.clear();
  ended_ = false;
  Changed(ChangeKind::Cleared);
}

std::string TerminalHistory::PlainText() const {
  std::string text;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines_[i].Text();
  }
  if (ended_ && !lines_.empty()) text += "\r\n";
  return text;
}

std::string TerminalHistory::StampedText() const {
  std::string out;
  for (const TerminalLine& line : lines_) {
    const std::time_t seconds = static_cast<std::time_t>(line.stampMs / 1000);
    std::tm tm{};
    localtime_r(&seconds, &tm);
    char when[40], zone[8];
    std::strftime(when, sizeof when, "%Y-%m-%dT%H:%M:%S", &tm);
    std::strftime(zone, sizeof zone, "%z", &tm);
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%s.%03d%s ", when, static_cast<int>(line.stampMs % 1000),
                  zone);
    out += stamp + Cp1250ToUtf8(line.Text()) + "\n";
  }
  return out;
}

int64_t TerminalHistory::Now() const {
  return clock ? clock() : SystemClock();
}

int64_t TerminalHistory::SystemClock() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

void TerminalHistory::Changed(ChangeKind kind, int count) {
  if (onChange) onChange({kind, count});
}
