// What a save does with what it finds under the name: a file or a folder the user may not write,
// a pipe, a device, a link to either or to no file yet, and a file of another user.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <string>

#include "engine/errors.h"
#include "platform/text_file.h"
#include "support/test_files.h"

namespace morv {
namespace {

using test::ReadBytes;
using test::ScratchDir;
using test::WriteBytes;

// The user and group nobody: no rights but everybody's.
constexpr uid_t Nobody = 65534;

std::string Bytes(const QString& path) { return QFile::encodeName(path).toStdString(); }

struct stat Stat(const QString& path) {
  struct stat info {};
  EXPECT_EQ(lstat(Bytes(path).c_str(), &info), 0) << path.toStdString();
  return info;
}

// Runs `action` in a child process that has given up root for nobody. Gives back the message of
// the error the action threw, or "" when it threw none.
std::string AsNobody(const std::function<void()>& action) {
  int fds[2];
  if (pipe(fds) != 0) return "no pipe to the child";
  const pid_t child = fork();
  if (child == 0) {
    close(fds[0]);
    std::string result;
    if (setgroups(0, nullptr) != 0 || setgid(Nobody) != 0 || setuid(Nobody) != 0) {
      result = "the child could not become nobody";
    } else {
      try {
        action();
      } catch (const std::exception& e) {
        result = e.what();
      }
    }
    const ssize_t written = write(fds[1], result.data(), result.size());
    _exit(written == static_cast<ssize_t>(result.size()) ? 0 : 1);
  }
  close(fds[1]);
  std::string result;
  char buffer[512];
  for (ssize_t got; (got = read(fds[0], buffer, sizeof buffer)) > 0;) {
    result.append(buffer, static_cast<std::size_t>(got));
  }
  close(fds[0]);
  int status = 0;
  EXPECT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
  return result;
}

QStringList Entries(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                QDir::NoDotAndDotDot);
}

TEST(SaveTargets, AFileTheUserMayNotWriteIsKeptAndOneInAFolderTheUserMayNotWriteIsWrittenInPlace) {
  ScratchDir dir;
  // Nobody may pass through the scratch folder; "own" is nobody's folder, "roots" root's.
  ASSERT_EQ(chmod(Bytes(dir.Path("")).c_str(), 0755), 0);
  const QString own = dir.Path("own");
  const QString roots = dir.Path("roots");
  ASSERT_TRUE(QDir().mkdir(own));
  ASSERT_TRUE(QDir().mkdir(roots));
  ASSERT_EQ(chown(Bytes(own).c_str(), Nobody, Nobody), 0);
  const auto nobodys = [](const QString& path, const std::string& bytes, mode_t mode) {
    WriteBytes(path, bytes);
    EXPECT_EQ(chown(Bytes(path).c_str(), Nobody, Nobody), 0);
    EXPECT_EQ(chmod(Bytes(path).c_str(), mode), 0);
  };
  const QString readOnly = own + "/readonly.MVD";
  nobodys(readOnly, "old", 0444);
  const QString inPlace = roots + "/mine.MVD";
  nobodys(inPlace, "a longer old text than the new one", 0644);
  const ino_t inode = Stat(inPlace).st_ino;
  const QString fresh = roots + "/new.MVD";
  const QString secret = roots + "/secret.MVD";
  WriteBytes(secret, "root's");
  ASSERT_EQ(chmod(Bytes(secret).c_str(), 0600), 0);

  const struct {
    const char* what;
    std::function<void()> action;
    QString message;
  } rows[] = {
      {"a read-only file in a folder the user may write",
       [&] { WriteTextLines(readOnly, {"new"}); },
       "Cannot create file " + readOnly + ": permission denied"},
      {"the user's file in a folder the user may not write",
       [&] { WriteTextLines(inPlace, {"new"}); }, ""},
      {"a new file in a folder the user may not write", [&] { WriteTextLines(fresh, {"new"}); },
       "Cannot create file " + fresh + ": permission denied"},
      {"a file the user may not read", [&] { ReadTextLines(secret); },
       "Cannot open file " + secret + ": permission denied"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(AsNobody(row.action), row.message.toStdString());
  }
  EXPECT_EQ(ReadBytes(readOnly), "old");
  EXPECT_EQ(Stat(readOnly).st_mode & 07777, 0444u);
  EXPECT_EQ(ReadBytes(inPlace), "new\r\n");
  EXPECT_EQ(Stat(inPlace).st_ino, inode) << "written in place, not replaced";
  EXPECT_EQ(Stat(inPlace).st_uid, Nobody);
  EXPECT_EQ(Entries(own), QStringList{"readonly.MVD"});
  EXPECT_EQ(Entries(roots), (QStringList{"mine.MVD", "secret.MVD"}));
}

TEST(SaveTargets, PipesAndDevicesAreWrittenThroughAndLinksToThemStay) {
  ScratchDir dir;
  const QString pipePath = dir.Path("pipe.MVD");
  ASSERT_EQ(mkfifo(Bytes(pipePath).c_str(), 0600), 0);
  // A device of its own, which takes and drops whatever is written, as /dev/null does.
  const QString device = dir.Path("null.MVD");
  const dev_t null = makedev(1, 3);
  if (mknod(Bytes(device).c_str(), S_IFCHR | 0666, null) != 0) {
    GTEST_SKIP() << "no device can be made here";
  }
  const QString pipeLink = dir.Path("to-pipe.MVD");
  const QString deviceLink = dir.Path("to-null.MVD");
  ASSERT_TRUE(QFile::link(QStringLiteral("pipe.MVD"), pipeLink));
  ASSERT_TRUE(QFile::link(QStringLiteral("null.MVD"), deviceLink));

  for (const QString& path : {pipePath, pipeLink}) {
    SCOPED_TRACE(path.toStdString());
    const int reader = open(Bytes(pipePath).c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    WriteTextLines(path, {"through", "the pipe"});
    char buffer[64] = {};
    const ssize_t got = read(reader, buffer, sizeof buffer);
    close(reader);
    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(std::max<ssize_t>(got, 0))),
              "through\r\nthe pipe\r\n");
  }
  for (const QString& path : {device, deviceLink}) {
    SCOPED_TRACE(path.toStdString());
    EXPECT_NO_THROW(WriteTextLines(path, {"dropped"}));
  }
  EXPECT_TRUE(S_ISFIFO(Stat(pipePath).st_mode));
  EXPECT_TRUE(S_ISCHR(Stat(device).st_mode));
  EXPECT_EQ(Stat(device).st_rdev, null);
  EXPECT_EQ(QFileInfo(pipeLink).symLinkTarget(), pipePath);
  EXPECT_EQ(QFileInfo(deviceLink).symLinkTarget(), device);
  EXPECT_EQ(Entries(dir.Path("")).size(), 4) << Entries(dir.Path("")).join(' ').toStdString();
}

TEST(SaveTargets, ALinkToNoFileYetGetsItsFileAndAReplacedFileKeepsItsOwner) {
  ScratchDir dir;
  ASSERT_TRUE(QDir().mkdir(dir.Path("real")));
  const QString link = dir.Path("model.MVD");
  const QString real = dir.Path("real/model.MVD");
  ASSERT_TRUE(QFile::link(QStringLiteral("real/model.MVD"), link));
  WriteTextLines(link, {"made"});
  EXPECT_EQ(ReadBytes(real), "made\r\n");
  EXPECT_TRUE(QFileInfo(link).isSymLink());
  EXPECT_EQ(QFileInfo(link).symLinkTarget(), real);

  // Root saving another user's file hands the new one back to that user.
  ASSERT_EQ(chown(Bytes(real).c_str(), Nobody, Nobody), 0);
  ASSERT_EQ(chmod(Bytes(real).c_str(), 0640), 0);
  const ino_t before = Stat(real).st_ino;
  WriteTextLines(link, {"again"});
  EXPECT_EQ(ReadBytes(real), "again\r\n");
  const struct stat after = Stat(real);
  EXPECT_NE(after.st_ino, before) << "replaced, not written in place";
  EXPECT_EQ(after.st_uid, Nobody);
  EXPECT_EQ(after.st_gid, Nobody);
  EXPECT_EQ(after.st_mode & 07777, 0640u);
  EXPECT_EQ(Entries(dir.Path("real")), QStringList{"model.MVD"});
}

TEST(SaveTargets, AFileTooLargeForAnyModelIsRefusedBeforeItIsReadAndADeviceOnceItHasGivenTooMuch) {
  ScratchDir dir;
  const QString big = dir.Path("big.MVD");
  WriteBytes(big, "");
  // Sparse: as large as the limit allows and one byte more, without taking the disk.
  ASSERT_EQ(truncate(Bytes(big).c_str(), MaxReadBytes + 1), 0);
  const struct {
    QString path;
    std::string size;
  } rows[] = {{big, "67108865"}, {QStringLiteral("/dev/zero"), "more than 67108864"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.path.toStdString());
    try {
      ReadTextLines(row.path);
      ADD_FAILURE() << "no error";
    } catch (const FileError& e) {
      EXPECT_EQ(std::string(e.what()), "Cannot open file " + row.path.toStdString() +
                                           ": the file is too large (" + row.size + " bytes)");
    }
  }
  ASSERT_EQ(truncate(Bytes(big).c_str(), MaxReadBytes), 0);
  EXPECT_EQ(ReadFileBytes(big).size(), static_cast<std::size_t>(MaxReadBytes));
}

}  // namespace
}  // namespace morv
