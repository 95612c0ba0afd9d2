// Text files as lists of 8-bit lines on disk; saving is atomic.
#include "platform/text_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <deque>
#include <string>

#include "engine/errors.h"

namespace morv {

namespace {

// A save writes its bytes into a temporary file in the target's folder and renames it over the
// target. The temporary is unnamed (O_TMPFILE) while it is written, so a save killed then leaves
// nothing; it gets a name only for the two system calls that link and rename it, or for the
// whole save on file systems without unnamed files. Those names are hidden, begin with the
// target's name and end with TemporarySuffix, and the writer holds a lock on the file for as long
// as it lives: a later save of the same target removes the ones no living writer holds.
// Without the leading dot a share's "NAME.MED.xxxxxx" would also keep the render server from
// ever taking NAME as settled.
constexpr std::string_view TemporarySuffix = ".morv-save";
constexpr int RandomDigits = 8;

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) : fd_(fd) {}
  ~FileDescriptor() { Reset(-1); }
  void Reset(int fd) {
    if (fd_ >= 0) close(fd_);
    fd_ = fd;
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// A long file name is cut so that the temporary's name stays within the 255 bytes a name may
// have. Targets whose names begin alike share their temporaries' prefix: clearing away one of
// them for the other is still clearing away an abandoned temporary.
std::string TemporaryPrefix(const std::string& fileName) {
  constexpr std::size_t NameMax = 255;
  constexpr std::size_t Kept = NameMax - 2 - RandomDigits - TemporarySuffix.size();
  std::string prefix(1, '.');
  prefix.append(fileName, 0, Kept);
  prefix.push_back('.');
  return prefix;
}

std::string TemporaryName(const std::string& folder, const std::string& fileName) {
  char digits[RandomDigits + 1];
  std::snprintf(digits, sizeof digits, "%08x", QRandomGenerator::global()->generate());
  return folder + "/" + TemporaryPrefix(fileName) + digits + std::string(TemporarySuffix);
}

bool IsTemporaryOf(const std::string& entry, const std::string& fileName) {
  const std::string prefix = TemporaryPrefix(fileName);
  if (entry.size() != prefix.size() + RandomDigits + TemporarySuffix.size()) return false;
  if (entry.compare(0, prefix.size(), prefix) != 0) return false;
  if (entry.compare(prefix.size() + RandomDigits, std::string::npos, TemporarySuffix) != 0) {
    return false;
  }
  for (std::size_t i = prefix.size(); i < prefix.size() + RandomDigits; ++i) {
    if (std::isxdigit(static_cast<unsigned char>(entry[i])) == 0) return false;
  }
  return true;
}

// Temporaries whose writer was killed between naming and renaming them. A living writer holds
// its lock, so only files no process holds any more are removed, and only if the name still
// belongs to the file that was locked.
void RemoveAbandonedTemporaries(const std::string& folder, const std::string& fileName) {
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = readdir(dir)) {
    if (!IsTemporaryOf(entry->d_name, fileName)) continue;
    const std::string path = folder + "/" + entry->d_name;
    const FileDescriptor fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    if (fd.get() < 0 || flock(fd.get(), LOCK_EX | LOCK_NB) != 0) continue;
    struct stat locked {};
    struct stat named {};
    if (fstat(fd.get(), &locked) == 0 && lstat(path.c_str(), &named) == 0 &&
        locked.st_dev == named.st_dev && locked.st_ino == named.st_ino) {
      unlink(path.c_str());
    }
  }
  closedir(dir);
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Gives the unnamed file `fd` a fresh temporary name; empty when it cannot.
std::string NameUnnamedFile(int fd, const std::string& folder, const std::string& fileName) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  for (int attempt = 0; attempt < 16; ++attempt) {
    const std::string name = TemporaryName(folder, fileName);
    if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      return name;
    }
    if (errno != EEXIST) return {};
  }
  return {};
}

// Opens a named temporary for file systems without unnamed files; -1 when it cannot.
int OpenNamedTemporary(const std::string& folder, const std::string& fileName, mode_t mode,
                       std::string& name) {
  for (int attempt = 0; attempt < 16; ++attempt) {
    name = TemporaryName(folder, fileName);
    const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// A file's new bytes, written and synced beside it under no name of their own, waiting to be
// renamed into its place. A staged file that is never put in place leaves nothing behind.
class TStagedFile {
 public:
  TStagedFile(const QString& path, std::string_view bytes, TLinks links);
  ~TStagedFile() { RemoveName(); }
  TStagedFile(const TStagedFile&) = delete;
  TStagedFile& operator=(const TStagedFile&) = delete;

  // Links the bytes under a temporary name; until then they have none.
  void GiveName();
  // Renames them over the target.
  void PutInPlace();

 private:
  void RemoveName() {
    if (!named_.empty()) unlink(named_.c_str());
    named_.clear();
  }
  // A failure leaves nothing behind, also when it throws out of the constructor.
  FileError Failed() {
    RemoveName();
    return FileError("Cannot create file " + path_.toStdString());
  }

  QString path_;
  std::string folder_, fileName_, finalPath_;
  // Set while the bytes have a temporary name.
  std::string named_;
  FileDescriptor fd_;
};

TStagedFile::TStagedFile(const QString& path, std::string_view bytes, TLinks links) : path_(path) {
  // A link followed is saved through: the file it names is replaced, the link stays. One not
  // followed is replaced by the rename like any other file.
  const QFileInfo info(OnDisk(path));
  const bool follow =
      links == TLinks::Follow && info.isSymLink() && !info.canonicalFilePath().isEmpty();
  const QFileInfo target(follow ? info.canonicalFilePath() : info.absoluteFilePath());
  folder_ = QFile::encodeName(target.absolutePath()).toStdString();
  fileName_ = QFile::encodeName(target.fileName()).toStdString();
  finalPath_ = folder_ + "/" + fileName_;
  if (fileName_.empty()) throw Failed();

  RemoveAbandonedTemporaries(folder_, fileName_);
  struct stat old {};
  const bool found = (links == TLinks::Follow ? stat(finalPath_.c_str(), &old)
                                              : lstat(finalPath_.c_str(), &old)) == 0;
  if (found && S_ISDIR(old.st_mode)) throw Failed();
  // Only a regular file hands its permissions on: a link's own are all open.
  const bool replacing = found && S_ISREG(old.st_mode);
  // Until the old file's permissions are copied, nobody else may read the new bytes.
  const mode_t mode = replacing ? 0600 : 0666;

  int raw = open(folder_.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
  if (raw < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
    raw = OpenNamedTemporary(folder_, fileName_, mode, named_);
  }
  fd_.Reset(raw);
  if (fd_.get() < 0) throw Failed();
  // The bytes reach the disk before any name leads to them: a crash after the rename must not
  // find the file empty.
  if (flock(fd_.get(), LOCK_EX) != 0 || !WriteAll(fd_.get(), bytes) ||
      (replacing && fchmod(fd_.get(), old.st_mode & 07777) != 0) || fdatasync(fd_.get()) != 0) {
    throw Failed();
  }
}

void TStagedFile::GiveName() {
  if (!named_.empty()) return;
  named_ = NameUnnamedFile(fd_.get(), folder_, fileName_);
  if (named_.empty()) throw Failed();
}

void TStagedFile::PutInPlace() {
  GiveName();
  if (rename(named_.c_str(), finalPath_.c_str()) != 0) throw Failed();
  named_.clear();
}

// The bytes of a regular file that is not a link. O_NONBLOCK keeps a named pipe from holding up
// the open until somebody writes into it; a regular file reads the same without it.
template <class Failed>
std::string ReadRegularFile(const QString& path, const Failed& failed) {
  const std::string name = QFile::encodeName(OnDisk(path)).toStdString();
  const FileDescriptor fd(open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
  if (fd.get() < 0) throw failed(errno == ELOOP ? ": it is a symbolic link" : "");
  struct stat info {};
  if (fstat(fd.get(), &info) != 0) throw failed("");
  if (!S_ISREG(info.st_mode)) throw failed(": it is not a regular file");
  std::string bytes;
  std::string chunk(16384, '\0');
  for (;;) {
    const ssize_t got = read(fd.get(), chunk.data(), chunk.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw failed("");
    if (got == 0) return bytes;
    bytes.append(chunk, 0, static_cast<std::size_t>(got));
  }
}

}  // namespace

QString OnDisk(const QString& path) {
  return path.startsWith(QLatin1Char(':')) ? QStringLiteral("./") + path : path;
}

TextLines ReadTextLines(const QString& path, TLinks links) {
  const auto failed = [&path](const char* why) {
    return FileError("Cannot open file " + path.toStdString() + why);
  };
  if (links == TLinks::StayInFolder) {
    const std::string bytes = ReadRegularFile(path, failed);
    return SplitLines(bytes);
  }
  QFile file(OnDisk(path));
  if (QFileInfo(file).isDir() || !file.open(QIODevice::ReadOnly)) throw failed("");
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) throw failed("");
  return SplitLines(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

void WriteFileAtomically(const QString& path, std::string_view bytes, TLinks links) {
  TStagedFile(path, bytes, links).PutInPlace();
}

void WriteFilesAtomically(const std::vector<TFileBytes>& files) {
  std::deque<TStagedFile> staged;
  for (const TFileBytes& file : files) staged.emplace_back(file.Path, file.Bytes, TLinks::Follow);
  // Naming can fail where a rename hardly can, so every file has its name before the first
  // target is replaced.
  for (TStagedFile& file : staged) file.GiveName();
  for (TStagedFile& file : staged) file.PutInPlace();
}

void WriteTextLines(const QString& path, const TextLines& lines) {
  WriteFileAtomically(path, JoinLines(lines));
}

}  // namespace morv
