// morv-render-server: renders the requests of network clients into their shared folder.
#include <QGuiApplication>
#include <QStringList>
#include <exception>
#include <iostream>
#include <memory>
#include <optional>

#include "app/render_server.h"
#include "app/render_server_options.h"
#include "app/stop_signals.h"
#include "app/version.h"
#include "platform/file_system.h"
#include "platform/fonts.h"
#include "platform/runtime_folder.h"

int main(int argc, char** argv) {
  // The command line is read before Qt starts: help, the version and usage errors need no
  // platform, and Qt's own GUI options have no business here.
  QStringList args;
  for (int i = 1; i < argc; ++i) args << morv::FileNameFromBytes(argv[i]);
  morv::TServerOptions options;
  try {
    options = morv::ParseServerOptions(args);
  } catch (const morv::ServerUsageError& error) {
    std::cerr << "morv-render-server: " << error.what() << "\n" << morv::RenderServerUsage;
    return 2;
  }
  if (options.Help) {
    std::cout << morv::RenderServerUsage;
    return 0;
  }
  if (options.Version) {
    std::cout << "morv-render-server " << morv::MorvVersion << "\n";
    return 0;
  }

  // Pictures can carry text, and text needs the fonts of a GUI application; the offscreen
  // platform gives one without a display, whatever the environment asks for.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  morv::ProvideRuntimeFolder();
  QGuiApplication app(argc, argv);
  morv::InstallFontSubstitutions();

  // Request names are joined onto the share as they come. A share given relative is made
  // absolute, so that one whose name begins with ':' is never taken for a Qt resource.
  if (!options.Share.startsWith(QLatin1Char('/'))) {
    options.Share = morv::CurrentFolder() + QLatin1Char('/') + options.Share;
  }
  const std::optional<morv::TFileFacts> share = morv::LookUpFile(options.Share);
  if (!share || share->Kind != morv::TFileKind::Folder) {
    std::cerr << "morv-render-server: " << morv::FileNameBytes(options.Share) << " is not a folder"
              << std::endl;
    return 1;
  }

  morv::TRenderServer server(options.Share, std::cout, std::cerr);
  QString error;
  if (!server.Listen(options.Address, options.Port, error)) {
    std::cerr << "morv-render-server: cannot listen on " << options.Address.toString().toStdString()
              << ":" << options.Port << ": " << error.toStdString() << std::endl;
    return 1;
  }
  std::unique_ptr<morv::TStopSignals> stopSignals;
  try {
    stopSignals = std::make_unique<morv::TStopSignals>([&server] {
      server.Stop();
      QCoreApplication::quit();
    });
  } catch (const std::exception& failure) {
    std::cerr << "morv-render-server: " << failure.what() << std::endl;
    return 1;
  }
  std::cout << "listening on " << server.Address().toString().toStdString() << ":" << server.Port()
            << std::endl;
  return app.exec();
}
