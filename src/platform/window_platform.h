// The windowing platform the modeller opens its windows on.
#pragma once

#include <QProcessEnvironment>
#include <QString>

namespace morv {

// The Qt platform for the modeller's windows in `environment`; empty leaves Qt its own choice.
// The modeller places its windows itself (the 3D display beside the main window, the consoles
// below it), and Wayland lets no program place its windows: on a Wayland session (WAYLAND_DISPLAY
// set, or XDG_SESSION_TYPE "wayland") that also offers an X server to X programs (DISPLAY set) the
// answer is "xcb", unless QT_QPA_PLATFORM already names a platform.
QString WindowPlatform(const QProcessEnvironment& environment);

// Sets QT_QPA_PLATFORM to the WindowPlatform of this process's environment when that names one.
// Called before the application is created; a -platform on the command line still wins.
void ChooseWindowPlatform();

}  // namespace morv
