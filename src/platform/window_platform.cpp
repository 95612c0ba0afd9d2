// The windowing platform the modeller opens its windows on.
#include "platform/window_platform.h"

namespace morv {

QString WindowPlatform(const QProcessEnvironment& environment) {
  const auto given = [&environment](const char* name) {
    return !environment.value(QLatin1String(name)).isEmpty();
  };
  if (given("QT_QPA_PLATFORM")) return {};
  const bool wayland =
      given("WAYLAND_DISPLAY") ||
      environment.value(QStringLiteral("XDG_SESSION_TYPE")) == QLatin1String("wayland");
  return wayland && given("DISPLAY") ? QStringLiteral("xcb") : QString();
}

void ChooseWindowPlatform() {
  const QString platform = WindowPlatform(QProcessEnvironment::systemEnvironment());
  if (!platform.isEmpty()) qputenv("QT_QPA_PLATFORM", platform.toLocal8Bit());
}

}  // namespace morv
