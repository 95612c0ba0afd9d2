// INI profiles: named sections of key=value lines, read and changed in memory and saved
// atomically; section and key names match without regard to case.
#include "platform/ini_file.h"

#include "engine/errors.h"
#include "engine/integer_text.h"
#include "platform/file_system.h"
#include "platform/text_file.h"

namespace morv {

namespace {

bool SameName(const QByteArray& a, const QByteArray& b) {
  return a.compare(b, Qt::CaseInsensitive) == 0;
}

QByteArray Name(const QString& text) { return text.toLatin1(); }

}  // namespace

IniFile::IniFile(QString path) : path_(std::move(path)) {}

std::optional<QString> IniFile::Load() {
  const std::optional<TFileFacts> info = LookUpFile(path_);
  if (!info) {
    lines_.clear();
    return std::nullopt;
  }
  if (info->Size > MaxBytes) {
    return QStringLiteral("%1 is larger than %2 bytes.").arg(path_).arg(MaxBytes);
  }
  try {
    SetLines(ReadTextLines(path_));
  } catch (const FileError& e) {
    return QString::fromStdString(e.what());
  }
  return std::nullopt;
}

std::optional<QString> IniFile::Save() const {
  try {
    WriteFileAtomically(path_, Text().toStdString());
  } catch (const FileError& e) {
    return QString::fromStdString(e.what());
  }
  return std::nullopt;
}

void IniFile::SetText(const QByteArray& text) { SetLines(SplitLines(text.toStdString())); }

void IniFile::SetLines(const TextLines& texts) {
  lines_.clear();
  for (const std::string& text : texts) {
    Line line{QByteArray::fromStdString(text), {}, Line::Kind::Other};
    const QByteArray trimmed = line.text.trimmed();
    if (trimmed.startsWith('[')) {
      const qsizetype close = trimmed.indexOf(']');
      if (close > 0) {
        line.kind = Line::Kind::Section;
        line.name = trimmed.mid(1, close - 1).trimmed();
      }
    } else if (!trimmed.startsWith(';')) {
      const qsizetype equals = trimmed.indexOf('=');
      if (equals > 0) {
        line.kind = Line::Kind::Key;
        line.name = trimmed.left(equals).trimmed();
      }
    }
    lines_.push_back(std::move(line));
  }
}

QByteArray IniFile::Text() const {
  TextLines texts;
  texts.reserve(lines_.size());
  for (const Line& line : lines_) texts.push_back(line.text.toStdString());
  return QByteArray::fromStdString(JoinLines(texts));
}

std::optional<std::size_t> IniFile::FindSection(const QByteArray& section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind == Line::Kind::Section && SameName(lines_[i].name, section)) return i;
  }
  return std::nullopt;
}

std::size_t IniFile::SectionEnd(std::size_t header) const {
  std::size_t end = header + 1;
  while (end < lines_.size() && lines_[end].kind != Line::Kind::Section) ++end;
  return end;
}

std::optional<std::size_t> IniFile::FindKey(std::size_t header, const QByteArray& key) const {
  const std::size_t end = SectionEnd(header);
  for (std::size_t i = header + 1; i < end; ++i) {
    if (lines_[i].kind == Line::Kind::Key && SameName(lines_[i].name, key)) return i;
  }
  return std::nullopt;
}

std::optional<QByteArray> IniFile::ReadValue(const QString& section, const QString& key) const {
  const std::optional<std::size_t> header = FindSection(Name(section));
  if (!header) return std::nullopt;
  const std::optional<std::size_t> line = FindKey(*header, Name(key));
  if (!line) return std::nullopt;
  const QByteArray& text = lines_[*line].text;
  return text.mid(text.indexOf('=') + 1).trimmed();
}

int IniFile::ReadInteger(const QString& section, const QString& key, int fallback) const {
  const std::optional<QByteArray> value = ReadValue(section, key);
  if (!value) return fallback;
  try {
    return StrToInt(value->toStdString());
  } catch (const ConversionError&) {
    return fallback;
  }
}

void IniFile::WriteValue(const QString& section, const QString& key, const QByteArray& value) {
  const QByteArray keyLine = Name(key) + "=" + value;
  std::optional<std::size_t> header = FindSection(Name(section));
  if (!header) {
    lines_.push_back({"[" + Name(section) + "]", Name(section), Line::Kind::Section});
    lines_.push_back({keyLine, Name(key), Line::Kind::Key});
    return;
  }
  if (const std::optional<std::size_t> line = FindKey(*header, Name(key))) {
    lines_[*line] = {keyLine, Name(key), Line::Kind::Key};
    return;
  }
  // After the section's last key, so blank lines between sections stay where they are.
  std::size_t at = SectionEnd(*header);
  while (at > *header + 1 && lines_[at - 1].kind == Line::Kind::Other &&
         lines_[at - 1].text.trimmed().isEmpty()) {
    --at;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at),
                Line{keyLine, Name(key), Line::Kind::Key});
}

void IniFile::WriteInteger(const QString& section, const QString& key, int value) {
  WriteValue(section, key, QByteArray::number(value));
}

}  // namespace morv
