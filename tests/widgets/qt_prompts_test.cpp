// The real dialogs behind the prompts: their settings, the overwrite question and the Yes/No box.
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>

#include "support/modal_script.h"
#include "support/test_files.h"
#include "widgets/qt_prompts.h"

namespace morv {
namespace {

using test::ModalScript;
using test::ReadBytes;
using test::ScratchDir;
using test::WriteBytes;

FileDialogOptions ModelDialog(bool save) {
  FileDialogOptions options;
  options.title = save ? QStringLiteral("Save MVD") : QStringLiteral("Open MVD");
  options.filter = QStringLiteral("Morv! Object Data (MVD4) (*.MVD *.mvd)");
  options.defaultSuffix = QStringLiteral("MVD");
  options.mustExist = !save;
  options.confirmOverwrite = save;
  return options;
}

// Types a name into the file dialog and presses its accept button.
ModalScript::Step Choose(const QString& path) {
  return [path](QWidget& window) {
    auto* dialog = qobject_cast<QFileDialog*>(&window);
    ASSERT_NE(dialog, nullptr) << window.windowTitle().toStdString();
    // Typed, as a user would: a selection made in code waits for the folder's listing, which
    // the dialog loads in the background.
    dialog->selectFile(path);
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    name->setText(path);
    auto* buttons = dialog->findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    for (QAbstractButton* button : buttons->buttons()) {
      if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole) button->click();
    }
  };
}

ModalScript::Step Cancel() {
  return [](QWidget& window) {
    auto* dialog = qobject_cast<QDialog*>(&window);
    ASSERT_NE(dialog, nullptr);
    dialog->reject();
  };
}

// Presses one button of a message box, after recording its text.
ModalScript::Step Press(QMessageBox::StandardButton which, QString* text = nullptr) {
  return [which, text](QWidget& window) {
    auto* box = qobject_cast<QMessageBox*>(&window);
    ASSERT_NE(box, nullptr) << window.windowTitle().toStdString();
    if (text != nullptr) *text = box->text();
    ASSERT_NE(box->button(which), nullptr);
    box->button(which)->click();
  };
}

TEST(FileDialogs, AreBuiltFromTheirOptions) {
  const auto save = BuildFileDialog(ModelDialog(true), FileDialogMode::Save, nullptr);
  EXPECT_EQ(save->windowTitle(), "Save MVD");
  EXPECT_EQ(save->acceptMode(), QFileDialog::AcceptSave);
  EXPECT_EQ(save->fileMode(), QFileDialog::AnyFile);
  EXPECT_EQ(save->defaultSuffix(), "MVD");
  EXPECT_EQ(save->nameFilters(), QStringList{"Morv! Object Data (MVD4) (*.MVD *.mvd)"});
  EXPECT_EQ(QDir(save->directory()).canonicalPath(), QDir::home().canonicalPath());

  const auto open = BuildFileDialog(ModelDialog(false), FileDialogMode::Open, nullptr);
  EXPECT_EQ(open->acceptMode(), QFileDialog::AcceptOpen);
  EXPECT_EQ(open->fileMode(), QFileDialog::ExistingFile);
}

class RealFileDialog : public ::testing::Test {
 protected:
  QtPrompts prompts;
  ScratchDir scratch;
};

TEST_F(RealFileDialog, SavingOverAFileAsksAboutTheNameActuallyWritten) {
  const QString existing = scratch.Path("foo.MVD");
  WriteBytes(existing, "old");
  QString question;
  ModalScript script;
  // "foo." is not the file on disk; "foo.MVD", which it becomes, is.
  script.Then(Choose(scratch.Path("foo.")));
  script.Then(Press(QMessageBox::Yes, &question));
  EXPECT_EQ(prompts.SaveFileName(ModelDialog(true)), existing);
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(question, "foo.MVD already exists.\nDo you want to replace it?");
  EXPECT_EQ(script.Seen(), (QStringList{"Save MVD", "Save MVD"}));
}

TEST_F(RealFileDialog, DecliningToReplaceGoesBackToTheDialog) {
  WriteBytes(scratch.Path("foo.MVD"), "old");
  ModalScript script;
  script.Then(Choose(scratch.Path("foo")));
  script.Then(Press(QMessageBox::No));
  script.Then(Cancel());
  EXPECT_EQ(prompts.SaveFileName(ModelDialog(true)), std::nullopt);
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(ReadBytes(scratch.Path("foo.MVD")), "old");
}

TEST_F(RealFileDialog, ANewNameOrAnOpenAsksNothing) {
  WriteBytes(scratch.Path("here.MVD"), "x");
  {
    ModalScript script;
    script.Then(Choose(scratch.Path("fresh")));
    EXPECT_EQ(prompts.SaveFileName(ModelDialog(true)), scratch.Path("fresh.MVD"));
    EXPECT_EQ(script.Seen().size(), 1);
  }
  {
    // Opening never replaces anything, whatever the options say.
    FileDialogOptions options = ModelDialog(false);
    options.confirmOverwrite = true;
    ModalScript script;
    script.Then(Choose(scratch.Path("here.MVD")));
    EXPECT_EQ(prompts.OpenFileName(options), scratch.Path("here.MVD"));
    EXPECT_EQ(script.Seen().size(), 1);
  }
}

TEST_F(RealFileDialog, ASaveWithoutTheOverwriteOptionAsksNothing) {
  WriteBytes(scratch.Path("foo.MVD"), "old");
  FileDialogOptions options = ModelDialog(true);
  options.confirmOverwrite = false;
  ModalScript script;
  script.Then(Choose(scratch.Path("foo.MVD")));
  EXPECT_EQ(prompts.SaveFileName(options), scratch.Path("foo.MVD"));
  EXPECT_EQ(script.Seen().size(), 1);
}

TEST_F(RealFileDialog, CancelGivesNothing) {
  ModalScript script;
  script.Then(Cancel());
  EXPECT_EQ(prompts.OpenFileName(ModelDialog(false)), std::nullopt);
}

class YesNoQuestion : public ::testing::Test {
 protected:
  Answer Ask(ModalScript::Step step) {
    ModalScript script;
    script.Then(std::move(step));
    const Answer answer = prompts.AskYesNoError(QStringLiteral("Go on?"));
    EXPECT_TRUE(script.Done());
    return answer;
  }

  QtPrompts prompts;
};

TEST_F(YesNoQuestion, IsAnErrorBoxWithYesAndNo) {
  QString caption;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  Ask([&](QWidget& window) {
    auto& box = dynamic_cast<QMessageBox&>(window);
    caption = box.windowTitle();
    icon = box.icon();
    buttons = box.standardButtons();
    box.button(QMessageBox::Yes)->click();
  });
  EXPECT_EQ(caption, "Error");
  EXPECT_EQ(icon, QMessageBox::Critical);
  EXPECT_EQ(buttons, QMessageBox::Yes | QMessageBox::No);
}

TEST_F(YesNoQuestion, TellsYesNoAndDismissedApart) {
  EXPECT_EQ(Ask(Press(QMessageBox::Yes)), Answer::Yes);
  EXPECT_EQ(Ask(Press(QMessageBox::No)), Answer::No);
  EXPECT_EQ(Ask([](QWidget& box) {
              QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
              QApplication::sendEvent(&box, &escape);
            }),
            Answer::Dismissed);
  EXPECT_EQ(Ask([](QWidget& box) { box.close(); }), Answer::Dismissed);
}

}  // namespace
}  // namespace morv
