// morv: the modeller; starts the application with the model file named on the command line.
#include <QApplication>

#include "input/sdl_joystick_service.h"
#include "platform/fonts.h"
#include "platform/qt_prompts.h"
#include "ui/main_window.h"
#include "ui/morv_application.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // The name only: a display name would be appended to every window's caption.
  QApplication::setApplicationName(QStringLiteral("Morv! 5"));
  morv::InstallFontSubstitutions();

  morv::QtPrompts prompts;
  // Outlives the windows, whose joystick component releases its capture as it goes.
  morv::SdlJoystickService joystick;
  // Qt has taken its own options out of argv, so argv[1] is the user's first argument.
  const QString commandLineFile = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
  morv::TMorvApplication morv(prompts, joystick, commandLineFile);
  if (morv.QuitRequested()) return 0;

  morv::TForm1& mainWindow = morv.MainWindow();
  // The display has no close button and stays open: the program ends with the main window.
  QObject::connect(&mainWindow, &morv::TForm1::Closed, &application, &QApplication::quit,
                   Qt::QueuedConnection);
  mainWindow.show();
  // The main window is the active one at start, as its activation places its companions.
  mainWindow.activateWindow();
  return QApplication::exec();
}
