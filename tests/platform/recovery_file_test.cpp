// Recovery files on disk: the folders made for them are the owner's alone from the moment they
// exist.
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <string>
#include <vector>

#include "platform/recovery_file.h"
#include "platform/text_file.h"
#include "support/test_files.h"

namespace morv::test {
namespace {

// The access rights of a path in octal, as chmod takes them, or "none" when it is not there.
std::string Rights(const QString& path) {
  struct stat found {};
  if (stat(QFile::encodeName(path).constData(), &found) != 0) return "none";
  return QString::number(found.st_mode & 07777, 8).toStdString();
}

// What happens to the entries of one folder, as the kernel reports it: each entry made, and each
// whose rights or owner changed afterwards.
class FolderEvents {
 public:
  explicit FolderEvents(const QString& folder) : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    EXPECT_GE(fd_, 0);
    EXPECT_GE(inotify_add_watch(fd_, QFile::encodeName(folder).constData(), IN_CREATE | IN_ATTRIB),
              0);
  }
  ~FolderEvents() { close(fd_); }

  // Reads what has happened so far.
  void Read() {
    alignas(inotify_event) char buffer[4096];
    ssize_t got;
    while ((got = read(fd_, buffer, sizeof buffer)) > 0) {
      for (ssize_t at = 0; at < got;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        const std::string name = event->len > 0 ? event->name : "";
        if (event->mask & IN_CREATE) made.push_back(name);
        if (event->mask & IN_ATTRIB) changed.push_back(name);
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      }
    }
  }

  std::vector<std::string> made;
  std::vector<std::string> changed;

 private:
  int fd_;
};

TEST(RecoveryFile, EveryFolderMadeForItIsTheOwnersAloneFromTheStart) {
  const struct {
    const char* what;
    std::vector<const char*> there;  // folders under the scratch folder that exist before
    const char* firstMade;           // the first folder the write makes, in the last of `there`
  } rows[] = {
      {"nothing there", {}, "state"},
      {"the state folder there", {"state"}, "morv"},
      {"the program's folder there", {"state", "state/morv"}, "recovery"},
  };
  // Without the process's mask narrowing them, folders made with the usual rights would show them.
  const mode_t mask = umask(022);
  const QByteArray stateBefore = qgetenv("XDG_STATE_HOME");
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    ScratchDir scratch;
    QString parent = scratch.Path(QString());
    for (const char* folder : row.there) {
      parent = scratch.Path(QString::fromUtf8(folder));
      ASSERT_TRUE(QDir().mkpath(parent));
    }
    qputenv("XDG_STATE_HOME", QFile::encodeName(scratch.Path(QStringLiteral("state"))));
    FolderEvents events(parent);

    TRecoveryFile file;
    file.Write({"Model"});
    events.Read();

    EXPECT_EQ(QFileInfo(file.Path()).path(), RecoveryFolder());
    EXPECT_EQ(events.made, std::vector<std::string>{row.firstMade});
    EXPECT_TRUE(events.changed.empty())
        << "the rights of " << events.changed.front() << " were changed after it was made";
    const QString state = scratch.Path(QStringLiteral("state"));
    for (const QString& folder :
         {state, state + QStringLiteral("/morv"), state + QStringLiteral("/morv/recovery")}) {
      const bool madeHere =
          std::find_if(row.there.begin(), row.there.end(), [&](const char* there) {
            return scratch.Path(QString::fromUtf8(there)) == folder;
          }) == row.there.end();
      EXPECT_EQ(Rights(folder), madeHere ? "700" : "755") << folder.toStdString();
    }
    file.Remove();
  }
  qputenv("XDG_STATE_HOME", stateBefore);
  umask(mask);
}

TEST(RecoveryFile, AnOpenRecoveryFolderIsNarrowedToItsOwner) {
  ScratchDir scratch;
  const QByteArray stateBefore = qgetenv("XDG_STATE_HOME");
  qputenv("XDG_STATE_HOME", QFile::encodeName(scratch.Path(QStringLiteral("state"))));
  ASSERT_TRUE(QDir().mkpath(RecoveryFolder()));
  ASSERT_EQ(chmod(QFile::encodeName(RecoveryFolder()).constData(), 0755), 0);
  TRecoveryFile file;
  file.Write({"Model"});
  EXPECT_EQ(Rights(RecoveryFolder()), "700");
  file.Remove();
  qputenv("XDG_STATE_HOME", stateBefore);
}

}  // namespace
}  // namespace morv::test
