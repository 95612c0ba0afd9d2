// One network redraw end to end against morv-render-server on loopback: the files written, the
// request, the server's render and bitmap, and the bitmap shown in the 3D view.
#include <benchmark/benchmark.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>

#include "engine/model_file.h"
#include "engine/scene_file.h"
#include "no_joystick.h"
#include "platform/text_file.h"
#include "silent_prompts.h"
#include "support/sample_models.h"
#include "ui/display_window.h"
#include "ui/main_window.h"
#include "ui/morv_application.h"
#include "ui/network_client.h"
#include "ui/network_dialog.h"

namespace morv::bench {
namespace {

// The server as its own process, as on a render machine; its port once it listens.
quint16 StartServer(QProcess& server, const QString& share) {
  server.start(QStringLiteral(MORV_RENDER_SERVER_PATH),
               {QStringLiteral("--share"), share, QStringLiteral("--port"), QStringLiteral("0")});
  QByteArray out;
  QElapsedTimer clock;
  clock.start();
  while (!out.contains('\n') && clock.elapsed() < 10000) {
    server.waitForReadyRead(100);
    out += server.readAllStandardOutput();
  }
  return static_cast<quint16>(out.mid(out.lastIndexOf(':') + 1).trimmed().toUInt());
}

void ShowTorus(SilentPrompts& prompts, TMorvApplication*& application) {
  application = new TMorvApplication(prompts, NoJoystick(), QString());
  CurrentModel = TorusModel(40, 25, 100, 45);
  Form1->show();
  QApplication::processEvents();
  Display->xV->setValue(30);
  Display->yV->setValue(20);
}

void BM_NetworkRoundTripTorus1000(benchmark::State& state) {
  QTemporaryDir share;
  QProcess server;
  const quint16 port = StartServer(server, share.path());
  if (port == 0) {
    state.SkipWithError("morv-render-server did not start");
    return;
  }
  qputenv("MORV_RENDER_PORT", QByteArray::number(port));
  SilentPrompts prompts;
  TMorvApplication* application = nullptr;
  ShowTorus(prompts, application);
  network->Edit1->setText(QStringLiteral("127.0.0.1"));
  network->Edit2->setText(share.path() + QLatin1Char('/'));
  Form1->NetworkRendering->setChecked(true);
  for (auto _ : state) {
    Form1->DrawTheThing();
    while (Form1->NetworkClient->RequestOpen()) {
      QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
  }
  delete application;
  server.kill();
  server.waitForFinished();
  qunsetenv("MORV_RENDER_PORT");
}
BENCHMARK(BM_NetworkRoundTripTorus1000)->Unit(benchmark::kMillisecond)->UseRealTime();

// What the round trip is measured against: the local render of the same view, and writing the
// two files the request carries.
void BM_LocalRenderAndFileWritesTorus1000(benchmark::State& state) {
  QTemporaryDir share;
  SilentPrompts prompts;
  TMorvApplication* application = nullptr;
  ShowTorus(prompts, application);
  for (auto _ : state) {
    Form1->DrawTheThing();
    Form1->FinishRendering();
    TSceneSettings scene;
    scene.AngleX = 30;
    scene.AngleY = 20;
    WriteTextLines(share.filePath(QStringLiteral("T.MED")), SceneLines(scene));
    TextLines lines;
    SaveModel(CurrentModel, lines);
    WriteTextLines(share.filePath(QStringLiteral("T.MVD")), lines);
  }
  delete application;
}
BENCHMARK(BM_LocalRenderAndFileWritesTorus1000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace morv::bench
