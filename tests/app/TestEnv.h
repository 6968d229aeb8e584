#pragma once
// The surroundings of the program under test: no stored options, the shipped system files.

#include "app/ProgramEnv.h"

inline ProgramEnv TestEnv() {
  ProgramEnv env;
  env.sysConfDir = KX2_SOURCE_DIR "/etc/";
  env.userLanguageId = 0x0405;  // the program's own language, whatever the machine's locale
  return env;
}
