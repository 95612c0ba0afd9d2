// morv-render-server run as a separate process for tests, with everything it printed so far.
#pragma once

#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <string>

#include "support/file_size_limit.h"

namespace morv::test {

class RenderServerProcess {
 public:
  // A `fileSizeLimit` other than 0 limits the files the server may write, as a full disk would.
  explicit RenderServerProcess(const QStringList& args, rlim_t fileSizeLimit = 0) {
    if (fileSizeLimit != 0) LimitChildFileSize(process_, fileSizeLimit);
    process_.start(QStringLiteral(MORV_RENDER_SERVER_PATH), args);
    EXPECT_TRUE(process_.waitForStarted(10000));
  }
  ~RenderServerProcess() {
    if (process_.state() != QProcess::NotRunning) {
      process_.kill();
      process_.waitForFinished(10000);
    }
  }

  // Waits until a line matching `pattern` shows on stdout (or stderr); false after `milliseconds`.
  bool WaitFor(const QString& pattern, bool onStderr = false, int milliseconds = 10000) {
    const QRegularExpression re(pattern, QRegularExpression::MultilineOption);
    return Pump(milliseconds,
                [&] { return re.match(QString::fromUtf8(onStderr ? err_ : out_)).hasMatch(); });
  }

  // Waits until `count` lines of stderr match `pattern` and returns the last of them; empty after
  // `milliseconds`.
  QString WaitForLine(const QString& pattern, int count, int milliseconds = 10000) {
    const QRegularExpression re(pattern);
    QString last;
    Pump(milliseconds, [&] {
      int found = 0;
      for (const QString& line : QString::fromUtf8(err_).split(QLatin1Char('\n'))) {
        if (re.match(line).hasMatch() && ++found == count) {
          last = line;
          return true;
        }
      }
      return false;
    });
    return last;
  }

  quint16 Port() {
    EXPECT_TRUE(WaitFor(QStringLiteral("^listening on 127\\.0\\.0\\.1:\\d+$"))) << Err();
    return static_cast<quint16>(out_.mid(out_.lastIndexOf(':') + 1).trimmed().toUInt());
  }

  int Finish() {
    EXPECT_TRUE(process_.waitForFinished(10000));
    err_ += process_.readAllStandardError();
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
  }

  std::string Err() const { return err_.toStdString(); }
  QProcess& Process() { return process_; }

 private:
  // Collects the server's output until `seen` holds; false when it does not within `milliseconds`
  // or the server has ended.
  template <class Seen>
  bool Pump(int milliseconds, Seen seen) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds) {
      process_.waitForReadyRead(20);
      out_ += process_.readAllStandardOutput();
      err_ += process_.readAllStandardError();
      if (seen()) return true;
      if (process_.state() == QProcess::NotRunning) return false;
    }
    return false;
  }

  QProcess process_;
  QByteArray out_;
  QByteArray err_;
};

}  // namespace morv::test
