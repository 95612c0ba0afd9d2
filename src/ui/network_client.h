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
  // item whose check mark says whether redraws go to the server; `finishRendering` waits for a
  // local render worker that may still be drawing on the 3D view; `drawLocally` redraws the view
  // locally once network mode has been given up.
  TNetworkClient(Prompts& prompts, QTcpSocket& sock, TextLines& memo2, QAction& networkMode,
                 std::function<void()> finishRendering, std::function<void()> drawLocally,
                 QObject* parent = nullptr);

  // One redraw in network mode. Writes the scene and the model files for the server, removes the
  // server's previous bitmap and starts connecting; it never waits for the server. While a
  // request is open, or while a message box is shown, nothing is written: the redraw is
  // remembered, and one new request goes out when the request has closed and no box is shown.
  // Returns false when the redraw failed and network mode was given up (see GiveUp).
  bool Request();

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
  // Any failure of a request ends network mode: the user is told why once, the mark of "Use
  // Network" goes off and the view is drawn locally. Retrying on every redraw would show the same
  // message again at every tick and every activation of the main window.
  void GiveUp(const QString& cause);
  // The redraw remembered while the request was open or a box was shown, if network mode still
  // asks for it.
  void RunPendingRequest();
  void ShowBitmap(const QString& path);

  Prompts& prompts_;
  QTcpSocket& sock_;
  TextLines& memo2_;
  QAction& networkMode_;
  std::function<void()> finishRendering_;
  std::function<void()> drawLocally_;
  QTimer timeout_;
  // Looks again, while a redraw waits, whether the message boxes have gone.
  QTimer afterMessageBoxes_;
  int timeoutMs_ = 10000;
  bool open_ = false;
  bool connected_ = false;
  bool pending_ = false;
  // Tells the events of an abandoned connection from those of the present one.
  uint64_t generation_ = 0;
};

}  // namespace morv
