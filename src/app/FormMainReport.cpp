// The HTML report of the configuration shown: proposed name, save dialog, the file written
// safely in Windows-1250 with CR LF lines, then opened in the system's viewer (without a shell).

#include "app/FormMain.h"
#include "device/KXADCdect.h"
#include "lang/LanguageRecord.h"
#include "lang/VQelLanguage.h"
#include "report/ReportExpression.h"
#include "report/ReportFile.h"
#include "report/ReportViewer.h"
#include "report/VEepReport.h"
#include "ui/EventLoop.h"

std::vector<std::string> TFormMain::ReportLines() {
  std::vector<std::string> lines;
  auto* kx2 = dynamic_cast<KXADCdect*>(uniModule.get());
  if (kx2 == nullptr) return lines;
  ReportEnv env(*this);
  if (const auto* record = VQelLanguage1->GetActiveLangRecord())
    env.languageId = record->languageId;
  kx2->Report().Render(lines, env);
  return lines;
}

bool TFormMain::SaveReport(const std::string& path) {
  std::string error;
  if (report::SaveReportFile(path, ReportLines(), error)) return true;
  MessageBox2(error, ui::MB_OK | ui::MB_ICONERROR);
  return false;
}

void TFormMain::MenuSaveReportClick() {
  SaveDialog2->SetFileName(report::ProposeReportFileName(EditStationName->Text()));
  if (!SaveDialog2->Execute()) return;
  const std::string path = SaveDialog2->FileName();
  const size_t slash = path.rfind('/');
  if (slash != std::string::npos) SaveDialog2->SetInitialDir(path.substr(0, slash + 1));
  if (!SaveReport(path)) return;
  if (reportViewer.empty())
    report::OpenReportFile(path);
  else
    report::OpenReportFile(path, reportViewer);
}
