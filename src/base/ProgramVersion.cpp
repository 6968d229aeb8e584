#include "base/ProgramVersion.h"

#include <algorithm>

#ifndef KX2_VERSION
#define KX2_VERSION "0.0.0"
#endif
#ifndef KX2_BUILD_DATE
#define KX2_BUILD_DATE ""
#endif

std::string FourPartVersion(const std::string& version) {
  std::string out = version.empty() ? std::string("0") : version;
  for (auto dots = std::count(out.begin(), out.end(), '.'); dots < 3; ++dots) out += ".0";
  return out;
}

const ProgramVersion& ThisProgramVersion() {
  static const ProgramVersion version = [] {
    ProgramVersion v;
    v.companyName = "Qel";
    v.fileDescription = "KX2 Init - configuration of KX2 GSM telemetry units";
    v.productVersion = KX2_VERSION;
    v.fileVersion = FourPartVersion(v.productVersion);
    v.internalName = "kx2init";
    v.legalCopyright = "Copyright (C) Qel";
    v.originalFilename = "kx2init";
    v.productName = "KX2 Init";
    v.countryCode = "040504E2";
    v.buildDate = KX2_BUILD_DATE;
    return v;
  }();
  return version;
}
