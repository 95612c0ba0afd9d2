// The network set-up dialog, and the two network items of the main window's "Other Things" menu.
#include <QTest>

#include "application_fixture.h"
#include "ui/network_client.h"
#include "ui/network_dialog.h"

namespace morv::test {
namespace {

using NetworkDialogTest = ApplicationTest;

TEST_F(NetworkDialogTest, FieldsAndButtonSitAtTheirPlacesInTabOrder) {
  Start();
  const QStringList names =
      ExpectControls(network, {{"Edit1", {8, 24, 201, 21}, "192.168.0."},
                               {"Edit2", {8, 64, 201, 21}, "\\\\PCNAME\\FOLDER\\"},
                               {"Edit3", {8, 104, 201, 21}, "OBJECT1"},
                               {"BitBtn1", {136, 128, 75, 25}, "&OK"}});
  EXPECT_EQ(TabOrder(network, names), names);
  EXPECT_EQ(network->Label1->text(), "Network Render Server IP:");
  EXPECT_EQ(network->Label1->pos(), QPoint(8, 8));
  EXPECT_EQ(network->Label2->text(), "Path:");
  EXPECT_EQ(network->Label2->pos(), QPoint(8, 48));
  EXPECT_EQ(network->Label3->text(), "FileName:");
  EXPECT_EQ(network->Label3->pos(), QPoint(8, 88));
  EXPECT_TRUE(network->BitBtn1->isDefault());
  EXPECT_FALSE(network->BitBtn1->icon().isNull());
  EXPECT_FALSE(network->windowFlags().testFlag(Qt::WindowCloseButtonHint));
}

TEST_F(NetworkDialogTest, OkClosesItCentredAndEscapeDoesNot) {
  Start();
  network->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(network));
  const QRect screen = network->screen()->availableGeometry();
  EXPECT_EQ(network->pos(), QPoint(screen.left() + (screen.width() - 217) / 2,
                                   screen.top() + (screen.height() - 161) / 2));
  QTest::keyClick(network, Qt::Key_Escape);
  EXPECT_TRUE(network->isVisible());
  network->Edit1->setText(QStringLiteral("10.0.0.7"));
  QTest::mouseClick(network->BitBtn1, Qt::LeftButton);
  EXPECT_FALSE(network->isVisible());
  EXPECT_EQ(network->result(), QDialog::Accepted);
  EXPECT_EQ(network->Edit1->text(), "10.0.0.7") << "the settings stay for the next request";
}

// Clicks an item of the "Other Things" menu as the user does: the button opens it, the pointer
// picks the item.
void ClickOtherThingsItem(QAction* item) {
  Form1->button4Click();
  ASSERT_TRUE(QTest::qWaitFor([] { return Form1->PopupMenu2->isVisible(); }, 5000));
  QTest::mouseClick(Form1->PopupMenu2, Qt::LeftButton, {},
                    Form1->PopupMenu2->actionGeometry(item).center());
  ASSERT_TRUE(QTest::qWaitFor([] { return !Form1->PopupMenu2->isVisible(); }, 5000));
}

TEST_F(NetworkDialogTest, MenuItemsWorkFromThePopup) {
  Start();
  Form1->show();
  ClickOtherThingsItem(Form1->NetworkRendering);
  EXPECT_TRUE(Form1->NetworkRendering->isChecked());
  ClickOtherThingsItem(Form1->NetworkRendering);
  EXPECT_FALSE(Form1->NetworkRendering->isChecked());

  QDialog* shown = nullptr;
  prompts.dialogActions.push_back([&shown](QDialog& dialog) {
    shown = &dialog;
    return int(QDialog::Accepted);
  });
  ClickOtherThingsItem(Form1->SetUpNetwork1);
  EXPECT_EQ(shown, network);
  EXPECT_TRUE(prompts.AllAnswersUsed());
}

TEST(RenderServerPortTest, TheEnvironmentNamesAnotherPortOnlyWithAValidNumber) {
  const struct {
    const char* value;  // nullptr: not set
    quint16 port;
  } cases[] = {{nullptr, 252}, {"4000", 4000}, {"1", 1},    {"65535", 65535},
               {"0", 252},     {"65536", 252}, {"-5", 252}, {"abc", 252}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value != nullptr ? c.value : "unset");
    if (c.value != nullptr) {
      qputenv("MORV_RENDER_PORT", c.value);
    } else {
      qunsetenv("MORV_RENDER_PORT");
    }
    EXPECT_EQ(RenderServerPort(), c.port);
  }
  qunsetenv("MORV_RENDER_PORT");
}

}  // namespace
}  // namespace morv::test
