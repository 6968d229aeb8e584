#include "device/Kx2Report.h"

#include <initializer_list>

#include "base/Cp1250.h"
#include "report/VEepReport.h"
#include "settings/VSettingBit2Check.h"

namespace {

// Options appended to a control's name: a value in bold or "empty" (E), just "empty" (F), and
// "not sent" while the named check box is cleared (N).
std::string Bold() {
  return Win1250(" nonempty=<b>,</b> empty=Empty,<em>prázdné</em>");
}
std::string EmptyMark() {
  return Win1250(" empty=Empty,<em>prázdné</em>");
}
std::string NotSentUnless(const std::string& checkBox) {
  return " enable=" + checkBox + Win1250(",NotSent,\"<em>neposílá se</em>\"");
}

class Builder {
 public:
  Builder(VEepReport& report, const std::string& appName) : r_(report), app_(appName) {}

  void Build() {
    Head();
    General();
    PhoneBook();
    Inputs();
    Outputs();
    Summary();
  }

 private:
  // The black 3-pixel row between table sections; spans of cells 2 and later are 0.
  void Separator(int cells, std::initializer_list<int> spans = {}) {
    r_.AddLine("  <tr bgcolor=\"#000000\">");
    for (int k = 0; k < cells; ++k) {
      const int c = k < static_cast<int>(spans.size()) ? *(spans.begin() + k) : 0;
      std::string cell = "    <td";
      if (c != 0) cell += " colspan=\"" + std::to_string(c) + "\"";
      if (k == 0) cell += " height=\"3\"";
      cell += "> </td>\r\n";
      r_.AddText(cell);
    }
    r_.AddLine("  </tr>");
  }

  // Rows of the repeated tables alternate, starting bright.
  void RowOpening(int i) {
    r_.AddText(i % 2 != 0 ? "  <tr class=\"darker\"><td>" : "  <tr class=\"brighter\"><td>");
  }

  void ChapterHeading(int n) {
    r_.AddText("<h1>");
    r_.AddLangText("Chapter", "Kapitola");
    r_.AddText(" " + std::to_string(n) + " - ");
    switch (n) {
      case 1:
        r_.AddExpression("SheetGeneral");
        break;
      case 2:
        r_.AddExpression("SheetNumbers");
        break;
      case 3:
        r_.AddExpression("SheetDIns");
        break;
      case 4:
        r_.AddExpression("SheetDOuts");
        break;
      default:
        r_.AddLangText("Summary", Win1250("Shrnutí"));
        break;
    }
    r_.AddLine("</h1>");
    IndentedTable();
  }

  void IndentedTable() {
    r_.AddLine("<table><tr><td width=\"20\"> </td><td>");
    r_.AddLine("<table cellpadding=\"2\">");
  }
  void EndIndentedTable() {
    r_.AddLine("</table>");
    r_.AddLine("</td></tr></table>");
  }
  void BlankRow() { r_.AddLine("  <tr><td colspan=\"2\">&nbsp;</td></tr>"); }

  void Head() {
    r_.AddLine("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">");
    r_.AddLine("<html>\r\n<head>");
    r_.AddLine("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1250\">");
    r_.AddText("<meta name=\"GENERATOR\" content=\"Qel ");
    r_.AddText(app_);
    r_.AddLine("\">\r\n<style type=\"text/css\"><!--");
    r_.AddLine("table {font-family: arial}");
    r_.AddLine("tr.brighter {}");
    r_.AddLine("tr.darker {background-color: #DDDDDD}");
    r_.AddLine("td {vertical-align: top}");
    r_.AddLine("em {font-size: smaller}");
    r_.AddLine("--></style>\r\n<title>");
    r_.AddLangText("StationSetting1", Win1250("Nastavení stanice "));
    r_.AddExpression("EditStationName");
    r_.AddLangText("StationSetting2", " z programu ");
    r_.AddText(app_);
    r_.AddText("</title>\r\n</head>\r\n<body>\r\n");
    r_.AddText("<p align=\"center\"><b><font color=\"#000080\" size=\"+4\">");
    r_.AddLangText("ListingOfDevice", Win1250("Výpis nastavení zařízení KX2"));
    r_.AddLine("</font></b></p>");
    r_.AddLine("<table border=\"0\">");
    r_.AddLine("  <tr>");
    r_.AddText("    <td>");
    r_.AddLangText("TimeStamp", Win1250("Časová známka"));
    r_.AddLine(":</td>");
    r_.AddText("    <td>");
    r_.AddExpression("CurrentDateTime");
    r_.AddLine("</td>");
    r_.AddLine("  </tr>");
    r_.AddLine("  <tr>");
    r_.AddText("    <td colspan=\"2\"><font size=\"-1\">");
    r_.AddLangText("GeneratedBy", Win1250("Tento výpis byl generován programem"));
    r_.AddText(" " + app_);
    r_.AddLine(".</font></td>");
    r_.AddLine("  </tr>");
    r_.AddLine("</table>");
  }

  // A label and the value of its control, the row opened by a whole line.
  void TextRow(const char* opening, const char* label, const std::string& value) {
    r_.AddLine(opening);
    r_.AddExpression(label);
    r_.AddText("</td><td>");
    r_.AddExpression(value);
    r_.AddLine("</td></tr>");
  }

  // A check box's caption and its state in bold.
  void CheckRow(const char* opening, const std::string& checkBox) {
    r_.AddText(opening);
    r_.AddExpression(checkBox + ".Caption");
    r_.AddText("</td><td><b>");
    r_.AddExpression(checkBox);
    r_.AddLine("</b></td></tr>");
  }

  void General() {
    static const char* const kBright = "  <tr class=\"brighter\"><td>";
    static const char* const kDark = "  <tr class=\"darker\"><td>";
    ChapterHeading(1);
    Separator(2);
    TextRow(kBright, "LabelStationName", "EditStationName" + Bold());
    TextRow(kDark, "LabelPIN", "EditPIN" + Bold());
    TextRow(kBright, "LabelSCA", "ComboSCA" + Bold());
    TextRow(kDark, "LabelMessagePrefix", "EditMessagePrefix" + Bold());
    BlankRow();

    Separator(2);
    CheckRow(kBright, "CheckNotAuth2");
    CheckRow(kDark, "CheckStateToT0");
    CheckRow(kBright, "CheckPowerSaveMode");
    CheckRow(kDark, "CheckPINAuth");
    BlankRow();

    Separator(2);
    r_.AddText(kBright);
    r_.AddExpression("LabelVP");
    r_.AddText("</td><td><b>");
    r_.AddExpression("EditVP nonempty=,\" \"");
    r_.AddExpression(" empty=Days,(dny)");
    r_.AddLine("</b></td></tr>");
    r_.AddText(kDark);
    r_.AddExpression("GroupNrAttempts");
    r_.AddText("</td><td><b>");
    r_.AddExpression("RBtnSMSTriesNumber.Caption enable=RBtnSMSTriesNumber nonempty=,\" \"");
    r_.AddExpression("EditNrAttempts enable=RBtnSMSTriesNumber");
    r_.AddExpression("RBtnSMSTriesFull.Caption enable=RBtnSMSTriesFull");
    r_.AddLine("</b></td></tr>");
    BlankRow();

    Separator(2);
    TextRow(kBright, "LabelACOffMsg", "EditACOffMsg" + Bold() + NotSentUnless("CheckMainPwrOff"));
    // This one row opens with a literal that does not end its line.
    r_.AddText(kDark);
    r_.AddExpression("LabelACOnMsg");
    r_.AddText("</td><td>");
    r_.AddExpression("EditACOnMsg" + Bold() + NotSentUnless("CheckMainPwrOn"));
    r_.AddLine("</td></tr>");
    TextRow(kBright, "LabelOffMsg", "EditOffMsg" + Bold() + NotSentUnless("CheckSendOffMsg"));
    TextRow(kDark, "LabelOnMsg", "EditOnMsg" + Bold() + NotSentUnless("CheckSendOnMsg"));
    TextRow(kBright, "LabelNotAuthorized",
            "EditNotAuthorized" + Bold() + NotSentUnless("CheckNotAuthorized"));
    EndIndentedTable();
  }

  // Column headings: the first cell empty, then one expression per label.
  void Headings(std::initializer_list<const char*> labels, const char* between) {
    r_.AddText("  <tr><th>&nbsp;</th><th>");
    bool first = true;
    for (const char* label : labels) {
      if (!first) r_.AddText(between);
      first = false;
      r_.AddExpression(label);
    }
  }

  void PhoneBook() {
    ChapterHeading(2);
    Headings({"LabelTelNum", "LabelTelAcceptSMS", "LabelTelSendEvents", "LabelTelPrefix"},
             "</th><th>");
    r_.AddLine("</th></tr>");
    Separator(5);
    for (int i = 0; i < 8; ++i) {
      const std::string number = ReplaceNumberMarks("EditPhoneNumber%d", i);
      RowOpening(i);
      r_.AddExpression(ReplaceNumberMarks("LabelPhoneNumber%d", i));
      r_.AddText("</td><td>");
      r_.AddExpression(number + Bold());
      r_.AddText("</td><td><b>");
      r_.AddExpression(ReplaceNumberMarks("CheckAcceptSMSfrom%d", i) + " enable=" + number +
                       ",,&minus;");
      r_.AddText("</b></td><td><b>");
      r_.AddExpression(ReplaceNumberMarks("CheckEventsTo%d", i) + " enable=" + number +
                       ",,&minus;");
      r_.AddText("</b></td><td>");
      r_.AddExpression(ReplaceNumberMarks("EditPhonePrefix%d", i) + Bold());
      r_.AddLine("</tr>");
    }
    r_.AddLine("  <tr><td colspan=\"4\">&nbsp;</td></tr>");
    Separator(2, {2, 3});
    r_.AddText("  <tr class=\"brighter\"><td colspan=\"2\">");
    r_.AddExpression("LabelInternationalPrefix");
    r_.AddText("</td><td colspan=\"2\"><b>");
    r_.AddExpression("EditInternationalPrefix");
    r_.AddText("</b></td></tr>");
    r_.AddText("  <tr class=\"darker\"><td colspan=\"2\">");
    r_.AddExpression("CheckAlwaysInterNumber.Caption");
    r_.AddText("</td><td colspan=\"3\"><b>");
    r_.AddExpression("CheckAlwaysInterNumber");
    r_.AddText("</b></td></tr>");
    EndIndentedTable();
  }

  // One row of a repeated table: the cells after the row label, each an expression.
  void Cells(const std::initializer_list<std::string>& cells) {
    for (const std::string& cell : cells) {
      r_.AddText("</td><td>");
      r_.AddExpression(cell);
    }
  }

  void Inputs() {
    ChapterHeading(3);
    Headings({"LabelDinName", "LabelDinStateL", "LabelDinStateH", "LabelDinMessLH",
              "LabelDinMessHL", "LabelDinNegate", "LabelDinMention"},
             "</th><th nowrap>");
    r_.AddText("</th></tr>");
    Separator(8);
    for (int i = 0; i < 8; ++i) {
      auto name = [i](const char* pattern) { return ReplaceNumberMarks(pattern, i); };
      RowOpening(i);
      r_.AddExpression(name("LabelDin%d"));
      Cells({name("EditDinName%d") + Bold(), name("EditDinStateL%d") + EmptyMark(),
             name("EditDinStateH%d") + EmptyMark(),
             name("EditDinMessLH%d") + EmptyMark() + NotSentUnless(name("CheckDinMessLH%d")),
             name("EditDinMessHL%d") + EmptyMark() + NotSentUnless(name("CheckDinMessHL%d")),
             name("CheckDigInCpl%d"), name("CheckDigInMent%d")});
      r_.AddLine("</td></tr>");
    }
    EndIndentedTable();
  }

  void Outputs() {
    ChapterHeading(4);
    Headings({"LabelDoutName", "LabelDoutStateL", "LabelDoutStateH", "LabelDoutImpuls",
              "LabelDoutNegate", "LabelDoutMention"},
             "</th><th nowrap>");
    r_.AddText("</th></tr>");
    Separator(7);
    for (int i = 0; i < 8; ++i) {
      auto name = [i](const char* pattern) { return ReplaceNumberMarks(pattern, i); };
      RowOpening(i);
      r_.AddExpression(name("LabelDout%d"));
      Cells({name("EditDoutName%d") + Bold(), name("EditDoutStateL%d") + EmptyMark(),
             name("EditDoutStateH%d") + EmptyMark(), name("EditDoutPulse%d") + EmptyMark(),
             name("CheckDigOutCpl%d"), name("CheckDigOutMent%d")});
      r_.AddLine("</td></tr>");
    }
    EndIndentedTable();

    // The pulse length, in a table of its own under the outputs.
    IndentedTable();
    BlankRow();
    Separator(2);
    r_.AddText("  <tr class=\"brighter\"><td>");
    r_.AddExpression("LabelPulseTime");
    r_.AddText("</td><td><b>");
    r_.AddExpression("EditPulseTime");
    r_.AddLine("</b></td></tr>");
    EndIndentedTable();
  }

  void Summary() {
    ChapterHeading(5);
    Separator(2);
    r_.AddText("  <tr class=\"brighter\"><td>");
    r_.AddLangText("MemoryUsed", Win1250("Velikost nastavení"));
    r_.AddText("</td><td><b>");
    r_.AddExpression("LabelMemLenCfg");
    r_.AddLine(" B</b></td></tr>");
    EndIndentedTable();
    r_.AddLine("<p>&nbsp;</p>");
    r_.AddLine("<table>");
    r_.AddLine("  <tr>");
    r_.AddLine("    <td width=\"10%\"> </td>");
    r_.AddLine("    <td align=\"center\" width=\"40%\"><hr></td>");
    r_.AddText("    <td width=\"0%\" nowrap><small>");
    r_.AddLangText("EndOfListing", Win1250("Konec výpisu"));
    r_.AddLine("</small></td>");
    r_.AddLine("    <td align=\"center\" width=\"40%\"><hr></td>");
    r_.AddLine("    <td width=\"10%\"> </td>");
    r_.AddLine("  </tr>");
    r_.AddLine("</table>");
    r_.AddLine("</body>");
    r_.AddLine("</html>");
  }

  VEepReport& r_;
  const std::string& app_;
};

}  // namespace

void BuildKx2Report(VEepReport& report, const std::string& appName) {
  Builder(report, appName).Build();
}
