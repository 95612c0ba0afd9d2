// Recovery files: the working model of a run kept on disk, for the next start after a crash.
#pragma once

#include <QDateTime>
#include <QFile>
#include <QString>
#include <memory>
#include <vector>

#include "engine/line_text.h"

namespace morv {

// $XDG_STATE_HOME/morv/recovery, or ~/.local/state/morv/recovery when that names no absolute path.
QString RecoveryFolder();

// One model file in the recovery folder, and a lock beside it that its writer holds for as long as
// it runs: a file whose lock nobody holds was left by a run that did not end properly. Letting go
// of a file releases its lock and leaves the file where it is.
class TRecoveryFile {
 public:
  TRecoveryFile() = default;
  TRecoveryFile(TRecoveryFile&&) = default;
  TRecoveryFile& operator=(TRecoveryFile&&) = default;
  ~TRecoveryFile();

  // Writes the lines with the atomic writer, claiming a file of this run's own on the first write;
  // the folders made for it are the owner's alone. Throws FileError when the folder or the file
  // cannot be written.
  void Write(const TextLines& lines);
  // Deletes the file and its lock; afterwards the next write claims a new file.
  void Remove();
  // Keeps the file for the user under its name with ".unreadable" added, which LeftBehind no longer
  // lists, and deletes its lock.
  void SetAside();

  bool Exists() const { return lock_ != nullptr; }
  const QString& Path() const { return path_; }
  // When the file was last written, in local time.
  QDateTime Written() const;

  // Every file of the folder whose writer no longer runs, the newest first, each now held by this
  // run. Two runs starting together never get the same file.
  static std::vector<TRecoveryFile> LeftBehind();

 private:
  // Takes the lock of `path`; false when another run holds it.
  bool Hold(const QString& path);

  QString path_;
  std::unique_ptr<QFile> lock_;
};

}  // namespace morv
