// The window built from the settings, checked on its painted pixels and its controls' places.
#include <QFile>
#include <QFontMetrics>
#include <QLabel>

#include "AppFixture.h"
#include "PictureBox.h"
#include "WindowFont.h"

using namespace morvo;

namespace {

using LayoutTest = AppTest;

int DesignTextWidth(const QString& text) {
  return QFontMetrics(DesignFont()).size(0, text).width();
}

}  // namespace

TEST_F(LayoutTest, SkinIsCutIntoOpaqueBackgroundAndKeyedButtons) {
  MakeForm(SolidBlockSettings());
  ASSERT_FALSE(form_->TerminateRequested());
  EXPECT_EQ(form_->size(), QSize(300, 200));
  EXPECT_EQ(PixelOnPanel(5, 5), kBackgroundBlock);
  EXPECT_EQ(PixelOnPanel(299, 199), kBackgroundBlock);
  EXPECT_EQ(PixelOnPanel(11, 151), kStartBlock);
  EXPECT_EQ(PixelOnPanel(69, 169), kStartBlock);
  EXPECT_EQ(PixelOnPanel(81, 151), kQuitBlock);
  EXPECT_EQ(PixelOnPanel(151, 151), kAboutBlock);
  // The magenta square of the Start block shows the background through it.
  EXPECT_EQ(PixelOnPanel(14, 154), kBackgroundBlock);
  EXPECT_EQ(PixelOnPanel(17, 157), kBackgroundBlock);
  // Mouse-over pictures wait hidden.
  for (const char* name : {"Img_StartB", "Img_QuitB", "Img_AboutB"}) {
    EXPECT_FALSE(Control(name)->isVisibleTo(form_.get())) << name;
  }
}

TEST_F(LayoutTest, SkinRectsAreNeverScaled) {
  PatcherSettings settings = SolidBlockSettings();
  settings.SkinBackgroundRect = {0, 0, 100, 100};  // smaller than the skinned area
  settings.SkinAboutRect = {300, 80, 30, 20};      // narrower than its button
  settings.SkinQuitRect = {300, 40, 100, 40};      // larger than its button: cut
  MakeForm(settings);
  EXPECT_EQ(PixelOnPanel(50, 80), kBackgroundBlock);
  EXPECT_EQ(PixelOnPanel(150, 80), QColor(Qt::white));  // the panel behind the picture
  EXPECT_EQ(PixelOnPanel(151, 151), kAboutBlock);
  EXPECT_EQ(PixelOnPanel(185, 151), QColor(Qt::white));  // the blank rest of the picture
  EXPECT_EQ(Control("Img_Quit")->size(), QSize(60, 20));
  EXPECT_EQ(PixelOnPanel(139, 169), kQuitBlock);
}

TEST_F(LayoutTest, MissingSkinRectsPutPicturesOutOfSight) {
  PatcherSettings settings = SolidBlockSettings();
  settings.SkinQuitRect = {300, 40, 0, 20};
  settings.SkinStartHoverRect = {300, 20, 60, -3};
  MakeForm(settings);
  EXPECT_EQ(Control("Img_Quit")->pos(), QPoint(-500, 96));  // design top kept
  EXPECT_EQ(Control("Img_StartB")->x(), -500);
  EXPECT_TRUE(Control("Img_StartB")->isVisibleTo(form_.get()));
  // Click area and caption stay on the button bounds.
  EXPECT_EQ(Control("Lbl_Quit")->geometry(), QRect(80, 150, 60, 20));
  EXPECT_EQ(PixelOnPanel(81, 151), kBackgroundBlock);
}

TEST_F(LayoutTest, CaptionsAreCentredByTheWindowFont) {
  PatcherSettings settings = SolidBlockSettings();
  settings.ButtonFontSize = 20;  // much larger than the font the centring measures with
  settings.QuitCaption = "A caption far wider than its button";
  MakeForm(settings);
  auto* start = static_cast<QLabel*>(Control("Lbl_StartText"));
  EXPECT_EQ(start->text(), QStringLiteral("Jouer"));
  EXPECT_EQ(start->x(), 10 + 30 - DesignTextWidth(QStringLiteral("Jouer")) / 2);
  EXPECT_EQ(start->y(), 150 + 10 - kDesignLineHeight / 2);
  EXPECT_GT(start->font().pixelSize(), 20);  // drawn in the caption font all the same

  auto* about = static_cast<QLabel*>(Control("Lbl_AboutText"));
  EXPECT_EQ(about->text(), QString::fromUtf8("\xC3\x80 propos"));  // shown from Windows-1252

  const int quitWidth = DesignTextWidth(QString::fromLatin1(settings.QuitCaption.c_str()));
  auto* quit = static_cast<QLabel*>(Control("Lbl_QuitText"));
  EXPECT_LT(quit->x(), 80);  // a wide caption spreads to both sides of its button
  EXPECT_EQ(quit->x(), 80 + 30 - quitWidth / 2);
}

TEST_F(LayoutTest, ProgressAreaAndStatusLine) {
  MakeForm(SolidBlockSettings());
  EXPECT_EQ(Control("Pgb_Process")->geometry(), QRect(20, 40, 200, 10));
  EXPECT_EQ(Control("Shp_Process")->geometry(), QRect(19, 39, 202, 12));
  EXPECT_EQ(Control("Lbl_Process")->pos(), QPoint(19, 40 - kDesignLineHeight - 4));
  EXPECT_EQ(PixelOnPanel(19, 45), QColor(Qt::black));  // the frame, just outside the gauge
  EXPECT_EQ(PixelOnPanel(220, 39), QColor(Qt::black));
  EXPECT_EQ(PixelOnPanel(20, 45), QColor(Qt::white));  // empty gauge

  form_->SetGaugeMaxValue(4);
  form_->SetGaugeProgress(1);
  EXPECT_EQ(PixelOnPanel(20 + 49, 45), QColor(Qt::red));
  EXPECT_EQ(PixelOnPanel(20 + 50, 45), QColor(Qt::white));
  form_->SetGaugeProgress(9);
  EXPECT_EQ(PixelOnPanel(219, 45), QColor(Qt::red));

  form_->SetStatusText(
      "T\xE9l\xE9"
      "chargement");
  auto* status = static_cast<QLabel*>(Control("Lbl_Process"));
  EXPECT_EQ(status->text(), QString::fromUtf8("T\xC3\xA9l\xC3\xA9"
                                              "chargement"));
  EXPECT_EQ(status->pos(), QPoint(19, 40 - kDesignLineHeight - 4));
  EXPECT_GE(status->width(), QFontMetrics(status->font()).horizontalAdvance(status->text()));
}

TEST_F(LayoutTest, WindowHeightFollowsTheBannerKind) {
  struct Case {
    std::int32_t kind;
    int panelTop, height;
  };
  const Case cases[] = {{0, 0, 200},  {1, 88, 288}, {2, 88, 288},  {3, 88, 288},
                        {4, 88, 288}, {5, 88, 557}, {-1, 88, 557}, {7, 88, 557}};
  for (const Case& c : cases) {
    PatcherSettings settings = SolidBlockSettings();
    settings.BannerKind = c.kind;
    if (c.kind > 0) settings.BannerData = std::vector<std::uint8_t>{1, 2, 3};
    MakeForm(settings);
    EXPECT_EQ(Control("Panel")->y(), c.panelTop) << "kind " << c.kind;
    EXPECT_EQ(form_->height(), c.height) << "kind " << c.kind;
    EXPECT_EQ(form_->width(), 300) << "kind " << c.kind;
  }
  EXPECT_FALSE(QFile::exists(QString::fromStdString(programDir_ + "MorvoTMPBanner.swf")));
}

TEST_F(LayoutTest, VisibilitySwitches) {
  struct Case {
    bool start, quit, progress;
  };
  for (const Case& c : {Case{false, true, true}, Case{true, false, true}, Case{true, true, false},
                        Case{false, false, false}}) {
    PatcherSettings settings = SolidBlockSettings();
    settings.ShowStart = c.start;
    settings.ShowQuit = c.quit;
    settings.ShowProgress = c.progress;
    MakeForm(settings);
    const auto shown = [this](const char* name) { return Control(name)->isVisibleTo(form_.get()); };
    EXPECT_EQ(shown("Img_Start"), c.start);
    EXPECT_EQ(shown("Lbl_StartText"), c.start);
    EXPECT_EQ(shown("Img_Quit"), c.quit);
    EXPECT_EQ(shown("Lbl_Quit"), c.quit);
    EXPECT_EQ(shown("Lbl_QuitText"), c.quit);
    EXPECT_EQ(shown("Pgb_Process"), c.progress);
    EXPECT_EQ(shown("Shp_Process"), c.progress);
    EXPECT_EQ(shown("Lbl_Process"), c.progress);
    EXPECT_TRUE(shown("Lbl_About"));
    EXPECT_TRUE(shown("Img_About"));
    EXPECT_FALSE(shown("Lbl_Start"));  // until a run has ended
    form_->ShowStart();
    EXPECT_EQ(shown("Lbl_Start"), c.start);  // never shown when switched off
  }
}

TEST_F(LayoutTest, AbsurdSizesAreBounded) {
  PatcherSettings settings = SolidBlockSettings();
  settings.WindowSize = {2000000000, -5};
  settings.StartBounds = {2147483647, 2147483647, 2147483647, 2147483647};
  settings.SkinBackgroundRect = {0, 0, 2147483647, 2147483647};
  MakeForm(settings);
  EXPECT_FALSE(form_->TerminateRequested());
  EXPECT_LE(Control("Panel")->width(), 8192);
  EXPECT_EQ(Control("Panel")->height(), 0);
  EXPECT_LE(static_cast<PictureBox*>(Control("Img_Background"))->Picture().width(), 8192);
}

TEST_F(LayoutTest, UnreadableConfigurationOrSkinEndsWithTheErrorBox) {
  struct Case {
    const char* what;
    bool writeConfig;
    std::vector<std::uint8_t> skin;
  };
  const Case cases[] = {{"no Config.mpc", false, {}},
                        {"skin is no picture", true, {'B', 'M', 1, 2, 3}},
                        {"empty skin", true, {}}};
  for (const Case& c : cases) {
    QString shownText;
    ExpectErrorBox(shownText);
    QFile::remove(QString::fromStdString(programDir_ + "Config.mpc"));
    PatcherSettings settings = SolidBlockSettings();
    settings.SkinImage = c.skin;
    settings.LogEnabled = true;
    if (c.writeConfig) {
      MakeForm(settings);
    } else {
      form_.reset();
      form_ = std::make_unique<TMainForm>(LauncherContext{
          loaded_, log_, runState_, shell_, programDir_, programDir_ + "MorvoPatcher", {}});
    }
    EXPECT_TRUE(form_->TerminateRequested()) << c.what;
    EXPECT_FALSE(form_->FirstActivation()) << c.what;
    EXPECT_EQ(shownText,
              QStringLiteral("Impossible de lire Config.mpc !\n\nConfig.mpc reading failure !"))
        << c.what;
    form_->FormActivate();  // nothing may happen after a failed creation
    EXPECT_FALSE(form_->WaitingForNews()) << c.what;
    if (!c.writeConfig) {
      EXPECT_FALSE(QFile::exists(QString::fromStdString(programDir_ + "MorvoPatcherLog.txt")));
    }
  }
}
