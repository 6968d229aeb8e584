#pragma once
// Small value types shared by the control model and its views.

#include <cstdint>

namespace ui {

// Colours are 0x00BBGGRR, as the platform stores them; values with the top byte 0x80 name
// system colours that a view resolves itself.
using Color = uint32_t;
constexpr Color RGB(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<Color>(r) | (static_cast<Color>(g) << 8) | (static_cast<Color>(b) << 16);
}
constexpr Color clBlack = RGB(0, 0, 0);
constexpr Color clMaroon = RGB(128, 0, 0);
constexpr Color clGreen = RGB(0, 128, 0);
constexpr Color clNavy = RGB(0, 0, 128);
constexpr Color clPurple = RGB(128, 0, 128);
constexpr Color clGray = RGB(128, 128, 128);
constexpr Color clSilver = RGB(192, 192, 192);
constexpr Color clRed = RGB(255, 0, 0);
constexpr Color clLime = RGB(0, 255, 0);
constexpr Color clYellow = RGB(255, 255, 0);
constexpr Color clBlue = RGB(0, 0, 255);
constexpr Color clFuchsia = RGB(255, 0, 255);
constexpr Color clAqua = RGB(0, 255, 255);
constexpr Color clWhite = RGB(255, 255, 255);
constexpr Color clWindowText = 0x80000008;
constexpr Color clWindow = 0x80000005;
constexpr Color clBtnFace = 0x8000000F;
constexpr Color clDefault = 0x20000000;

constexpr bool IsSystemColor(Color c) {
  return (c & 0xFF000000u) != 0;
}
constexpr uint8_t RedOf(Color c) {
  return static_cast<uint8_t>(c & 0xFF);
}
constexpr uint8_t GreenOf(Color c) {
  return static_cast<uint8_t>((c >> 8) & 0xFF);
}
constexpr uint8_t BlueOf(Color c) {
  return static_cast<uint8_t>((c >> 16) & 0xFF);
}

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int Right() const { return left + width; }
  int Bottom() const { return top + height; }
  bool operator==(const Rect&) const = default;
};

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

// Virtual key codes the program looks at.
enum : uint16_t {
  VK_BACK = 0x08,
  VK_TAB = 0x09,
  VK_RETURN = 0x0D,
  VK_ESCAPE = 0x1B,
  VK_END = 0x23,
  VK_HOME = 0x24,
  VK_LEFT = 0x25,
  VK_UP = 0x26,
  VK_RIGHT = 0x27,
  VK_DOWN = 0x28,
  VK_DELETE = 0x2E,
};

enum ShiftState : unsigned { ssNone = 0, ssShift = 1, ssAlt = 2, ssCtrl = 4 };

// What changed, for views that mirror the model.
enum class Prop {
  Text,
  Hint,
  Enabled,
  Visible,
  FontColor,
  Color,
  Bounds,
  Items,
  ItemIndex,
  State,
  MaxLength,
  Selection,
  ReadOnly,
  Range,
  ActivePage,
  TabVisible,
  PageOrder,
  WindowState,
  Focus,
  Other,
};

}  // namespace ui
