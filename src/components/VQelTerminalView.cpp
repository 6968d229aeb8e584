#include "components/VQelTerminalView.h"

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "base/Cp1250.h"

std::string TerminalLine::Text() const {
  std::string text;
  for (const auto& run : runs) text += run.text;
  return text;
}

TerminalLines::TerminalLines(ui::Component* owner, std::string name)
    : ui::Control(owner, std::move(name)) {
  SetTabStop(true);
  SetBackColor(ui::clWindow);
}

void TerminalLines::AppendPiece(const std::string& piece, ui::Color color) {
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

void TerminalLines::Append(const std::string& text, ui::Color color) {
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

int64_t TerminalLines::Now() const {
  if (clock) return clock();
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

std::string TerminalLines::StampedText() const {
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

void TerminalLines::EndLine() {
  if (AtLineStart()) {
    lines_.emplace_back();
    lines_.back().stampMs = Now();
  }
  ended_ = true;
  Changed(ChangeKind::LineEnded);
}

void TerminalLines::RemoveFirstLines(int count) {
  count = std::min(count, LineCount());
  if (count <= 0) return;
  lines_.erase(lines_.begin(), lines_.begin() + count);
  if (lines_.empty()) ended_ = false;
  Changed(ChangeKind::FrontRemoved, count);
}

void TerminalLines::Clear() {
  lines_.clear();
  ended_ = false;
  Changed(ChangeKind::Cleared);
}

std::string TerminalLines::PlainText() const {
  std::string text;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines_[i].Text();
  }
  if (ended_ && !lines_.empty()) text += "\r\n";
  return text;
}

void TerminalLines::Changed(ChangeKind kind, int count) {
  change_ = {kind, count};
  Notify(ui::Prop::Items);
}
