// A load run against a render server: many network clients at once, every picture checked.
#include "support/render_load.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <memory>

#include "engine/errors.h"
#include "engine/model_file.h"
#include "engine/render_request.h"
#include "engine/scene_file.h"
#include "platform/headless_render.h"
#include "platform/qimage_canvas.h"
#include "platform/text_file.h"
#include "support/sample_models.h"

namespace morv::load {

namespace {

// The network client gives up on a request that is not closed within this time.
constexpr int ClientTimeoutMs = 10000;
// Scenes repeat after this many requests; a prime, so that clients sending their n-th requests at
// the same time ask for different pictures, and one client's next picture always differs.
constexpr int DistinctScenes = 61;
// Failures listed of each kind; the counts say how many there were.
constexpr int ListedFailures = 5;

// Which of the distinct scenes a client's request asks for.
int SceneIndex(int client, int request) { return (client * 7 + request) % DistinctScenes; }

TSceneSettings Scene(int k) {
  TSceneSettings scene;
  scene.AngleX = k * 37 % 360;
  scene.AngleY = (k * 53 + 20) % 360;
  scene.AngleZ = k * 11 % 360;
  return scene;
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The picture the server must write for a scene: rendered here and saved by the same writer.
QByteArray LocalPicture(const TSceneSettings& scene, const TMorvObject& model,
                        const QString& scratch) {
  const QString path = QDir(scratch).filePath(QStringLiteral("local.BMP"));
  SaveBitmap24(RenderScene(scene, model).Image, path);
  return ReadAll(path);
}

struct TClientTally {
  int Sent = 0;
  int Served = 0;
  int Lost = 0;
  int Mismatched = 0;
  std::vector<double> LatenciesMs;
  std::vector<std::string> Failures;
};

// One network client with its own base name on the share.
class TClient {
 public:
  TClient(const TLoadOptions& options, int index, int nameWidth, const TextLines& model,
          const std::vector<QByteArray>& expected)
      : options_(options),
        index_(index),
        name_(QStringLiteral("L") + QStringLiteral("%1").arg(index, nameWidth, 10, QChar('0'))),
        base_(QDir(options.Share).filePath(name_)),
        model_(model),
        expected_(expected) {}

  TClientTally& Tally() { return tally_; }
  bool Finished() const { return tally_.Sent == options_.Requests; }

  void Send() {
    const int request = tally_.Sent++;
    const int sceneIndex = SceneIndex(index_, request);
    const TSceneSettings scene = Scene(sceneIndex);
    const QString bitmap = base_ + QStringLiteral(".BMP");
    try {
      WriteTextLines(base_ + QStringLiteral(".MED"), SceneLines(scene));
      WriteTextLines(base_ + QStringLiteral(".MVD"), model_);
      if (QFileInfo::exists(bitmap) && !QFile::remove(bitmap)) {
        throw FileError("Cannot delete file " + bitmap.toStdString());
      }
    } catch (const std::exception& error) {
      Lose(request, error.what());
      return;
    }

    QElapsedTimer clock;
    clock.start();
    QTcpSocket socket;
    socket.connectToHost(options_.Host, options_.Port);
    if (!socket.waitForConnected(ClientTimeoutMs)) {
      Lose(request, socket.errorString().toStdString());
      return;
    }
    socket.write(QByteArray(1, static_cast<char>(RequestMark)) + name_.toLatin1());
    socket.flush();
    const qint64 sentAt = clock.nsecsElapsed();
    while (socket.state() != QAbstractSocket::UnconnectedState) {
      const qint64 left = ClientTimeoutMs - clock.elapsed();
      if (left <= 0) {
        Lose(request, "the server did not close the connection within 10 s");
        return;
      }
      // Anything the server sends is read and dropped, as the modeller does.
      socket.waitForReadyRead(static_cast<int>(left));
      socket.readAll();
    }
    tally_.LatenciesMs.push_back(static_cast<double>(clock.nsecsElapsed() - sentAt) / 1e6);

    const QByteArray picture = ReadAll(bitmap);
    if (picture.isEmpty()) {
      Lose(request, "no picture after the server closed the connection");
    } else if (picture != expected_[static_cast<std::size_t>(sceneIndex)]) {
      if (++tally_.Mismatched <= ListedFailures) {
        tally_.Failures.push_back(Label(request) + ": the picture differs from the local render");
      }
    } else {
      ++tally_.Served;
    }
  }

 private:
  std::string Label(int request) const {
    return name_.toStdString() + " request " + std::to_string(request + 1);
  }

  void Lose(int request, const std::string& why) {
    if (++tally_.Lost <= ListedFailures) tally_.Failures.push_back(Label(request) + ": " + why);
  }

  const TLoadOptions& options_;
  const int index_;
  const QString name_;
  const QString base_;
  const TextLines& model_;
  const std::vector<QByteArray>& expected_;
  TClientTally tally_;
};

// Runs every client on its own thread until `more` says stop; the time it took.
template <typename More>
double RunClients(std::vector<std::unique_ptr<TClient>>& clients, More more) {
  QElapsedTimer clock;
  clock.start();
  std::vector<std::unique_ptr<QThread>> threads;
  for (auto& client : clients) {
    threads.emplace_back(QThread::create([&client, &more] {
      while (!client->Finished() && more()) client->Send();
    }));
    threads.back()->start();
  }
  for (auto& thread : threads) thread->wait();
  return static_cast<double>(clock.nsecsElapsed()) / 1e9;
}

double Percentile(const std::vector<double>& sorted, double p) {
  if (sorted.empty()) return 0;
  const auto rank = static_cast<std::size_t>(std::ceil(p * static_cast<double>(sorted.size())));
  return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}

void TakeFootprints(std::vector<TServerCheck>& servers, bool atEnd) {
  for (TServerCheck& server : servers) {
    (atEnd ? server.AtEnd : server.AfterWarmUp) = SettledFootprint(server.Pid);
  }
}

void CheckServers(const TLoadOptions& options, TLoadResult& result) {
  for (const TServerCheck& server : result.Servers) {
    const std::string who = "server " + std::to_string(server.Pid);
    if (!server.AfterWarmUp || !server.AtEnd) {
      result.Failures.push_back(who + ": /proc/" + std::to_string(server.Pid) +
                                " cannot be read (is the server running?)");
      continue;
    }
    if (server.AtEnd->OpenFiles != server.AfterWarmUp->OpenFiles) {
      result.Failures.push_back(who + " held " + std::to_string(server.AfterWarmUp->OpenFiles) +
                                " open files after the warm-up and " +
                                std::to_string(server.AtEnd->OpenFiles) + " at the end");
    }
    const qint64 growth = server.AtEnd->RssKiB - server.AfterWarmUp->RssKiB;
    if (growth > options.RssToleranceKiB) {
      result.Failures.push_back(who + "'s resident memory grew by " + std::to_string(growth) +
                                " KiB after the warm-up, more than the " +
                                std::to_string(options.RssToleranceKiB) + " KiB allowed");
    }
  }
}

}  // namespace

TLoadResult RunLoad(const TLoadOptions& options) {
  TextLines modelLines;
  SaveModel(bench::TorusModel(20, 10, 100, 45), modelLines);
  // The server renders the model as it reads it back from the file, and so does the check.
  auto model = std::make_unique<TMorvObject>();
  LoadModel(modelLines, *model);
  QTemporaryDir scratch;
  std::vector<QByteArray> expected;
  for (int k = 0; k < DistinctScenes; ++k) {
    expected.push_back(LocalPicture(Scene(k), *model, scratch.path()));
  }

  const int nameWidth = static_cast<int>(QString::number(std::max(options.Clients - 1, 10)).size());
  std::vector<std::unique_ptr<TClient>> clients;
  for (int i = 0; i < options.Clients; ++i) {
    clients.push_back(std::make_unique<TClient>(options, i, nameWidth, modelLines, expected));
  }
  TLoadResult result;
  for (const qint64 pid : options.ServerPids) result.Servers.push_back({pid, {}, {}});

  // The warm-up hands out its requests one at a time to whichever client is free, and all
  // clients stop when they are gone, so the servers are idle when their footprints are taken.
  std::atomic<int> warmUpTickets = WarmUpRequests;
  result.Seconds = RunClients(clients, [&warmUpTickets] { return warmUpTickets-- > 0; });
  TakeFootprints(result.Servers, false);
  result.Seconds += RunClients(clients, [] { return true; });
  TakeFootprints(result.Servers, true);

  std::vector<double> latencies;
  for (const auto& client : clients) {
    const TClientTally& tally = client->Tally();
    result.Sent += tally.Sent;
    result.Served += tally.Served;
    result.Lost += tally.Lost;
    result.Mismatched += tally.Mismatched;
    latencies.insert(latencies.end(), tally.LatenciesMs.begin(), tally.LatenciesMs.end());
    result.Failures.insert(result.Failures.end(), tally.Failures.begin(), tally.Failures.end());
  }
  result.WarmUpRequests = std::min(WarmUpRequests, result.Sent);
  std::sort(latencies.begin(), latencies.end());
  result.P50Ms = Percentile(latencies, 0.50);
  result.P99Ms = Percentile(latencies, 0.99);
  result.RequestsPerSecond = result.Seconds > 0 ? result.Sent / result.Seconds : 0;
  if (result.Lost > 0) result.Failures.push_back(std::to_string(result.Lost) + " requests lost");
  if (result.Mismatched > 0) {
    result.Failures.push_back(std::to_string(result.Mismatched) + " pictures differ");
  }
  CheckServers(options, result);
  return result;
}

}  // namespace morv::load
