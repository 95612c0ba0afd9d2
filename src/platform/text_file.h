// Text files as lists of 8-bit lines on disk; saving is atomic.
#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/line_text.h"

namespace morv {

// What a file name that is a symbolic link stands for. The user's own files are reached through
// their links, as any editor does; a server working in a folder that other people write must never
// be led outside it.
enum class TLinks {
  // Reading reads the file the link names; saving replaces that file and keeps the link.
  Follow,
  // Reading takes only a regular file that is not a link; saving puts a regular file in the
  // link's place and leaves the file it named alone.
  StayInFolder,
};

// The path as the file system reads it. Qt takes a path that begins with ':' for one of its
// resources; this program has none and every name it is given is a file's, so such a path is taken
// from the working folder. The readers and writers here do this themselves.
QString OnDisk(const QString& path);

// Models and animation sets take a few megabytes at most; no reader takes a file larger than this.
inline constexpr int64_t MaxReadBytes = int64_t{64} << 20;

// The whole file. Throws FileError "Cannot open file <name>: <reason>" when it cannot be read: no
// such file, permission denied, it is a folder, the file is too large (more than MaxReadBytes),
// and with TLinks::StayInFolder when the name is a link or no regular file. A regular file that
// is too large is refused before anything of it is read; a pipe or a device is read until it
// ends or has given more than MaxReadBytes.
std::string ReadFileBytes(const QString& path, TLinks links = TLinks::Follow);

// The file's lines, split at CR LF, CR and LF alike; fails as ReadFileBytes.
TextLines ReadTextLines(const QString& path, TLinks links = TLinks::Follow);

// Writes the bytes. A regular file (or none yet) is replaced only once all of them are written
// and synced beside it, by a rename, after which the folder is synced too; on failure the old
// file stays as it was. The replacement keeps the old file's permissions, and its owner and group
// where the process may set them. A file the process may not write is not replaced; one it may
// write in a folder it may not is overwritten in place, and what it is not a regular file (a
// named pipe, a device such as /dev/stdout or /dev/null) is written through. Throws FileError
// "Cannot create file <name>: <reason>": no such folder, permission denied, it is a folder, or
// what the system says.
void WriteFileAtomically(const QString& path, std::string_view bytes,
                         TLinks links = TLinks::Follow);

// The file a save of `path` with TLinks::Follow really writes: where its links lead, when they
// lead to a regular file or to none yet (a link whose file is still to be made); `path` itself
// otherwise. Files that go with it belong beside this one.
QString SaveTarget(const QString& path);

struct TFileBytes {
  QString Path;
  std::string_view Bytes;
};

// Files that belong together, such as a mesh and its material file, each saved as
// WriteFileAtomically saves it: each is written, synced and named beside its target first, and
// only once all of them are does each replace its target by a rename (or get written in place or
// through), in the order given. A failure before the renames leaves every target as it was; a
// rename that fails (a folder changed under the save, a failing disk) leaves the targets before
// it replaced. Throws FileError "Cannot create file <name>: <reason>" naming the file that failed.
void WriteFilesAtomically(const std::vector<TFileBytes>& files);

// Writes every line followed by CR LF, as WriteFileAtomically writes.
void WriteTextLines(const QString& path, const TextLines& lines);

}  // namespace morv
