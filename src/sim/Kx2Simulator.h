#pragma once
// The simulated KX2 unit: its EEPROM, identity and firmware, the unit's side of the command
// frames, and the faults it can be told to show. No I/O and no threads here: bytes go in, the
// replies to write come out; PtyUnit puts it on a pseudo-terminal.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "sim/Wire.h"

namespace sim {

// Identity bytes as the program names them (C, B, A) and the firmware version.
struct Identity {
  uint8_t c = 0x01;
  uint8_t b = 0xDA;
  uint8_t a = 0x02;
  uint8_t major = 1;
  uint8_t minor = 8;
};

// Misbehaviour on demand. Commands and replies are counted from the unit's start (or from the
// last setFaults).
struct Faults {
  int silentAfter = -1;  // answer this many commands, then never again; -1: never silent
  int ignoreFirst = 0;   // the first N commands get no answer
  int corruptEvery = 0;  // every K-th reply carries a wrong checksum; 0: none
  int noise = 0;         // N bytes that cannot start a reply go out before each reply
  int chunk = 0;         // replies are written in pieces of N bytes; 0: in one piece
  int closeAfter = 0;    // the line hangs up after N commands; 0: never
};

struct UnitConfig {
  Identity identity;
  uint8_t sizeCode = 6;  // memory of 128 << code bytes for codes 0 to 9, none for other codes
  uint8_t memExtra = 0;  // second byte of the memory-information reply
  Faults faults;
  int latencyMs = 0;    // delay before each reply
  int baud = 0;         // wire time of 10 bits per byte at this rate; 0: no pacing
  int chunkGapMs = 10;  // pause between the pieces of a chunked reply
};

// Bytes of memory a size code stands for.
size_t MemorySize(uint8_t sizeCode);

// Writes a raw memory image; the file it replaces stays intact until the new one is complete.
bool WriteImageFile(const std::string& path, const Bytes& image, std::string* error = nullptr);

// What the unit makes of one frame it received.
struct Exchange {
  Bytes frame;           // as received, CR included
  Bytes reply;           // what goes on the wire (noise included); empty: no answer
  std::string note;      // why a frame was refused or the reply is unusual; empty when plain
  bool command = false;  // a well-formed command, counted by commandsReceived
  bool hangUp = false;   // the line hangs up after this exchange
};

class Kx2Simulator {
 public:
  explicit Kx2Simulator(const UnitConfig& config = {});

  // Bytes from the line. A frame ends at CR; everything since the previous CR is one frame, so
  // garbage costs at most the frame it is mixed into. Returns one exchange per completed frame.
  // After a hang-up everything is ignored.
  std::vector<Exchange> receive(const uint8_t* data, size_t count);
  std::vector<Exchange> receive(const Bytes& data) { return receive(data.data(), data.size()); }

  // A fresh line: no partial frame, not hung up, faults counted from here.
  void resetLine();

  const UnitConfig& config() const { return config_; }
  void setFaults(const Faults& faults);
  void setLatencyMs(int ms) { config_.latencyMs = ms; }

  // Memory. Reads beyond the memory give 0xFF; writes beyond it are dropped.
  size_t memorySize() const { return memory_.size(); }
  uint8_t byteAt(uint32_t address) const;
  void setByte(uint32_t address, uint8_t value);
  void setBytes(uint32_t address, const Bytes& values);
  Bytes bytes(uint32_t address, size_t count) const;
  const Bytes& memory() const { return memory_; }
  void fill(uint8_t value);

  // Raw memory images. Loading puts the file at address 0 and erases the rest (0xFF); a file
  // larger than the memory is refused. Saving replaces the file only once it is fully written.
  bool loadImage(const std::string& path, std::string* error = nullptr);
  bool saveImage(const std::string& path, std::string* error = nullptr) const;

  size_t commandsReceived() const { return commands_; }
  size_t framesRejected() const { return rejected_; }
  size_t resets() const { return resets_; }
  bool hungUp() const { return hungUp_; }

 private:
  Exchange handleFrame(Bytes frame);
  // True for a well-formed command; otherwise note says why the frame is refused.
  bool validate(const Bytes& frame, std::string& note) const;
  // Carries out a well-formed command and returns its reply frame.
  Bytes execute(const Bytes& frame);
  Bytes noise(int count);

  UnitConfig config_;
  Bytes memory_;
  Bytes pending_;
  bool discarding_ = false;  // an overlong frame is being skipped up to its CR
  bool hungUp_ = false;
  size_t commands_ = 0;
  size_t rejected_ = 0;
  size_t resets_ = 0;
  size_t faultCommands_ = 0;  // commands and replies since the faults were set
  size_t faultReplies_ = 0;
  size_t noiseIndex_ = 0;
};

}  // namespace sim
