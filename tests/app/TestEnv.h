#pragma once
// The surroundings of the program under test: no stored options, the shipped system files.

#include "app/ProgramEnv.h"

inline ProgramEnv TestEnv() {
  ProgramEnv env;
  env.sysConfDir = KX2_SOURCE_DIR "/etc/";
  return env;
}
