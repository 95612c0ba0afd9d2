// Recovery files: the working model of a run kept on disk, for the next start after a crash.
#include "platform/recovery_file.h"

#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>

#include "engine/errors.h"
#include "platform/file_system.h"
#include "platform/text_file.h"

namespace morv {

namespace {

const QString LockSuffix = QStringLiteral(".lock");

QString LockOf(const QString& path) { return path + LockSuffix; }

FileError FolderError(const QString& folder, int error) {
  return FileError("Cannot create folder " + folder.toStdString() + ": " + std::strerror(error));
}

// Each missing folder of the path is made owner-only from the start: a folder made with wider
// rights and narrowed afterwards could be entered, and kept open, in between. Folders that were
// there are left as they are, but for the last, which holds the models and is this program's alone.
void MakeOwnerOnlyFolder(const QString& folder) {
  const QByteArray path = QByteArray::fromStdString(FileNameBytes(folder));
  for (qsizetype end = 1; end <= path.size(); ++end) {
    if (end < path.size() && path[end] != '/') continue;
    const QByteArray part = path.left(end);
    if (mkdir(part.constData(), 0700) != 0 && errno != EEXIST) throw FolderError(folder, errno);
  }
  struct stat found {};
  if (stat(path.constData(), &found) != 0) throw FolderError(folder, errno);
  if (!S_ISDIR(found.st_mode)) throw FolderError(folder, ENOTDIR);
  if ((found.st_mode & 07777) != 0700 && chmod(path.constData(), 0700) != 0) {
    throw FolderError(folder, errno);
  }
}

}  // namespace

QString RecoveryFolder() {
  QString state = qEnvironmentVariable("XDG_STATE_HOME");
  if (!QDir::isAbsolutePath(state)) state = QDir::homePath() + QStringLiteral("/.local/state");
  return state + QStringLiteral("/morv/recovery");
}

TRecoveryFile::~TRecoveryFile() = default;

bool TRecoveryFile::Hold(const QString& path) {
  auto lock = std::make_unique<QFile>(LockOf(path));
  if (!lock->open(QIODevice::ReadWrite)) return false;
  // The lock goes with the process however it ends, so a killed run leaves its file unheld.
  if (flock(lock->handle(), LOCK_EX | LOCK_NB) != 0) return false;
  path_ = path;
  lock_ = std::move(lock);
  return true;
}

void TRecoveryFile::Write(const TextLines& lines) {
  if (!Exists()) {
    const QString folder = RecoveryFolder();
    MakeOwnerOnlyFolder(folder);
    const QString name = QStringLiteral("%1-%2.MVD")
                             .arg(getpid())
                             .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    const QString path = folder + QLatin1Char('/') + name;
    // The lock comes first: no one ever finds this file without its writer holding it.
    if (!Hold(path)) throw FileError("Cannot create file " + LockOf(path).toStdString());
  }
  WriteTextLines(path_, lines);
}

void TRecoveryFile::Remove() {
  if (!Exists()) return;
  QFile::remove(path_);
  // Removed while still held, so no other run can take the lock of a file that is going.
  QFile::remove(lock_->fileName());
  lock_.reset();
  path_.clear();
}

void TRecoveryFile::SetAside() {
  if (!Exists()) return;
  // Renamed while still held, like a removal; a file that cannot be renamed stays and is asked
  // about again at the next start.
  QFile::rename(path_, path_ + QStringLiteral(".unreadable"));
  QFile::remove(lock_->fileName());
  lock_.reset();
  path_.clear();
}

QDateTime TRecoveryFile::Written() const { return QFileInfo(path_).lastModified(); }

std::vector<TRecoveryFile> TRecoveryFile::LeftBehind() {
  const QDir folder(RecoveryFolder());
  std::vector<TRecoveryFile> files;
  const QFileInfoList entries =
      folder.entryInfoList({QStringLiteral("*.MVD")}, QDir::Files, QDir::Time);
  for (const QFileInfo& entry : entries) {
    TRecoveryFile file;
    // A file removed between the listing and the lock was ended properly after all.
    if (!file.Hold(entry.filePath())) continue;
    if (QFileInfo::exists(entry.filePath())) {
      files.push_back(std::move(file));
    } else {
      file.Remove();
    }
  }
  return files;
}

}  // namespace morv
