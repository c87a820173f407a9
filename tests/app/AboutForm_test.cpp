#include "AboutForm.h"

#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include "AboutBody.h"
#include "ClickSound.h"

using namespace morvo;

namespace {

// Counts the addresses the About window asks the desktop to open.
class UrlRecorder : public QObject {
  Q_OBJECT

 public:
  QList<QUrl> opened;
 public slots:
  void Open(const QUrl& url) { opened.append(url); }
};

QString FocusName() {
  QWidget* focus = QApplication::focusWidget();
  return focus ? focus->objectName() : QString();
}

void PressTab() {
  if (QWidget* focus = QApplication::focusWidget()) QTest::keyClick(focus, Qt::Key_Tab);
}

template <typename T>
T* Find(QWidget* form, const char* name) {
  auto* child = form->findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(child, nullptr) << name;
  return child;
}

}  // namespace

TEST(AboutForm, FrameAndControls) {
  PatcherSettings settings;
  ClickSound sound;
  TAboutForm form(settings, sound);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Morvo Patcher"));
  EXPECT_EQ(form.size(), QSize(346, 323));
  EXPECT_TRUE(form.windowFlags() & Qt::Tool);
  auto* text = Find<QPlainTextEdit>(&form, "Mbx_About");
  EXPECT_EQ(text->geometry(), QRect(20, 20, 305, 249));
  EXPECT_TRUE(text->isReadOnly());
  EXPECT_EQ(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(text->lineWrapMode(), QPlainTextEdit::WidgetWidth);
  EXPECT_EQ(Find<QWidget>(&form, "Shp_Border")->geometry(), QRect(15, 15, 315, 259));
  EXPECT_EQ(Find<QPushButton>(&form, "Btn_Register")->geometry(), QRect(16, 288, 153, 25));
  EXPECT_EQ(Find<QPushButton>(&form, "Btn_Close")->geometry(), QRect(176, 288, 153, 25));
}

TEST(AboutForm, LanguageChoosesCaptionsAndTextAndTabSkipsTheText) {
  struct Case {
    std::int32_t language;
    const char* registerCaption;
    const char* closeCaption;
    bool english;
    bool hasBody;
  };
  const Case cases[] = {{0, "Inscription", "Fermer", false, true},
                        {1, "Registering", "Close", true, true},
                        {7, "Inscription", "Fermer", false, false}};
  for (const Case& c : cases) {
    PatcherSettings settings;
    settings.Language = c.language;
    settings.AboutText = "Serveur \xAB Test \xBB";
    ClickSound sound;
    TAboutForm form(settings, sound);
    QString shownText, focusFirst, focusAfterTab, focusAfterTwoTabs;
    QMetaObject::invokeMethod(
        &form,
        [&] {
          shownText = Find<QPlainTextEdit>(&form, "Mbx_About")->toPlainText();
          EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
          focusFirst = FocusName();
          PressTab();
          focusAfterTab = FocusName();
          PressTab();
          focusAfterTwoTabs = FocusName();
          EXPECT_EQ(Find<QPushButton>(&form, "Btn_Register")->text(), c.registerCaption);
          EXPECT_EQ(Find<QPushButton>(&form, "Btn_Close")->text(), c.closeCaption);
          Find<QPushButton>(&form, "Btn_Close")->click();
        },
        Qt::QueuedConnection);
    form.FillAndShow();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.IsEnglish(), c.english);
    if (c.hasBody) {
      EXPECT_EQ(form.AboutBody(), AboutBody(settings.AboutText, c.english));
      EXPECT_TRUE(shownText.startsWith(QString::fromUtf8("Serveur \xC2\xAB Test \xC2\xBB\n\n---")));
      EXPECT_FALSE(shownText.contains(QLatin1Char('\r')));
    } else {
      EXPECT_TRUE(form.AboutBody().empty());
      EXPECT_TRUE(shownText.isEmpty());
    }
    EXPECT_EQ(focusFirst, QStringLiteral("Btn_Close"));
    EXPECT_EQ(focusAfterTab, QStringLiteral("Btn_Register"));
    EXPECT_EQ(focusAfterTwoTabs, QStringLiteral("Btn_Close"));
  }
}

TEST(AboutForm, RegisterOpensTheSignUpPageEachTimeAndStaysOpen) {
  PatcherSettings settings;
  settings.RegisterUrl = "https://register.example.org/signup?from=launcher";
  ClickSound sound;
  TAboutForm form(settings, sound);
  UrlRecorder recorder;
  QDesktopServices::setUrlHandler(QStringLiteral("https"), &recorder, "Open");
  bool stillOpen = false;
  QMetaObject::invokeMethod(
      &form,
      [&] {
        auto* registerButton = Find<QPushButton>(&form, "Btn_Register");
        QTest::mouseClick(registerButton, Qt::LeftButton);
        QTest::mouseClick(registerButton, Qt::LeftButton);
        stillOpen = form.isVisible();
        form.close();  // the caption bar's close box
      },
      Qt::QueuedConnection);
  form.FillAndShow();
  QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
  EXPECT_TRUE(stillOpen);
  ASSERT_EQ(recorder.opened.size(), 2);
  EXPECT_EQ(recorder.opened[0],
            QUrl(QStringLiteral("https://register.example.org/signup?from=launcher")));
}

#include "AboutForm_test.moc"
