// What a running process holds, read from /proc: its open file descriptors and resident memory.
#include "support/process_footprint.h"

#include <QDir>
#include <QFile>
#include <QThread>

namespace morv::load {

std::optional<TProcessFootprint> ReadFootprint(qint64 pid) {
  const QString proc = QStringLiteral("/proc/") + QString::number(pid);
  const QDir fds(proc + QStringLiteral("/fd"));
  QFile status(proc + QStringLiteral("/status"));
  if (!fds.exists() || !status.open(QIODevice::ReadOnly)) return std::nullopt;
  TProcessFootprint footprint;
  footprint.OpenFiles = static_cast<int>(
      fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size());
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmRSS:")) {
      // "VmRSS:     12345 kB"
      footprint.RssKiB = line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
  }
  if (footprint.OpenFiles == 0 || footprint.RssKiB == 0) return std::nullopt;
  return footprint;
}

std::optional<TProcessFootprint> SettledFootprint(qint64 pid) {
  std::optional<TProcessFootprint> last = ReadFootprint(pid);
  for (int attempt = 0; last && attempt < 20; ++attempt) {
    QThread::msleep(100);
    const std::optional<TProcessFootprint> now = ReadFootprint(pid);
    if (!now) return now;
    const bool settled = now->OpenFiles == last->OpenFiles;
    last = now;
    if (settled) break;
  }
  return last;
}

}  // namespace morv::load
