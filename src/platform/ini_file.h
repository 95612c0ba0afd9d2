// INI profiles: named sections of key=value lines, read and changed in memory and saved
// atomically; section and key names match without regard to case.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

#include "engine/line_text.h"

namespace morv {

class IniFile {
 public:
  // Larger files are refused rather than read.
  static constexpr qint64 MaxBytes = 1 << 20;

  // An empty profile that saves to `path`.
  explicit IniFile(QString path);

  // Reads the file. A missing file gives an empty profile; a file that exists but cannot be read
  // or is too large leaves the profile as it was and gives the reason.
  std::optional<QString> Load();
  // Writes the whole profile with CR LF line ends, replacing the file only once all of it is
  // written; gives the reason on failure.
  std::optional<QString> Save() const;

  // The value as a decimal integer; `fallback` when the key is missing or its value is not one.
  int ReadInteger(const QString& section, const QString& key, int fallback) const;
  // A key already present keeps its place; a new one goes to the end of its section, and a new
  // section, spelled as given, to the end of the profile.
  void WriteInteger(const QString& section, const QString& key, int value);

  // The profile as it would be saved.
  QByteArray Text() const;
  // Replaces the profile by the text of an INI file; lines of any other form are kept as they
  // stand and otherwise ignored.
  void SetText(const QByteArray& text);

 private:
  struct Line {
    QByteArray text;
    // For a section header, its name; for a key line, its key; empty otherwise.
    QByteArray name;
    enum class Kind { Other, Section, Key } kind = Kind::Other;
  };

  std::optional<QByteArray> ReadValue(const QString& section, const QString& key) const;
  void WriteValue(const QString& section, const QString& key, const QByteArray& value);
  void SetLines(const TextLines& texts);

  // The index of the section's header line, if the section is present.
  std::optional<std::size_t> FindSection(const QByteArray& section) const;
  // The index of the key's line within the section starting at `header`.
  std::optional<std::size_t> FindKey(std::size_t header, const QByteArray& key) const;
  std::size_t SectionEnd(std::size_t header) const;

  QString path_;
  std::vector<Line> lines_;
};

}  // namespace morv
