// The render server: accepts render requests over TCP and serves them from the shared folder.
#pragma once

#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QTcpServer>
#include <QTimer>
#include <list>
#include <ostream>
#include <string>

namespace morv {

class TRenderServer : public QObject {
 public:
  // Served requests are logged on `log`, refusals and render notices on `errors`, one flushed
  // line each.
  TRenderServer(QString share, std::ostream& log, std::ostream& errors);
  ~TRenderServer() override;

  // False, with the reason in `error`, when the address cannot be bound.
  bool Listen(const QHostAddress& address, quint16 port, QString& error);
  QHostAddress Address() const { return listener_.serverAddress(); }
  quint16 Port() const { return listener_.serverPort(); }

  // Stops accepting and closes every open connection without serving it.
  void Stop();

 private:
  class Connection;

  void Accept();
  void Received(Connection& connection);
  void FellQuiet(Connection& connection);
  void DeadlinePassed(Connection& connection);
  void Dropped(Connection& connection);
  void Serve(Connection& connection, const std::string& name);
  void Refuse(Connection& connection, const std::string& label, const std::string& reason);
  void Close(Connection& connection);

  QString share_;
  std::ostream& log_;
  std::ostream& errors_;
  QTcpServer listener_;
  std::list<Connection*> open_;
  // Started when the last open connection closes.
  QTimer idle_;
};

}  // namespace morv
