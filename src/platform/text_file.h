// Text files as lists of 8-bit lines on disk; saving is atomic.
#pragma once

#include <QString>
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

// Throws FileError "Cannot open file <name>" when the file cannot be read; with
// TLinks::StayInFolder the message goes on to say when the name is a link or no regular file.
TextLines ReadTextLines(const QString& path, TLinks links = TLinks::Follow);

// Writes the bytes, replacing the file only once all of them are written; on failure the old file
// stays as it was. Throws FileError "Cannot create file <name>".
void WriteFileAtomically(const QString& path, std::string_view bytes,
                         TLinks links = TLinks::Follow);

struct TFileBytes {
  QString Path;
  std::string_view Bytes;
};

// Files that belong together, such as a mesh and its material file: each is written, synced and
// named beside its target first, and only once all of them are does each replace its target by a
// rename, in the order given. A failure before the renames leaves every target as it was; a rename
// that fails (a folder changed under the save, a failing disk) leaves the targets before it
// replaced. Throws FileError "Cannot create file <name>" naming the file that failed.
void WriteFilesAtomically(const std::vector<TFileBytes>& files);

// Writes every line followed by CR LF, replacing the file only once all of it is written; on
// failure the old file stays as it was. Throws FileError "Cannot create file <name>".
void WriteTextLines(const QString& path, const TextLines& lines);

}  // namespace morv
