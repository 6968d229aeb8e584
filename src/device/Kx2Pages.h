#pragma once
// Placement of the rows that the KX2 description creates on the main window's pages: ten columns
// shared by the inputs and outputs pages, rows 23 pixels apart. Every created control belongs to
// the main window and sits on its page, so the report and the language component find it by name.

#include <string>

namespace ui {
class CheckBox;
class Component;
class Control;
class Edit;
class Label;
}  // namespace ui

namespace kx2 {

inline constexpr int kColumnLeft[10] = {4, 40, 160, 232, 320, 336, 448, 464, 576, 592};
inline constexpr int kColumnWidth[10] = {32, 112, 71, 71, 17, 105, 17, 105, 17, 17};
inline constexpr int kRowPitch = 23;
inline constexpr int kCheckSize = 17;
// All-bits boxes above the columns.
inline constexpr int kPhoneAllTop = 50;
inline constexpr int kIoAllTop = 34;

inline int PhoneRowTop(int row) {
  return 72 + kRowPitch * row;
}
inline int IoRowTop(int row) {
  return 64 + kRowPitch * row;
}

// The factory of one page's controls, which the window owns. Without a page they are put on the
// window itself.
class RowMaker {
 public:
  RowMaker(ui::Component* window, ui::Control* page);

  // A row's title ("T3", "DIn3"): fixed size, text centred vertically.
  ui::Label* Label(const std::string& name, int left, int top, int width, int height,
                   const std::string& caption);
  ui::Edit* Edit(const std::string& name, int left, int top, int width, int height);
  // A check box of a row (2 pixels below the row's top) or above a column; empty caption.
  ui::CheckBox* Check(const std::string& name, int left, int top, const std::string& hint = {});

 private:
  ui::Component* window_;
  ui::Control* page_;
};

}  // namespace kx2
