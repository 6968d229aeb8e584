#pragma once
// Where the program finds and keeps its files on this platform. Each place is one small function
// so another platform can replace it. Functions that depend on the environment take the lookup
// as a parameter; the default reads the process environment.

#include <functional>
#include <optional>
#include <string>

// Returns the value of an environment variable, or nothing when it is not set.
using EnvLookup = std::function<std::optional<std::string>(const std::string& name)>;

// The process environment.
std::optional<std::string> SystemEnv(const std::string& name);

char PathSeparator();

// `path` with exactly one trailing separator added when it has none (an empty path stays empty).
std::string IncludeTrailingSeparator(const std::string& path);

// A path as part of a text: the file system's bytes (UTF-8) in the program's Windows-1250, with
// "?" for what the code page cannot hold, never raw bytes that would show as other letters.
std::string PathText(const std::string& path);

// The user's home folder: $HOME, else the password database; empty when neither knows it.
std::string HomeDir(const EnvLookup& env = SystemEnv);

// The user's documents folder, without a trailing separator: XDG_DOCUMENTS_DIR from
// ${XDG_CONFIG_HOME:-~/.config}/user-dirs.dirs (the file is read, no program is started), else
// ~/Documents. The folder is not created.
std::string DocumentsDir(const EnvLookup& env = SystemEnv);

// The full path of the running program (/proc/self/exe); empty when it cannot be had.
std::string ProgramPath();

// The folder of shared, read-only data such as the SMS centre list, with a trailing separator:
// $KX2_SYSCONFDIR when set and not empty, else the installed tree's "share/kx2init/" beside the
// program's "bin/" folder when it exists, else "etc/" there (<program dir>/../etc/, the build
// tree). Empty when neither can be had. `programPath` defaults to ProgramPath().
std::string SysConfDir(const EnvLookup& env = SystemEnv,
                       const std::optional<std::string>& programPath = std::nullopt);

// The per-user settings file: ${XDG_CONFIG_HOME:-~/.config}/Qel/KX2 Init.ini. A relative
// XDG_CONFIG_HOME is ignored, as the XDG rules require.
std::string ConfigFilePath(const EnvLookup& env = SystemEnv);
