// The main window's behaviour: activation, news one-shot, mouse-over, Start, Quit, About.
#include <QFile>
#include <QLabel>
#include <QTest>

#include "AboutForm.h"
#include "AppFixture.h"

using namespace morvo;

namespace {

class BehaviourTest : public AppTest {
 protected:
  // The window shown, with the log on so that its lines tell what ran. Its news page never
  // loads, so no patch run starts by itself.
  TMainForm& ShowForm(PatcherSettings settings = SolidBlockSettings()) {
    settings.LogEnabled = true;
    MakeForm(settings);
    form_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
    return *form_;
  }

  QString Status() const { return static_cast<QLabel*>(Control("Lbl_Process"))->text(); }
  bool Shown(const char* name) const { return Control(name)->isVisibleTo(form_.get()); }
  QPoint OnPanel(int x, int y) const { return Control("Panel")->mapTo(form_.get(), QPoint(x, y)); }

  // A click where the window system would deliver it: to the topmost control at that place.
  void ClickOnPanel(int x, int y, Qt::MouseButton button = Qt::LeftButton) {
    const QPoint at = OnPanel(x, y);
    QWidget* target = form_->childAt(at);
    ASSERT_NE(target, nullptr);
    QTest::mouseClick(target, button, {}, target->mapFrom(form_.get(), at));
  }

  int LogCount(const std::string& line) {
    QFile file(QString::fromStdString(programDir_ + "MorvoPatcherLog.txt"));
    if (!file.open(QIODevice::ReadOnly)) return 0;
    const QByteArray log = file.readAll();
    return static_cast<int>(log.count(QByteArray::fromStdString(line + "\r\n")));
  }
};

constexpr char kUnfinishedCheck[] = "V\xE9rification des patchs non-install\xE9s ...";
constexpr char kNewsDone[] =
    "R\xE9"
    "cup\xE9ration de la page web termin\xE9"
    "e.";
constexpr char kListFetch[] =
    "R\xE9"
    "cup\xE9ration de la liste des patchs ...";

}  // namespace

TEST_F(BehaviourTest, BecomingActiveRunsTheStartUpSequence) {
  MakeForm(SolidBlockSettings());
  EXPECT_TRUE(form_->FirstActivation());
  form_->show();
  form_->activateWindow();
  EXPECT_TRUE(QTest::qWaitFor([this] { return !form_->FirstActivation(); }));
  EXPECT_EQ(Status().left(7), QStringLiteral("Message"));
}

TEST_F(BehaviourTest, ActivationRunsOnceAndTheFirstNavigationStartsTheRun) {
  // A server list with nothing to fetch, so that the run ends as soon as it has read it.
  QFile list(QString::fromStdString(programDir_ + "server.ini"));
  ASSERT_TRUE(list.open(QIODevice::WriteOnly));
  list.write("[patchs]\r\n");
  list.close();
  PatcherSettings settings = SolidBlockSettings();
  settings.LogEnabled = true;
  settings.PatchListUrl = "file://" + programDir_ + "server.ini";
  MakeForm(settings);                  // not shown: the test plays the activations
  form_->Wbs_NewsNavigateComplete2();  // before the page was asked for: nothing
  EXPECT_EQ(LogCount(kNewsDone), 0);

  form_->FormActivate();
  EXPECT_FALSE(form_->FirstActivation());
  EXPECT_TRUE(form_->WaitingForNews());
  EXPECT_EQ(Status(), QStringLiteral("Message 1"));
  EXPECT_EQ(LogCount(kUnfinishedCheck), 1);

  form_->SetStatusText("elsewhere");
  form_->FormActivate();  // a second activation does nothing
  EXPECT_EQ(Status(), QStringLiteral("elsewhere"));
  EXPECT_EQ(LogCount(kUnfinishedCheck), 1);

  form_->Wbs_NewsNavigateComplete2();
  form_->Wbs_NewsNavigateComplete2();  // a frame completing later changes nothing
  EXPECT_FALSE(form_->WaitingForNews());
  EXPECT_EQ(LogCount(kNewsDone), 1);
  EXPECT_EQ(Status(), QStringLiteral("Message 2"));

  // The run starts once the browser's event has returned.
  EXPECT_FALSE(Shown("Lbl_Start"));
  EXPECT_TRUE(QTest::qWaitFor([this] { return Shown("Lbl_Start"); }, 10000));
  EXPECT_EQ(LogCount(kListFetch), 1);
  EXPECT_EQ(LogCount("Fin du log."), 1);
  EXPECT_EQ(Status(), QStringLiteral("Message 6"));  // nothing to fetch
}

TEST_F(BehaviourTest, NewsProgressDrivesTheGauge) {
  ShowForm();
  form_->Wbs_NewsProgressChange(30, 100);
  EXPECT_EQ(form_->GaugeMaxValue(), 100);
  EXPECT_EQ(PixelOnPanel(20 + 59, 45), QColor(Qt::red));
  EXPECT_EQ(PixelOnPanel(20 + 60, 45), QColor(Qt::white));
  form_->Wbs_NewsProgressChange(5, 10);
  EXPECT_EQ(form_->GaugeMaxValue(), 10);
  EXPECT_EQ(PixelOnPanel(20 + 99, 45), QColor(Qt::red));
  form_->Wbs_NewsProgressChange(-1, 10);  // the end of loading, as a browser may report it
  EXPECT_EQ(PixelOnPanel(20, 45), QColor(Qt::white));
}

TEST_F(BehaviourTest, MouseOverSwapsTheButtonPictures) {
  ShowForm();
  QTest::mouseMove(form_.get(), OnPanel(5, 5));
  QTest::mouseMove(form_.get(), OnPanel(100, 160));
  EXPECT_TRUE(QTest::qWaitFor([this] { return Shown("Img_QuitB"); }));
  EXPECT_FALSE(Shown("Img_Quit"));
  EXPECT_EQ(PixelOnPanel(81, 151), kQuitHoverBlock);

  QTest::mouseMove(form_.get(), OnPanel(5, 5));
  EXPECT_TRUE(QTest::qWaitFor([this] { return Shown("Img_Quit"); }));
  EXPECT_FALSE(Shown("Img_QuitB"));
  EXPECT_EQ(PixelOnPanel(81, 151), kQuitBlock);

  // Start does not react before the run has enabled it.
  QTest::mouseMove(form_.get(), OnPanel(20, 160));
  QTest::qWait(50);
  EXPECT_TRUE(Shown("Img_Start"));
  EXPECT_FALSE(Shown("Img_StartB"));
}

TEST_F(BehaviourTest, MissingHoverPictureLeavesOnlyTheBackgroundUnderTheCaption) {
  PatcherSettings settings = SolidBlockSettings();
  settings.SkinAboutHoverRect = {0, 0, 0, 0};
  ShowForm(settings);
  QTest::mouseMove(form_.get(), OnPanel(5, 5));
  QTest::mouseMove(form_.get(), OnPanel(170, 160));
  EXPECT_TRUE(QTest::qWaitFor([this] { return !Shown("Img_About"); }));
  EXPECT_EQ(PixelOnPanel(151, 151), kBackgroundBlock);
  EXPECT_TRUE(Shown("Lbl_AboutText"));
}

TEST_F(BehaviourTest, StartIsInertUntilTheRunEndsThenStartsTheGameInItsFolder) {
  ShowForm();
  ClickOnPanel(40, 160, Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_TRUE(shell_.calls.empty());
  EXPECT_TRUE(form_->isVisible());

  form_->ShowStart();
  ClickOnPanel(40, 160, Qt::LeftButton);
  ASSERT_EQ(shell_.calls.size(), 1u);
  EXPECT_EQ(shell_.calls[0].program, programDir_ + "bin/Game.exe");
  EXPECT_EQ(shell_.calls[0].parameters, "-window \"two words\"");
  EXPECT_EQ(shell_.calls[0].workingDir, programDir_);
  EXPECT_FALSE(form_->isVisible());
}

TEST_F(BehaviourTest, AGameThatCannotStartShowsTheErrorBoxAndTheWindowStillCloses) {
  ShowForm();
  shell_.result = false;
  QString boxText;
  ExpectErrorBox(boxText);
  form_->ShowStart();
  ClickOnPanel(40, 160, Qt::LeftButton);
  EXPECT_EQ(boxText, QStringLiteral("Impossible de lancer bin\\Game.exe"));
  EXPECT_FALSE(form_->isVisible());
}

TEST_F(BehaviourTest, QuitEndsTheProcessWithZero) {
  ShowForm();
  ClickOnPanel(100, 160, Qt::RightButton);
  EXPECT_TRUE(exitCodes_.empty());  // only the left button clicks
  ClickOnPanel(100, 160, Qt::LeftButton);
  EXPECT_EQ(exitCodes_, std::vector<int>{0});
  EXPECT_FALSE(form_->isVisible());
}

TEST_F(BehaviourTest, AboutOpensTheAboutWindowModally) {
  PatcherSettings settings = SolidBlockSettings();
  settings.Language = 1;
  ShowForm(settings);
  TAboutForm about(loaded_, form_->Sound());
  form_->SetAboutForm(&about);
  bool mainBlocked = false;
  WhenModalOpens([&](QWidget* modal) {
    EXPECT_EQ(modal, &about);
    mainBlocked = QApplication::activeModalWidget() == &about &&
                  about.windowModality() == Qt::ApplicationModal;
    about.close();
  });
  ClickOnPanel(170, 160, Qt::LeftButton);
  EXPECT_TRUE(mainBlocked);
  EXPECT_TRUE(about.IsEnglish());
  EXPECT_TRUE(form_->isVisible());
  EXPECT_TRUE(exitCodes_.empty());
}
