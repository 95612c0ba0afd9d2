// The command line of morv-render-server.
#pragma once

#include <QHostAddress>
#include <QString>
#include <QStringList>
#include <stdexcept>

namespace morv {

inline constexpr const char* RenderServerUsage =
    "Usage: morv-render-server --share DIR [--port N] [--address A]\n"
    "       morv-render-server --help | --version\n"
    "  --share DIR    the folder shared with the clients, where requests' files are read and\n"
    "                 their bitmaps written\n"
    "  --port N       the TCP port to listen on, 252 by default; 0 picks a free one\n"
    "  --address A    the address to listen on, 127.0.0.1 by default\n"
    "  --help         print this help and exit\n"
    "  --version      print the version and exit\n"
    "Exit codes: 0 stopped by SIGTERM or SIGINT, 1 the share is not a folder or the address\n"
    "cannot be bound, 2 usage error.\n";

// A command line the server cannot run with: reported with the usage text and exit code 2.
class ServerUsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TServerOptions {
  QString Share;
  quint16 Port = 252;
  QHostAddress Address{QHostAddress::LocalHost};
  bool Help = false;
  bool Version = false;
};

// `args` without the program's name. Throws ServerUsageError for a missing or repeated share,
// an unknown option, a port outside 0..65535 or an address that does not parse.
TServerOptions ParseServerOptions(const QStringList& args);

}  // namespace morv
