// morv-load: many network clients at once against a render server, every picture checked.
#include <QGuiApplication>
#include <QStringList>
#include <cstdio>
#include <iostream>
#include <stdexcept>

#include "platform/fonts.h"
#include "platform/runtime_folder.h"
#include "support/render_load.h"

namespace {

constexpr const char* Usage =
    "Usage: morv-load --share DIR [--address A] [--port N] [--clients N] [--requests R]\n"
    "                 [--pid PID ...] [--rss-tolerance KIB]\n"
    "  --share DIR          the folder the server shares, as seen from here\n"
    "  --address A          the server (or balancer) host, 127.0.0.1 by default\n"
    "  --port N             its port, 252 by default\n"
    "  --clients N          clients at once, each with its own file name, 16 by default\n"
    "  --requests R         requests each client sends, 100 by default\n"
    "  --pid PID            a server process on this machine whose open files and memory must\n"
    "                       not grow after the first 100 requests; may be given more than once\n"
    "  --rss-tolerance KIB  how far its memory may grow, 256 KiB by default\n"
    "Exit codes: 0 every picture right, 1 a request lost, a picture wrong or a server grew,\n"
    "2 usage error.\n";

qint64 Number(const QStringList& args, qsizetype& i, qint64 least, qint64 most) {
  if (i + 1 >= args.size()) throw std::invalid_argument(args[i].toStdString() + " needs a value");
  bool ok = false;
  const qint64 value = args[++i].toLongLong(&ok);
  if (!ok || value < least || value > most) {
    throw std::invalid_argument("'" + args[i].toStdString() + "' is not a value for " +
                                args[i - 1].toStdString());
  }
  return value;
}

morv::load::TLoadOptions ParseOptions(const QStringList& args) {
  morv::load::TLoadOptions options;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& arg = args[i];
    if (arg == QLatin1String("--share") && i + 1 < args.size()) {
      options.Share = args[++i];
    } else if (arg == QLatin1String("--address") && i + 1 < args.size()) {
      options.Host = args[++i];
    } else if (arg == QLatin1String("--port")) {
      options.Port = static_cast<quint16>(Number(args, i, 1, 65535));
    } else if (arg == QLatin1String("--clients")) {
      options.Clients = static_cast<int>(Number(args, i, 1, 1000));
    } else if (arg == QLatin1String("--requests")) {
      options.Requests = static_cast<int>(Number(args, i, 1, 1000000));
    } else if (arg == QLatin1String("--pid")) {
      options.ServerPids.push_back(Number(args, i, 1, 1LL << 40));
    } else if (arg == QLatin1String("--rss-tolerance")) {
      options.RssToleranceKiB = Number(args, i, 0, 1LL << 40);
    } else {
      throw std::invalid_argument("unknown option or missing value: " + arg.toStdString());
    }
  }
  if (options.Share.isEmpty()) throw std::invalid_argument("--share DIR is required");
  return options;
}

void Report(const morv::load::TLoadOptions& options, const morv::load::TLoadResult& result) {
  std::printf("%d clients x %d requests against %s:%u\n", options.Clients, options.Requests,
              options.Host.toLocal8Bit().constData(), options.Port);
  std::printf("%d sent, %d served, %d lost, %d mismatched in %.2f s\n", result.Sent, result.Served,
              result.Lost, result.Mismatched, result.Seconds);
  std::printf("%.1f requests/s, latency p50 %.1f ms, p99 %.1f ms\n", result.RequestsPerSecond,
              result.P50Ms, result.P99Ms);
  for (const morv::load::TServerCheck& server : result.Servers) {
    if (!server.AfterWarmUp || !server.AtEnd) continue;
    std::printf(
        "server %lld: %d open files, %lld KiB after %d requests; %d open files, %lld KiB "
        "(%+lld KiB) after %d\n",
        static_cast<long long>(server.Pid), server.AfterWarmUp->OpenFiles,
        static_cast<long long>(server.AfterWarmUp->RssKiB), result.WarmUpRequests,
        server.AtEnd->OpenFiles, static_cast<long long>(server.AtEnd->RssKiB),
        static_cast<long long>(server.AtEnd->RssKiB - server.AfterWarmUp->RssKiB), result.Sent);
  }
  std::fflush(stdout);
  for (const std::string& failure : result.Failures) std::cerr << "FAILED: " << failure << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  // The pictures are checked against local renders, which need the fonts of a GUI application.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  morv::ProvideRuntimeFolder();
  QGuiApplication app(argc, argv);
  morv::InstallFontSubstitutions();
  const QStringList args = QCoreApplication::arguments().mid(1);
  if (args.contains(QStringLiteral("--help"))) {
    std::cout << Usage;
    return 0;
  }
  morv::load::TLoadOptions options;
  try {
    options = ParseOptions(args);
  } catch (const std::invalid_argument& error) {
    std::cerr << "morv-load: " << error.what() << "\n" << Usage;
    return 2;
  }
  const morv::load::TLoadResult result = morv::load::RunLoad(options);
  Report(options, result);
  return result.Passed() ? 0 : 1;
}
