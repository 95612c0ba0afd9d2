// Fuzzes the INI profile reader: what it reads from a file it reads the same after saving, and a
// value written into any profile reads back.
#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "engine/line_text.h"
#include "platform/ini_file.h"
#include "property.h"

using namespace morv;

namespace {

// Far from any value a test input is likely to hold.
constexpr int Missing = -1234567;

using Names = std::vector<std::pair<QString, QString>>;

// The names the program reads, and every section and key the text seems to name, read as a person
// writing the file would mean them, so that the reader is asked for names present and near misses.
Names NamesIn(const QByteArray& text) {
  Names names;
  for (const char* key :
       {"MaxLeftUPX", "MaxLeftUPy", "MaxrightDownx", "MaxrightDowny", "MaxZ", "MinZ"}) {
    names.emplace_back(QStringLiteral("Range"), QString::fromLatin1(key));
  }
  names.emplace_back(QStringLiteral("Center"), QStringLiteral("CenterX"));
  names.emplace_back(QStringLiteral("Center"), QStringLiteral("CenterY"));
  QString section;
  for (const std::string& line : SplitLines(text.toStdString())) {
    const QByteArray trimmed = QByteArray::fromStdString(line).trimmed();
    if (trimmed.startsWith('[')) {
      section = QString::fromLatin1(trimmed.mid(1, trimmed.indexOf(']') - 1).trimmed());
    } else if (const qsizetype equals = trimmed.indexOf('='); equals >= 0) {
      names.emplace_back(section, QString::fromLatin1(trimmed.left(equals).trimmed()));
    }
    if (names.size() >= 72) break;
  }
  return names;
}

std::vector<int> Values(const IniFile& profile, const Names& names) {
  std::vector<int> values;
  values.reserve(names.size());
  for (const auto& [section, key] : names)
    values.push_back(profile.ReadInteger(section, key, Missing));
  return values;
}

std::unique_ptr<QTemporaryDir> folder;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  folder = std::make_unique<QTemporaryDir>();
  Require(folder->isValid(), "a temporary folder for the profile can be made");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const Names names = NamesIn(bytes);

  const QString path = folder->filePath(QStringLiteral("fuzz.ini"));
  {
    QFile file(path);
    Require(
        file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size(),
        "the input can be written to the profile's file");
  }
  IniFile read(path);
  Require(!read.Load().has_value(), "a small profile file loads");
  const std::vector<int> values = Values(read, names);
  // Save writes Text() through the atomic file writer, whose syncing to disk would slow the run a
  // hundredfold; the text it would write is read back here instead.
  IniFile reread(QString{});
  reread.SetText(read.Text());
  Require(Values(reread, names) == values, "a saved profile reads the values it was saved with");
  Require(reread.Text() == read.Text(), "a saved profile loads as the text it was saved with");

  // Writing into whatever the file held: the value reads back, before and after a save.
  reread.WriteInteger(QStringLiteral("range"), QStringLiteral("maxz"), 42);
  Require(reread.ReadInteger(QStringLiteral("range"), QStringLiteral("maxz"), Missing) == 42,
          "a written value reads back");
  IniFile changed(QString{});
  changed.SetText(reread.Text());
  Require(changed.ReadInteger(QStringLiteral("range"), QStringLiteral("maxz"), Missing) == 42,
          "a written value reads back after a save");
  return 0;
}
