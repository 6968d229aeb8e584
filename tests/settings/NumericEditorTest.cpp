// Bytes typed as numbers: validity period, pulse length, attempts; and their text helpers.

#include "SettingsFixture.h"
#include "settings/NumberText.h"
#include "settings/VSettingByte2TEdit.h"

namespace {

class NumericEditors : public SettingsFixture {
 protected:
  // Types text, presses Enter; the value the byte accepted.
  int Enter(ui::Edit* edit, VSettingByte* byte, const std::string& text) {
    edit->UserReplace(text);
    edit->UserKey('\r');
    return byte->acceptedValue();
  }
};

}  // namespace

TEST_F(NumericEditors, ValidityPeriodInDaysOrAsInterval) {
  auto* vp = new VSettingByte(top.get());
  auto* edit = Place<ui::Edit>("EditVP");
  new VSettingByte2ValidityPeriod(vp, edit);
  vp->loadValue(169);
  top->notifyAccept();
  EXPECT_EQ(edit->Text(), "3");

  EXPECT_EQ(Enter(edit, vp, "30"), 196);
  EXPECT_EQ(edit->Text(), "4t 2d");
  EXPECT_EQ(Enter(edit, vp, "12h"), 143);
  EXPECT_EQ(edit->Text(), "12h");
  EXPECT_EQ(Enter(edit, vp, "1t"), 173);
  EXPECT_EQ(edit->Text(), "7");
  EXPECT_EQ(Enter(edit, vp, "31"), 0);  // 31 seconds, raised to the 5 minute minimum
  EXPECT_EQ(edit->Text(), "5m");
  for (const char* bad : {"0", "", "abc"}) {
    EXPECT_EQ(Enter(edit, vp, bad), 169) << bad;  // 3 days
    EXPECT_EQ(edit->Text(), "3");
  }
  edit->UserReplace("abc");
  Poll();
  EXPECT_EQ(edit->FontColor(), ui::clRed);

  EXPECT_EQ(validityPeriodToText(255), "63t");
  EXPECT_EQ(validityPeriodToText(0), "5m");
  EXPECT_EQ(validityPeriodToText(144), "12h 30m");
  bool error = false;
  EXPECT_EQ(textToValidityPeriod("100t", error), 255);
  EXPECT_TRUE(error);
  EXPECT_EQ(textToValidityPeriod("-2", error), 0);
  EXPECT_TRUE(error);
  // Every coded period reads back as itself.
  for (int v = 0; v < 256; ++v) {
    EXPECT_EQ(textToValidityPeriod(validityPeriodToText(static_cast<uint8_t>(v)), error), v);
    EXPECT_FALSE(error) << v;
  }
}

TEST_F(NumericEditors, PulseLengthInTenths) {
  auto* pulse = new VSettingByte(top.get());
  auto* edit = Place<ui::Edit>("EditPulseTime");
  new VSettingByte2Tenths(pulse, edit);
  top->notifyAccept();
  EXPECT_EQ(edit->Text(), "0,0");
  EXPECT_EQ(Enter(edit, pulse, "2,5"), 25);
  EXPECT_EQ(Enter(edit, pulse, "0.5"), 5);
  EXPECT_EQ(edit->Text(), "0,5");
  EXPECT_EQ(Enter(edit, pulse, "2.5"), 25);
  edit->UserSetText("1.2.3");  // pasted: the current value is kept
  edit->UserKey('\r');
  EXPECT_EQ(pulse->acceptedValue(), 25);
  EXPECT_EQ(Enter(edit, pulse, "26"), 255);
  EXPECT_EQ(Enter(edit, pulse, "-1"), 0);
  EXPECT_EQ(edit->Text(), "0,0");
}

TEST_F(NumericEditors, AttemptsUnlimitedOrLimited) {
  auto* tries = new VSettingByte(top.get());
  auto* unlimited = Place<ui::RadioButton>("RBtnSMSTriesFull");
  auto* limited = Place<ui::RadioButton>("RBtnSMSTriesNumber");
  auto* edit = Place<ui::Edit>("EditNrAttempts");
  new VSettingByte2ButButEdit(tries, unlimited, limited, edit);
  EXPECT_EQ(edit->Text(), "1");
  EXPECT_FALSE(edit->Enabled());
  top->notifyAccept();
  EXPECT_TRUE(unlimited->Checked());
  EXPECT_FALSE(edit->Enabled());

  limited->UserClick();
  EXPECT_TRUE(edit->Enabled());
  EXPECT_EQ(tries->getValue(), 1);
  EXPECT_EQ(Enter(edit, tries, "40"), 31);
  EXPECT_EQ(edit->Text(), "31");
  edit->UserReplace("40");
  Poll();
  EXPECT_EQ(edit->FontColor(), ui::clRed);

  // Unlimited is 0 whatever the edit says, and the edit stays disabled even while it turns black.
  unlimited->UserClick();
  Poll();
  EXPECT_EQ(tries->getValue(), 0);
  EXPECT_FALSE(edit->Enabled());
  EXPECT_EQ(edit->FontColor(), ui::clBlack);
  Leave();
  edit->UserKey('\r');  // nothing happens in a disabled edit
  top->notifyAccept();
  EXPECT_EQ(tries->acceptedValue(), 0);

  tries->loadValue(7);
  top->notifyAccept();
  EXPECT_TRUE(limited->Checked());
  EXPECT_TRUE(edit->Enabled());
  EXPECT_EQ(edit->Text(), "7");
}

TEST(NumberText, ParseNumber) {
  bool error = false;
  EXPECT_EQ(parseNumber("12", 1, error, true), 12);
  EXPECT_FALSE(error);
  EXPECT_EQ(parseNumber(" 12", 10, error, true), 120);
  EXPECT_FALSE(error);
  parseNumber("12 ", 1, error, true);
  EXPECT_TRUE(error);
  parseNumber("", 1, error, true);
  EXPECT_TRUE(error);
  EXPECT_EQ(parseNumber("0x1F", 1, error, false), 31);
  EXPECT_FALSE(error);
  EXPECT_EQ(parseNumber("017", 1, error, false), 15);
  EXPECT_EQ(parseNumber("017", 1, error, true), 17);
  parseNumber("0x1F", 1, error, true);
  EXPECT_TRUE(error);
  EXPECT_EQ(parseNumber("-0,25", 10, error, false), -3);  // half away from zero
  EXPECT_FALSE(error);
  EXPECT_EQ(parseNumber("0,25", 10, error, false), 3);
  parseNumber("1,2,3", 10, error, false);
  EXPECT_TRUE(error);
  parseNumber(",", 10, error, false);
  EXPECT_TRUE(error);
  EXPECT_EQ(parseNumber("99999999999999999999", 10, error, true), INT32_MAX);  // saturated
  EXPECT_EQ(parseNumber("-1e300.", 10, error, false), INT32_MIN);
  parseNumber(std::string("12\0"
                          "3",
                          4),
              1, error, true);
  EXPECT_TRUE(error);

  EXPECT_EQ(formatFixed(123, 10), "12,3");
  EXPECT_EQ(formatFixed(5, 10), "0,5");
  EXPECT_EQ(formatFixed(-5, 100), "-0,05");
  EXPECT_EQ(formatFixed(7, 1), "7");
}

TEST(NumberText, Intervals) {
  bool error = true;
  EXPECT_EQ(parseInterval("1t 2d", error), 604800 + 2 * 86400);
  EXPECT_FALSE(error);
  EXPECT_EQ(parseInterval("2d1t", error), 604800 + 2 * 86400);
  EXPECT_FALSE(error);
  EXPECT_EQ(parseInterval("3 d", error), 3 * 86400);
  EXPECT_EQ(parseInterval("90m", error), 5400);
  EXPECT_EQ(parseInterval("  45 ", error), 45);
  EXPECT_FALSE(error);
  EXPECT_EQ(parseInterval("1d 5", error), 86405);
  EXPECT_TRUE(error);
  EXPECT_EQ(parseInterval("1d1d", error), 2 * 86400);
  EXPECT_TRUE(error);
  EXPECT_EQ(parseInterval("2x", error), 2);
  EXPECT_TRUE(error);
  EXPECT_EQ(parseInterval("1h -10m", error), 3000);
  EXPECT_EQ(parseInterval("", error), 0);

  EXPECT_EQ(formatInterval(0), "0s");
  EXPECT_EQ(formatInterval(604800 + 2 * 86400 + 61), "1t 2d 1m 1s");
  EXPECT_EQ(formatInterval(-3600), "-1h");
}
