// links: kx2_base
// libFuzzer target: arbitrary bytes as the settings file. Parsing never fails or crashes, and what
// the store writes back reads as the same sections, so a save never changes or loses a value
// that was read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/SettingsStore.h"

namespace {

bool Same(const std::vector<settings_detail::Section>& a,
          const std::vector<settings_detail::Section>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].path != b[i].path || a[i].entries.size() != b[i].entries.size()) return false;
    for (size_t j = 0; j < a[i].entries.size(); ++j)
      if (a[i].entries[j].name != b[i].entries[j].name ||
          !(a[i].entries[j].value == b[i].entries[j].value))
        return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string root = SettingsStore::kDefaultRoot;
  const auto sections = settings_detail::Parse(bytes, root);
  const std::string saved = settings_detail::Serialize(sections, root);
  if (!Same(settings_detail::Parse(saved, root), sections)) std::abort();
  // Written a second time, the file is the same bytes.
  if (settings_detail::Serialize(settings_detail::Parse(saved, root), root) != saved) std::abort();
  return 0;
}
