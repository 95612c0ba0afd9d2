// File names as the system holds them, bytes carried in QString, and what the programs ask about
// them.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace morv {

// A file name is any string of bytes but NUL; UTF-8 is only a habit. FileNameFromBytes decodes the
// UTF-8 in a name and carries each byte that is no part of it as one of the code units
// U+DC80..U+DCFF, which no decoded text holds; FileNameBytes turns such a text back into exactly
// those bytes. Qt's own conversions would turn the byte into U+FFFD for good, so every name going
// to the system or coming from it passes through these two.
QString FileNameFromBytes(std::string_view bytes);
std::string FileNameBytes(const QString& name);

// The folder and the name of a path's bytes: "a/b" gives "a" and "b", "/b" gives "/" and "b",
// "b" gives "." and "b".
std::pair<std::string, std::string> SplitPath(const std::string& path);

enum class TFileKind { Regular, Folder, Other };

struct TFileFacts {
  TFileKind Kind = TFileKind::Other;
  int64_t Size = 0;
};

// What the name leads to, its links followed; nothing when it leads nowhere.
std::optional<TFileFacts> LookUpFile(const QString& path);

// Removes the file, or the link rather than what it names. True when nothing is left under the
// name, whether or not there was anything.
bool RemoveFile(const QString& path);

// The names (bytes) of what the folder holds that is no folder, links followed; empty when the
// folder cannot be read.
std::vector<std::string> FilesInFolder(const QString& folder);

// The working folder; empty when it cannot be told.
QString CurrentFolder();

// The program's own file; empty when it cannot be told.
QString ProgramFile();

}  // namespace morv
