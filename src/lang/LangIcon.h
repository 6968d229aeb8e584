#pragma once
// Language icons: 16×16 pictures read from the icon files that language files carry in their
// IconString, the two flags of the built-in languages (drawn here, stored as 16-colour icon
// files), and the image list the combo box and menu draw from.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lang {

// 16×16 pixels, row by row from the top, each 0xAARRGGBB (alpha 0: transparent).
struct Icon16 {
  std::array<uint32_t, 256> pixels{};
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y * 16 + x)]; }
};

// Reads an icon file: its 16×16 image when it has one, else its first, scaled to 16×16. Images
// stored as bitmaps with 1, 4, 8, 24 or 32 bits per pixel are understood; anything else (and any
// damaged file) gives nothing.
std::optional<Icon16> DecodeIconFile(const std::string& bytes);

// A picture in the 16 standard colours: palette index per pixel, kClear for transparent.
using PalettePicture = std::array<uint8_t, 256>;
constexpr uint8_t kClear = 16;
// The 16 standard colours as 0xRRGGBB (0 black, 4 navy, 6 teal, 9 red, 12 blue, 15 white ...).
uint32_t StandardColour(uint8_t index);
// The icon file of a picture: one 16×16 image with 4 bits per pixel and a mask (318 bytes).
std::string EncodeIconFile(const PalettePicture& picture);
Icon16 ToIcon(const PalettePicture& picture);

// The flags of the built-in languages as icon files.
std::string CzechFlagIconFile();
std::string BritishFlagIconFile();

// Pictures of the image list's first two entries.
Icon16 WhiteBoardPicture();
Icon16 TwoFlagsPicture();

// Pictures with a key each: entry 0 "LANG_WHITEBOARD" (behind the active language in a menu),
// entry 1 "LANG_TWOFLAGS" (the language menu item), then one icon per language id keyed by the id
// as four upper-case hexadecimal digits.
class LangImageList {
 public:
  LangImageList();
  int Count() const { return static_cast<int>(images_.size()); }
  // -1 when no entry has the key.
  int IndexOfKey(const std::string& key) const;
  int Add(const std::string& key, const Icon16& picture);
  const Icon16& Image(int index) const { return images_.at(static_cast<size_t>(index)); }
  const std::string& Key(int index) const { return keys_.at(static_cast<size_t>(index)); }

 private:
  std::vector<std::string> keys_;
  std::vector<Icon16> images_;
};

}  // namespace lang
