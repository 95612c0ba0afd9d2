// The name edit: every change renames the model and retitles the 3D display.
#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

#include "application_fixture.h"
#include "engine/model_file.h"
#include "platform/text_file.h"
#include "ui/password_dialog.h"

namespace morv::test {
namespace {

using NameEditTest = ApplicationTest;

TEST_F(NameEditTest, EveryKeystrokeRetitlesTheDisplay) {
  Start();
  Form1->show();
  Form1->Edit1->setFocus();
  Form1->Edit1->end(false);
  const QString typed = QStringLiteral("Ab1");
  QString expected = QStringLiteral("MyObject");
  for (const QChar c : typed) {
    QTest::keyClicks(Form1->Edit1, QString(c));
    expected += c;
    EXPECT_EQ(CurrentModel.Name, expected.toStdString());
    EXPECT_EQ(DisplayCaption(), "3D Display - " + expected);
  }
  QTest::keyClick(Form1->Edit1, Qt::Key_Backspace);
  EXPECT_EQ(DisplayCaption(), "3D Display - MyObjectAb");
}

TEST_F(NameEditTest, ClearingTheNameLeavesTheBareCaption) {
  Start();
  QTest::keyClick(Form1->Edit1, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(Form1->Edit1, Qt::Key_Delete);
  EXPECT_EQ(CurrentModel.Name, "");
  EXPECT_EQ(DisplayCaption(), "3D Display - ");
}

TEST_F(NameEditTest, LatinLettersReachTheModelAsFileCharacters) {
  Start();
  Form1->Edit1->setText(QStringLiteral("Würfel"));
  EXPECT_EQ(CurrentModel.Name, "W\xFCrfel");
  EXPECT_EQ(DisplayCaption(), QStringLiteral("3D Display - Würfel"));
}

TEST_F(NameEditTest, LineBreaksAndNulNeverReachTheName) {
  Start();
  Form1->Edit1->selectAll();
  QGuiApplication::clipboard()->setText(QStringLiteral("Two\r\nlines\nand") + QChar(0) + "nul");
  QTest::keyClick(Form1->Edit1, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Form1->Edit1->text(), "Twolinesandnul");
  EXPECT_EQ(CurrentModel.Name, "Twolinesandnul");
  EXPECT_EQ(DisplayCaption(), "3D Display - Twolinesandnul");

  Form1->Edit1->setText(QStringLiteral("Set\rby the program"));
  EXPECT_EQ(CurrentModel.Name, "Setby the program");
}

TEST_F(NameEditTest, ALockedModelKeepsItsNameUntilItsPasswordIsGiven) {
  prompts.yesNoAnswers = {Answer::Yes};
  Start(DataFile("vault.MVD"));
  Form1->show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
  ASSERT_FALSE(Form1->EditAllowed());
  EXPECT_TRUE(Form1->Edit1->isReadOnly());
  Form1->Edit1->setFocus();
  Form1->Edit1->end(false);
  QTest::keyClicks(Form1->Edit1, "Safe");
  QTest::keyClick(Form1->Edit1, Qt::Key_Backspace);
  QGuiApplication::clipboard()->setText(QStringLiteral("Pasted"));
  QTest::keyClick(Form1->Edit1, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Form1->Edit1->text(), "Vault");
  EXPECT_EQ(CurrentModel.Name, "Vault");
  EXPECT_EQ(DisplayCaption(), "3D Display - Vault");
  EXPECT_FALSE(Form1->History->CanUndo());

  // The model's own password opens the field with the rest of the editing.
  TMorvObject vault;
  LoadModel(ReadTextLines(DataFile("vault.MVD")), vault);
  prompts.dialogActions.push_back([&vault](QDialog& dialog) {
    auto& prompt = dynamic_cast<Tpassword&>(dialog);
    prompt.Edit1->setText(QString::fromLatin1(vault.Password.c_str()));
    prompt.BitBtn1->click();
    return prompt.result();
  });
  Form1->BitBtn5->click();
  ASSERT_TRUE(Form1->EditAllowed());
  EXPECT_FALSE(Form1->Edit1->isReadOnly());
  Form1->Edit1->setFocus();
  Form1->Edit1->end(false);
  QTest::keyClicks(Form1->Edit1, "Safe");
  EXPECT_EQ(CurrentModel.Name, "VaultSafe");
  EXPECT_EQ(DisplayCaption(), "3D Display - VaultSafe");
}

}  // namespace
}  // namespace morv::test
