// File names as the system holds them, bytes carried in QString, and what the programs ask about
// them.
#include "platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace morv {

namespace {

constexpr char16_t EscapeBase = 0xDC00;
constexpr char16_t FirstEscape = 0xDC80;
constexpr char16_t LastEscape = 0xDCFF;

bool Continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length of the well-formed UTF-8 sequence at the start of `bytes` and its code point; 0 when
// the first byte begins none (a stray continuation byte, an overlong form, a surrogate, a code
// point above U+10FFFF or a sequence cut short).
std::size_t Sequence(std::string_view bytes, char32_t& point) {
  const auto byte = [&bytes](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (bytes.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (std::size_t k = 2; k < length; ++k) {
    if (!Continuation(byte(k))) return 0;
  }
  point = lead & (0x7F >> length);
  for (std::size_t k = 1; k < length; ++k) point = (point << 6) | (byte(k) & 0x3F);
  return length;
}

void AppendUtf8(std::string& out, char32_t point) {
  if (point < 0x80) {
    out += static_cast<char>(point);
  } else if (point < 0x800) {
    out += static_cast<char>(0xC0 | (point >> 6));
    out += static_cast<char>(0x80 | (point & 0x3F));
  } else if (point < 0x10000) {
    out += static_cast<char>(0xE0 | (point >> 12));
    out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (point & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (point >> 18));
    out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (point & 0x3F));
  }
}

}  // namespace

QString FileNameFromBytes(std::string_view bytes) {
  QString name;
  name.reserve(static_cast<qsizetype>(bytes.size()));
  while (!bytes.empty()) {
    char32_t point = 0;
    const std::size_t length = Sequence(bytes, point);
    if (length == 0) {
      const auto byte = static_cast<unsigned char>(bytes.front());
      // ASCII is always itself; any other byte that begins no sequence is escaped.
      name += byte < 0x80 ? QChar(byte) : QChar(static_cast<char16_t>(EscapeBase + byte));
      bytes.remove_prefix(1);
      continue;
    }
    if (point >= 0x10000) {
      name += QChar(QChar::highSurrogate(point));
      name += QChar(QChar::lowSurrogate(point));
    } else {
      name += QChar(static_cast<char16_t>(point));
    }
    bytes.remove_prefix(length);
  }
  return name;
}

std::string FileNameBytes(const QString& name) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(name.size()));
  for (qsizetype i = 0; i < name.size(); ++i) {
    const char16_t unit = name[i].unicode();
    if (QChar::isHighSurrogate(unit) && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
      AppendUtf8(bytes, QChar::surrogateToUcs4(unit, name[i + 1].unicode()));
      ++i;
    } else if (unit >= FirstEscape && unit <= LastEscape) {
      bytes += static_cast<char>(unit - EscapeBase);
    } else if (QChar::isSurrogate(unit)) {
      // No name read from the system holds another lone surrogate; one typed gets the
      // replacement character, as Qt would give it.
      AppendUtf8(bytes, 0xFFFD);
    } else {
      AppendUtf8(bytes, unit);
    }
  }
  return bytes;
}

std::pair<std::string, std::string> SplitPath(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {".", path};
  return {slash == 0 ? std::string("/") : path.substr(0, slash), path.substr(slash + 1)};
}

std::optional<TFileFacts> LookUpFile(const QString& path) {
  struct stat info {};
  if (stat(FileNameBytes(path).c_str(), &info) != 0) return std::nullopt;
  const TFileKind kind = S_ISREG(info.st_mode)   ? TFileKind::Regular
                         : S_ISDIR(info.st_mode) ? TFileKind::Folder
                                                 : TFileKind::Other;
  return TFileFacts{kind, static_cast<int64_t>(info.st_size)};
}

bool RemoveFile(const QString& path) {
  return unlink(FileNameBytes(path).c_str()) == 0 || errno == ENOENT;
}

std::vector<std::string> FilesInFolder(const QString& folder) {
  std::vector<std::string> names;
  DIR* dir = opendir(FileNameBytes(folder).c_str());
  if (dir == nullptr) return names;
  while (const dirent* entry = readdir(dir)) {
    struct stat info {};
    if (fstatat(dirfd(dir), entry->d_name, &info, 0) == 0 && S_ISDIR(info.st_mode)) continue;
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(dir);
  return names;
}

QString ProgramFile() {
  std::string buffer(4096, '\0');
  for (;;) {
    const ssize_t got = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (got < 0) return {};
    if (static_cast<std::size_t>(got) < buffer.size()) {
      return FileNameFromBytes(std::string_view(buffer.data(), static_cast<std::size_t>(got)));
    }
    buffer.resize(buffer.size() * 2);
  }
}

QString CurrentFolder() {
  std::string buffer(4096, '\0');
  for (;;) {
    if (getcwd(buffer.data(), buffer.size()) != nullptr) {
      return FileNameFromBytes(std::string_view(buffer.c_str()));
    }
    if (errno != ERANGE) return {};
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace morv
