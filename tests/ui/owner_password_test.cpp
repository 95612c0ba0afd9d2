// Owner information, the edit password, and the gate that a locked model puts on every editing
// command.
#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

#include "application_fixture.h"
#include "ui/new_control_dialog.h"
#include "ui/owner_info_dialog.h"
#include "ui/password_dialog.h"

namespace morv::test {
namespace {

class OwnerPasswordTest : public ApplicationTest {
 protected:
  // A model loaded with its lock set: editing is blocked until its password is given.
  void StartLocked(const std::string& pass) {
    Start();
    CurrentModel.Password = pass;
    CurrentModel.Locked = true;
    Form1->SetEditAllowed(false);
  }

  // Answers the password prompt with `typed`, then OK (or Cancel).
  void AnswerPassword(const QString& typed, bool ok = true) {
    prompts.dialogActions.push_back([typed, ok](QDialog& dialog) {
      auto& prompt = dynamic_cast<Tpassword&>(dialog);
      prompt.Edit1->setText(typed);
      (ok ? prompt.BitBtn1 : prompt.Button1)->click();
      return prompt.result();
    });
  }
};

TEST_F(OwnerPasswordTest, EveryGatedCommandAsksForThePasswordAndDoesNotAct) {
  StartLocked("secret");
  Form1->show();
  const std::vector<std::function<void()>> commands{
      [] { Form1->BitBtn5->click(); },
      [] { Form1->BitBtn4->click(); },
      [] { Form1->BitBtn6->click(); },
      [] { Form1->button5->click(); },
      [] { Form1->button4->click(); },
      [] { QTest::mouseClick(Form1->DragSpace, Qt::LeftButton, {}, QPoint(100, 100)); }};
  for (const auto& command : commands) {
    AnswerPassword(QStringLiteral("wrong"), false);
    command();
    EXPECT_TRUE(prompts.AllAnswersUsed()) << "the prompt opened";
  }
  EXPECT_FALSE(Form1->PopupMenu1->isVisible());
  EXPECT_FALSE(Form1->PopupMenu2->isVisible());
  EXPECT_EQ(CurrentModel.ControlCount, 0);
  EXPECT_FALSE(Form1->EditAllowed());
  EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(OwnerPasswordTest, TheRightPasswordUnlocksButTheCommandMustBeRepeated) {
  StartLocked("Secret");
  AnswerPassword(QStringLiteral("Secret"));
  Form1->BitBtn5->click();
  EXPECT_TRUE(Form1->EditAllowed());
  EXPECT_EQ(CurrentModel.ControlCount, 0) << "the click that opened the prompt did not add";
  prompts.dialogActions.push_back([](QDialog& dialog) {
    EXPECT_EQ(&dialog, newcontrol);
    newcontrol->BitBtn1->click();
    return dialog.result();
  });
  Form1->BitBtn5->click();
  EXPECT_EQ(CurrentModel.ControlCount, 1);
}

TEST_F(OwnerPasswordTest, AWrongPasswordIsDeniedEveryTime) {
  StartLocked("Secret");
  for (const QString& attempt :
       {QStringLiteral("secret"), QStringLiteral("Secret "), QStringLiteral("")}) {
    AnswerPassword(attempt);
    Form1->BitBtn6->click();
    EXPECT_FALSE(Form1->EditAllowed()) << attempt.toStdString();
  }
  EXPECT_EQ(prompts.messages, QStringList(3, QStringLiteral("Access denied!")));
}

TEST_F(OwnerPasswordTest, AnEmptyPasswordIsOpenedWithAnEmptyEdit) {
  StartLocked("");
  AnswerPassword(QString());
  Form1->button5->click();
  EXPECT_TRUE(Form1->EditAllowed());
}

TEST_F(OwnerPasswordTest, CancelChangesNothingAndThePromptKeepsItsText) {
  StartLocked("abc");
  AnswerPassword(QStringLiteral("typed"), false);
  Form1->BitBtn4->click();
  EXPECT_FALSE(Form1->EditAllowed());
  EXPECT_TRUE(prompts.messages.isEmpty());
  EXPECT_EQ(password->Edit1->text(), "typed");
  EXPECT_EQ(password->Edit1->echoMode(), QLineEdit::Password);
}

TEST_F(OwnerPasswordTest, OwnerInformationShowsAndSetsTheModelsFields) {
  Start();
  CurrentModel.Owner = "Ann";
  CurrentModel.Password = "pw";
  prompts.dialogActions.push_back([](QDialog& dialog) {
    auto& info = dynamic_cast<Townerinfo&>(dialog);
    EXPECT_EQ(info.Edit1->text(), "Ann");
    EXPECT_EQ(info.Edit2->text(), "pw") << "shown in plain text";
    EXPECT_EQ(info.Edit2->echoMode(), QLineEdit::Normal);
    EXPECT_FALSE(info.CheckBox1->isChecked());
    info.Edit1->setText(QStringLiteral("Zoë"));
    info.Edit2->setText(QStringLiteral("new pass"));
    info.CheckBox1->setChecked(true);
    info.BitBtn1->click();
    return info.result();
  });
  Form1->SetOwnerInfo1->trigger();
  EXPECT_EQ(CurrentModel.Owner, "Zo\xEB");
  EXPECT_EQ(CurrentModel.Password, "new pass");
  EXPECT_TRUE(CurrentModel.Locked);
  EXPECT_TRUE(Form1->EditAllowed()) << "the lock takes effect when the file is loaded again";
}

TEST_F(OwnerPasswordTest, TheOwnerTakesNoLineBreaksOrNul) {
  Start();
  prompts.dialogActions.push_back([](QDialog& dialog) {
    auto& info = dynamic_cast<Townerinfo&>(dialog);
    info.Edit1->selectAll();
    QGuiApplication::clipboard()->setText(QStringLiteral("Ann\r\nBob") + QChar(0) + "!");
    QTest::keyClick(info.Edit1, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(info.Edit1->text(), "AnnBob!");
    info.BitBtn1->click();
    return info.result();
  });
  Form1->SetOwnerInfo1->trigger();
  EXPECT_EQ(CurrentModel.Owner, "AnnBob!");
}

TEST_F(OwnerPasswordTest, APasswordTheFileCannotStoreIsRefusedAndTheDialogStaysOpen) {
  Start();
  CurrentModel.Password = "old";
  prompts.dialogActions.push_back([](QDialog& dialog) {
    auto& info = dynamic_cast<Townerinfo&>(dialog);
    for (const QString& bad : {QStringLiteral("€uro"), QString(QChar(0x9D)),
                               QStringLiteral("x") + QChar(0xA1), QString(QChar(0xB0))}) {
      info.Edit2->setText(bad);
      info.BitBtn1->click();
      EXPECT_EQ(info.result(), 0) << "still open";
    }
    info.Edit2->setText(QStringLiteral("¡x"));  // the same character at an odd position is fine
    info.BitBtn1->click();
    return info.result();
  });
  Form1->SetOwnerInfo1->trigger();
  EXPECT_EQ(prompts.messages.size(), 4);
  EXPECT_EQ(CurrentModel.Password, "\xA1x");
}

TEST_F(OwnerPasswordTest, ALockSetHereAsksForThePasswordAfterSaveAndLoad) {
  Start();
  ScratchDir dir;
  prompts.dialogActions.push_back([](QDialog& dialog) {
    auto& info = dynamic_cast<Townerinfo&>(dialog);
    info.Edit1->setText(QStringLiteral("Ann"));
    info.Edit2->setText(QStringLiteral("open sesame"));
    info.CheckBox1->setChecked(true);
    info.BitBtn1->click();
    return info.result();
  });
  Form1->SetOwnerInfo1->trigger();
  prompts.fileAnswers = {dir.Path("locked.MVD"), dir.Path("locked.MVD")};
  Form1->BitBtn2->click();
  Form1->BitBtn1->click();
  EXPECT_FALSE(Form1->EditAllowed());
  EXPECT_EQ(prompts.messages.back(),
            "The owner of this object (Ann ) requires you to enter a password to edit this model.");
  AnswerPassword(QStringLiteral("open sesame"));
  Form1->BitBtn5->click();
  EXPECT_TRUE(Form1->EditAllowed());
}

TEST_F(OwnerPasswordTest, OwnerInformationCannotBeReachedWhileLocked) {
  StartLocked("x");
  Form1->SetOwnerInfo1->trigger();
  EXPECT_TRUE(prompts.AllAnswersUsed()) << "no dialog opened";
}

TEST_F(OwnerPasswordTest, AnimationAndMechanicsWarnOnlyWhileLocked) {
  const QString physicsWarning = QStringLiteral(
      "Warning! The physics used here are real-world-based and can cause your PC to crash (in an "
      "overloading way). Be particularly wary of gravity.");
  Start();
  // Each button disables the other, so the commands are run directly.
  Form1->BitBtn7Click();
  Form1->BitBtn8Click();
  EXPECT_EQ(prompts.messages, QStringList{physicsWarning});
  prompts.messages.clear();
  Form1->SetEditAllowed(false);
  Form1->BitBtn7Click();
  Form1->BitBtn8Click();
  EXPECT_EQ(prompts.messages,
            (QStringList{QStringLiteral("Animate at your peril! You will not be able to restore "
                                        "the original object since you cannot edit it."),
                         QStringLiteral("Use physics at your peril! You will not be able to "
                                        "restore the original object since you cannot edit it."),
                         physicsWarning}));
}

}  // namespace
}  // namespace morv::test
