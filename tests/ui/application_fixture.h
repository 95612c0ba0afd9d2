// A fresh program start per test: scripted prompts, the application and the model fixtures.
#pragma once

#include <gtest/gtest.h>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QToolButton>
#include <functional>
#include <initializer_list>
#include <memory>

#include "engine/model.h"
#include "support/fake_joystick_service.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"
#include "ui/display_window.h"
#include "ui/main_window.h"
#include "ui/morv_application.h"

namespace morv::test {

// A model file of tests/data.
inline QString DataFile(const QString& name) { return TestDataPath(name); }

// The one message of a network redraw that failed: its cause, and that the view is drawn locally.
inline QString NetworkGiveUpMessage(const QString& cause) {
  return cause + QStringLiteral(
                     ". The 3D view is now drawn locally; tick \"Use Network\" to use the render "
                     "server again.");
}

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

// One control of a window: its name, client geometry, and caption or start text.
struct ControlSpec {
  const char* name;
  QRect geometry;
  QString text;
};

// Checks each control's geometry and text, and that glyph buttons show their picture; returns the
// names in the order given.
inline QStringList ExpectControls(const QWidget* window, std::initializer_list<ControlSpec> specs) {
  QStringList names;
  for (const ControlSpec& spec : specs) {
    const auto* widget = window->findChild<QWidget*>(QString::fromLatin1(spec.name));
    names += QString::fromLatin1(spec.name);
    if (widget == nullptr) {
      ADD_FAILURE() << "no control " << spec.name;
      continue;
    }
    EXPECT_EQ(widget->geometry(), spec.geometry) << spec.name;
    EXPECT_EQ(widget->property("text").toString(), spec.text) << spec.name;
    if (const auto* button = qobject_cast<const QToolButton*>(widget)) {
      EXPECT_FALSE(button->icon().isNull()) << spec.name;
    }
  }
  return names;
}

class ApplicationTest : public ::testing::Test {
 protected:
  void Start(const QString& commandLineFile = QString()) {
    application = std::make_unique<TMorvApplication>(prompts, joystick, commandLineFile);
  }

  void TearDown() override { application.reset(); }

  QString DisplayCaption() const { return Display->windowTitle(); }

  // The next dialog the program opens must be a `Dialog`; the action fills it and closes it.
  template <typename Dialog>
  void Script(std::function<void(Dialog&)> action) {
    prompts.dialogActions.push_back([action](QDialog& dialog) {
      auto* typed = dynamic_cast<Dialog*>(&dialog);
      EXPECT_NE(typed, nullptr) << "another dialog opened: " << dialog.objectName().toStdString();
      if (typed != nullptr) action(*typed);
      return dialog.result();
    });
  }

  ScriptedPrompts prompts;
  FakeJoystickService joystick;
  std::unique_ptr<TMorvApplication> application;
};

}  // namespace morv::test
