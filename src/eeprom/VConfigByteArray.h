#pragma once
// The program's picture of the unit's EEPROM. Two views of the same address space, byte by byte:
//   mirror  - what the unit holds, as far as it has been read from it or confirmed written to it;
//   showing - what the settings produce, that is what the unit should hold.
// Each position keeps the state of both views. The synchronisation script reads the unit into the
// mirror and writes the differences back; the layout under root translates between the showing
// buffer and the settings. The image also knows the unit's memory size and identification, keeps
// the memory figures of the main window up to date and reads and writes configuration files.

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "eeprom/VSettingTreeHooks.h"
#include "ui/Ref.h"

namespace ui {
class Control;
}
class VEepSettingGroup;

// Labels of the main window that the image fills; a null label is simply not shown, and a label
// its window destroys is forgotten.
struct VImageLabels {
  ui::Ref<ui::Control> memLenTotal;
  ui::Ref<ui::Control> memLenCfg;
  ui::Ref<ui::Control> memLenFree;
  ui::Ref<ui::Control> id;
  ui::Ref<ui::Control> version;
};

class VConfigByteArray {
 public:
  // State bits of one position (byteState), also the masks of the layout's measure pass.
  enum : uint8_t {
    NeedsWrite = 0x01,         // showing defined; mirror unknown or different
    NeedsRead = 0x02,          // mirror unknown, or read once and not contradicted
    InCapacityDefined = 0x04,  // showing defined, inside the memory
    InCapacity = 0x08,         // inside the unit's memory
    ShowingDefined = 0x10,
    MirrorValid = 0x20,
  };
  // How a byte reached setMirrorByte.
  enum MirrorMode { ReadFromUnit = 0, WrittenToUnit = 1 };

  // The largest memory of any unit (size code 9); also the largest configuration a file may hold.
  static constexpr int MaxSize = 65536;

  // Identification of the connected unit; its fields are also the head of a configuration file.
  struct EEPROMid {
    static constexpr int RecordLength = 12;  // record bytes stored after the length in a file
    uint8_t sizeCode = 0xFF;
    uint8_t identity3 = 0xFF;  // type byte A, the model code
    uint8_t identity2 = 0xFF;  // type byte B
    uint8_t identity1 = 0xFF;  // type byte C
    uint8_t firmwareMinor = 0;
    uint8_t firmwareMajor = 0;
    uint32_t usedLength = 0;

    // Memory bytes of a size code: 128 << c for c 0 to 9, 0 for anything else (255: no memory).
    static int sizeOfCode(int code);
    // Stores and returns the size code of a memory size: 255 for 0, c for 128 << c; any other
    // size is a diagnostic and gives 0.
    uint8_t setSize(int bytes);
  };

  VConfigByteArray();
  virtual ~VConfigByteArray();
  VConfigByteArray(const VConfigByteArray&) = delete;
  VConfigByteArray& operator=(const VConfigByteArray&) = delete;

  // Identification (type bytes C, B, A and firmware version); shows the type and version.
  virtual void setEEPROMid(uint8_t identity1, uint8_t identity2, uint8_t identity3, uint8_t major,
                           uint8_t minor);
  // Capacity from the unit's size code; the layout is measured anew.
  void setSizeCode(int sizeCode);

  int capacity() const { return capacity_; }
  int usedLength() const { return usedLength_; }
  int allocated() const { return static_cast<int>(mirror_.size()); }
  int headerLength() const { return headerLength_; }
  void setHeaderLength(int length) { headerLength_ = length < 0 ? 0 : length; }
  const EEPROMid& id() const { return id_; }
  VEepSettingGroup& root() { return *root_; }

  // Resizes the four arrays; new space is 0xFF in the byte views and 0 (unknown, undefined) in
  // the states.
  void resize(int length);

  void setMirrorByte(int position, uint8_t value, MirrorMode mode);
  // The mirror byte, 0 when unknown.
  uint8_t getMirrorByte(int position) const;
  // Defines a showing byte; a layout pass defines every byte at most once.
  void setShowingByte(int position, uint8_t value);
  // The showing byte, 0xFF when undefined or beyond the used length.
  uint8_t getShowingByte(int position) const;
  uint8_t byteState(int position) const;

  void clearMirrorStates();
  void clearShowingStates();

  // Lays the settings out into the showing buffer. Unless forced, a configuration longer than
  // the memory is refused ("ConfigLong") and nothing changes. zeroHeader: the header reads 0, for
  // the first phase of a write that puts the real header last.
  bool writeSettings(bool force, bool zeroHeader);
  // Interprets the showing buffer into the settings; the configuration's length, or -1 (the
  // settings are then reverted).
  int readSettings();
  // Valid mirror bytes fill the undefined showing bytes; then the whole is interpreted.
  bool mirror2Showing();
  // The configuration's length as far as the mirror tells so far, plus one while the layout still
  // needs bytes that are not valid.
  int expectedLength();
  // Called on every poll: after a change of the layout, measures it and shows the memory figures.
  void updateMemoryInfo();

  // Configuration file: the id record, then the used length's showing bytes. An existing file is
  // replaced only once the new one is completely written.
  bool saveToFile(const std::string& path);
  // Reads a configuration file and interprets it; true only when the interpretation covers exactly
  // the file's bytes. The identification of the connected unit is kept.
  bool loadFromFile(std::istream& in);
  bool loadFromFile(const std::string& path);

  bool verifyInForce() const { return verifyReads ? verifyReads() : true; }
  bool writeBadCrcInForce() const { return writeBadCrc ? writeBadCrc() : false; }

  // --- What the image needs of the rest of the program ---
  // The application's message box (captioned with the program's name); by default the event
  // loop's box titled "KX2 Init".
  std::function<int(const std::string& text, unsigned flags)> messageBox;
  // Root of the settings tree; none: nobody to tell.
  VSettingTreeHooks* settingTree = nullptr;
  VImageLabels labels;
  // The text shown for a unit type (type bytes C, B, A); none: the bytes in hexadecimal.
  std::function<std::string(uint8_t c, uint8_t b, uint8_t a)> typeName;
  // Whether reads are verified by reading twice ("Verify reads" or the Basic level); none: on.
  std::function<bool()> verifyReads;
  // Whether checksums are written wrong on purpose ("Write bad CRC"); none: off.
  std::function<bool()> writeBadCrc;

 private:
  // Grows the arrays to hold position; false when the position cannot be held.
  bool ensure(int position);
  bool isAllocated(int position) const { return position >= 0 && position < allocated(); }
  int showMessage(const std::string& text, unsigned flags);
  int failInterpretation();
  void showMemoryInfo();
  std::vector<uint8_t> fileImage();

  int capacity_ = 0;
  int usedLength_ = 0;
  int headerLength_ = 0;
  std::vector<uint8_t> mirror_;
  std::vector<uint8_t> showing_;
  std::vector<uint8_t> mirrorState_;   // 0 unknown, 1 read once, 2 valid
  std::vector<uint8_t> showingState_;  // 0 undefined, 2 defined
  EEPROMid id_;
  std::unique_ptr<VEepSettingGroup> root_;
};
