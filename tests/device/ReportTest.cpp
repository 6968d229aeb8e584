// The KX2 report rendered against the main window for a known configuration.

#include "base/Cp1250.h"
#include "device/Kx2Fixture.h"
#include "report/VEepReport.h"

namespace {

struct Report : Kx2Fixture {
  std::vector<std::string> Render() {
    ReportEnv env(Main());
    env.now = [] {
      std::tm t{};
      t.tm_year = 124, t.tm_mon = 2, t.tm_mday = 5, t.tm_hour = 10, t.tm_min = 20;
      return t;
    };
    std::vector<std::string> lines;
    Module().Report().Render(lines, env);
    return lines;
  }
  static bool Has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
  // What the report shows for a label or box caption: nothing when the window lacks it.
  std::string Shown(const std::string& name) {
    auto* c = Main().FindDeepAs<ui::Control>(name);
    return c != nullptr ? c->Text() : std::string();
  }
};

TEST_F(Report, AKnownConfigurationRendersItsRows) {
  Type("EditStationName", "Kotelna & <1>");
  Type("EditPhoneNumber1", "+420602123456");
  Click("CheckAcceptSMSfrom1");
  Type("EditACOffMsg", "Vypadek");
  Click("CheckMainPwrOff");
  Type("EditACOnMsg", "Obnova");  // its box stays cleared
  Type("EditDinMessLH0", "Alarm");
  Click("RBtnSMSTriesNumber");
  Type("EditNrAttempts", "5");
  Module().Poll();  // the memory figures follow the configuration
  const auto lines = Render();

  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines.front(), "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">");
  EXPECT_EQ(lines[lines.size() - 2], "</html>");
  EXPECT_EQ(lines.back(), "");
  EXPECT_TRUE(Has(lines,
                  "<meta name=\"GENERATOR\" content=\"Qel KX2 Init\">\r\n"
                  "<style type=\"text/css\"><!--"));

  // Chapter 1: texts in bold or "empty", messages "not sent" while their box is cleared.
  const std::string empty = Win1250("<em>prázdné</em>");
  const std::string notSent = Win1250("<em>neposílá se</em>");
  EXPECT_TRUE(
      Has(lines, Shown("LabelStationName") + "</td><td><b>Kotelna &amp; &lt;1&gt;</b></td></tr>"));
  EXPECT_TRUE(Has(lines, Shown("LabelPIN") + "</td><td>" + empty + "</td></tr>"));
  EXPECT_TRUE(Has(lines, Shown("LabelACOffMsg") + "</td><td><b>Vypadek</b></td></tr>"));
  EXPECT_TRUE(Has(lines, "  <tr class=\"darker\"><td>" + Shown("LabelACOnMsg") + "</td><td>" +
                             notSent + "</td></tr>"));
  const std::string vp = "  <tr class=\"brighter\"><td>" + Shown("LabelVP") + "</td><td><b>" +
                         TextOf("EditVP") + " (dny)</b></td></tr>";
  EXPECT_TRUE(Has(lines, vp)) << vp;
  const std::string tries = "  <tr class=\"darker\"><td>" + Shown("GroupNrAttempts") +
                            "</td><td><b>" + TextOf("RBtnSMSTriesNumber") + " 5</b></td></tr>";
  EXPECT_TRUE(Has(lines, tries)) << tries;

  // Chapter 2: an entry without a number shows "minus" for its boxes.
  EXPECT_TRUE(Has(lines, "  <tr class=\"brighter\"><td>T0</td><td>" + Win1250("<em>prázdné</em>") +
                             "</td><td><b>&minus;</b></td><td><b>&minus;</b></td><td>" +
                             Win1250("<em>prázdné</em>") + "</tr>"));
  EXPECT_TRUE(Has(lines, "  <tr class=\"darker\"><td>T1</td><td><b>" + TextOf("EditPhoneNumber1") +
                             "</b></td><td><b>Ano</b></td><td><b>Ne</b></td><td>" +
                             Win1250("<em>prázdné</em>") + "</tr>"));
  EXPECT_TRUE(Has(lines, "  <tr bgcolor=\"#000000\">"));

  // Chapter 3: rows alternate from "brighter"; a message without its box is not sent.
  bool row0 = false, row7 = false;
  for (const auto& l : lines) {
    if (l.rfind("  <tr class=\"brighter\"><td>DIn0</td><td>", 0) == 0) {
      row0 = true;
      EXPECT_NE(l.find("<td>" + Win1250("<em>neposílá se</em>") + "</td>"), std::string::npos);
    }
    if (l.rfind("  <tr class=\"darker\"><td>DOut7</td>", 0) == 0) row7 = true;
  }
  EXPECT_TRUE(row0);
  EXPECT_TRUE(row7);

  // Chapter 5: the size of the configuration.
  EXPECT_TRUE(Has(lines, Win1250("  <tr class=\"brighter\"><td>Velikost nastavení</td><td><b>") +
                             std::to_string(Image().usedLength()) + " B</b></td></tr>"));
  EXPECT_EQ(TextOf("LabelMemLenCfg"), std::to_string(Image().usedLength()));
}

TEST_F(Report, WithUnlimitedTriesTheRowShowsThatButton) {
  Click("RBtnSMSTriesFull");
  const auto lines = Render();
  const std::string tries = "  <tr class=\"darker\"><td>" + Shown("GroupNrAttempts") +
                            "</td><td><b> " + TextOf("RBtnSMSTriesFull") + "</b></td></tr>";
  EXPECT_TRUE(Has(lines, tries)) << tries;

  // The separator above the international prefix spans the five columns.
  bool spans = false;
  for (const auto& l : lines)
    if (l.find("    <td colspan=\"2\" height=\"3\"> </td>\r\n    <td colspan=\"3\"> </td>\r\n") !=
        std::string::npos)
      spans = true;
  EXPECT_TRUE(spans);
}

}  // namespace
