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

// Columns: the row's title ("DOut7" must fit beside the name), name, state (or command) L and H,
// the L->H box and message, the H->L box and message, negate, mention. Each leaves a few pixels
// to the next, so that neither the boxes nor the headings above them touch.
inline constexpr int kColumnLeft[10] = {2, 42, 156, 230, 306, 326, 436, 456, 566, 590};
inline constexpr int kColumnWidth[10] = {38, 110, 70, 70, 17, 104, 17, 104, 17, 17};
inline constexpr int kRowPitch = 23;
inline constexpr int kCheckSize = 17;
// Phone book columns: the row's title, the number, the two bit boxes (each under a heading that
// has the room of its longer language) and the message prefix reaching to the page's right edge.
inline constexpr int kPhoneTitleWidth = 26;
inline constexpr int kPhoneNumberLeft = 32;
inline constexpr int kPhoneNumberWidth = 145;
inline constexpr int kPhoneAcceptLeft = 214;
inline constexpr int kPhoneSendLeft = 306;
inline constexpr int kPhonePrefixLeft = 360;
inline constexpr int kPhonePrefixWidth = 257;
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
