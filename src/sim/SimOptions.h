#pragma once
// The command line of kx2sim, parsed apart from the program so that it can be checked without
// starting one.

#include <string>
#include <vector>

#include "sim/Kx2Simulator.h"

namespace sim {

struct SimOptions {
  UnitConfig unit;
  std::string link;   // symbolic link to the slave, replaced when it exists
  std::string image;  // raw memory image loaded at start
  std::string save;   // raw memory image written at the end
  std::string log;    // traffic as text
  bool help = false;
};

std::string SimUsage();

// Parses the arguments after the program's name. False with a message for a bad command line.
bool ParseSimOptions(const std::vector<std::string>& args, SimOptions& options, std::string& error);

// One --fault value, KIND[:ARG], merged into faults.
bool ParseFault(const std::string& text, Faults& faults, std::string& error);

}  // namespace sim
