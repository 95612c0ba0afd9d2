// Reading and writing line files on disk: any line end in, CR LF out, atomic replacement.
#include "platform/text_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <functional>
#include <utility>

#include "engine/errors.h"
#include "support/test_files.h"

namespace morv {
namespace {

using test::ReadBytes;
using test::ScratchDir;
using test::WriteBytes;

TEST(TextFile, ReadsAnyLineEndAndEightBitText) {
  ScratchDir dir;
  WriteBytes(dir.Path("a.MVD"), "Caf\xE9\nx\r\n\ry");
  EXPECT_EQ(ReadTextLines(dir.Path("a.MVD")), (TextLines{"Caf\xE9", "x", "", "y"}));
}

TEST(TextFile, WritesCrLfAfterEveryLineAndReplacesAnOldFile) {
  ScratchDir dir;
  const QString path = dir.Path("b.MVD");
  WriteBytes(path, std::string(5000, 'z'));
  WriteTextLines(path, {"MyObject", " ", "0"});
  EXPECT_EQ(ReadBytes(path), "MyObject\r\n \r\n0\r\n");
  EXPECT_EQ(QDir(dir.Path(".")).entryList(QDir::Files), QStringList{"b.MVD"})
      << "no temporary file is left behind";
}

// Each message names the file as it was given and says why.
void ExpectFailure(const std::function<void()>& action, const std::string& message) {
  try {
    action();
    ADD_FAILURE() << "no error";
  } catch (const FileError& e) {
    EXPECT_EQ(std::string(e.what()), message);
  }
}

TEST(TextFile, AFileThatCannotBeOpenedIsReportedByName) {
  ScratchDir dir;
  const QString missing = dir.Path("missing.MVD");
  const QString inMissingFolder = dir.Path("no/such/folder/x.MVD");
  const QString folder = dir.Path(".");
  for (const auto& [path, reason] :
       {std::pair{missing, "no such file"}, std::pair{inMissingFolder, "no such file"},
        std::pair{folder, "it is a folder"}}) {
    SCOPED_TRACE(path.toStdString());
    ExpectFailure([&path] { ReadTextLines(path); },
                  "Cannot open file " + path.toStdString() + ": " + reason);
  }
}

TEST(TextFile, APathThatCannotBeCreatedIsReportedByName) {
  ScratchDir dir;
  const QString inMissingFolder = dir.Path("no/such/folder/x.MVD");
  const QString folder = dir.Path("outdir");
  ASSERT_TRUE(QDir().mkdir(folder));
  for (const auto& [path, reason] :
       {std::pair{inMissingFolder, "no such folder"}, std::pair{folder, "it is a folder"},
        std::pair{folder + "/", "it is a folder"}}) {
    SCOPED_TRACE(path.toStdString());
    ExpectFailure([&path] { WriteTextLines(path, {"x"}); },
                  "Cannot create file " + path.toStdString() + ": " + reason);
  }
  EXPECT_TRUE(QDir(folder).isEmpty());
}

TEST(TextFile, ASaveThatFailsMidwayLeavesTheOldFileIntact) {
  ScratchDir dir;
  const QString path = dir.Path("keep.MVD");
  WriteBytes(path, "old\r\n");
  // A file size limit makes the write fail part of the way through, even for root.
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 4096;
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  std::string message;
  try {
    WriteTextLines(path, TextLines(10000, "a long enough line"));
  } catch (const FileError& e) {
    message = e.what();
  }
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(message, "Cannot create file " + path.toStdString() + ": the file would be too large");
  EXPECT_EQ(ReadBytes(path), "old\r\n");
  EXPECT_EQ(QDir(dir.Path(".")).entryList(QDir::Files), QStringList{"keep.MVD"});
}

}  // namespace
}  // namespace morv

namespace morv {
namespace {

// A save killed between naming its temporary and renaming it leaves the name behind.
TEST(TextFile, ASaveClearsAwayTemporariesThatNoLivingSaveHolds) {
  ScratchDir dir;
  const QString path = dir.Path("m.MVD");
  const QString abandoned = dir.Path(".m.MVD.0123abcd.morv-save");
  const QString held = dir.Path(".m.MVD.89abcdef.morv-save");
  const QStringList others = {".m.MVD.0123abcd.morv-save~", ".n.MVD.0123abcd.morv-save",
                              "m.MVD.0123abcd", ".m.MVD.backup"};
  for (const QString& name : QStringList{abandoned, held}) WriteBytes(name, "unfinished");
  for (const QString& name : others) WriteBytes(dir.Path(name), "someone else's");
  // A save still writing holds a lock on its temporary.
  const int holder = open(QFile::encodeName(held).constData(), O_RDONLY);
  ASSERT_GE(holder, 0);
  ASSERT_EQ(flock(holder, LOCK_EX), 0);

  WriteTextLines(path, {"new"});
  close(holder);
  EXPECT_EQ(ReadBytes(path), "new\r\n");
  EXPECT_FALSE(QFile::exists(abandoned));
  EXPECT_TRUE(QFile::exists(held)) << "a living save's temporary is left alone";
  for (const QString& name : others) {
    EXPECT_EQ(ReadBytes(dir.Path(name)), "someone else's") << name.toStdString();
  }
}

TEST(TextFile, AFileWithTheLongestNameIsSavedAndReplaced) {
  ScratchDir dir;
  const QString path = dir.Path(QString(251, QLatin1Char('n')) + ".MVD");
  WriteBytes(path, "old");
  WriteTextLines(path, {"new"});
  EXPECT_EQ(ReadBytes(path), "new\r\n");
  EXPECT_EQ(QDir(dir.Path(".")).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(TextFile, ASaveKeepsTheReplacedFilesPermissionsAndWritesThroughALink) {
  ScratchDir dir;
  const QString path = dir.Path("m.MVD");
  WriteBytes(path, "old");
  ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
  const QFile::Permissions owner = QFile::permissions(path);
  ASSERT_TRUE(QFile::link(path, dir.Path("link.MVD")));
  WriteTextLines(dir.Path("link.MVD"), {"new"});
  EXPECT_EQ(ReadBytes(path), "new\r\n");
  EXPECT_TRUE(QFileInfo(dir.Path("link.MVD")).isSymLink());
  EXPECT_EQ(QFile::permissions(path), owner);

  // Staying in the folder, a link is neither read nor written through: a regular file takes its
  // place and the file it named is left as it was.
  EXPECT_THROW(ReadTextLines(dir.Path("link.MVD"), TLinks::StayInFolder), FileError);
  WriteFileAtomically(dir.Path("link.MVD"), "own\r\n", TLinks::StayInFolder);
  EXPECT_FALSE(QFileInfo(dir.Path("link.MVD")).isSymLink());
  EXPECT_EQ(ReadTextLines(dir.Path("link.MVD"), TLinks::StayInFolder), TextLines{"own"});
  EXPECT_EQ(ReadBytes(path), "new\r\n");
}

}  // namespace
}  // namespace morv
