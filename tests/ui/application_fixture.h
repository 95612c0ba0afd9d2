// A fresh program start per test: scripted prompts, the application and the model fixtures.
#pragma once

#include <gtest/gtest.h>
#include <QDir>
#include <QFileInfo>
#include <memory>

#include "engine/model.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"
#include "ui/display_window.h"
#include "ui/main_window.h"
#include "ui/morv_application.h"

namespace morv::test {

// A model file of tests/data. The folder comes from the test runner, or lies beside this file
// when the tests run on their own.
inline QString DataFile(const QString& name) {
  QString folder = qEnvironmentVariable("MORV_TEST_DATA");
  if (folder.isEmpty()) {
    folder = QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../data"));
  }
  return QDir(folder).filePath(name);
}

class ApplicationTest : public ::testing::Test {
 protected:
  void Start(const QString& commandLineFile = QString()) {
    application = std::make_unique<TMorvApplication>(prompts, commandLineFile);
  }

  void TearDown() override { application.reset(); }

  QString DisplayCaption() const { return Display->windowTitle(); }

  ScriptedPrompts prompts;
  std::unique_ptr<TMorvApplication> application;
};

}  // namespace morv::test
