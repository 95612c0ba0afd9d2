// The command line of morv-render-server.
#include "app/render_server_options.h"

namespace morv {

namespace {

QString Value(const QStringList& args, qsizetype& i) {
  const QString option = args[i];
  if (++i >= args.size()) throw ServerUsageError(option.toStdString() + " needs a value");
  return args[i];
}

}  // namespace

TServerOptions ParseServerOptions(const QStringList& args) {
  TServerOptions options;
  bool shareGiven = false;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& option = args[i];
    if (option == QLatin1String("--help")) {
      options.Help = true;
    } else if (option == QLatin1String("--version")) {
      options.Version = true;
    } else if (option == QLatin1String("--share")) {
      if (shareGiven) throw ServerUsageError("--share is given twice");
      options.Share = Value(args, i);
      shareGiven = true;
    } else if (option == QLatin1String("--port")) {
      const QString text = Value(args, i);
      bool ok = false;
      const uint port = text.toUInt(&ok);
      if (!ok || port > 65535) {
        throw ServerUsageError("'" + text.toStdString() + "' is not a port number (0..65535)");
      }
      options.Port = static_cast<quint16>(port);
    } else if (option == QLatin1String("--address")) {
      const QString text = Value(args, i);
      if (!options.Address.setAddress(text)) {
        throw ServerUsageError("'" + text.toStdString() + "' is not an IP address");
      }
    } else {
      throw ServerUsageError("unknown option " + option.toStdString());
    }
  }
  if (!options.Help && !options.Version && (!shareGiven || options.Share.isEmpty())) {
    throw ServerUsageError("--share DIR is required");
  }
  return options;
}

}  // namespace morv
