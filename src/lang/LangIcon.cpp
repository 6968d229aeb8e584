#include "lang/LangIcon.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace lang {

namespace {

constexpr uint8_t kNavy = 4;
constexpr uint8_t kTeal = 6;
constexpr uint8_t kGrey = 8;
constexpr uint8_t kRed = 9;
constexpr uint8_t kWhite = 15;

// Little-endian reads that fail outside the buffer.
struct Reader {
  const std::string& bytes;
  bool ok = true;
  uint32_t U8(size_t at) {
    if (at >= bytes.size()) {
      ok = false;
      return 0;
    }
    return static_cast<unsigned char>(bytes[at]);
  }
  uint32_t U16(size_t at) { return U8(at) | (U8(at + 1) << 8); }
  uint32_t U32(size_t at) { return U16(at) | (U16(at + 2) << 16); }
};

void Put16(std::string& out, uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

uint32_t StandardColour(uint8_t index) {
  static const uint32_t kColours[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                        0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                        0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  return kColours[index & 15];
}

std::optional<Icon16> DecodeIconFile(const std::string& bytes) {
  Reader r{bytes};
  if (r.U16(0) != 0 || r.U16(2) != 1) return std::nullopt;
  const uint32_t count = r.U16(4);
  if (!r.ok || count == 0) return std::nullopt;
  // The 16×16 entry when there is one, else the first.
  size_t entry = 6;
  for (uint32_t i = 0; i < count && r.ok; ++i) {
    const size_t e = 6 + 16 * static_cast<size_t>(i);
    if (r.U8(e) == 16 && r.U8(e + 1) == 16) {
      entry = e;
      break;
    }
  }
  const size_t size = r.U32(entry + 8);
  const size_t offset = r.U32(entry + 12);
  if (!r.ok || offset >= bytes.size() || size > bytes.size() - offset) return std::nullopt;

  const size_t header = r.U32(offset);
  const auto width = static_cast<int32_t>(r.U32(offset + 4));
  const auto doubleHeight = static_cast<int32_t>(r.U32(offset + 8));
  const uint32_t bpp = r.U16(offset + 14);
  const uint32_t compression = r.U32(offset + 16);
  uint32_t colours = r.U32(offset + 32);
  if (!r.ok || header < 40 || header > size || compression != 0) return std::nullopt;
  if (width < 1 || width > 256 || doubleHeight < 2 || doubleHeight > 512) return std::nullopt;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) return std::nullopt;
  const int height = doubleHeight / 2;
  if (bpp > 8)
    colours = 0;
  else if (colours == 0 || colours > (1u << bpp))
    colours = 1u << bpp;

  const size_t palette = offset + header;
  const size_t xorStride = ((static_cast<size_t>(width) * bpp + 31) / 32) * 4;
  const size_t andStride = ((static_cast<size_t>(width) + 31) / 32) * 4;
  const size_t xorBits = palette + 4 * static_cast<size_t>(colours);
  const size_t andBits = xorBits + xorStride * static_cast<size_t>(height);
  // 32-bit images may leave the mask out; everything else needs it.
  const size_t end = andBits + (bpp == 32 ? 0 : andStride * static_cast<size_t>(height));
  if (end > offset + size || end > bytes.size()) return std::nullopt;
  const bool hasMask = andBits + andStride * static_cast<size_t>(height) <= bytes.size();

  std::vector<uint32_t> argb(static_cast<size_t>(width) * static_cast<size_t>(height));
  bool anyAlpha = false;
  for (int y = 0; y < height; ++y) {
    // Rows are stored from the bottom up.
    const size_t row = xorBits + xorStride * static_cast<size_t>(height - 1 - y);
    for (int x = 0; x < width; ++x) {
      uint32_t pixel = 0;
      const auto ux = static_cast<size_t>(x);
      if (bpp <= 8) {
        const size_t bit = ux * bpp;
        const uint32_t byte = r.U8(row + bit / 8);
        const uint32_t index = (byte >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
        if (index < colours)
          pixel = 0xFF000000u | (r.U32(palette + 4 * index) & 0xFFFFFFu);
        else
          pixel = 0xFF000000u;
      } else if (bpp == 24) {
        pixel = 0xFF000000u | r.U8(row + 3 * ux) | (r.U8(row + 3 * ux + 1) << 8) |
                (r.U8(row + 3 * ux + 2) << 16);
      } else {
        pixel = r.U32(row + 4 * ux);
        if (pixel >> 24) anyAlpha = true;
      }
      argb[static_cast<size_t>(y) * static_cast<size_t>(width) + ux] = pixel;
    }
  }
  if (bpp == 32 && !anyAlpha) {
    for (auto& p : argb) p |= 0xFF000000u;
  }
  if (hasMask && !(bpp == 32 && anyAlpha)) {
    for (int y = 0; y < height; ++y) {
      const size_t row = andBits + andStride * static_cast<size_t>(height - 1 - y);
      for (int x = 0; x < width; ++x) {
        const auto ux = static_cast<size_t>(x);
        if ((r.U8(row + ux / 8) >> (7 - ux % 8)) & 1)
          argb[static_cast<size_t>(y) * static_cast<size_t>(width) + ux] = 0;
      }
    }
  }
  if (!r.ok) return std::nullopt;

  Icon16 icon;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const size_t sx = static_cast<size_t>(x * width / 16);
      const size_t sy = static_cast<size_t>(y * height / 16);
      icon.pixels[static_cast<size_t>(y * 16 + x)] = argb[sy * static_cast<size_t>(width) + sx];
    }
  return icon;
}

std::string EncodeIconFile(const PalettePicture& picture) {
  constexpr uint32_t kXorSize = 16 * 8, kAndSize = 16 * 4;
  constexpr uint32_t kImageSize = 40 + 16 * 4 + kXorSize + kAndSize;
  std::string out;
  // Directory: one icon image.
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, 1);
  out += static_cast<char>(16);  // width
  out += static_cast<char>(16);  // height
  out += static_cast<char>(16);  // colours
  out += static_cast<char>(0);
  Put16(out, 1);  // planes
  Put16(out, 4);  // bits per pixel
  Put32(out, kImageSize);
  Put32(out, 22);
  // Bitmap header; the height counts the image and its mask.
  Put32(out, 40);
  Put32(out, 16);
  Put32(out, 32);
  Put16(out, 1);
  Put16(out, 4);
  Put32(out, 0);
  Put32(out, kXorSize + kAndSize);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);
  for (uint8_t i = 0; i < 16; ++i) Put32(out, StandardColour(i));
  for (int y = 15; y >= 0; --y)
    for (int x = 0; x < 16; x += 2) {
      const auto at = static_cast<size_t>(y * 16 + x);
      const uint8_t hi = picture[at] == kClear ? 0 : picture[at];
      const uint8_t lo = picture[at + 1] == kClear ? 0 : picture[at + 1];
      out += static_cast<char>((hi << 4) | (lo & 15));
    }
  for (int y = 15; y >= 0; --y) {
    uint32_t bits = 0;
    for (int x = 0; x < 16; ++x)
      if (picture[static_cast<size_t>(y * 16 + x)] == kClear) bits |= 0x8000u >> x;
    out += static_cast<char>(bits >> 8);
    out += static_cast<char>(bits & 0xFF);
    out += '\0';
    out += '\0';
  }
  return out;
}

Icon16 ToIcon(const PalettePicture& picture) {
  Icon16 icon;
  for (size_t i = 0; i < 256; ++i)
    icon.pixels[i] = picture[i] == kClear ? 0 : 0xFF000000u | StandardColour(picture[i]);
  return icon;
}

namespace {

PalettePicture Empty() {
  PalettePicture p;
  p.fill(kClear);
  return p;
}

// The flags are drawn into a rectangle of the picture from their geometry, so the same drawing
// serves the icon and the small flags of the two-flags picture.
void DrawCzechFlag(PalettePicture& p, int left, int top, int w, int h) {
  for (int v = 0; v < h; ++v)
    for (int u = 0; u < w; ++u) {
      const double cx = u + 0.5, cy = v + 0.5;
      // The blue wedge reaches from the hoist to the middle of the flag.
      const double reach = (w / 2.0) * (1.0 - std::fabs(cy - h / 2.0) / (h / 2.0));
      uint8_t colour = cy < h / 2.0 ? kWhite : kRed;
      if (cx < reach) colour = kNavy;
      p[static_cast<size_t>((top + v) * 16 + left + u)] = colour;
    }
}

void DrawBritishFlag(PalettePicture& p, int left, int top, int w, int h) {
  const double scale = h / 12.0;
  const double diagonal = std::sqrt(double(w) * w + double(h) * h);
  for (int v = 0; v < h; ++v)
    for (int u = 0; u < w; ++u) {
      const double cx = u + 0.5, cy = v + 0.5;
      const double d1 = std::fabs(h * cx - w * cy) / diagonal;
      const double d2 = std::fabs(h * cx - w * (h - cy)) / diagonal;
      const double saltire = std::min(d1, d2);
      const double cross = std::min(std::fabs(cx - w / 2.0), std::fabs(cy - h / 2.0));
      uint8_t colour = kNavy;
      if (saltire < 1.5 * scale) colour = kWhite;
      if (saltire < 0.5 * scale) colour = kRed;
      if (cross < 2.0 * scale) colour = kWhite;
      if (cross < 1.0 * scale) colour = kRed;
      p[static_cast<size_t>((top + v) * 16 + left + u)] = colour;
    }
}

}  // namespace

std::string CzechFlagIconFile() {
  PalettePicture p = Empty();
  DrawCzechFlag(p, 0, 2, 16, 12);
  return EncodeIconFile(p);
}

std::string BritishFlagIconFile() {
  PalettePicture p = Empty();
  DrawBritishFlag(p, 0, 2, 16, 12);
  return EncodeIconFile(p);
}

Icon16 WhiteBoardPicture() {
  // A white board with a grey frame; teal marks what shows through.
  PalettePicture p;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const bool edge = x == 0 || y == 0 || x == 15 || y == 15;
      const bool corner = (x == 0 || x == 15) && (y == 0 || y == 15);
      p[static_cast<size_t>(y * 16 + x)] = corner ? kTeal : edge ? kGrey : kWhite;
    }
  for (auto& c : p)
    if (c == kTeal) c = kClear;
  return ToIcon(p);
}

Icon16 TwoFlagsPicture() {
  PalettePicture p = Empty();
  DrawBritishFlag(p, 5, 7, 11, 8);
  DrawCzechFlag(p, 0, 1, 11, 8);
  return ToIcon(p);
}

LangImageList::LangImageList() {
  Add("LANG_WHITEBOARD", WhiteBoardPicture());
  Add("LANG_TWOFLAGS", TwoFlagsPicture());
}

int LangImageList::IndexOfKey(const std::string& key) const {
  for (size_t i = 0; i < keys_.size(); ++i)
    if (keys_[i] == key) return static_cast<int>(i);
  return -1;
}

int LangImageList::Add(const std::string& key, const Icon16& picture) {
  keys_.push_back(key);
  images_.push_back(picture);
  return static_cast<int>(images_.size()) - 1;
}

}  // namespace lang
