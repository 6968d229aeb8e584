#pragma once
// The terminal: a non-visual component that owns a small window showing the raw traffic of the
// serial link as coloured lines, with a one-line input from which an expert sends text to the
// unit. The window sits as a tab page in the owner's page control (docked) or floats as a window
// of its own.
//
// Setting it up (the owner window does this once its page control exists):
//
//   VQelTerminal1 = new VQelTerminal(this, "VQelTerminal1");      // owned by the window
//   VQelTerminal1->SetParentPageControl(PageControl1);
//   VQelTerminal1->SetTermCloseAction(trmcaDock);
//   VQelTerminal1->SetModeIndex(-1);
//   VQelTerminal1->OnTermSendData = [this](const uint8_t* d, int n) { ... };
//   VQelTerminal1->OnDocked = [this](ui::TabSheet& sheet) { ... };  // arrange the new page
//   VQelTerminal1->Loaded();                                        // names, docks, shows
//
// The window is a ui::Form owned by the component and named after it ("VQelTerminal1_Form"), its
// controls likewise ("VQelTerminal1_SendLinebutton", ...); through the component they belong to
// the owner window, so a language file translates them in the owner's section.
//
// Lines: every piece of traffic is appended with a line type; TerminalHistory.h tells how each
// type is written. The history keeps at most MaxLines lines, trimming about one per cent at once.
//
// The component holds its parts: the window (TerminalWindow) with its controls, whose history
// control holds the lines (TerminalHistory). It docks the window into the owner's page control
// or lets it float, applies the properties and follows the window and the page control when
// somebody else destroys them.
//
// Keys and buttons are the window's (TerminalWindow.h). The terminal does not show what it sends:
// the owner does, when the bytes really go out.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/TerminalSink.h"
#include "components/TerminalWindow.h"
#include "ui/Component.h"
#include "ui/Ref.h"

// What closing the floating window does.
enum TTermCloseAction { trmcaDock, trmcaHide, trmcaFree };

class VQelTerminal : public ui::Component, public TerminalSink {
 public:
  using SendDataEvent = std::function<void(const uint8_t* data, int count)>;
  using WantModeChangeEvent = std::function<void(int modeNo)>;
  using FormEvent = std::function<void(ui::Form& form)>;
  using DockedEvent = std::function<void(ui::TabSheet& sheet)>;

  // Design size of the window and its default floating position.
  static constexpr int kFormWidth = TerminalWindow::kDesignWidth;
  static constexpr int kFormHeight = TerminalWindow::kDesignHeight;
  static constexpr int kFormLeft = 500;
  static constexpr int kFormTop = 300;

  // Creates the hidden window with its controls. Until Loaded() the properties are only stored.
  explicit VQelTerminal(ui::Component* owner, std::string name = "VQelTerminal1");
  ~VQelTerminal() override;
  const char* ClassName() const override { return "VQelTerminal"; }

  // Completes the set-up after the properties have been given: places the window, names it and
  // its controls after the component, docks it (or lets it float), applies Visible, the timing
  // boxes and the mode index, fits the floating window onto the screen and fires OnFormCreate.
  void Loaded();
  bool IsLoaded() const { return !loading_; }

  // ---- Lines ----
  // Appends bytes to the history (see the header comment). Nothing happens for count <= 0 or
  // once the window is gone.
  void addChars(const uint8_t* data, int count, VQelTerminal_LineType lineType);
  // addChars, then breakLine.
  void addLine(const uint8_t* data, int count, VQelTerminal_LineType lineType);
  void addLine(const std::string& bytes, VQelTerminal_LineType lineType);
  // Ends the open line, if any.
  void breakLine();
  // True when no line is open.
  bool startingNewLine() const;
  // The device module's traffic: one line per call.
  void AddBytes(const uint8_t* data, int count, int lineType) override;
  // Empties the history (the Clear button).
  void ClearHistory();
  // Writes the history with a time stamp per line (StampedText) to a UTF-8 text file, replacing
  // it only by a complete new one; false (nothing replaced, the errno in error) when it cannot
  // be written.
  bool SaveHistory(const std::string& path, int* error = nullptr);
  // The history's context-menu command: asks for a file, saves, and says so when it fails.
  void SaveHistoryClick();

  // Removes any selection in the input line and puts the caret at its end.
  void unselectManualLine();
  // True when the control is the terminal window.
  bool FormIs(const ui::Control* control) const;
  // True when the keyboard focus is on a control of the terminal window while it is shown.
  bool Focused() const;
  // Gives the docked window's page the window's caption again (after a translation changed it).
  void RefreshPageCaption();

  // ---- Properties ----
  bool GetDebugWindowsVisible() const { return debugWindowsVisible_; }
  // Shows or hides the two timing boxes (the options dialog turns them on at the Expert level).
  void SetDebugWindowsVisible(bool visible);
  // The actual state: docked means the window sits in a page (not floating).
  bool GetDocked() const;
  void SetDocked(bool docked);
  // The window (docked: its page) is shown.
  bool GetVisible() const;
  void SetVisible(bool visible);
  // Position of the floating window: read live while it floats, the remembered one otherwise.
  // Setting stores the value and moves the window while it floats.
  int GetFormLeft() const;
  void SetFormLeft(int left);
  int GetFormTop() const;
  void SetFormTop(int top);
  // Size of the floating window, or the size it will have when undocked.
  int GetFormWidth() const;
  void SetFormWidth(int width);
  int GetFormHeight() const;
  void SetFormHeight(int height);
  // Selection of the (hidden) mode selector, clamped to -1 .. entries - 1.
  int GetModeIndex() const;
  void SetModeIndex(int index);
  const std::vector<std::string>& GetModeItems() const { return modeItems_; }
  void SetModeItems(std::vector<std::string> items);
  int GetMaxLines() const { return maxLines_; }
  void SetMaxLines(int lines);
  ui::PageControl* GetParentPageControl() const { return pageControl_.get(); }
  void SetParentPageControl(ui::PageControl* pages);
  TTermCloseAction GetTermCloseAction() const { return closeAction_; }
  void SetTermCloseAction(TTermCloseAction action) { closeAction_ = action; }
  // The floating window gets its own task-bar button while this is on. The model only records
  // the wish; HasTaskbarButton() tells a view whether to give the window the button now.
  bool GetShowOnTaskbar() const { return showOnTaskbar_; }
  void SetShowOnTaskbar(bool show);
  bool HasTaskbarButton() const;

  // ---- Events ----
  // Typed input to send (text and terminator).
  SendDataEvent OnTermSendData;
  // A mode was picked. The mode selector stays hidden, so this is never raised in this program.
  WantModeChangeEvent OnTermWantModeChange;
  // The window is ready (end of Loaded).
  FormEvent OnFormCreate;
  // The window has just been docked into a new page of ParentPageControl. The owner arranges the
  // page here (the main window moves it to the last position, gives it its image and activates
  // it) and then calls unselectManualLine().
  DockedEvent OnDocked;

  // ---- The window and its controls (null once the window has been destroyed) ----
  ui::Form* TermForm() const;
  ui::TabSheet* DockSheet() const { return sheet_.get(); }
  TerminalLines* RichEdit() const { return form_ ? form_->RichEdit() : nullptr; }
  TerminalInputLine* ManualLine() const { return form_ ? form_->ManualLine() : nullptr; }
  ui::RadioGroup* RGroupMode() const { return form_ ? form_->RGroupMode() : nullptr; }
  ui::Button* SendLinebutton() const { return form_ ? form_->SendLinebutton() : nullptr; }
  ui::Button* BtnDirect() const { return form_ ? form_->BtnDirect() : nullptr; }
  ui::Button* ClearButton() const { return form_ ? form_->ClearButton() : nullptr; }
  ui::Button* BtnUndock() const { return form_ ? form_->BtnUndock() : nullptr; }
  ui::MenuItem* PopupHistory() const { return form_ ? form_->PopupHistory() : nullptr; }
  ui::MenuItem* SaveHistoryItem() const { return form_ ? form_->SaveHistoryItem() : nullptr; }
  ui::FileDialog* SaveDialog() const { return form_ ? form_->SaveDialog() : nullptr; }
  ui::Edit* DebugInTime() const { return form_ ? form_->DebugInTime() : nullptr; }
  ui::Edit* DebugOutTime() const { return form_ ? form_->DebugOutTime() : nullptr; }

  // Button actions, also reachable through the buttons' clicks.
  void SendLineClick();
  void DirectClick();
  void UndockClick();

 private:
  void CreateWindow();
  void NoteLineStart(VQelTerminal_LineType type);
  void UpdateDocked();
  void DockInto(ui::PageControl& pages);
  void Undock();
  void ApplyVisible();
  void FormClose(ui::CloseAction& action);
  void ScheduleFormRelease();
  void FormGone();
  void PageControlGone();
  bool Floating() const;
  uint32_t Now() const;

  // Owned by the component; somebody else may still destroy it (a close action that frees it).
  ui::Ref<TerminalWindow> form_;
  // The window's page while it is docked; owned by the component.
  ui::Ref<ui::TabSheet> sheet_;
  ui::Ref<ui::PageControl> pageControl_;

  bool loading_ = true;
  bool debugWindowsVisible_ = false;
  bool docked_ = true;
  bool visible_ = false;
  bool showOnTaskbar_ = false;
  int modeIndex_ = -1;
  std::vector<std::string> modeItems_;
  int maxLines_ = 1100;
  TTermCloseAction closeAction_ = trmcaDock;
  // Floating position and size remembered while docked.
  ui::Rect floatBounds_{kFormLeft, kFormTop, kFormWidth, kFormHeight};
  uint32_t lastLineTick_ = 0;
};
