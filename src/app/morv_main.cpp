// morv: the modeller; starts the application with the model file named on the command line.
#include <QApplication>
#include <csignal>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/morv_command_line.h"
#include "app/stop_signals.h"
#include "app/version.h"

#include "input/sdl_joystick_service.h"
#include "platform/fonts.h"
#include "platform/runtime_folder.h"
#include "platform/window_platform.h"
#include "ui/main_window.h"
#include "ui/morv_application.h"
#include "widgets/qt_prompts.h"

int main(int argc, char** argv) {
  switch (morv::EarlyRequest(std::vector<std::string>(argv + 1, argv + argc))) {
    case morv::TEarlyRequest::Help:
      std::cout << morv::MorvUsage;
      return 0;
    case morv::TEarlyRequest::Version:
      std::cout << "morv " << morv::MorvVersion << "\n";
      return 0;
    case morv::TEarlyRequest::Start:
      break;
  }

  morv::ProvideRuntimeFolder();
  morv::ChooseWindowPlatform();
  QApplication application(argc, argv);
  // Qt has taken its own options out of argv, so what is left is the user's.
  QString commandLineFile;
  try {
    commandLineFile = morv::ModelFileArgument(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const morv::MorvUsageError& error) {
    std::cerr << "morv: " << error.what() << "\n" << morv::MorvUsage;
    return 2;
  }
  // The name only: a display name would be appended to every window's caption.
  QApplication::setApplicationName(QStringLiteral("Morv! 5"));
  morv::InstallFontSubstitutions();

  // A logout, a shutdown or "systemctl stop" ends the program with SIGTERM, a terminal that goes
  // with SIGHUP, and nobody is there to answer a question: the changes not saved are kept for the
  // next start to offer, and the program ends at once, also from inside a message box.
  bool stopped = false;
  std::unique_ptr<morv::TStopSignals> stopSignals;
  try {
    stopSignals = std::make_unique<morv::TStopSignals>(
        std::initializer_list<int>{SIGTERM, SIGHUP}, [&stopped] {
          stopped = true;
          if (morv::Form1 != nullptr) {
            morv::Form1->Recovery->KeepForNextStart();
          }
          QCoreApplication::exit(0);
        });
  } catch (const std::exception& error) {
    // The program still runs; those signals end it as they did before.
    std::cerr << "morv: " << error.what() << "\n";
  }

  morv::QtPrompts prompts;
  // Outlives the windows, whose joystick component releases its capture as it goes.
  morv::SdlJoystickService joystick;
  morv::TMorvApplication morv(prompts, joystick, commandLineFile);
  // A stop during the start's question ended that question's loop; the main loop would not see it.
  if (morv.QuitRequested() || stopped) return 0;

  morv::TForm1& mainWindow = morv.MainWindow();
  // The display has no close button and stays open: the program ends with the main window.
  QObject::connect(&mainWindow, &morv::TForm1::Closed, &application, &QApplication::quit,
                   Qt::QueuedConnection);
  mainWindow.show();
  // The main window is the active one at start, as its activation places its companions.
  mainWindow.activateWindow();
  return QApplication::exec();
}
