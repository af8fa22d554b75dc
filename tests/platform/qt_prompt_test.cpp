#include "view/qt_prompt.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include <functional>

namespace mirel {
namespace {

class QtPromptTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!QApplication::instance()) {
      static int argc = 1;
      static char name[] = "platform_qt_prompt_test";
      static char* argv[] = {name, nullptr};
      app_ = new QApplication(argc, argv);
    }
  }

  // Deleting the application releases the font configuration it loaded.
  static void TearDownTestSuite() {
    delete app_;
    app_ = nullptr;
  }

  // Runs `act` on the next modal dialog once it is shown.
  static void WhenDialogShows(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal || !modal->isVisible()) return;
      timer->stop();
      timer->deleteLater();
      act(modal);
    });
    timer->start();
  }

  static QApplication* app_;
};

QApplication* QtPromptTest::app_ = nullptr;

TEST_F(QtPromptTest, MessageBoxShowsCaptionTextIconAndButtons) {
  QtPrompt prompt;
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  Qt::WindowModality modality = Qt::NonModal;
  WhenDialogShows([&](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    title = box->windowTitle();
    text = box->text();
    icon = box->icon();
    buttons = box->standardButtons();
    modality = box->windowModality();
    box->button(QMessageBox::No)->click();
  });
  const auto answer = prompt.MessageBox("办公组件", "文档已修改，是否保存？", PromptIcon::Question,
                                        PromptButtons::YesNoCancel);
  EXPECT_EQ(answer, PromptAnswer::No);
  EXPECT_EQ(title, QString::fromUtf8("办公组件"));
  EXPECT_EQ(text, QString::fromUtf8("文档已修改，是否保存？"));
  EXPECT_EQ(icon, QMessageBox::Question);
  EXPECT_EQ(buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  EXPECT_EQ(modality, Qt::ApplicationModal);
}

TEST_F(QtPromptTest, AnswersMapToTheButtonsClicked) {
  struct Case {
    PromptIcon icon;
    PromptButtons buttons;
    QMessageBox::StandardButton click;
    QMessageBox::Icon expectedIcon;
    PromptAnswer expected;
  } cases[] = {
      {PromptIcon::Error, PromptButtons::Ok, QMessageBox::Ok, QMessageBox::Critical, PromptAnswer::Ok},
      {PromptIcon::Warning, PromptButtons::OkCancel, QMessageBox::Cancel, QMessageBox::Warning,
       PromptAnswer::Cancel},
      {PromptIcon::Information, PromptButtons::YesNo, QMessageBox::Yes, QMessageBox::Information,
       PromptAnswer::Yes},
  };
  QtPrompt prompt;
  for (const auto& k : cases) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    WhenDialogShows([&](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      ASSERT_NE(box, nullptr);
      icon = box->icon();
      box->button(k.click)->click();
    });
    EXPECT_EQ(prompt.MessageBox("c", "t", k.icon, k.buttons), k.expected);
    EXPECT_EQ(icon, k.expectedIcon);
  }
}

TEST_F(QtPromptTest, ClosingABoxGivesItsCancelAnswer) {
  QtPrompt prompt;
  WhenDialogShows([](QWidget* w) { w->close(); });
  EXPECT_EQ(prompt.MessageBox("c", "t", PromptIcon::Question, PromptButtons::YesNoCancel),
            PromptAnswer::Cancel);
}

TEST_F(QtPromptTest, AskTextHonoursPasswordAndLength) {
  QtPrompt prompt;
  QString title, label, initial;
  QLineEdit::EchoMode echo = QLineEdit::Normal;
  int maxLength = 0;
  WhenDialogShows([&](QWidget* w) {
    auto* dialog = qobject_cast<QInputDialog*>(w);
    ASSERT_NE(dialog, nullptr);
    title = dialog->windowTitle();
    label = dialog->labelText();
    initial = dialog->textValue();
    auto* edit = dialog->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    echo = edit->echoMode();
    maxLength = edit->maxLength();
    edit->setText(QString::fromUtf8("密码密码密码"));
    dialog->accept();
  });
  const auto reply = prompt.AskText("文件密码", "&P.密码:", "旧", true, 4);
  ASSERT_TRUE(reply.has_value());
  EXPECT_EQ(*reply, "密码密码");
  EXPECT_EQ(title, QString::fromUtf8("文件密码"));
  EXPECT_EQ(label, QString::fromUtf8("&P.密码:"));
  EXPECT_EQ(initial, QString::fromUtf8("旧"));
  EXPECT_EQ(echo, QLineEdit::Password);
  EXPECT_EQ(maxLength, 4);

  WhenDialogShows([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
  EXPECT_FALSE(prompt.AskText("c", "l", "", false, 0).has_value());
}

}  // namespace
}  // namespace mirel
