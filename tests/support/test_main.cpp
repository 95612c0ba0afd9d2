// Runs the tests inside a headless Qt application, which widgets, fonts and images need.
#include <gtest/gtest.h>
#include <QApplication>
#include <QTemporaryDir>

#include "platform/fonts.h"
#include "platform/runtime_folder.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  morv::ProvideRuntimeFolder();
  // Recovery files of the programs under test never reach the user's own state folder, nor
  // those of another test.
  const QTemporaryDir state;
  qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
  QApplication app(argc, argv);
  morv::InstallFontSubstitutions();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
