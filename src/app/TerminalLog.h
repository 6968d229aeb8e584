#pragma once
// The traffic seen on the port, kept as the terminal keeps it: one entry per received or sent
// piece, newest last, at most MaxLines. The terminal window proper renders these entries; until
// it does, this is where the module's copies of the traffic go (and kx2ctl prints them).

#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "protocol/TerminalSink.h"
#include "ui/Component.h"

class TerminalLog : public ui::Component, public TerminalSink {
 public:
  static constexpr size_t MaxLines = 1100;

  struct Line {
    int type;
    std::string bytes;
  };

  TerminalLog(ui::Component* owner, std::string name) : ui::Component(owner, std::move(name)) {}

  void AddBytes(const uint8_t* data, int count, int lineType) override {
    if (count <= 0) return;
    lines_.push_back({lineType, std::string(reinterpret_cast<const char*>(data), count)});
    while (lines_.size() > MaxLines) lines_.pop_front();
    if (onLine) onLine(lines_.back());
  }

  const std::deque<Line>& Lines() const { return lines_; }
  void Clear() { lines_.clear(); }

  std::function<void(const Line&)> onLine;

 private:
  std::deque<Line> lines_;
};
