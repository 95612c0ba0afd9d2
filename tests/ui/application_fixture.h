// A fresh program start per test: scripted prompts, the application and the model fixtures.
#pragma once

#include <gtest/gtest.h>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <initializer_list>
#include <memory>

#include "engine/model.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"
#include "ui/display_window.h"
#include "ui/main_window.h"
#include "ui/morv_application.h"

namespace morv::test {

// A model file of tests/data.
inline QString DataFile(const QString& name) { return TestDataPath(name); }

// Appends a control vertex or a joint to the working model; returns its index.
inline int AddControl(int x, int y, int z) {
  CurrentModel.Controls[++CurrentModel.ControlCount] = {x, y, z};
  return CurrentModel.ControlCount;
}

inline int AddJoint(TControlVertex at, std::initializer_list<int32_t> refs) {
  TJoint& joint = CurrentModel.Joints[++CurrentModel.JointCount];
  joint.Position = at;
  for (const int32_t r : refs) joint.ControlRefs[++joint.RefCount] = r;
  return CurrentModel.JointCount;
}

// The controls of `names` in the order the Tab key visits them, starting at the first.
inline QStringList TabOrder(const QWidget* window, const QStringList& names) {
  QStringList order;
  QWidget* widget = window->findChild<QWidget*>(names.value(0));
  for (int i = 0; widget != nullptr && i < 500 && order.size() < names.size(); ++i) {
    if (widget->focusPolicy() & Qt::TabFocus && names.contains(widget->objectName()) &&
        !order.contains(widget->objectName())) {
      order.push_back(widget->objectName());
    }
    widget = widget->nextInFocusChain();
  }
  return order;
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
