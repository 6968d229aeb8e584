#pragma once
// The per-user settings store: what the program keeps under "Software\Qel\KX2 Init" (options,
// window positions, the first-run flag) lives in one INI-like file per user.
//
// Addressing works like the registry the program was written for: a section is a key path such
// as "Software\Qel\KX2 Init\Options\Forms\FormMain", a name is a value in that key. Key paths
// and names compare without regard to the case of ASCII letters; empty path components (doubled
// or trailing backslashes) are ignored. Values are typed: a text (any byte string, kept
// byte-exact) or a 32-bit integer. ReadString gives an integer as its decimal text and
// ReadInteger accepts a text holding a decimal number, as the registry calls did.
//
// On disk (UTF-8; the program's Windows-1250 texts are converted both ways losslessly):
//
//   ; KX2 Init settings
//   [Options\General]
//   CommPort=s:/dev/ttyUSB0
//   UserExpLevel=i:2
//
// A header holds the key path below the store's root key ("Software\Qel\KX2 Init"); "[]" is the
// root itself and a header starting with a backslash holds a full path outside the root. In
// headers, "%" and control bytes are written as %HH. In names and text values a backslash is
// written as "\\" and control bytes as \xHH; in names also "=", a leading "[", ";" or "#" and
// leading or trailing blanks; in values trailing blanks. Lines starting with ";" or "#" are
// comments. Lines that cannot be understood are skipped, so a damaged or foreign file reads as
// far as it makes sense and an unreadable one reads as empty.
//
// Persistence is write-through: every Write*/DeleteValue that changes something saves the file
// before it returns (a write that changes nothing costs no I/O). Saving re-reads the file and
// applies this store's changes on top, so two running programs do not undo each other's values,
// then replaces the file atomically (temporary file in the same folder, fsync, rename), creating
// the folder when needed. A failed save returns false and keeps the change in memory; the next
// save retries it. Group many writes in a Batch to save once at its end. Nothing here throws.
//
// Not thread-safe: used from the user-interface thread only.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

enum class SettingsValueType { None, String, Integer };

struct SettingsValue {
  SettingsValueType type = SettingsValueType::None;
  std::string text;     // for String
  int32_t integer = 0;  // for Integer

  static SettingsValue String(std::string s) {
    return {SettingsValueType::String, std::move(s), 0};
  }
  static SettingsValue Integer(int32_t v) { return {SettingsValueType::Integer, std::string(), v}; }
  bool operator==(const SettingsValue&) const = default;
};

// The store's content as parsed from and written to the file.
namespace settings_detail {
struct Entry {
  std::string name;
  SettingsValue value;
};
struct Section {
  std::string path;  // normalised full key path
  std::vector<Entry> entries;
};
struct Change {
  std::string path;
  std::string name;
  std::optional<SettingsValue> value;  // nothing: delete
};
// The file's bytes as sections (what cannot be understood skipped), and back. Saving and
// reading again gives the same sections: the store relies on it at every save.
std::vector<Section> Parse(const std::string& fileBytes, const std::string& root);
std::string Serialize(const std::vector<Section>& sections, const std::string& root);
}  // namespace settings_detail

class SettingsStore {
 public:
  static constexpr const char* kDefaultRoot = "Software\\Qel\\KX2 Init";

  // The user's store at ConfigFilePath().
  SettingsStore();
  // A store in `filePath`, loaded at once (a missing or unreadable file gives an empty store).
  explicit SettingsStore(std::string filePath, std::string rootKey = kDefaultRoot);

  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;
  ~SettingsStore();

  const std::string& FilePath() const { return filePath_; }

  std::optional<SettingsValue> Read(const std::string& section, const std::string& name) const;
  SettingsValueType ValueType(const std::string& section, const std::string& name) const;
  // The text; an integer as its decimal text; `defaultValue` when missing.
  std::string ReadString(const std::string& section, const std::string& name,
                         const std::string& defaultValue) const;
  // The integer; a text that is a whole decimal number in range as that number; else the default.
  int32_t ReadInteger(const std::string& section, const std::string& name,
                      int32_t defaultValue) const;
  // True when the key exists: it holds values, was written to, or has a sub-key that does.
  bool SectionExists(const std::string& section) const;
  // Names of the values of a key, in the order they were first written.
  std::vector<std::string> ValueNames(const std::string& section) const;

  // Each returns whether the store on disk now holds the change (true inside a Batch).
  bool WriteString(const std::string& section, const std::string& name, const std::string& value);
  bool WriteInteger(const std::string& section, const std::string& name, int32_t value);
  bool DeleteValue(const std::string& section, const std::string& name);

  // Saves the changes not yet saved; true when there were none or they are on disk now.
  bool Flush();
  // Forgets unsaved changes and reads the file again.
  void Reload();

  // Defers saving while it lives; the outermost batch saves once when it ends.
  class Batch {
   public:
    explicit Batch(SettingsStore& store);
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;
    ~Batch();
    // Ends the batch now; the result of the save (true when an outer batch still defers it).
    bool Finish();

   private:
    SettingsStore* store_;
  };

 private:
  bool Apply(const std::string& section, const std::string& name,
             std::optional<SettingsValue> value);
  const settings_detail::Entry* Find(const std::string& section, const std::string& name) const;

  std::string filePath_;
  std::string root_;
  std::vector<settings_detail::Section> sections_;
  std::vector<settings_detail::Change> pending_;
  int batchDepth_ = 0;
};
