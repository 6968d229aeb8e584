#pragma once
// Options of the desktop program's command line; what remains are configuration files to load.

#include <optional>
#include <string>
#include <vector>

// Takes "NAME VALUE" (or "NAME=VALUE") out of args, every time it stands there; the last value
// counts. A NAME without a value is taken out too and gives nothing.
std::optional<std::string> TakeValueOption(std::vector<std::string>& args, const std::string& name);
