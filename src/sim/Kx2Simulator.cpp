#include "sim/Kx2Simulator.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string_view>

#include "base/AtomicFile.h"

namespace sim {

namespace {

// Longest frame taken in before it is given up as garbage; a write of 8 bytes is 23 bytes long.
constexpr size_t kMaxFrame = 128;

// Bytes that the program's framing must drop: none of them can start a reply (0x81 to 0x86),
// and a stray CR is among them on purpose.
constexpr uint8_t kNoise[] = {0x00, 0xFF, 0x0D, 0x55, 0x80, 0x87, 0x30, 0x7F};

bool AllHex(const Bytes& frame, size_t from, size_t to) {
  for (size_t i = from; i < to; ++i) {
    if (HexValue(frame[i]) < 0) return false;
  }
  return true;
}

void SetError(std::string* error, const std::string& text) {
  if (error) *error = text;
}

}  // namespace

size_t MemorySize(uint8_t sizeCode) {
  return sizeCode <= 9 ? size_t{128} << sizeCode : 0;
}

Kx2Simulator::Kx2Simulator(const UnitConfig& config)
    : config_(config), memory_(MemorySize(config.sizeCode), 0xFF) {}

void Kx2Simulator::setFaults(const Faults& faults) {
  config_.faults = faults;
  faultCommands_ = 0;
  faultReplies_ = 0;
}

void Kx2Simulator::resetLine() {
  pending_.clear();
  discarding_ = false;
  hungUp_ = false;
  setFaults(config_.faults);
}

std::vector<Exchange> Kx2Simulator::receive(const uint8_t* data, size_t count) {
  std::vector<Exchange> out;
  for (size_t i = 0; i < count && !hungUp_; ++i) {
    const uint8_t b = data[i];
    if (discarding_) {
      discarding_ = b != kFrameEnd;
      continue;
    }
    pending_.push_back(b);
    if (b == kFrameEnd) {
      out.push_back(handleFrame(std::move(pending_)));
      pending_.clear();
    } else if (pending_.size() >= kMaxFrame) {
      Exchange refused;
      refused.frame = std::move(pending_);
      refused.note = "frame too long";
      pending_.clear();
      ++rejected_;
      discarding_ = true;
      out.push_back(std::move(refused));
    }
  }
  return out;
}

bool Kx2Simulator::validate(const Bytes& frame, std::string& note) const {
  const size_t n = frame.size();
  if (n < 3) {
    note = "short frame";
    return false;
  }
  if (!FrameIntact(frame)) {
    note = "bad checksum";
    return false;
  }
  const size_t dataEnd = n - 2;  // data are frame[1, dataEnd)
  const size_t dataLength = dataEnd - 1;
  bool ok = false;
  switch (frame[0]) {
    case kLinkTest:
    case kIdentify:
    case kMemoryInfo:
      ok = dataLength == 0;
      break;
    case kReadBlock:
      ok = dataLength == 4 && AllHex(frame, 1, dataEnd);
      break;
    case kWriteBlock:
      ok = dataLength >= 4 && dataLength % 2 == 0 && AllHex(frame, 1, dataEnd);
      break;
    case kReset:
      ok = dataLength == 2 && frame[1] == 0xAA && frame[2] == 0x55;
      break;
    default:
      note = "unknown command";
      return false;
  }
  if (!ok) note = "bad data";
  return ok;
}

Bytes Kx2Simulator::execute(const Bytes& frame) {
  const uint8_t code = frame[0];
  Bytes data;
  switch (code) {
    case kIdentify: {
      const Identity& id = config_.identity;
      for (uint8_t v : {id.a, id.b, id.c, id.minor, id.major}) AppendHexByte(data, v);
      break;
    }
    case kMemoryInfo:
      AppendHexByte(data, config_.sizeCode);
      AppendHexByte(data, config_.memExtra);
      break;
    case kReadBlock: {
      const uint16_t address = DecodeHexWord(&frame[1]);
      data = HexBytes(bytes(address, kBlockSize));
      break;
    }
    case kWriteBlock: {
      const uint16_t address = DecodeHexWord(&frame[1]);
      const size_t count = (frame.size() - 2 - 5) / 2;
      for (size_t i = 0; i < count; ++i) {
        setByte(static_cast<uint32_t>(address + i), DecodeHexByte(&frame[5 + 2 * i]));
      }
      break;
    }
    case kReset:
      ++resets_;
      break;
    default:  // link test: nothing but the answer
      break;
  }
  return EncodeFrame(static_cast<uint8_t>(code | kReplyFlag), data);
}

Bytes Kx2Simulator::noise(int count) {
  Bytes out;
  for (int i = 0; i < count; ++i) out.push_back(kNoise[noiseIndex_++ % std::size(kNoise)]);
  return out;
}

Exchange Kx2Simulator::handleFrame(Bytes frame) {
  Exchange ex;
  ex.frame = std::move(frame);
  if (!validate(ex.frame, ex.note)) {
    ++rejected_;
    return ex;
  }
  ex.command = true;
  ++commands_;
  const size_t nth = ++faultCommands_;
  const Faults& f = config_.faults;
  if (nth <= static_cast<size_t>(std::max(f.ignoreFirst, 0))) {
    // Neither carried out nor answered: the unit was not listening yet.
    ex.note = "ignored";
  } else if (f.silentAfter >= 0 && nth > static_cast<size_t>(f.silentAfter)) {
    ex.note = "silent";
  } else {
    Bytes reply = execute(ex.frame);
    ++faultReplies_;
    if (f.corruptEvery > 0 && faultReplies_ % static_cast<size_t>(f.corruptEvery) == 0) {
      uint8_t& sum = reply[reply.size() - 2];
      ++sum;
      if (sum == kFrameEnd) ++sum;  // still no CR inside the frame
      ex.note = "corrupt checksum";
    }
    ex.reply = noise(f.noise);
    ex.reply.insert(ex.reply.end(), reply.begin(), reply.end());
  }
  if (f.closeAfter > 0 && nth == static_cast<size_t>(f.closeAfter)) {
    ex.hangUp = true;
    hungUp_ = true;
    pending_.clear();
  }
  return ex;
}

uint8_t Kx2Simulator::byteAt(uint32_t address) const {
  return address < memory_.size() ? memory_[address] : 0xFF;
}

void Kx2Simulator::setByte(uint32_t address, uint8_t value) {
  if (address < memory_.size()) memory_[address] = value;
}

void Kx2Simulator::setBytes(uint32_t address, const Bytes& values) {
  for (size_t i = 0; i < values.size(); ++i) setByte(static_cast<uint32_t>(address + i), values[i]);
}

Bytes Kx2Simulator::bytes(uint32_t address, size_t count) const {
  Bytes out(count);
  for (size_t i = 0; i < count; ++i) out[i] = byteAt(static_cast<uint32_t>(address + i));
  return out;
}

void Kx2Simulator::fill(uint8_t value) {
  std::fill(memory_.begin(), memory_.end(), value);
}

bool Kx2Simulator::loadImage(const std::string& path, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    SetError(error, "cannot open " + path + ": " + std::strerror(errno));
    return false;
  }
  Bytes image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) {
    SetError(error, "cannot read " + path);
    return false;
  }
  if (image.size() > memory_.size()) {
    SetError(error, path + " holds " + std::to_string(image.size()) +
                        " bytes, more than the memory of " + std::to_string(memory_.size()));
    return false;
  }
  fill(0xFF);
  std::copy(image.begin(), image.end(), memory_.begin());
  return true;
}

bool Kx2Simulator::saveImage(const std::string& path, std::string* error) const {
  return WriteImageFile(path, memory_, error);
}

bool WriteImageFile(const std::string& path, const Bytes& image, std::string* error) {
  const AtomicFileResult saved = WriteFileAtomically(
      path, std::string_view(reinterpret_cast<const char*>(image.data()), image.size()), 0644);
  if (saved.ok()) return true;
  const std::string reason = std::strerror(saved.error);
  if (saved.failedStep == AtomicFileStep::Create) {
    SetError(error, "cannot create a file beside " + path + ": " + reason);
  } else {
    SetError(error, "cannot write " + path + ": " + reason);
  }
  return false;
}

}  // namespace sim
