#include "app/CommandLine.h"

std::optional<std::string> TakeValueOption(std::vector<std::string>& args,
                                           const std::string& name) {
  std::optional<std::string> value;
  std::vector<std::string> kept;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == name) {
      if (i + 1 < args.size()) value = args[++i];
    } else if (args[i].compare(0, name.size() + 1, name + "=") == 0) {
      value = args[i].substr(name.size() + 1);
    } else {
      kept.push_back(args[i]);
    }
  }
  args = std::move(kept);
  return value;
}
