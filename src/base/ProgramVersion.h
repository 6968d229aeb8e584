#pragma once
// The program's version texts: what its version resource would carry, filled in by the build
// (the project's version and the day it was configured).

#include <string>

struct ProgramVersion {
  std::string comments;
  std::string companyName;
  std::string fileDescription;
  std::string fileVersion;  // four numbers, "1.2.1.0"
  std::string internalName;
  std::string legalCopyright;
  std::string legalTradeMarks;
  std::string originalFilename;
  std::string productName;
  std::string productVersion;  // the project's version, "1.2.1"
  // Language and code page of the texts as eight hexadecimal digits: Czech (0405) in
  // Windows-1250 (04E2), the language and encoding the program's texts are written in.
  std::string countryCode;
  std::string buildDate;  // YYYY-MM-DD (UTC)
};

// The running program's version texts. Entries the program does not have are empty.
const ProgramVersion& ThisProgramVersion();

// A version text padded with ".0" to four numbers ("1.2.1" gives "1.2.1.0").
std::string FourPartVersion(const std::string& version);
