// links: kx2_app kx2_device kx2_settings kx2_report kx2_protocol kx2_serial kx2_eeprom kx2_lang kx2_components kx2_ui kx2_base kx2_sim

// Transfers of the KX2 configuration through the headless main window against a simulated unit
// paced at 19200 baud: a verified read and a verified write of the default configuration and of
// a large one (every text at its limit, every phone number full), first with a unit that answers
// at once, then with one that takes 20 ms before each reply. Each is printed as elapsed time, as
// wire time (the bytes that crossed the line both ways at 1920 bytes per second) and as the
// share of the limit that the line and the unit allow (wire time plus the unit's latency for
// every command) that the transfer reached. Then the cost of the settings tree's per-poll update
// (idle, and after one edit) and of interpreting the large configuration.
#include <chrono>
#include <cstdio>
#include <string>

#include "app/FormMain.h"
#include "app/Program.h"
#include "device/KXADCdect.h"
#include "eeprom/VConfigByteArray.h"
#include "protocol/VScriptSyncEEPROM.h"
#include "settings/VSetting.h"
#include "settings/VSettingBit2Check.h"
#include "sim/PtyUnit.h"
#include "ui/Controls.h"
#include "ui/HeadlessLoop.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

struct Bench {
  ui::HeadlessLoop loop{ui::HeadlessLoop::Clock::Real};
  sim::PtyUnit unit;
  std::unique_ptr<Program> program;

  explicit Bench(const sim::UnitConfig& config) : unit(config), latencyMs(config.latencyMs) {}
  const int latencyMs;

  TFormMain& Main() { return program->Main(); }
  KXADCdect& Module() { return static_cast<KXADCdect&>(*Main().uniModule); }

  bool Start() {
    if (!unit.start()) return false;
    ProgramEnv env;
    env.loadLastFile = false;
    env.userLanguageId = 0x0405;
    program = std::make_unique<Program>(env);
    program->Start();
    if (!loop.RunUntil([&] { return Main().startedUp; }, 5000)) return false;
    loop.SetBoxHandler([](const ui::HeadlessLoop::BoxCall&) { return ui::IDOK; });
    Main().ComboComm->UserReplace(unit.slavePath());
    Main().BtnConnect->UserClick();
    return loop.RunUntil([&] { return Module().LinkState() == LinkIdle; }, 5000);
  }

  void Stop() {
    Main().Close();
    loop.RunUntil([&] { return Main().closeDone; }, 10000);
    program.reset();
    unit.stop();
  }

  // The user's edit of one field: the text, then Enter; the tree settles as on a poll.
  void Set(const std::string& name, const std::string& text) {
    if (auto* edit = Main().FindDeepAs<ui::Edit>(name)) {
      edit->UserSetText(text);
      edit->UserKey('\r');
    }
    Module().Settings().update();
  }

  void FillLarge() {
    auto n = [](const char* pattern, int i) { return ReplaceNumberMarks(pattern, i); };
    const std::string text(254, 'x');
    Set("EditStationName", text);
    Set("EditPIN", "12345678");
    Set("ComboSCA", "+420602909909");
    for (const char* m :
         {"EditNotAuthorized", "EditACOffMsg", "EditACOnMsg", "EditOffMsg", "EditOnMsg"})
      Set(m, text);
    for (int i = 0; i < 8; ++i) {
      Set(n("EditPhoneNumber%d", i), "+1234567890123456789" + std::to_string(i));
      Set(n("EditPhonePrefix%d", i), std::string(99, 'p'));
      for (const char* in : {"EditDinName%d", "EditDinStateL%d", "EditDinStateH%d",
                             "EditDinMessLH%d", "EditDinMessHL%d"})
        Set(n(in, i), text);
      // Output words must not begin like one another.
      const char first = static_cast<char>('A' + i);
      Set(n("EditDoutName%d", i), first + text.substr(1));
      Set(n("EditDoutStateL%d", i), "L" + text.substr(1));
      Set(n("EditDoutStateH%d", i), "H" + text.substr(1));
      Set(n("EditDoutPulse%d", i), "P" + text.substr(1));
    }
  }

  // One transfer started by a button, to its closing message; bytes on the wire both ways and
  // the commands the unit answered.
  bool Transfer(ui::Button* button, double& elapsed, size_t& wireBytes, size_t& commands) {
    unit.clearTraffic();
    loop.ClearBoxes();
    const auto t0 = Clock::now();
    button->UserClick();
    const bool ok = loop.RunUntil(
        [&] { return !loop.Boxes().empty() && Module().LinkState() == LinkIdle; }, 600000);
    elapsed = Seconds(Clock::now() - t0);
    wireBytes = 0;
    commands = 0;
    for (const auto& t : unit.traffic()) {
      if (t.kind != sim::TrafficEntry::Kind::Event) wireBytes += t.bytes.size();
      if (t.kind == sim::TrafficEntry::Kind::Sent) ++commands;
    }
    return ok && Module().SyncScript().LastEndState() == ScriptDone;
  }

  void Report(const char* what, ui::Button* button) {
    double elapsed = 0;
    size_t bytes = 0;
    size_t commands = 0;
    const bool ok = Transfer(button, elapsed, bytes, commands);
    const double wire = static_cast<double>(bytes) / 1920.0;
    const double limit = wire + static_cast<double>(commands) * latencyMs / 1000.0;
    std::printf(
        "%-30s %s config %6d B  elapsed %8.2f s  wire %7zu B = %7.2f s  wire/elapsed %.3f"
        "  limit %7.2f s  limit/elapsed %.3f\n",
        what, ok ? "ok    " : "FAILED", Module().Image().usedLength(), elapsed, bytes, wire,
        elapsed > 0 ? wire / elapsed : 0.0, limit, elapsed > 0 ? limit / elapsed : 0.0);
  }

  // A write that has to send everything: the unit erased and the program knowing nothing of it.
  void WriteAll(const char* what) {
    unit.withUnit([](sim::Kx2Simulator& u) { u.fill(0xFF); });
    Module().Image().clearMirrorStates();
    Report(what, Main().WriteEEPROM);
  }
};

// Reads and writes the default and (unless quick) the large configuration; false when the
// program did not connect.
bool Transfers(int latencyMs, bool quick) {
  sim::UnitConfig config;
  config.baud = 19200;
  config.latencyMs = latencyMs;
  config.sizeCode = 8;  // 32768 bytes: room for the large configuration
  Bench b(config);
  if (!b.Start()) return false;
  // The options keep their defaults: the Basic level, where reads are always verified.
  std::printf("KX2 transfers at 19200 baud, unit latency %d ms (verified, 8-byte blocks)\n",
              latencyMs);
  b.WriteAll("write, default configuration");
  b.Report("read, default configuration", b.Main().ReadEEPROM);
  if (!quick) {
    b.FillLarge();
    b.WriteAll("write, large configuration");
    b.Report("read, large configuration", b.Main().ReadEEPROM);
  }
  b.Stop();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  // --quick: without the large transfers, which take minutes at 19200 baud.
  const bool quick = argc > 1 && std::string(argv[1]) == "--quick";
  std::setvbuf(stdout, nullptr, _IOLBF,
               0);  // figures as they come: the large transfers take minutes
  for (int latencyMs : {0, 20}) {
    if (!Transfers(latencyMs, quick)) {
      std::fprintf(stderr, "the program did not connect to the simulated unit\n");
      return 1;
    }
  }

  sim::UnitConfig config;
  config.sizeCode = 8;
  Bench b(config);
  if (!b.Start()) {
    std::fprintf(stderr, "the program did not connect to the simulated unit\n");
    return 1;
  }
  b.FillLarge();

  // The tree's update on every poll.
  VSettingTop& top = b.Module().Settings();
  constexpr int kIdle = 100000;
  auto t0 = Clock::now();
  for (int i = 0; i < kIdle; ++i) top.update();
  const double idle = Seconds(Clock::now() - t0) / kIdle;
  constexpr int kEdits = 200;
  auto* edit = b.Main().FindDeepAs<ui::Edit>("EditDinName3");
  double edited = 0;
  for (int i = 0; i < kEdits; ++i) {
    edit->UserSetText(i % 2 != 0 ? "Kotel" : "Kotelna");
    t0 = Clock::now();
    top.update();
    edited += Seconds(Clock::now() - t0);
  }
  std::printf("settings update, nothing to do            %10.3f us per poll\n", idle * 1e6);
  std::printf("settings update, after one edit           %10.3f us per poll (large config)\n",
              edited / kEdits * 1e6);

  // Interpreting the large configuration into the settings.
  VConfigByteArray& image = b.Module().Image();
  image.writeSettings(true, false);
  constexpr int kReads = 50;
  int length = 0;
  t0 = Clock::now();
  for (int i = 0; i < kReads; ++i) length = image.readSettings();
  std::printf("readSettings, large configuration (%d B) %10.3f ms each\n", length,
              Seconds(Clock::now() - t0) / kReads * 1e3);

  // The HTML report of the large configuration, rendered from the window's controls.
  constexpr int kReports = 20;
  size_t bytes = 0;
  t0 = Clock::now();
  for (int i = 0; i < kReports; ++i) {
    bytes = 0;
    for (const std::string& line : b.Main().ReportLines()) bytes += line.size() + 2;
  }
  std::printf("report, large configuration (%zu B)     %10.3f ms each\n", bytes,
              Seconds(Clock::now() - t0) / kReports * 1e3);

  b.Stop();
  return 0;
}
