// The render request of network mode: the scene and the model written to the share, one TCP
// request to the render server, and its bitmap shown in the 3D view once it closes the connection.
#pragma once

#include <QAction>
#include <QObject>
#include <QString>
#include <QTcpSocket>
#include <QTimer>
#include <cstdint>
#include <functional>

#include "engine/line_text.h"
#include "platform/prompts.h"

namespace morv {

// The render server listens on port 252; MORV_RENDER_PORT (1..65535) points the client at
// another one, as a server that is not allowed a privileged port needs. Other values are ignored.
quint16 RenderServerPort();

class TNetworkClient : public QObject {
  Q_OBJECT

 public:
  // `sock` and `memo2` are the main window's socket and line buffer; `networkMode` is the menu
  // item whose check mark is read when a connection closes; `finishRendering` waits for a local
  // render worker that may still be drawing on the 3D view.
  TNetworkClient(Prompts& prompts, QTcpSocket& sock, TextLines& memo2, const QAction& networkMode,
                 std::function<void()> finishRendering, QObject* parent = nullptr);

  // One redraw in network mode. Writes the scene and the model files for the server, removes the
  // server's previous bitmap and starts connecting; it never waits for the server. While a
  // request is open nothing is written: the redraw is remembered, and one new request goes out
  // when the open one has closed. Throws FileError when a file cannot be written or the old
  // bitmap cannot be removed; nothing is sent then.
  void Request();

  // The connection is up: the request names the files.
  void SockSessionConnected();
  // The server closed the connection: its bitmap goes into the 3D view if network mode is on.
  void SockSessionClosed();

  bool RequestOpen() const { return open_; }

  // How long a request may stay open before it is abandoned; 10 seconds unless changed.
  void SetTimeout(int milliseconds) { timeoutMs_ = milliseconds; }
  int Timeout() const { return timeoutMs_; }

 private:
  // Socket events are handled once the socket has finished its own work on them, and only if
  // they belong to the request still open.
  void Defer(std::function<void()> handler);
  void SockError(QAbstractSocket::SocketError error, const QString& text);
  void TimeoutExpired();
  void EndRequest();
  // The redraw remembered while the request was open, if network mode still asks for it.
  void RunPendingRequest();
  void ShowBitmap(const QString& path);

  Prompts& prompts_;
  QTcpSocket& sock_;
  TextLines& memo2_;
  const QAction& networkMode_;
  std::function<void()> finishRendering_;
  QTimer timeout_;
  int timeoutMs_ = 10000;
  bool open_ = false;
  bool connected_ = false;
  bool pending_ = false;
  // Tells the events of an abandoned connection from those of the present one.
  uint64_t generation_ = 0;
};

}  // namespace morv
