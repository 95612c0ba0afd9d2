// The user's runtime folder, for programs started where the session names none.
#include "platform/runtime_folder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <string>

namespace morv {

void ProvideRuntimeFolder() {
  if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) return;
  // The name Qt itself falls back to, so that programs of this system and others share it.
  const uid_t uid = geteuid();
  const passwd* account = getpwuid(uid);
  const QString user =
      account != nullptr ? QString::fromLocal8Bit(account->pw_name) : QString::number(uid);
  const QByteArray folder =
      QFile::encodeName(QDir::tempPath() + QStringLiteral("/runtime-") + user);
  mkdir(folder.constData(), 0700);
  // Another user may have taken the name first in a shared temporary folder: only a folder of
  // our own, and no link to one, is ever made private and used.
  struct stat found {};
  if (lstat(folder.constData(), &found) != 0 || !S_ISDIR(found.st_mode) || found.st_uid != uid) {
    return;
  }
  if ((found.st_mode & 07777) != 0700 && chmod(folder.constData(), 0700) != 0) return;
  qputenv("XDG_RUNTIME_DIR", folder);
}

}  // namespace morv
