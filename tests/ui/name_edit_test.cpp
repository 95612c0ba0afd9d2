// The name edit: every change renames the model and retitles the 3D display.
#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

#include "application_fixture.h"

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

TEST_F(NameEditTest, ALockedModelCanStillBeRenamed) {
  prompts.yesNoAnswers = {Answer::Yes};
  Start(DataFile("vault.MVD"));
  ASSERT_FALSE(Form1->EditAllowed);
  Form1->Edit1->setText("Safe");
  EXPECT_EQ(CurrentModel.Name, "Safe");
  EXPECT_EQ(DisplayCaption(), "3D Display - Safe");
}

}  // namespace
}  // namespace morv::test
