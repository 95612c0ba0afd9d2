// A load run against a render server: many network clients at once, every picture checked.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "support/process_footprint.h"

namespace morv::load {

struct TLoadOptions {
  QString Host = QStringLiteral("127.0.0.1");
  quint16 Port = 252;
  // The folder the server shares, as the clients see it.
  QString Share;
  int Clients = 16;
  int Requests = 100;
  // Servers whose open files and memory are compared before and after the bulk of the run.
  std::vector<qint64> ServerPids;
  // How far a server's resident memory may grow after the first requests.
  qint64 RssToleranceKiB = 256;
};

// What one server looked like after the first requests (or all of them, when there are fewer)
// and at the end.
struct TServerCheck {
  qint64 Pid = 0;
  std::optional<TProcessFootprint> AfterWarmUp;
  std::optional<TProcessFootprint> AtEnd;
};

struct TLoadResult {
  int Sent = 0;
  int Served = 0;  // answered with the picture a local render gives
  int Lost = 0;    // no close within the client's time, or no picture after it
  int Mismatched = 0;
  int WarmUpRequests = 0;
  double Seconds = 0;
  double RequestsPerSecond = 0;
  double P50Ms = 0;
  double P99Ms = 0;
  std::vector<TServerCheck> Servers;
  // One line for each failure; lost and mismatched requests are listed up to a few of each.
  std::vector<std::string> Failures;

  bool Passed() const { return Failures.empty(); }
};

// How many requests, across all clients, run before the servers' footprints are first taken: by
// then the server has met every kind of request and grown what it keeps.
inline constexpr int WarmUpRequests = 100;

// Runs the clients, client i under the base name Lii (L00, L01, ...: no name is the start of
// another, so the server never waits for a name to grow), each request as the network client
// sends it: NAME.MED and NAME.MVD written into the share, NAME.BMP removed, a connection, the mark
// and the name, and the picture read once the server has closed the connection. Angles vary from
// request to request and client to client. Latency runs from the request written to the close.
// The run fails when a request is lost or its picture differs from the local render of its scene
// (RenderScene written by SaveBitmap24, as the server writes it), or when a server holds more open
// files at the end than after the warm-up or its memory grew beyond the tolerance.
TLoadResult RunLoad(const TLoadOptions& options);

}  // namespace morv::load
