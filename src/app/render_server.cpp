// The render server: accepts render requests over TCP and serves them from the shared folder.
#include "app/render_server.h"

#include <malloc.h>

#include <QTcpSocket>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <exception>

#include "app/render_job.h"
#include "engine/render_request.h"
#include "platform/file_system.h"

namespace morv {

namespace {

// A name as its files' names show: UTF-8 where it is, and every other byte, the bytes of every
// control character and the backslash as \xNN, so that a name cannot forge log lines or steer a
// terminal.
std::string Printable(const std::string& name) {
  constexpr char Digits[] = "0123456789ABCDEF";
  const auto escaped = [&Digits](std::string_view bytes) {
    std::string text;
    for (const char b : bytes) {
      const auto byte = static_cast<unsigned char>(b);
      text += std::string("\\x") + Digits[byte >> 4] + Digits[byte & 0xF];
    }
    return text;
  };
  const QString text = FileNameFromBytes(name);
  std::string shown;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i].unicode();
    // A byte that is no part of UTF-8 comes as one of U+DC80..U+DCFF.
    if (unit >= 0xDC80 && unit <= 0xDCFF) {
      shown += escaped(std::string(1, static_cast<char>(unit - 0xDC00)));
      continue;
    }
    const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    const std::string character = text.mid(i, length).toStdString();
    i += length - 1;
    const bool control = unit < 0x20 || (unit >= 0x7F && unit <= 0x9F) || unit == u'\\';
    shown += control ? escaped(character) : character;
  }
  return shown;
}

}  // namespace

// One client's connection, from its first byte to the server closing it.
class TRenderServer::Connection : public QObject {
 public:
  explicit Connection(QTcpSocket* socket) : socket_(socket) {
    socket_->setParent(this);
    // A request is never longer than its mark, its longest name and one byte that shows the
    // name is too long; nothing more is buffered.
    socket_->setReadBufferSize(static_cast<qint64>(MaxRequestNameLength) + 2);
    Peer = "request from " + socket_->peerAddress().toString().toStdString() + ":" +
           std::to_string(socket_->peerPort());
    Quiet.setParent(this);
    Quiet.setSingleShot(true);
    Quiet.setInterval(RequestQuietMilliseconds);
    Deadline.setParent(this);
    Deadline.setSingleShot(true);
    Deadline.setInterval(RequestDeadlineMilliseconds);
  }

  QTcpSocket* Socket() const { return socket_; }

  std::string Bytes;
  std::string Peer;
  QTimer Quiet;
  QTimer Deadline;
  bool Done = false;

 private:
  QTcpSocket* socket_;
};

TRenderServer::TRenderServer(QString share, std::ostream& log, std::ostream& errors)
    : share_(std::move(share)), log_(log), errors_(errors) {
  connect(&listener_, &QTcpServer::newConnection, this, &TRenderServer::Accept);
  // A server that has fallen idle hands the memory its requests freed back to the system, so
  // that between bursts it takes only what it keeps: a render's picture and files take more than
  // a megabyte for a moment, and how much of that the allocator holds on to otherwise depends on
  // how the last requests happened to overlap. The pause lets the closed connections go first.
  idle_.setSingleShot(true);
  idle_.setInterval(50);
  connect(&idle_, &QTimer::timeout, this, [this] {
    if (open_.empty()) malloc_trim(0);
  });
}

TRenderServer::~TRenderServer() { Stop(); }

bool TRenderServer::Listen(const QHostAddress& address, quint16 port, QString& error) {
  if (listener_.listen(address, port)) return true;
  error = listener_.errorString();
  return false;
}

void TRenderServer::Stop() {
  listener_.close();
  while (!open_.empty()) Close(*open_.front());
}

void TRenderServer::Accept() {
  while (QTcpSocket* socket = listener_.nextPendingConnection()) {
    auto* connection = new Connection(socket);
    connection->setParent(this);
    open_.push_back(connection);
    connect(socket, &QTcpSocket::readyRead, connection, [this, connection] {
      if (!connection->Done) Received(*connection);
    });
    connect(socket, &QTcpSocket::disconnected, connection, [this, connection] {
      if (!connection->Done) Dropped(*connection);
    });
    connect(&connection->Quiet, &QTimer::timeout, connection, [this, connection] {
      if (!connection->Done) FellQuiet(*connection);
    });
    connect(&connection->Deadline, &QTimer::timeout, connection, [this, connection] {
      if (!connection->Done) DeadlinePassed(*connection);
    });
    // A client that never sends its first byte is refused after the quiet time like any other.
    connection->Quiet.start();
    connection->Deadline.start();
    if (socket->bytesAvailable() > 0) Received(*connection);
  }
}

void TRenderServer::Received(Connection& connection) {
  connection.Bytes += connection.Socket()->readAll().toStdString();
  const TRequestVerdict verdict = JudgeRequest(connection.Bytes, false);
  switch (verdict.State) {
    case TRequestState::Incomplete: {
      // Most clients send the whole request at once: a name whose files are settled on the share
      // is served at once instead of after the quiet time.
      const TRequestVerdict asIfQuiet = JudgeRequest(connection.Bytes, true);
      if (asIfQuiet.State == TRequestState::Complete && NameSettled(share_, asIfQuiet.Name)) {
        Serve(connection, asIfQuiet.Name);
        return;
      }
      connection.Quiet.start();
      return;
    }
    case TRequestState::Complete:
      Serve(connection, verdict.Name);
      return;
    case TRequestState::Refused:
      Refuse(connection, verdict.Name.empty() ? connection.Peer : Printable(verdict.Name),
             verdict.Reason);
      return;
  }
}

void TRenderServer::FellQuiet(Connection& connection) {
  // A render holds up the event loop, so bytes may be waiting unread when the timer fires late:
  // they count as the client talking, not as silence.
  if (connection.Socket()->waitForReadyRead(0)) return;
  if (connection.Done) return;
  const TRequestVerdict verdict = JudgeRequest(connection.Bytes, true);
  if (verdict.State == TRequestState::Complete) {
    Serve(connection, verdict.Name);
  } else {
    Refuse(connection, verdict.Name.empty() ? connection.Peer : Printable(verdict.Name),
           verdict.Reason);
  }
}

void TRenderServer::DeadlinePassed(Connection& connection) {
  // Bytes that wait unread while a render held up the event loop still count: reading them hands
  // them to Received, which may complete the request.
  connection.Socket()->waitForReadyRead(0);
  if (connection.Done) return;
  Refuse(connection,
         connection.Bytes.size() > 1 ? Printable(connection.Bytes.substr(1)) : connection.Peer,
         "the request was not complete within " +
             std::to_string(RequestDeadlineMilliseconds / 1000) + " seconds");
}

void TRenderServer::Dropped(Connection& connection) {
  errors_ << "dropped " << connection.Peer
          << ": the client closed the connection before its request was complete" << std::endl;
  Close(connection);
}

// Renders run here, on the server's thread, one after another, so that a burst of requests queues
// instead of taking a core each.
void TRenderServer::Serve(Connection& connection, const std::string& name) {
  const std::string label = Printable(name);
  const auto start = std::chrono::steady_clock::now();
  TServedRender served;
  try {
    served = ServeRender(share_, name);
  } catch (const std::exception& error) {
    Refuse(connection, label, error.what());
    return;
  }
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - start);
  if (served.Report.LightFailed) errors_ << label << ": " << LightErrorText << std::endl;
  if (served.Report.SortCrashed) errors_ << label << ": " << SortCrashText << std::endl;
  log_ << label << ": " << served.Points << " points, " << served.Polygons << " polygons, "
       << elapsed.count() << " ms" << std::endl;
  Close(connection);
}

void TRenderServer::Refuse(Connection& connection, const std::string& label,
                           const std::string& reason) {
  errors_ << "refused " << label << ": " << reason << std::endl;
  Close(connection);
}

void TRenderServer::Close(Connection& connection) {
  connection.Done = true;
  connection.Quiet.stop();
  connection.Deadline.stop();
  open_.remove(&connection);
  if (open_.empty()) idle_.start();
  QTcpSocket* socket = connection.Socket();
  socket->disconnect(&connection);
  socket->disconnectFromHost();
  connection.deleteLater();
}

}  // namespace morv
