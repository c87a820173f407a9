// A game folder with a Config.mpc whose skin is made of solid colour blocks, so that every
// pixel of the window can be predicted, and a main window built on it.
#pragma once

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "MainForm.h"
#include "config/PatcherSettings.h"
#include "engine/PatchRunState.h"
#include "log/Logger.h"
#include "platform/Shell.h"

class QWidget;

// Records program starts instead of making them.
class FakeShell : public morvo::Shell {
 public:
  struct Call {
    std::string program;
    std::string parameters;
    std::string workingDir;
  };
  bool Start(const std::string& program, std::string_view parameters,
             const std::string& workingDir) override {
    calls.push_back({program, std::string(parameters), workingDir});
    return result;
  }
  std::vector<Call> calls;
  bool result = true;
};

// Colours of the skin blocks.
inline const QColor kBackgroundBlock(0x20, 0x60, 0x20);
inline const QColor kStartBlock(0xC0, 0x10, 0x10);
inline const QColor kStartHoverBlock(0xF0, 0x90, 0x10);
inline const QColor kQuitBlock(0x10, 0x10, 0xC0);
inline const QColor kQuitHoverBlock(0x10, 0xC0, 0xC0);
inline const QColor kAboutBlock(0xD0, 0xD0, 0x10);
inline const QColor kAboutHoverBlock(0x80, 0x10, 0x80);
inline const QColor kMagenta(0xFF, 0x00, 0xFF);

// The skin: a 400 x 300 BMP. The background block is 300 x 200 at 0, 0; each button block is
// 60 x 20 in the column at x = 300 (Start, Start hover, Quit, Quit hover, About, About hover,
// from the top), and the Start block has a magenta square at 2..7, 2..7 of its own area.
std::vector<std::uint8_t> SolidBlockSkin();

// Settings over that skin: skinned area 300 x 200, buttons 60 x 20 at y = 150 (x = 10, 80,
// 150), gauge at 20, 40, 200 x 10, no banner, news page hidden, everything else shown.
morvo::PatcherSettings SolidBlockSettings();

// A port on 127.0.0.1 that takes connections and never answers: a news page that stays
// loading, so that no patch run starts unless a test says so.
class SilentServer {
 public:
  SilentServer();
  ~SilentServer();
  std::string Url() const;

 private:
  int socket_ = -1;
  int port_ = 0;
};

// Calls handle with the first modal window that opens while the caller blocks in one.
void WhenModalOpens(std::function<void(QWidget*)> handle);

// Expects the window's error box (caption "Morvo Patcher", error icon) to open next; stores its
// text and closes it.
void ExpectErrorBox(QString& shownText);

class AppTest : public ::testing::Test {
 protected:
  AppTest();
  ~AppTest() override;

  // Writes settings as the folder's Config.mpc and builds the main window over it.
  TMainForm& MakeForm(const morvo::PatcherSettings& settings);
  // The window as it paints itself.
  QImage Grab();
  QWidget* Control(const char* name) const;
  QColor PixelOnPanel(int x, int y);

  SilentServer newsServer_;
  QTemporaryDir folder_;
  std::string programDir_;
  morvo::PatcherSettings loaded_;
  morvo::Logger log_;
  morvo::PatchRunState runState_;
  FakeShell shell_;
  std::vector<int> exitCodes_;
  std::unique_ptr<TMainForm> form_;
};
