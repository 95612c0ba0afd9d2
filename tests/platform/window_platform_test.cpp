// The platform the modeller's windows open on, from the session's environment.
#include "platform/window_platform.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

namespace morv {
namespace {

TEST(WindowPlatform, AWaylandSessionWithAnXServerOpensOnItUnlessAPlatformIsNamed) {
  using Variables = std::initializer_list<std::pair<const char*, const char*>>;
  const struct {
    Variables variables;
    const char* platform;
  } rows[] = {
      {{{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}}, "xcb"},
      {{{"XDG_SESSION_TYPE", "wayland"}, {"DISPLAY", ":1"}}, "xcb"},
      {{{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", ""}}, "xcb"},
      // A platform the user names is the user's choice.
      {{{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", "wayland"}}, ""},
      {{{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", "offscreen"}}, ""},
      // Wayland without an X server for X programs, or an X session: Qt's own choice.
      {{{"WAYLAND_DISPLAY", "wayland-0"}}, ""},
      {{{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ""}}, ""},
      {{{"DISPLAY", ":0"}, {"XDG_SESSION_TYPE", "x11"}}, ""},
      {{{"DISPLAY", ":0"}, {"WAYLAND_DISPLAY", ""}}, ""},
      {{}, ""},
  };
  for (const auto& row : rows) {
    QProcessEnvironment environment;
    QString shown;
    for (const auto& [name, value] : row.variables) {
      environment.insert(QLatin1String(name), QLatin1String(value));
      shown += QStringLiteral("%1=%2 ").arg(QLatin1String(name), QLatin1String(value));
    }
    EXPECT_EQ(WindowPlatform(environment), QLatin1String(row.platform)) << shown.toStdString();
  }
}

}  // namespace
}  // namespace morv
