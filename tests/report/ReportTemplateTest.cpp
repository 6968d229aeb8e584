#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "base/Cp1250.h"
#include "base/LangText.h"
#include "common/TestLoop.h"
#include "report/ReportEscape.h"
#include "report/ReportExpression.h"
#include "report/ReportFile.h"
#include "report/VEepReport.h"
#include "ui/Controls.h"
#include "ui/Form.h"

using namespace report;

namespace {

// A language with a few [Report] entries; everything else falls back to the default, as the
// language component does (an empty key included).
struct FakeLanguage : lang::TextSource {
  std::map<std::string, std::string> texts;
  std::string GetLangText(const std::string& section, const std::string& key,
                          const std::string& defaultText, int, int) override {
    if (section != "Report") return defaultText;
    auto it = texts.find(key);
    return it == texts.end() ? defaultText : it->second;
  }
};

struct ReportFixture : ::testing::Test {
  TestLoop loop{ui::HeadlessLoop::Clock::Virtual};
  ui::Application app;
  ui::Form* form = new ui::Form(&app, "FormMain");
  FakeLanguage language;
  const lang::TextSourceScope installed{&language};
  ReportEnv env{*form};

  ui::PageControl* pages = Place<ui::PageControl>(form, "Pages", "");
  ui::TabSheet* sheet = Place<ui::TabSheet>(pages, "SheetGeneral", Win1250("Obecné"));
  ui::Label* labelPIN = Place<ui::Label>(sheet, "LabelPIN", "PIN");
  ui::Edit* editPIN = Place<ui::Edit>(sheet, "EditPIN", "");
  ui::Edit* editStation = Place<ui::Edit>(sheet, "EditStationName", "");
  ui::ComboBox* comboSCA = Place<ui::ComboBox>(sheet, "ComboSCA", "+420602909909");
  ui::CheckBox* check = Place<ui::CheckBox>(sheet, "CheckNotAuth2", "Reply & report");
  ui::GroupBox* group = Place<ui::GroupBox>(sheet, "GroupNrAttempts", Win1250("Počet pokusů"));
  ui::RadioButton* triesNumber = Place<ui::RadioButton>(group, "RBtnSMSTriesNumber", "Number");
  ui::RadioButton* triesFull = Place<ui::RadioButton>(group, "RBtnSMSTriesFull", "Until sent");
  ui::Edit* attempts = Place<ui::Edit>(group, "EditNrAttempts", "5");
  ui::Button* button = Place<ui::Button>(form, "ButtonRead", "Read");

  template <class T>
  T* Place(ui::Control* parent, const char* name, const std::string& text) {
    auto* control = new T(form, name);
    control->SetParent(parent);
    control->SetText(text);
    return control;
  }

  void SetUp() override {
    env.now = [] {
      std::tm t{};
      t.tm_year = 2024 - 1900;
      t.tm_mon = 2;
      t.tm_mday = 5;
      t.tm_hour = 9;
      t.tm_min = 5;
      t.tm_sec = 7;
      return t;
    };
  }

  std::string Expr(const std::string& expression) {
    VEepReport report;
    report.AddExpression(expression);
    std::vector<std::string> lines;
    report.Render(lines, env);
    return lines.size() == 1 ? lines[0] : "<more than one line>";
  }
};

}  // namespace

TEST_F(ReportFixture, RendersCrLfLinesOfWindows1250Html) {
  editStation->SetText(Win1250("Čerpadlo <A&B>"));
  VEepReport report;
  report.AddLine("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">");
  report.AddLine("<html>\r\n<head>");
  report.AddLine("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1250\">");
  report.AddText("<title>");
  report.AddLangText("StationSetting1", Win1250("Nastavení stanice "));
  report.AddExpression("EditStationName");
  report.AddLine("</title>");
  report.AddText("<p>");
  report.AddExpression("CurrentDateTime");
  report.AddLine("</p>");
  report.AddLine("</html>");

  std::vector<std::string> lines{"left over from before"};
  report.Render(lines, env);
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[1], "<html>\r\n<head>");  // a literal's own CR LF stays inside its line
  EXPECT_EQ(lines.back(), "");
  EXPECT_EQ(ReportFileBytes(lines),
            "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n"
            "<html>\r\n<head>\r\n"
            "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1250\">\r\n" +
                Win1250("<title>Nastavení stanice Čerpadlo &lt;A&amp;B&gt;</title>\r\n") +
                "<p>2024-03-05 09:05:07</p>\r\n"
                "</html>\r\n"
                "\r\n");

  // Without a closing line break the last line is the open one; an empty template is one line.
  VEepReport open;
  open.AddText("a");
  open.AddLineBreak();
  open.AddText("b");
  open.Render(lines, env);
  EXPECT_EQ(lines, (std::vector<std::string>{"a", "b"}));
  VEepReport empty;
  empty.Render(lines, env);
  EXPECT_EQ(lines, (std::vector<std::string>{""}));
  EXPECT_EQ(ReportFileBytes(lines), "\r\n");

  // An item evaluated on its own into an empty list starts a line rather than writing nowhere.
  std::vector<std::string> none;
  OneRecord(OneRecord::Literal, "x").Evaluate(none, env);
  EXPECT_EQ(none, (std::vector<std::string>{"x"}));
}

TEST_F(ReportFixture, EscapesValuesAndLanguageTextsButNotLiterals) {
  EXPECT_EQ(HtmlEscape("a\"b&c<d>e"), "a&quot;b&amp;c&lt;d&gt;e");
  std::string high;
  for (int c = 0x80; c <= 0xFF; ++c) high += static_cast<char>(c);
  EXPECT_EQ(HtmlEscape("'" + high), "'" + high);  // apostrophes and cp1250 letters stay

  language.texts["Title"] = "Fish & <chips>";
  editPIN->SetText("1<2&3");
  VEepReport report;
  report.AddText("<b>");
  report.AddExpression("EditPIN");
  report.AddLangText("Title", "unused");
  report.AddLangText("Missing", "\"quoted\"");
  report.AddText("</b>");
  std::vector<std::string> lines;
  report.Render(lines, env);
  EXPECT_EQ(lines[0], "<b>1&lt;2&amp;3Fish &amp; &lt;chips&gt;&quot;quoted&quot;</b>");
}

TEST_F(ReportFixture, ValuesByKindOfControl) {
  EXPECT_EQ(Expr("LabelPIN"), "PIN");
  EXPECT_EQ(Expr("SheetGeneral"), Win1250("Obecné"));
  EXPECT_EQ(Expr("GroupNrAttempts"), Win1250("Počet pokusů"));
  EXPECT_EQ(Expr("ComboSCA"), "+420602909909");
  EXPECT_EQ(Expr("EditNrAttempts.Whatever"), "5");  // the property matters for check boxes only
  EXPECT_EQ(Expr("editnrattempts"), "5");           // names compare without case
  EXPECT_EQ(Expr("ButtonRead"), "");                // a kind the report does not show

  // Check boxes and radio buttons: the language's words for the state, or the caption.
  EXPECT_EQ(Expr("CheckNotAuth2"), "Ne");
  check->SetChecked(true);
  EXPECT_EQ(Expr("CheckNotAuth2"), "Ano");
  check->SetState(ui::CheckState::Grayed);
  EXPECT_EQ(Expr("CheckNotAuth2"), "Ne");  // only a checked box counts as "True"
  language.texts["True"] = "<yes>";        // the words are escaped like any value
  language.texts["False"] = "False";
  EXPECT_EQ(Expr("CheckNotAuth2"), "False");
  triesFull->SetChecked(true);
  EXPECT_EQ(Expr("RBtnSMSTriesFull"), "&lt;yes&gt;");
  EXPECT_EQ(Expr("RBtnSMSTriesNumber"), "False");
  EXPECT_EQ(Expr("RBtnSMSTriesNumber.caption"), "Number");

  // Only controls placed on the window are found: owning a control is not enough.
  auto* orphan = new ui::Edit(form, "EditOrphan");
  orphan->SetText("hidden");
  EXPECT_EQ(Expr("EditOrphan"), "");
  orphan->SetParent(group);
  EXPECT_EQ(Expr("EditOrphan"), "hidden");
  // Depth first: a control on the first page wins over a later one of the same name.
  Place<ui::Label>(form, "EditPIN", "label on the form");
  editPIN->SetText("1234");
  EXPECT_EQ(Expr("EditPIN"), "1234");
}

TEST_F(ReportFixture, OptionsDecideWhatAValueShows) {
  const std::string pin = "EditPIN nonempty=<b>,</b> empty=Empty," + Win1250("<em>prázdné</em>");
  editPIN->SetText("12&4");
  EXPECT_EQ(Expr(pin), "<b>12&amp;4</b>");
  editPIN->SetText("");
  EXPECT_EQ(Expr(pin), Win1250("<em>prázdné</em>"));  // unescaped default
  language.texts["Empty"] = "<em>empty</em>";
  EXPECT_EQ(Expr(pin), "<em>empty</em>");

  // A reference without a name never finds a control, so "empty" always applies.
  language.texts["Days"] = "(days)";
  EXPECT_EQ(Expr(" empty=Days,(dny)"), "(days)");

  // "enable" empties an inactive control's value; "nonempty" still sees the caption it had.
  const std::string tries = "RBtnSMSTriesNumber.Caption enable=RBtnSMSTriesNumber nonempty=,\" \"";
  triesNumber->SetChecked(true);
  EXPECT_EQ(Expr(tries), "Number ");
  EXPECT_EQ(Expr("EditNrAttempts enable=RBtnSMSTriesNumber"), "5");
  EXPECT_EQ(Expr("RBtnSMSTriesFull.Caption enable=RBtnSMSTriesFull"), "");
  triesFull->SetChecked(true);
  EXPECT_EQ(Expr(tries), " ");
  EXPECT_EQ(Expr("EditNrAttempts enable=RBtnSMSTriesNumber"), "");
  EXPECT_EQ(Expr("RBtnSMSTriesFull.Caption enable=RBtnSMSTriesFull"), "Until sent");

  // Active: an edit with text, a checked box, any other control when enabled. An empty name
  // means the expression's own control; an empty key gives the default.
  EXPECT_EQ(Expr("CheckNotAuth2 enable=EditPIN,,&minus;"), "&minus;");
  editPIN->SetText("1");
  EXPECT_EQ(Expr("CheckNotAuth2 enable=EditPIN,,&minus;"), "Ne");
  EXPECT_EQ(Expr("EditPIN disable=,Off,<i>off</i>"), "<i>off</i>");
  button->SetEnabled(false);
  EXPECT_EQ(Expr("LabelPIN disable=ButtonRead,,x enable=ButtonRead,,y"), "y");
  EXPECT_EQ(Expr("LabelPIN enable=NoSuchControl,,gone"), "PIN");  // nothing found: no change

  // Order: later options see the value earlier ones left, but emptiness of the control's own
  // value; once an option produced HTML it is not escaped again.
  EXPECT_EQ(Expr("EditPIN nonempty=[,] nonempty=<,>"), "<[1]>");
  EXPECT_EQ(Expr("CheckNotAuth2.Caption nonempty=<u>,</u>"), "<u>Reply &amp; report</u>");
  EXPECT_EQ(Expr("EditNrAttempts enable=RBtnSMSTriesNumber empty=E,none"), "");

  // Quoted arguments keep spaces and commas; keys ignore case; odd options are ignored.
  EXPECT_EQ(Expr("EditNrAttempts NONEMPTY=\"[ \",\", ]\""), "[ 5, ]");
  EXPECT_EQ(Expr("EditNrAttempts   bogus=1,2 nonempty novalue= nonempty=(,)"), "(5)");
  EXPECT_EQ(Expr("EditNrAttempts nonempty=a,b,c"), "a5b,c");  // the last argument runs to the end
}

TEST(ReportTokens, TokenRuleHandlesQuotesAndEnds) {
  auto read = [](const std::string& text, size_t start, char delimiter, size_t* end = nullptr) {
    size_t pos = start;
    std::string token = ReadToken(text, pos, delimiter);
    if (end != nullptr) *end = pos;
    return token;
  };
  size_t end = 0;
  EXPECT_EQ(read("abc def", 0, ' ', &end), "abc");
  EXPECT_EQ(end, 4u);
  EXPECT_EQ(read("\"a b\" c", 0, ' ', &end), "a b");
  EXPECT_EQ(end, 6u);
  EXPECT_EQ(read("x\"a b\"y z", 0, ' '), "x\"a b\"y");  // not only quoted: kept as it is
  EXPECT_EQ(read(" x", 0, ' ', &end), "");
  EXPECT_EQ(end, 1u);
  EXPECT_EQ(read("\"", 0, ','), "");
  EXPECT_EQ(read("\"abc", 0, ','), "abc");  // an unterminated quote loses no text
  EXPECT_EQ(read("\"a\"\"b\",c", 0, ',', &end), "a\"\"b");
  EXPECT_EQ(end, 7u);
  EXPECT_EQ(read("abc", 10, ' ', &end), "");
  EXPECT_EQ(end, 3u);
  size_t pos = 2;
  EXPECT_EQ(ReadRest("k=a,b c", pos), "a,b c");
  EXPECT_EQ(pos, 7u);
}

TEST_F(ReportFixture, TimeStampFollowsTheLanguageAndSkipsMidnight) {
  EXPECT_EQ(Expr("CurrentDateTime"), "2024-03-05 09:05:07");
  env.languageId = 0x0405;
  EXPECT_EQ(Expr("CurrentDateTime"), "5.3.2024 9:05:07");
  env.languageId = 0x0809;
  EXPECT_EQ(Expr("CurrentDateTime"), "05/03/2024 09:05:07");
  env.languageId = 0x0409;  // English without formats of its own
  EXPECT_EQ(Expr("CurrentDateTime"), "2024-03-05 09:05:07");
  env.languageId = 0x0809;
  env.now = [] {
    std::tm t{};
    t.tm_year = 2000 - 1900;
    t.tm_mday = 1;
    return t;
  };
  EXPECT_EQ(Expr("CurrentDateTime"), "01/01/2000");
  // Only the exact word is the time stamp; anything else is an ordinary (missing) control.
  EXPECT_EQ(Expr("currentdatetime"), "");
  EXPECT_EQ(Expr("CurrentDateTime empty=,now"), "now");
}
