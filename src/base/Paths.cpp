#include "base/Paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "base/Cp1250.h"

namespace {

// ${XDG_CONFIG_HOME:-$HOME/.config}, honouring the variable only when it is absolute.
std::string ConfigHome(const EnvLookup& env) {
  const auto xdg = env("XDG_CONFIG_HOME");
  if (xdg && !xdg->empty() && (*xdg)[0] == '/') return *xdg;
  const std::string home = HomeDir(env);
  if (home.empty()) return std::string();
  return IncludeTrailingSeparator(home) + ".config";
}

std::string StripTrailingSeparators(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// The value of `XDG_DOCUMENTS_DIR=...` in a user-dirs.dirs file. The file is written in shell
// syntax; the value is either "$HOME/..." or an absolute path, other forms are ignored.
std::optional<std::string> ReadUserDir(const std::string& file, const std::string& key,
                                       const std::string& home) {
  std::ifstream in(file);
  if (!in) return std::nullopt;
  std::optional<std::string> result;
  std::string line;
  while (std::getline(in, line)) {
    std::size_t i = line.find_first_not_of(" \t");
    if (i == std::string::npos || line[i] == '#') continue;
    if (line.compare(i, key.size(), key) != 0) continue;
    i += key.size();
    if (i >= line.size() || line[i] != '=') continue;
    ++i;
    // The value: a double-quoted string with backslash escapes, or a bare word.
    std::string value;
    if (i < line.size() && line[i] == '"') {
      ++i;
      bool closed = false;
      for (; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
          value += line[++i];
        } else if (line[i] == '"') {
          closed = true;
          break;
        } else {
          value += line[i];
        }
      }
      if (!closed) continue;
    } else {
      const std::size_t end = line.find_first_of(" \t#", i);
      value = line.substr(i, end == std::string::npos ? std::string::npos : end - i);
    }
    if (value.rfind("$HOME", 0) == 0 && (value.size() == 5 || value[5] == '/')) {
      if (home.empty()) continue;
      value = home + value.substr(5);
    } else if (value.empty() || value[0] != '/') {
      continue;
    }
    result = StripTrailingSeparators(value);  // the last assignment wins, as in the shell
  }
  return result;
}

}  // namespace

std::optional<std::string> SystemEnv(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

char PathSeparator() {
  return '/';
}

std::string PathText(const std::string& path) {
  return Utf8ToCp1250(path);
}

std::string IncludeTrailingSeparator(const std::string& path) {
  if (path.empty() || path.back() == PathSeparator()) return path;
  return path + PathSeparator();
}

std::string HomeDir(const EnvLookup& env) {
  const auto home = env("HOME");
  if (home && !home->empty()) return StripTrailingSeparators(*home);
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
      found->pw_dir != nullptr) {
    return StripTrailingSeparators(found->pw_dir);
  }
  return std::string();
}

std::string DocumentsDir(const EnvLookup& env) {
  const std::string home = HomeDir(env);
  const std::string configHome = ConfigHome(env);
  if (!configHome.empty()) {
    const auto dir = ReadUserDir(configHome + "/user-dirs.dirs", "XDG_DOCUMENTS_DIR", home);
    if (dir) return *dir;
  }
  if (home.empty()) return std::string();
  return IncludeTrailingSeparator(home) + "Documents";
}

std::string ProgramPath() {
  std::error_code ec;
  const auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : path.string();
}

std::string SysConfDir(const EnvLookup& env, const std::optional<std::string>& programPath) {
  const auto configured = env("KX2_SYSCONFDIR");
  if (configured && !configured->empty()) return IncludeTrailingSeparator(*configured);
  const std::string program = programPath ? *programPath : ProgramPath();
  const std::size_t slash = program.rfind('/');
  if (program.empty() || slash == std::string::npos) return std::string();
  const std::string dir = program.substr(0, slash + 1);
  // An installed program finds its data in share/kx2init/ beside bin/; the build tree keeps the
  // files in etc/.
  const std::filesystem::path share =
      std::filesystem::path(dir + "../share/kx2init/").lexically_normal();
  std::error_code error;
  if (std::filesystem::is_directory(share, error)) return IncludeTrailingSeparator(share.string());
  const std::filesystem::path etc = std::filesystem::path(dir + "../etc/").lexically_normal();
  return IncludeTrailingSeparator(etc.string());
}

std::string ConfigFilePath(const EnvLookup& env) {
  const std::string configHome = ConfigHome(env);
  if (configHome.empty()) return std::string();
  return IncludeTrailingSeparator(configHome) + "Qel/KX2 Init.ini";
}
