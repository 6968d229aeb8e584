#pragma once
// What the program takes from its surroundings, gathered in one place so that the desktop, the
// command line and tests can each provide their own.

#include <string>
#include <vector>

class SettingsStore;

struct ProgramEnv {
  // Command-line arguments after the program name (configuration files to load at start).
  std::vector<std::string> args;
  // The per-user settings store; null: options are neither read nor written (kx2ctl, tests).
  SettingsStore* store = nullptr;
  // The user's documents folder (without the program's subfolder); empty: unknown.
  std::string documentsDir;
  // The folder of the shipped system files (qel_smsc.ini); with a trailing separator.
  std::string sysConfDir;
  // The program's own folder, with a trailing separator.
  std::string programDir;
  // Without files on the command line the start-up loads the last configuration file silently;
  // the command line tool starts from the built-in configuration instead.
  bool loadLastFile = true;
  // Where the serial ports are looked for (the port box lists what `kx2ctl ports` finds).
  std::string devDir = "/dev";
  std::string sysTtyDir = "/sys/class/tty";
  // The port of a simulated unit running inside the program (kx2init --simulate): it is put
  // into the port box, the caption says so, and it is never stored as the user's port.
  std::string simulatedPort;
  // The user's language (a language id such as 0x0405); 0: from the environment (LANG).
  int userLanguageId = 0;
};
