#include "app/FormCompare.h"

#include "app/Place.h"
#include "base/Cp1250.h"
#include "base/LangText.h"
#include "ui/EventLoop.h"

namespace {
const char* const kSection = "FormCompare";
}

TFormCompare::TFormCompare(ui::Component* owner) : ui::Form(owner, "FormCompare") {
  SetText(Win1250("Porovnání s jednotkou"));
  SetBorder(ui::BorderStyle::Sizeable);
  SetPosition(ui::FormPosition::MainFormCenter);
  SetBounds(0, 0, 600, 400);
  LabelCompare =
      Place<ui::Label>(this, this, "LabelCompare", 8, 8, 584, 16,
                       Win1250("Rozdíly proti jednotce: popis [jméno]: jednotka -> okno"));
  MemoCompare = Place<ui::Memo>(this, this, "MemoCompare", 8, 28, 584, 300);
  MemoCompare->SetReadOnly(true);
  BtnClose = Place<ui::Button>(this, this, "BtnClose", 260, 336, 80, 26, Win1250("Zavřít"));
  BtnClose->SetModalResult(ui::mrOk);
  BtnClose->SetDefault(true);
  BtnClose->SetCancel(true);
}

std::string TFormCompare::LineOf(const ValueDifference& d) {
  return d.caption + " [" + d.name + "]: " + d.a + " -> " + d.b;
}

void TFormCompare::ShowDifferences(const std::vector<ValueDifference>& differences) {
  std::vector<std::string> lines;
  for (const ValueDifference& d : differences) lines.push_back(LineOf(d));
  if (lines.empty())
    lines.push_back(GetLangText(kSection, "NoDifferences", Win1250("Žádné rozdíly")));
  MemoCompare->SetLines(lines);
}
