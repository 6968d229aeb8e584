// The packed form of phone numbers and its text, in the edit and as pure conversions.

#include "SettingsFixture.h"
#include "settings/PhoneNumber.h"
#include "settings/VSVBA_TelNumPDU.h"

namespace {

std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s += static_cast<char>(b);
  return s;
}

std::string Pack(const std::string& text, bool* errorOut = nullptr) {
  bool error = false;
  std::string packed = phone::packText(text, error);
  if (errorOut != nullptr) *errorOut = error;
  return packed;
}

class PhoneNumbers : public SettingsFixture {};

}  // namespace

TEST(PhoneNumber, PackedForm) {
  bool error = true;
  EXPECT_EQ(Pack("+123", &error), Bytes({0xFC, 0x6E, 0xDE, 0x0C, 0x00}));
  EXPECT_FALSE(error);
  EXPECT_EQ(Pack("0123"), Bytes({0xFB, 0x7E, 0xEF, 0xCD, 0x00}));
  EXPECT_EQ(Pack(""), Bytes({0x00}));
  EXPECT_EQ(Pack("1*#+bCd"), Pack("1*#+BcD"));
  EXPECT_EQ(phone::toText(Pack("1*#+bCd")), "1*#+B+D");
  // 21 digits: the first 20 are kept, without error.
  EXPECT_EQ(phone::toText(Pack("123456789012345678901", &error)), "12345678901234567890");
  EXPECT_FALSE(error);
  EXPECT_EQ(Pack("12345678901234567890,145"), Pack("12345678901234567890"));
  // A letter ends the number with an error; the digits before it stay.
  EXPECT_EQ(Pack("12a3", &error), Pack("12"));
  EXPECT_TRUE(error);
  EXPECT_EQ(Pack("x12", &error), Bytes({0x00}));
  EXPECT_TRUE(error);

  // Types of address after a comma.
  EXPECT_EQ(Pack("123,145"), Pack("+123"));
  EXPECT_EQ(phone::toText(Pack("123,145")), "+123");
  EXPECT_EQ(phone::toText(Pack("+123, 17")), "123,17");
  EXPECT_EQ(phone::typeOf(Pack("5,0")), 0);
  for (const char* bad : {"123,256", "123,", "123,-1", "+123,x"}) {
    EXPECT_EQ(Pack(bad, &error), Pack(bad[0] == '+' ? "+123" : "123")) << bad;
    EXPECT_TRUE(error) << bad;
  }
  // 255 would be stored as the 0 byte that ends the number: refused like any other bad type.
  const std::string refused = Pack("123,255", &error);
  EXPECT_TRUE(error);
  EXPECT_EQ(refused, Pack("123"));
  EXPECT_EQ(refused.find('\0'), refused.size() - 1);
  EXPECT_EQ(phone::typeOf(Pack("1,254")), 254);

  // Shown forms of short or odd stored values.
  EXPECT_EQ(phone::toText(""), "?");
  EXPECT_EQ(phone::toText(Bytes({0x00})), "");
  EXPECT_EQ(phone::toText(Bytes({0xFF, 0x6E})), "+");
  EXPECT_EQ(phone::toText(Bytes({0xFF, 0x7E})), "");
  EXPECT_EQ(phone::toText(Bytes({0xFF, 0xF0})), ",15");
  EXPECT_EQ(phone::toText(Bytes({0x00, 0x7E, 0xDE, 0x00})), "12");  // count limited by the bytes
  EXPECT_TRUE(phone::isEmpty(Bytes({0x00})));
  EXPECT_FALSE(phone::isEmpty(Pack("1")));
}

TEST(PhoneNumber, GroupingSeparatorsAreSkippedAndOtherCharactersStillFail) {
  bool error = true;
  EXPECT_EQ(Pack("+420 603-123 457", &error), Pack("+420603123457"));
  EXPECT_FALSE(error);
  EXPECT_EQ(Pack("0 6 0 3 ,145", &error), Pack("+0603"));
  EXPECT_FALSE(error);
  // Separators take no digit's place among the twenty.
  EXPECT_EQ(Pack("1234 5678 9012 3456 7890 1", &error), Pack("12345678901234567890"));
  EXPECT_FALSE(error);
  EXPECT_EQ(Pack("603/123", &error), Pack("603"));
  EXPECT_TRUE(error);
  EXPECT_EQ(Pack(" 603", &error), Bytes({0x00}));  // a number starts with '+' or a digit
  EXPECT_TRUE(error);
}

TEST(PhoneNumber, TheInternationalFormNeverDropsADigit) {
  std::string out = "untouched";
  EXPECT_TRUE(phone::toInternational(Pack("0603123456"), "+420", out));
  EXPECT_EQ(out, Pack("+420603123456"));
  // 420 and seventeen digits fill the twenty; one more and the number stays national.
  EXPECT_TRUE(phone::toInternational(Pack("012345678901234567"), "+420", out));
  EXPECT_EQ(out, Pack("+42012345678901234567"));
  out = "untouched";
  EXPECT_FALSE(phone::toInternational(Pack("0123456789012345678"), "+420", out));
  EXPECT_EQ(out, "untouched");
}

TEST_F(PhoneNumbers, EditShowsTheNumberAndRedForBadText) {
  auto* number = new VSVBA_TelNumPDU(top.get());
  auto* edit = Place<ui::Edit>("EditPhoneNumber0");
  new VSVBA_TelNumPDU2TEdit(number, edit);
  EXPECT_EQ(number->acceptedBytes(), Bytes({0x00}));
  top->notifyAccept();
  EXPECT_EQ(edit->Text(), "");

  edit->UserReplace("12a3");
  Poll();
  EXPECT_EQ(edit->FontColor(), ui::clRed);
  EXPECT_EQ(number->bytes(), Pack("12"));
  Leave();
  EXPECT_EQ(edit->Text(), "12");
  EXPECT_EQ(edit->FontColor(), ui::clBlack);

  edit->UserReplace("603,255");
  Poll();
  EXPECT_EQ(edit->FontColor(), ui::clRed);
  Leave();
  EXPECT_EQ(edit->Text(), "603");
  EXPECT_EQ(number->acceptedBytes(), Pack("603"));

  TypeAndLeave(edit, "603,145");
  EXPECT_EQ(edit->Text(), "+603");
  TypeAndLeave(edit, "+603,7");
  EXPECT_EQ(edit->Text(), "603,7");
  TypeAndLeave(edit, "");
  EXPECT_EQ(number->acceptedBytes(), Bytes({0x00}));
}

TEST(PhoneNumber, ServiceCentreScan) {
  bool error = true;
  EXPECT_EQ(phone::scaNumber("+420 602-909 909 \"CZE Eurotel\"", error), "+420602909909");
  EXPECT_FALSE(error);
  EXPECT_EQ(phone::scaNumber("+420602x", error), "+420602");
  EXPECT_TRUE(error);
  EXPECT_EQ(phone::scaNumber("", error), "");
  EXPECT_TRUE(error);
  EXPECT_EQ(phone::scaNumber("123456789012345678", error), "12345678901234567");
  EXPECT_TRUE(error);
  EXPECT_EQ(phone::scaKey("1234567890123456789012"), "1234567890123456789");
}
