// Recovery files: the working model of a run kept on disk, for the next start after a crash.
#include "platform/recovery_file.h"

#include <sys/file.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>

#include "engine/errors.h"
#include "platform/text_file.h"

namespace morv {

namespace {

const QString LockSuffix = QStringLiteral(".lock");

QString LockOf(const QString& path) { return path + LockSuffix; }

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
    if (!QDir().mkpath(folder)) throw FileError("Cannot create folder " + folder.toStdString());
    QFile::setPermissions(folder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
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
