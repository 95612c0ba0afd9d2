// Text files as lists of 8-bit lines on disk; saving is atomic.
#pragma once

#include <QString>
#include <string_view>
#include <vector>

#include "engine/line_text.h"

namespace morv {

// Throws FileError "Cannot open file <name>" when the file cannot be read.
TextLines ReadTextLines(const QString& path);

// Writes the bytes, replacing the file only once all of them are written; on failure the old file
// stays as it was. Throws FileError "Cannot create file <name>".
void WriteFileAtomically(const QString& path, std::string_view bytes);

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
