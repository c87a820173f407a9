// The launcher's skinned main window. It forwards its events to the launcher's sequence and
// draws what the sequence asks. Building it from the settings lives in MainFormCreate.cpp, its
// handlers in MainFormHandlers.cpp, what the sequence and the patch engine call in
// MainFormPatchWindow.cpp.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "ClickSound.h"
#include "SkinPixels.h"
#include "config/PatcherSettings.h"
#include "engine/LauncherWindow.h"
#include "engine/PatchRunState.h"
#include "log/Logger.h"
#include "platform/Shell.h"

class BackgroundMusic;
class BannerBand;
class ClickArea;
namespace morvo {
class LauncherSequence;
}
class NewsPane;
class OutlineShape;
class PictureBox;
class ProgressGauge;
class QLabel;
class TAboutForm;

// The program-wide objects the window works with; they outlive it.
struct LauncherContext {
  morvo::PatcherSettings& Settings;
  morvo::Logger& Log;
  morvo::PatchRunState& RunState;
  morvo::Shell& ProgramShell;
  std::string ProgramDir;   // ends in '/'
  std::string ProgramPath;  // the running program
  // Quit ends the process at once with this (tests put a recorder in its place).
  std::function<void(int)> EndProcess;
};

class TMainForm : public QWidget, public morvo::LauncherWindow {
  Q_OBJECT

 public:
  // Creates the controls in their design state and runs the sequence's creation step.
  explicit TMainForm(LauncherContext context, QWidget* parent = nullptr);
  ~TMainForm() override;

  // FormCreate failed (no configuration, no skin): the program is to end without its loop.
  bool TerminateRequested() const { return terminateRequested_; }
  bool FirstActivation() const;
  bool WaitingForNews() const;

  void SetAboutForm(TAboutForm* aboutForm) { aboutForm_ = aboutForm; }
  ClickSound& Sound() { return clickSound_; }

  // PatchWindow
  void SetStatusText(const std::string& text) override;
  std::int64_t GaugeMaxValue() const override;
  void SetGaugeMaxValue(std::int64_t maximum) override;
  void SetGaugeProgress(std::int64_t position) override;
  void ShowStart() override;
  void ProcessPendingEvents() override;
  void CloseMainWindow() override;
  bool StartProgram(const std::string& program, std::string_view parameters,
                    const std::string& workingDir) override;
  // LauncherWindow
  bool BuildInterface() override;
  void ShowErrorBox(const std::string& text) override;
  bool OpenMusic(const std::string& path) override;
  void StartMusic() override;
  void StopMusic() override;
  void PlayClickSound(bool wait) override { clickSound_.Play(wait); }
  void RequestNewsPage() override;
  void RunAfterCurrentEvent(std::function<void()> step) override;
  void EndProcess() override;

 public slots:
  void FormActivate();
  void Wbs_NewsProgressChange(int progress, int progressMax);
  void Wbs_NewsNavigateComplete2();

 protected:
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void CreateControls();
  void ConnectHandlers();

  bool LoadSkin();
  void PlaceButtonPictures();
  void PlaceCaptions();
  void PlaceProgressArea();
  void ApplyBannerLayout();
  void CutSkin();
  void ApplyVisibilitySwitches();

  void Lbl_StartClick();
  void Lbl_QuitClick();
  void Lbl_AboutClick();
  void Img_BackgroundMouseDown();

  LauncherContext context_;
  morvo::PatcherSettings& settings_;
  morvo::Logger& log_;
  ClickSound clickSound_;
  morvo::PixelImage skinBitmap_;
  bool terminateRequested_ = false;
  bool centred_ = false;
  TAboutForm* aboutForm_ = nullptr;

  QWidget* panel_;
  PictureBox* imgBackground_;
  PictureBox* imgStart_;
  PictureBox* imgStartB_;
  PictureBox* imgQuitB_;
  PictureBox* imgQuit_;
  PictureBox* imgAbout_;
  PictureBox* imgAboutB_;
  OutlineShape* shpProcess_;
  QLabel* lblAboutText_;
  QLabel* lblQuitText_;
  QLabel* lblStartText_;
  QLabel* lblProcess_;
  ClickArea* lblAbout_;
  ClickArea* lblQuit_;
  ClickArea* lblStart_;
  ProgressGauge* pgbProcess_;

  std::unique_ptr<BannerBand> banner_;
  std::unique_ptr<NewsPane> news_;
  std::unique_ptr<BackgroundMusic> music_;
  std::unique_ptr<morvo::LauncherSequence> sequence_;
};
