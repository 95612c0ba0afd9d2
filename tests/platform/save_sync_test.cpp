// The atomic writer's system calls: a file's bytes reach the disk before a rename puts it in place,
// its folder after, and a set of files is renamed only once every one of them is ready.
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "engine/errors.h"
#include "platform/text_file.h"
#include "support/test_files.h"

// This test program's own definitions of the calls stand in for the C library's wherever the
// program calls them, the writer in the platform library included. They note each call while a
// CallLog is open and hand it on to the next definition, the C library's or a sanitizer's. Linked
// in rather than preloaded, they work alike in the sanitizer builds.
namespace {

struct TCall {
  std::string name;  // "sync" (fsync or fdatasync), "link" or "rename"
  ino_t inode = 0;   // the file (or folder) synced, linked or renamed
  std::string to;    // where a rename puts it
};

std::mutex logLock;
bool logging = false;
std::vector<TCall> calls;
// While not empty, a link to a name that holds this fails as on a full disk.
std::string failLinksTo;

template <typename Function>
Function Next(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

ino_t InodeOf(int fd) {
  struct stat st {};
  return fstat(fd, &st) == 0 ? st.st_ino : 0;
}

ino_t InodeAt(const char* path, bool follow) {
  struct stat st {};
  return (follow ? stat(path, &st) : lstat(path, &st)) == 0 ? st.st_ino : 0;
}

void Note(TCall call) {
  const std::lock_guard<std::mutex> lock(logLock);
  if (logging) calls.push_back(std::move(call));
}

}  // namespace

extern "C" int fdatasync(int fd) {
  static const auto next = Next<int (*)(int)>("fdatasync");
  Note({"sync", InodeOf(fd), {}});
  return next(fd);
}

extern "C" int fsync(int fd) {
  static const auto next = Next<int (*)(int)>("fsync");
  Note({"sync", InodeOf(fd), {}});
  return next(fd);
}

extern "C" int linkat(int fromFd, const char* from, int toFd, const char* to, int flags) noexcept {
  static const auto next = Next<int (*)(int, const char*, int, const char*, int)>("linkat");
  // The writer links an unnamed file through its /proc/self/fd entry, which stat follows.
  Note({"link", fromFd == AT_FDCWD ? InodeAt(from, (flags & AT_SYMLINK_FOLLOW) != 0) : 0, {}});
  {
    const std::lock_guard<std::mutex> lock(logLock);
    if (!failLinksTo.empty() && std::string(to).find(failLinksTo) != std::string::npos) {
      errno = ENOSPC;
      return -1;
    }
  }
  return next(fromFd, from, toFd, to, flags);
}

extern "C" int rename(const char* from, const char* to) noexcept {
  static const auto next = Next<int (*)(const char*, const char*)>("rename");
  Note({"rename", InodeAt(from, false), to});
  return next(from, to);
}

namespace morv {
namespace {

// Notes the calls made while it lives.
class CallLog {
 public:
  CallLog() {
    const std::lock_guard<std::mutex> lock(logLock);
    calls.clear();
    logging = true;
  }
  ~CallLog() {
    const std::lock_guard<std::mutex> lock(logLock);
    logging = false;
  }
  std::vector<TCall> Calls() const {
    const std::lock_guard<std::mutex> lock(logLock);
    return calls;
  }
};

// The file now at each target was synced before any name led to it and before the first rename
// of the save, and got there by exactly one rename.
void ExpectSyncedBeforeAnyRename(const std::vector<TCall>& log,
                                 const std::vector<QString>& targets) {
  const auto first = [&log](auto&& matches) {
    std::size_t i = 0;
    while (i < log.size() && !matches(log[i])) ++i;
    return i;
  };
  const std::size_t firstRename = first([](const TCall& c) { return c.name == "rename"; });
  for (const QString& target : targets) {
    SCOPED_TRACE(target.toStdString());
    const std::string path = QFile::encodeName(target).toStdString();
    const ino_t placed = InodeAt(path.c_str(), false);
    ASSERT_NE(placed, 0u);
    const std::size_t synced =
        first([placed](const TCall& c) { return c.name == "sync" && c.inode == placed; });
    ASSERT_LT(synced, log.size()) << "the bytes in place were never synced";
    EXPECT_LT(synced, firstRename);
    int renames = 0;
    for (std::size_t i = 0; i < log.size(); ++i) {
      if (log[i].name == "link" && log[i].inode == placed) {
        EXPECT_LT(synced, i) << "a name led to the bytes before they were synced";
      }
      if (log[i].name == "rename" && log[i].to == path) {
        ++renames;
        EXPECT_EQ(log[i].inode, placed) << "the renamed file is the one in place";
      }
    }
    EXPECT_EQ(renames, 1);
  }
}

// Each folder a rename changed is synced after its last rename of the save, so that the new names
// outlive a power cut once the save is reported done.
void ExpectFoldersSyncedAfterTheirRenames(const std::vector<TCall>& log,
                                          const std::vector<QString>& targets) {
  for (const QString& target : targets) {
    SCOPED_TRACE(target.toStdString());
    const std::string path = QFile::encodeName(target).toStdString();
    const std::string folder = path.substr(0, path.rfind('/'));
    std::size_t lastRename = log.size();
    for (std::size_t i = 0; i < log.size(); ++i) {
      if (log[i].name == "rename" && log[i].to.rfind(folder + "/", 0) == 0) lastRename = i;
    }
    ASSERT_LT(lastRename, log.size()) << "no rename into the folder";
    const ino_t inode = InodeAt(folder.c_str(), true);
    bool synced = false;
    for (std::size_t i = lastRename + 1; i < log.size(); ++i) {
      synced = synced || (log[i].name == "sync" && log[i].inode == inode);
    }
    EXPECT_TRUE(synced) << "the folder was not synced after the rename";
  }
}

TEST(SaveSync, TheBytesAreSyncedBeforeTheyArePutInPlace) {
  test::ScratchDir dir;
  const QString fresh = dir.Path("fresh.MVD");
  const QString replaced = dir.Path("replaced.MVD");
  test::WriteBytes(replaced, "old");
  for (const QString& path : {fresh, replaced}) {
    CallLog log;
    WriteTextLines(path, {"MyObject", " ", "0"});
    ExpectSyncedBeforeAnyRename(log.Calls(), {path});
    ExpectFoldersSyncedAfterTheirRenames(log.Calls(), {path});
  }
  EXPECT_EQ(test::ReadBytes(replaced), "MyObject\r\n \r\n0\r\n");

  // Files saved together are all on the disk before the first of them replaces its target.
  const QString mtl = dir.Path("m.mtl");
  const QString obj = dir.Path("m.obj");
  CallLog log;
  WriteFilesAtomically({{mtl, "materials"}, {obj, "mesh"}});
  const std::vector<TCall> calls = log.Calls();
  ExpectSyncedBeforeAnyRename(calls, {mtl, obj});
  ExpectFoldersSyncedAfterTheirRenames(calls, {mtl, obj});
  std::vector<std::string> renamed;
  for (const TCall& call : calls) {
    if (call.name == "rename") renamed.push_back(call.to);
  }
  EXPECT_EQ(renamed, (std::vector<std::string>{QFile::encodeName(mtl).toStdString(),
                                               QFile::encodeName(obj).toStdString()}));
  EXPECT_EQ(test::ReadBytes(obj), "mesh");
}

// Naming a staged file can fail (a full disk, a folder out of inodes) where a rename hardly can:
// when the second file of a set cannot be named, the first target must still be the old file.
TEST(SaveSync, NoFileOfASetReplacesItsTargetBeforeEveryFileHasItsName) {
  test::ScratchDir dir;
  const QString mtl = dir.Path("m.mtl");
  const QString obj = dir.Path("m.obj");
  test::WriteBytes(mtl, "old materials");
  test::WriteBytes(obj, "old mesh");
  std::vector<TCall> calls;
  std::string message;
  {
    CallLog log;
    {
      const std::lock_guard<std::mutex> lock(logLock);
      failLinksTo = "/.m.obj.";
    }
    try {
      WriteFilesAtomically({{mtl, "new materials"}, {obj, "new mesh"}});
    } catch (const FileError& e) {
      message = e.what();
    }
    {
      const std::lock_guard<std::mutex> lock(logLock);
      failLinksTo.clear();
    }
    calls = log.Calls();
  }
  if (std::ranges::count(calls, std::string("link"), &TCall::name) == 0) {
    GTEST_SKIP() << "this file system has no unnamed files: the staged files are named at once";
  }
  EXPECT_EQ(message, "Cannot create file " + obj.toStdString() + ": the disk is full");
  EXPECT_EQ(test::ReadBytes(mtl), "old materials");
  EXPECT_EQ(test::ReadBytes(obj), "old mesh");
  EXPECT_EQ(QDir(dir.Path("")).entryList(QDir::Files | QDir::Hidden),
            (QStringList{"m.mtl", "m.obj"}));
}

}  // namespace
}  // namespace morv
