// The render request of network mode: files on the share, one TCP request, the server's bitmap.
#include "ui/network_client.h"

#include "engine/errors.h"
#include "engine/model.h"
#include "engine/model_file.h"
#include "engine/render_request.h"
#include "engine/scene_file.h"
#include "platform/file_system.h"
#include "platform/server_picture.h"
#include "platform/text_file.h"
#include "ui/display_window.h"
#include "ui/network_dialog.h"
#include "widgets/message_boxes.h"

namespace morv {

namespace {

constexpr quint16 DefaultRenderPort = 252;

// The exchanged files are the folder text and the name joined as they stand. A folder typed the
// other platform's way, with backslashes, names the same folder here: a backslash written into a
// file name would leave the file in the working folder instead of failing at the share.
QString ExchangeBase() {
  QString folder = network->Edit2->text();
  QString name = network->Edit3->text();
  folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
  name.replace(QLatin1Char('\\'), QLatin1Char('/'));
  // A folder typed without its final separator still means that folder: joined as it stands, it
  // would put the files beside it under names that begin with the folder's own.
  if (!folder.endsWith(QLatin1Char('/'))) {
    const std::optional<TFileFacts> facts = LookUpFile(OnDisk(folder));
    if (facts && facts->Kind == TFileKind::Folder) folder += QLatin1Char('/');
  }
  return folder + name;
}

}  // namespace

quint16 RenderServerPort() {
  bool ok = false;
  const int port = qEnvironmentVariableIntValue("MORV_RENDER_PORT", &ok);
  return ok && port >= 1 && port <= 65535 ? static_cast<quint16>(port) : DefaultRenderPort;
}

TNetworkClient::TNetworkClient(Prompts& prompts, QTcpSocket& sock, TextLines& memo2,
                               QAction& networkMode, std::function<void()> finishRendering,
                               std::function<void()> drawLocally, QObject* parent)
    : QObject(parent),
      prompts_(prompts),
      sock_(sock),
      memo2_(memo2),
      networkMode_(networkMode),
      finishRendering_(std::move(finishRendering)),
      drawLocally_(std::move(drawLocally)) {
  timeout_.setSingleShot(true);
  connect(&timeout_, &QTimer::timeout, this, &TNetworkClient::TimeoutExpired);
  afterMessageBoxes_.setInterval(100);
  connect(&afterMessageBoxes_, &QTimer::timeout, this, [this] {
    if (AnyMessageBoxOpen()) return;
    afterMessageBoxes_.stop();
    if (!open_) RunPendingRequest();
  });
  connect(&sock_, &QTcpSocket::connected, this,
          [this] { Defer([this] { SockSessionConnected(); }); });
  // What the server sends is no part of the exchange; dropping it keeps it from piling up.
  connect(&sock_, &QTcpSocket::readyRead, this, [this] { sock_.readAll(); });
  connect(&sock_, &QTcpSocket::disconnected, this,
          [this] { Defer([this] { SockSessionClosed(); }); });
  // The text is taken now: a later socket operation replaces it.
  connect(&sock_, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
    Defer([this, error, text = sock_.errorString()] { SockError(error, text); });
  });
}

void TNetworkClient::Defer(std::function<void()> handler) {
  QMetaObject::invokeMethod(
      this,
      [this, generation = generation_, handler = std::move(handler)] {
        if (open_ && generation == generation_) handler();
      },
      Qt::QueuedConnection);
}

bool TNetworkClient::Request() {
  if (open_) {
    pending_ = true;
    return true;
  }
  // A failure now would open a second box over the one shown, and closing that one activates the
  // main window, whose redraw would fail again.
  if (AnyMessageBoxOpen()) {
    pending_ = true;
    if (!afterMessageBoxes_.isActive()) afterMessageBoxes_.start();
    return true;
  }
  if (network == nullptr || Display == nullptr) return true;
  const QString base = ExchangeBase();

  try {
    memo2_ = SceneLines(Display->ViewScene());
    WriteTextLines(base + QStringLiteral(".MED"), memo2_);
    SaveModel(CurrentModel, memo2_);
    WriteTextLines(base + QStringLiteral(".MVD"), memo2_);
    // A server that fails without writing a picture must not leave the last one to be shown as
    // its answer.
    const QString bitmap = base + QStringLiteral(".BMP");
    if (!RemoveFile(bitmap)) throw FileError("Cannot delete file " + FileNameBytes(bitmap));
  } catch (const std::exception& error) {
    GiveUp(QString::fromUtf8(error.what()));
    return false;
  }

  // Leftovers of an abandoned connection report nothing into this request.
  if (sock_.state() != QAbstractSocket::UnconnectedState) sock_.abort();
  ++generation_;
  open_ = true;
  connected_ = false;
  timeout_.start(timeoutMs_);
  sock_.connectToHost(network->Edit1->text(), RenderServerPort());
  return true;
}

void TNetworkClient::SockSessionConnected() {
  connected_ = true;
  if (network == nullptr) return;
  // The name is read now: the user may have changed it since the files were written. It goes as
  // the bytes the files were named with, which the server names them with in turn.
  const QByteArray request = QByteArray(1, static_cast<char>(RequestMark)) +
                             QByteArray::fromStdString(FileNameBytes(network->Edit3->text()));
  sock_.write(request);
}

void TNetworkClient::SockSessionClosed() {
  EndRequest();
  if (networkMode_.isChecked() && network != nullptr) {
    try {
      ShowBitmap(ExchangeBase() + QStringLiteral(".BMP"));
    } catch (const std::exception& error) {
      return GiveUp(QString::fromUtf8(error.what()));
    }
  }
  RunPendingRequest();
}

void TNetworkClient::SockError(QAbstractSocket::SocketError error, const QString& text) {
  // Once the request is out, a failure of the connection ends it like a close: whatever the
  // server wrote is shown, and a missing picture is reported by the close.
  if (connected_) {
    if (sock_.state() == QAbstractSocket::UnconnectedState) SockSessionClosed();
    return;
  }
  static_cast<void>(error);
  GiveUp(text);
}

void TNetworkClient::TimeoutExpired() {
  if (!open_) return;
  GiveUp(QStringLiteral("The render server did not answer within %1 seconds")
             .arg(QString::number(timeoutMs_ / 1000.0)));
}

void TNetworkClient::EndRequest() {
  open_ = false;
  connected_ = false;
  timeout_.stop();
  ++generation_;
}

void TNetworkClient::GiveUp(const QString& cause) {
  EndRequest();
  pending_ = false;
  afterMessageBoxes_.stop();
  if (sock_.state() != QAbstractSocket::UnconnectedState) sock_.abort();
  // Switched off meanwhile, network mode has nothing left to give up.
  if (!networkMode_.isChecked()) return;
  networkMode_.setChecked(false);
  // The local picture is there before the message, and every redraw while it is shown is local.
  drawLocally_();
  prompts_.ShowMessage(cause +
                       QStringLiteral(". The 3D view is now drawn locally; tick \"Use Network\" to "
                                      "use the render server again."));
}

void TNetworkClient::RunPendingRequest() {
  if (!pending_) return;
  pending_ = false;
  if (!networkMode_.isChecked()) return;
  Request();
}

void TNetworkClient::ShowBitmap(const QString& path) {
  if (Display == nullptr) return;
  const QImage picture = ReadServerPicture(path);
  // A render worker may still be drawing on the view.
  finishRendering_();
  QImageCanvas& canvas = Display->MainView->Canvas();
  canvas.Lock();
  PlaceServerPicture(picture, canvas.Image());
  canvas.Unlock();
  Display->MainView->update();
}

}  // namespace morv
