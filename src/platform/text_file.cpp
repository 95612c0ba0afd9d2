// Text files as lists of 8-bit lines on disk; saving is atomic.
#include "platform/text_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QRandomGenerator>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <deque>
#include <set>
#include <string>
#include <tuple>
#include <utility>

#include "engine/errors.h"
#include "platform/file_system.h"

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

// What the system says, in the words of the messages. glibc's descriptions are used untranslated:
// the rest of every message is English.
std::string SystemReason(int error) {
  const char* text = strerrordesc_np(error);
  std::string reason = text != nullptr ? text : "error " + std::to_string(error);
  if (!reason.empty()) {
    reason[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(reason[0])));
  }
  return reason;
}

std::string CreateReason(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return "no such folder";
    case EACCES:
    case EPERM:
      return "permission denied";
    case EISDIR:
      return "it is a folder";
    case ENOSPC:
      return "the disk is full";
    case EDQUOT:
      return "the disk quota is used up";
    case EFBIG:
      return "the file would be too large";
    case EROFS:
      return "the file system is read-only";
    default:
      return SystemReason(error);
  }
}

std::string OpenReason(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return "no such file";
    case EACCES:
    case EPERM:
      return "permission denied";
    case EISDIR:
      return "it is a folder";
    default:
      return SystemReason(error);
  }
}

std::string ReadLink(const std::string& path) {
  std::string target(256, '\0');
  for (;;) {
    const ssize_t got = readlink(path.c_str(), target.data(), target.size());
    if (got < 0) return {};
    if (static_cast<std::size_t>(got) < target.size()) {
      target.resize(static_cast<std::size_t>(got));
      return target;
    }
    target.resize(target.size() * 2);
  }
}

// Where the links of `path` lead one after another: to something that is no link, or to nothing
// yet. Empty, with errno set, when they go round in a loop.
std::string FollowLinks(std::string path) {
  constexpr int MaxHops = 40;  // as the kernel allows
  for (int hop = 0; hop < MaxHops; ++hop) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    std::string target = ReadLink(path);
    if (target.empty()) return path;
    if (target.front() != '/') {
      const std::string folder = SplitPath(path).first;
      if (folder != ".") target = folder + "/" + target;
    }
    path = std::move(target);
  }
  errno = ELOOP;
  return {};
}

// What a save finds under the name it is given.
struct TFound {
  std::string Target;  // the file the save writes
  bool Exists = false;
  struct stat Old {};    // what is there, as the links are taken
  bool Through = false;  // no regular file: written through, never replaced
};

// 0, or the error that keeps the save from finding its target.
int FindTarget(const std::string& given, TLinks links, TFound& found) {
  found.Target = given;
  if (links == TLinks::StayInFolder) {
    if (lstat(given.c_str(), &found.Old) == 0) {
      found.Exists = true;
    } else if (errno != ENOENT) {
      return errno;
    }
    return 0;
  }
  if (stat(given.c_str(), &found.Old) == 0) {
    found.Exists = true;
    if (S_ISDIR(found.Old.st_mode)) return 0;
    if (S_ISREG(found.Old.st_mode)) {
      // A link under /proc (such as /dev/stdout's) may name its file in words rather than by a
      // path; a file not found where the links seem to lead is written where it is.
      const std::string followed = FollowLinks(given);
      struct stat there {};
      if (!followed.empty() && lstat(followed.c_str(), &there) == 0 &&
          there.st_dev == found.Old.st_dev && there.st_ino == found.Old.st_ino) {
        found.Target = followed;
        return 0;
      }
    }
    found.Through = true;
    return 0;
  }
  if (errno != ENOENT) return errno;
  // Nothing there yet, or a link to a file still to be made: the file is made where it leads.
  found.Target = FollowLinks(given);
  return found.Target.empty() ? errno : 0;
}

// Syncs the folder, so that a rename in it outlives a power cut; 0 or the error.
int SyncFolder(const std::string& folder) {
  const FileDescriptor fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() < 0) return errno;
  // Some file systems cannot sync a folder at all, and keep their renames by other means.
  if (fsync(fd.get()) != 0 && errno != EINVAL) return errno;
  return 0;
}

bool WriteAllAt(int fd, std::string_view bytes) {
  off_t offset = 0;
  while (!bytes.empty()) {
    const ssize_t written = pwrite(fd, bytes.data(), bytes.size(), offset);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
    offset += written;
  }
  return true;
}

int LastError() { return errno != 0 ? errno : EIO; }

// One file of a save. A regular file, or none yet, is replaced: its new bytes are written and
// synced beside it under no name of their own, then renamed into its place; bytes that are never
// put in place leave nothing behind. A file that cannot be replaced that way but may be written,
// and anything that is no regular file, gets its bytes written into it when it is put in place.
class TSaveFile {
 public:
  TSaveFile(const QString& path, std::string_view bytes, TLinks links);
  ~TSaveFile() { RemoveName(); }
  TSaveFile(const TSaveFile&) = delete;
  TSaveFile& operator=(const TSaveFile&) = delete;

  // Links the staged bytes under a temporary name; until then they have none.
  void GiveName();
  // Renames them over the target, or writes into it.
  void PutInPlace();
  // After the rename: the folder that holds the new name, to be synced; empty for a file
  // written into.
  const std::string& RenamedIn() const { return renamedIn_; }
  // A failure leaves nothing behind, also when it throws out of the constructor.
  FileError Failed(const std::string& reason) {
    RemoveName();
    return FileError("Cannot create file " + FileNameBytes(path_) + ": " + reason);
  }
  FileError Failed(int error) { return Failed(CreateReason(error)); }

 private:
  enum class TWay { Replace, WriteInto };

  void RemoveName() {
    if (!named_.empty()) unlink(named_.c_str());
    named_.clear();
  }
  void WriteInto();

  QString path_;
  std::string_view bytes_;
  TLinks links_;
  TWay way_ = TWay::Replace;
  std::string target_, folder_, fileName_;
  // Set while the bytes have a temporary name.
  std::string named_;
  std::string renamedIn_;
  FileDescriptor fd_;
};

TSaveFile::TSaveFile(const QString& path, std::string_view bytes, TLinks links)
    : path_(path), bytes_(bytes), links_(links) {
  const std::string given = FileNameBytes(OnDisk(path));
  if (given.empty()) throw Failed(ENOENT);
  TFound found;
  if (const int error = FindTarget(given, links, found); error != 0) throw Failed(error);
  if (found.Exists && S_ISDIR(found.Old.st_mode)) throw Failed(EISDIR);
  target_ = found.Target;
  if (found.Through) {
    way_ = TWay::WriteInto;
    return;
  }
  std::tie(folder_, fileName_) = SplitPath(target_);
  if (fileName_.empty()) throw Failed(EISDIR);
  // Only a regular file hands its permissions on: a link's own are all open.
  const bool replacing = found.Exists && S_ISREG(found.Old.st_mode);
  // Whether a file may be changed is the file's to say, not its folder's: one its owner made
  // read-only is not replaced behind the owner's back.
  if (replacing && faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0) {
    throw Failed(LastError());
  }

  RemoveAbandonedTemporaries(folder_, fileName_);
  // Until the old file's permissions are copied, nobody else may read the new bytes.
  const mode_t mode = replacing ? 0600 : 0666;
  int raw = open(folder_.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
  if (raw < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
    raw = OpenNamedTemporary(folder_, fileName_, mode, named_);
  }
  if (raw < 0) {
    const int error = LastError();
    // A file the user may write in a folder the user may not is overwritten in place, once the
    // new bytes are whole in memory, as careful editors do.
    if (replacing && (error == EACCES || error == EPERM)) {
      way_ = TWay::WriteInto;
      return;
    }
    throw Failed(error);
  }
  fd_.Reset(raw);
  // The bytes reach the disk before any name leads to them: a crash after the rename must not
  // find the file empty.
  if (flock(fd_.get(), LOCK_EX) != 0 || !WriteAll(fd_.get(), bytes)) throw Failed(LastError());
  if (replacing) {
    // Only root may give a file away; anybody else may still keep its group when it is theirs.
    // The owner goes first, as a change of owner clears the set-id bits.
    if (fchown(fd_.get(), found.Old.st_uid, found.Old.st_gid) != 0 &&
        fchown(fd_.get(), static_cast<uid_t>(-1), found.Old.st_gid) != 0) {
      // Then the new file is the process's own, as any file it makes.
    }
    if (fchmod(fd_.get(), found.Old.st_mode & 07777) != 0) throw Failed(LastError());
  }
  if (fdatasync(fd_.get()) != 0) throw Failed(LastError());
}

void TSaveFile::GiveName() {
  if (way_ != TWay::Replace || !named_.empty()) return;
  named_ = NameUnnamedFile(fd_.get(), folder_, fileName_);
  if (named_.empty()) throw Failed(LastError());
}

void TSaveFile::PutInPlace() {
  if (way_ == TWay::WriteInto) return WriteInto();
  GiveName();
  if (rename(named_.c_str(), target_.c_str()) != 0) throw Failed(LastError());
  named_.clear();
  renamedIn_ = folder_;
}

// A regular file is written from its start, cut to the new length and synced; a pipe or a device
// takes the bytes as a stream.
void TSaveFile::WriteInto() {
  int flags = O_WRONLY | O_NOCTTY | O_CLOEXEC;
  // In a shared folder neither a link nor a pipe put there meanwhile may lead the save elsewhere
  // or hold it up.
  if (links_ == TLinks::StayInFolder) flags |= O_NOFOLLOW | O_NONBLOCK;
  const FileDescriptor fd(open(target_.c_str(), flags));
  if (fd.get() < 0) throw Failed(LastError());
  struct stat info {};
  if (fstat(fd.get(), &info) != 0) throw Failed(LastError());
  if (S_ISREG(info.st_mode)) {
    if (!WriteAllAt(fd.get(), bytes_) ||
        ftruncate(fd.get(), static_cast<off_t>(bytes_.size())) != 0 || fdatasync(fd.get()) != 0) {
      throw Failed(LastError());
    }
  } else if (links_ == TLinks::StayInFolder) {
    throw Failed("it is not a regular file");
  } else if (!WriteAll(fd.get(), bytes_)) {
    throw Failed(LastError());
  }
}

void SyncFolders(std::deque<TSaveFile>& files) {
  std::set<std::string> synced;
  for (TSaveFile& file : files) {
    const std::string& folder = file.RenamedIn();
    if (folder.empty() || !synced.insert(folder).second) continue;
    if (const int error = SyncFolder(folder); error != 0) throw file.Failed(error);
  }
}

}  // namespace

QString OnDisk(const QString& path) {
  return path.startsWith(QLatin1Char(':')) ? QStringLiteral("./") + path : path;
}

std::string ReadFileBytes(const QString& path, TLinks links) {
  const auto failed = [&path](const std::string& why) {
    return FileError("Cannot open file " + FileNameBytes(path) + ": " + why);
  };
  const auto tooLarge = [&failed](const std::string& size) {
    return failed("the file is too large (" + size + " bytes)");
  };
  int flags = O_RDONLY | O_CLOEXEC | O_NOCTTY;
  // A named pipe in a shared folder must not hold the open up until somebody writes into it; it
  // is refused as no regular file.
  if (links == TLinks::StayInFolder) flags |= O_NOFOLLOW | O_NONBLOCK;
  const FileDescriptor fd(open(FileNameBytes(OnDisk(path)).c_str(), flags));
  if (fd.get() < 0) {
    throw failed(errno == ELOOP && links == TLinks::StayInFolder ? "it is a symbolic link"
                                                                 : OpenReason(errno));
  }
  struct stat info {};
  if (fstat(fd.get(), &info) != 0) throw failed(OpenReason(errno));
  if (S_ISDIR(info.st_mode)) throw failed(OpenReason(EISDIR));
  if (links == TLinks::StayInFolder && !S_ISREG(info.st_mode)) {
    throw failed("it is not a regular file");
  }
  if (S_ISREG(info.st_mode) && info.st_size > MaxReadBytes) {
    throw tooLarge(std::to_string(info.st_size));
  }
  // A regular file is read into one buffer a byte longer than it, so that the read that finds
  // its end needs no more room. A pipe or a device tells no length: it is read, in a buffer
  // that grows, until it ends or has given too much.
  constexpr auto Limit = static_cast<std::size_t>(MaxReadBytes);
  std::string bytes(S_ISREG(info.st_mode) ? static_cast<std::size_t>(info.st_size) + 1 : 1 << 16,
                    '\0');
  std::size_t have = 0;
  for (;;) {
    if (have == bytes.size()) bytes.resize(std::min(2 * have, Limit + 1));
    const ssize_t got = read(fd.get(), bytes.data() + have, bytes.size() - have);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw failed(OpenReason(errno));
    if (got == 0) break;
    have += static_cast<std::size_t>(got);
    if (have > Limit) throw tooLarge("more than " + std::to_string(MaxReadBytes));
  }
  bytes.resize(have);
  return bytes;
}

TextLines ReadTextLines(const QString& path, TLinks links) {
  return SplitLines(ReadFileBytes(path, links));
}

void WriteFileAtomically(const QString& path, std::string_view bytes, TLinks links) {
  std::deque<TSaveFile> files;
  files.emplace_back(path, bytes, links);
  files.front().PutInPlace();
  SyncFolders(files);
}

void WriteFilesAtomically(const std::vector<TFileBytes>& files) {
  std::deque<TSaveFile> staged;
  for (const TFileBytes& file : files) staged.emplace_back(file.Path, file.Bytes, TLinks::Follow);
  // Naming can fail where a rename hardly can, so every file has its name before the first
  // target is replaced.
  for (TSaveFile& file : staged) file.GiveName();
  for (TSaveFile& file : staged) file.PutInPlace();
  SyncFolders(staged);
}

QString SaveTarget(const QString& path) {
  const std::string given = FileNameBytes(OnDisk(path));
  TFound found;
  if (FindTarget(given, TLinks::Follow, found) != 0 || found.Through || found.Target == given) {
    return path;
  }
  return FileNameFromBytes(found.Target);
}

void WriteTextLines(const QString& path, const TextLines& lines) {
  WriteFileAtomically(path, JoinLines(lines));
}

}  // namespace morv
