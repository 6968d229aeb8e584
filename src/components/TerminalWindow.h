#pragma once
// The terminal's window: the history, the input line, the buttons, the (hidden) mode selector
// and the two timing boxes, laid out at fixed distances from the edges of the client area. It
// docks into a page of a page control or floats. Keys typed anywhere in it go to the input line:
// Enter sends the line followed by CR, Escape and Ctrl+Z send it followed by that byte; Send,
// Directly (no terminator) and Clear (empties the history) are buttons.
//
// What the window cannot decide itself (where to send the typed bytes, what Undock and the
// history's Save command do) it hands to its owner through the On... handlers.

#include <functional>
#include <string>

#include "components/VQelTerminalView.h"
#include "ui/Controls.h"
#include "ui/FileDialog.h"
#include "ui/Form.h"
#include "ui/Menu.h"
#include "ui/Ref.h"

class TerminalWindow : public ui::Form {
 public:
  // The size the layout was designed for.
  static constexpr int kDesignWidth = 400;
  static constexpr int kDesignHeight = 450;

  explicit TerminalWindow(ui::Component* owner);
  ~TerminalWindow() override;

  // Names the window and its controls after base ("base_Form", "base_SendLinebutton", ...).
  void NameControls(const std::string& base);
  // Lays the controls out again for the new client area.
  void SetBounds(int left, int top, int width, int height) override;

  // ---- Docking ----
  bool Floating() const { return HostDockSite() == nullptr; }
  // Docks into a new page of pages (owned by sheetOwner) that takes the place the other pages
  // have, apart from the page `current`; returns the new page.
  ui::TabSheet* DockInto(ui::PageControl& pages, ui::Component* sheetOwner,
                         const ui::TabSheet* current);
  // Floats at the given place with the size it had before docking, kept on a screen.
  void FloatAt(int left, int top);

  // ---- Input ----
  // Sends the input line (with the chosen terminator, CR by default) and empties it.
  void SendInput(bool withTerminator);
  // Removes any selection in the input line and puts the caret at its end.
  void UnselectInput();
  // True when the keyboard focus is on a control of the window while it is shown.
  bool HasFocus() const { return Showing() && ActiveControl() != nullptr; }

  // ---- Controls (null once gone) ----
  TerminalLines* RichEdit() const { return richEdit_.get(); }
  TerminalInputLine* ManualLine() const { return manualLine_.get(); }
  ui::RadioGroup* RGroupMode() const { return rgroupMode_.get(); }
  ui::Button* SendLinebutton() const { return sendButton_.get(); }
  ui::Button* BtnDirect() const { return directButton_.get(); }
  ui::Button* ClearButton() const { return clearButton_.get(); }
  ui::Button* BtnUndock() const { return undockButton_.get(); }
  ui::MenuItem* PopupHistory() const { return popupHistory_.get(); }
  ui::MenuItem* SaveHistoryItem() const { return saveHistoryItem_.get(); }
  ui::FileDialog* SaveDialog() const { return saveDialog_.get(); }
  ui::Edit* DebugInTime() const { return debugInTime_.get(); }
  ui::Edit* DebugOutTime() const { return debugOutTime_.get(); }

  // Typed bytes to send (never empty). The handler may destroy the window.
  std::function<void(const std::string& bytes)> OnSend;
  std::function<void()> OnUndock;
  std::function<void()> OnSaveHistory;

 private:
  void ArrangeControls();
  void InstallKeyPreview(ui::Control& control);
  void KeyPreview(char& key);

  ui::Ref<TerminalLines> richEdit_;
  ui::Ref<ui::MenuItem> popupHistory_;
  ui::Ref<ui::MenuItem> saveHistoryItem_;
  ui::Ref<ui::FileDialog> saveDialog_;
  ui::Ref<TerminalInputLine> manualLine_;
  ui::Ref<ui::RadioGroup> rgroupMode_;
  ui::Ref<ui::Button> sendButton_;
  ui::Ref<ui::Button> directButton_;
  ui::Ref<ui::Button> clearButton_;
  ui::Ref<ui::Button> undockButton_;
  ui::Ref<ui::Edit> debugInTime_;
  ui::Ref<ui::Edit> debugOutTime_;

  // Terminator of the next send; 0: none chosen (CR).
  char terminator_ = 0;
};
