// Text files as lists of 8-bit lines on disk; saving is atomic.
#pragma once

#include <QString>
#include <string_view>

#include "engine/line_text.h"

namespace morv {

// Throws FileError "Cannot open file <name>" when the file cannot be read.
TextLines ReadTextLines(const QString& path);

// Writes the bytes, replacing the file only once all of them are written; on failure the old file
// stays as it was. Throws FileError "Cannot create file <name>".
void WriteFileAtomically(const QString& path, std::string_view bytes);

// Writes every line followed by CR LF, replacing the file only once all of it is written; on
// failure the old file stays as it was. Throws FileError "Cannot create file <name>".
void WriteTextLines(const QString& path, const TextLines& lines);

}  // namespace morv
