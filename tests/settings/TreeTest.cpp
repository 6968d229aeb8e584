// The tree's mechanics through the controls: check boxes of bits and bytes, colours, accepting on
// leaving and Enter, reverting the whole tree on Escape, hints, and who owns the controls.

#include "SettingsFixture.h"
#include "base/LangText.h"
#include "settings/Constraints.h"
#include "settings/VSVBA2TEdit.h"
#include "settings/VSettingBit2Check.h"
#include "settings/VSettingByte2TEdit.h"

namespace {

using ui::CheckState;

// A phone book column: a byte split into bits, a check box per bit, an "all" box above.
struct Column {
  Column(VSettingTop* top, ui::CheckBox* boxes[8], ui::CheckBox* all) {
    byte = new VSettingByte(top);
    bits = new VSettingBitByte(byte);
    for (int i = 0; i < 8; ++i)
      new VSettingBit2Check(bits->bit(i), boxes[i], "HintAcceptSMSfrom", "P\xF8ij\xEDmat SMS z T%d",
                            i);
    new VSettingByte2GroupCheck(byte, all);
  }
  VSettingByte* byte;
  VSettingBitByte* bits;
};

class Tree : public SettingsFixture {
 protected:
  void SetUp() override {
    SettingsFixture::SetUp();
    for (int i = 0; i < 8; ++i)
      boxes[i] = Place<ui::CheckBox>("CheckAcceptSMSfrom" + std::to_string(i));
    all = Place<ui::CheckBox>("CheckTelAcceptSMSAll");
    column = std::make_unique<Column>(top.get(), boxes, all);
  }
  ui::CheckBox* boxes[8] = {};
  ui::CheckBox* all = nullptr;
  std::unique_ptr<Column> column;
};

struct EnglishHints : lang::TextSource {
  std::string GetLangText(const std::string& section, const std::string& key,
                          const std::string& defaultText, int, int) override {
    if (section == "EEPROM" && key == "HintAcceptSMSfrom") return "Accept SMSs from T%d";
    return defaultText;
  }
};

}  // namespace

TEST_F(Tree, AllBitsBoxSetsTheColumnAndGreysWhenBitsDiffer) {
  top->notifyAccept();
  all->UserClick();
  EXPECT_EQ(column->byte->getValue(), 0xFF);  // taken at once, before any poll
  EXPECT_EQ(modified, 1);
  Poll();
  for (ui::CheckBox* box : boxes) {
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(box->FontColor(), ui::clBlue);  // shown, not accepted yet
  }
  Leave();
  for (ui::CheckBox* box : boxes) EXPECT_EQ(box->FontColor(), ui::clBlack);
  EXPECT_EQ(column->byte->acceptedValue(), 0xFF);

  boxes[3]->UserClick();
  Poll();
  EXPECT_EQ(column->byte->getValue(), 0xF7);
  EXPECT_EQ(all->State(), CheckState::Grayed);
  EXPECT_EQ(all->FontColor(), ui::clBlue);
  // Clicking a greyed box checks it: all bits set again.
  all->UserClick();
  Poll();
  EXPECT_TRUE(boxes[3]->Checked());
  EXPECT_EQ(column->byte->getValue(), 0xFF);
  all->UserClick();
  Leave();
  EXPECT_EQ(column->byte->acceptedValue(), 0x00);
  EXPECT_EQ(all->State(), CheckState::Unchecked);
}

TEST_F(Tree, ValueSetByAConstraintReachesEveryDependantInOneUpdate) {
  // While the text is empty, the byte is forced to 0x05.
  auto* text = new VSVBA_VorString(top.get());
  auto* edit = Place<ui::Edit>("EditDinName0");
  new VSVBA2TEdit(text, edit);
  new VSB_ConstraintNStr2Bit(column->byte, 0xFF, 0x05, {text}, false);
  text->loadBytes("x");
  top->notifyAccept();
  EXPECT_EQ(column->byte->acceptedValue(), 0x00);
  edit->UserReplace("");
  Poll();
  EXPECT_TRUE(boxes[0]->Checked());
  EXPECT_FALSE(boxes[1]->Checked());
  EXPECT_TRUE(boxes[2]->Checked());
  EXPECT_EQ(all->State(), CheckState::Grayed);
  EXPECT_EQ(boxes[0]->FontColor(), ui::clBlue);
  EXPECT_EQ(all->FontColor(), ui::clBlue);
  EXPECT_EQ(boxes[1]->FontColor(), ui::clBlack);
  Leave();
  EXPECT_EQ(column->byte->acceptedValue(), 0x05);
  EXPECT_EQ(boxes[0]->FontColor(), ui::clBlack);
}

TEST_F(Tree, UpdateWithoutNotificationTouchesNothing) {
  top->notifyAccept();
  boxes[0]->SetFontColor(ui::clGreen);
  Poll();
  Poll();
  EXPECT_EQ(boxes[0]->FontColor(), ui::clGreen);
  boxes[1]->UserClick();
  Poll();
  EXPECT_EQ(boxes[0]->FontColor(), ui::clGreen);  // its colour did not change, so no repaint
  EXPECT_EQ(all->FontColor(), ui::clBlue);
}

TEST_F(Tree, InvertedBoxAndHintsFromTheLanguage) {
  auto* flag = new VSettingBit(top.get());
  auto* box = Place<ui::CheckBox>("CheckInverted");
  new VSettingBit2Check(flag, box, "", "", 0, false, true, "CaptionKey", "Bit %d of %d", 5);
  flag->loadValue(1);
  top->notifyAccept();
  EXPECT_FALSE(box->Checked());  // checked means 0
  box->UserClick();
  EXPECT_EQ(flag->getValue(), 0);

  top->retranslateAll();
  EXPECT_EQ(boxes[3]->Hint(), "P\xF8ij\xEDmat SMS z T3");  // built-in default
  EXPECT_EQ(box->Caption(), "Bit 5 of 5");
  EnglishHints english;
  {
    const lang::TextSourceScope installed(&english);
    top->retranslateAll();
  }
  EXPECT_EQ(boxes[3]->Hint(), "Accept SMSs from T3");
}

TEST_F(Tree, EscapeRevertsEveryChangedSettingEnterAccepts) {
  // Two commands that must not begin alike: typing into one bumps the other.
  auto* low = new VSVBA_VorString(top.get());
  auto* high = new VSVBA_VorString(top.get());
  auto* editLow = Place<ui::Edit>("EditDoutStateL0");
  auto* editHigh = Place<ui::Edit>("EditDoutStateH0");
  new VSVBA2TEdit(low, editLow);
  new VSVBA2TEdit(high, editHigh);
  new VSVBA_ConstraintDifPref(high, low);
  low->loadBytes("ON");
  top->notifyAccept();
  EXPECT_TRUE(configSaved);  // loading is no change by the user
  boxes[2]->UserClick();     // accepted when the focus moves on to the edit below

  editHigh->UserReplace("ON");
  Poll();
  EXPECT_EQ(editLow->Text(), "OO");
  EXPECT_EQ(editLow->FontColor(), ui::clBlue);
  editHigh->UserKey(0x1B);
  EXPECT_EQ(editHigh->Text(), "");
  EXPECT_EQ(editLow->Text(), "ON");
  EXPECT_EQ(editLow->FontColor(), ui::clBlack);
  EXPECT_EQ(editHigh->SelLength(), 0);
  EXPECT_TRUE(boxes[2]->Checked());  // accepted before, so it stays
  EXPECT_FALSE(configSaved);         // the change was reported even though it was reverted

  editHigh->UserReplace("OFF");
  editHigh->UserKey('\r');
  EXPECT_EQ(high->acceptedBytes(), "OFF");
  EXPECT_EQ(editHigh->SelLength(), 3);  // Enter selects the text for the next entry
}

TEST_F(Tree, InvalidTextIsRedUntilAcceptRewritesIt) {
  auto* pulse = new VSettingByte(top.get());
  auto* edit = Place<ui::Edit>("EditPulseTime");
  auto* editor = new VSettingByte2Tenths(pulse, edit);
  pulse->loadValue(15);
  top->notifyAccept();
  EXPECT_EQ(edit->Text(), "1,5");
  edit->UserReplace("1,5x");
  Poll();
  EXPECT_EQ(edit->FontColor(), ui::clRed);
  EXPECT_EQ(pulse->getValue(), 15);  // invalid text keeps the value
  Leave();
  EXPECT_EQ(edit->Text(), "1,5");
  EXPECT_EQ(edit->FontColor(), ui::clBlack);

  // Escape throws invalid text away as well.
  edit->UserReplace("x");
  Poll();
  edit->UserKey(0x1B);
  EXPECT_EQ(edit->Text(), "1,5");
  EXPECT_EQ(edit->FontColor(), ui::clBlack);
  EXPECT_FALSE(editor->hasError());

  // A value that changes together with invalid text is shown as well.
  edit->UserReplace("99");
  Poll();
  EXPECT_EQ(edit->FontColor(), ui::clRed);
  Leave();
  EXPECT_EQ(pulse->acceptedValue(), 255);
  EXPECT_EQ(edit->Text(), "25,5");
  EXPECT_EQ(edit->FontColor(), ui::clBlack);
}

TEST_F(Tree, EditorsOwnTheirControlsWhicheverGoesFirst) {
  auto* text = new VSVBA_VorString(top.get());
  new VSVBA2TEdit(text, Place<ui::Edit>("EditStationName"));
  EXPECT_NE(form->FindDeep("EditStationName"), nullptr);
  top.reset();
  EXPECT_EQ(form->FindDeep("EditStationName"), nullptr);
  EXPECT_EQ(form->FindDeep("CheckAcceptSMSfrom0"), nullptr);

  // The window may also go first: the editors forget the controls it destroyed.
  top = std::make_unique<VSettingTop>();
  auto* again = new VSVBA_VorString(top.get());
  auto* editor = new VSVBA2TEdit(again, Place<ui::Edit>("EditStationName"));
  delete form;
  form = nullptr;
  EXPECT_EQ(editor->edit(), nullptr);
  top->notifyAccept();
  top.reset();
}
