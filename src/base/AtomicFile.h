#pragma once
// Saving a whole file so that the file it replaces survives any failure. Every save of the
// program (configuration, report, options, language files, the simulator's memory image) goes
// through here, so they all behave alike towards links, permissions and crashes.
//
// The bytes go to a new file with a unique hidden name in the target's folder, are written,
// flushed to the disk, and only then renamed over the target; the folder is flushed after the
// rename so that the new name survives a power loss too. A reader therefore sees either the old
// or the new file, never a part of one. On any failure the target stays exactly as it was and the
// temporary file is removed.
//
// - A symbolic link is followed to its final target (relative links from the folder they are
//   in), and that file is replaced in its own folder; the link stays a link. A link naming a
//   file that does not exist yet creates that file, as opening it would.
// - A replaced file keeps its permission bits. A new file gets `newFileMode` less the umask,
//   as an ordinary open(2) with that mode would give it.
// - Only regular files are replaced: a device, pipe or socket at the target is refused (EINVAL)
//   instead of being swapped for a file; a folder at the target makes the rename fail (EISDIR).

#include <sys/types.h>

#include <string>
#include <string_view>

// Where a failed save stopped. Nothing was created before `Write`.
enum class AtomicFileStep {
  None,     // the file was replaced
  Target,   // the path's target cannot be replaced (link loop, not a regular file)
  Create,   // no temporary file could be made in the target's folder
  Write,    // writing, flushing or setting the permissions of the temporary file
  Replace,  // renaming the temporary file over the target
};

struct AtomicFileResult {
  int error = 0;  // errno of the step that failed; 0 on success
  AtomicFileStep failedStep = AtomicFileStep::None;

  bool ok() const { return error == 0; }
};

// Replaces the file at `path` (file-system bytes) by `bytes`. An empty path fails with ENOENT.
AtomicFileResult WriteFileAtomically(const std::string& path, std::string_view bytes,
                                     mode_t newFileMode = 0666);
