#include "BackgroundMusic.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <utility>

#include "platform/WideText.h"

namespace {

void ShowMciErrorBox(HWND owner, const std::wstring& text) {
  ::MessageBoxW(owner, text.c_str(), L"Morvo Patcher", MB_OK | MB_ICONERROR);
}

// The length the device reports, in milliseconds, bounded as a timer interval; 0 when the
// reply holds no number.
UINT LengthOf(const std::wstring& reply) {
  wchar_t* end = nullptr;
  const unsigned long long length = std::wcstoull(reply.c_str(), &end, 10);
  if (end == reply.c_str()) return 0;
  return static_cast<UINT>(std::min<unsigned long long>(length, USER_TIMER_MAXIMUM));
}

}  // namespace

BackgroundMusic::BackgroundMusic(HWND owner, bool musicEnabled)
    : BackgroundMusic(owner, musicEnabled, SendMciCommand, ShowMciErrorBox) {}

BackgroundMusic::BackgroundMusic(HWND owner, bool musicEnabled, MciCommand mci, ErrorBox showError)
    : owner_(owner),
      musicEnabled_(musicEnabled),
      mci_(std::move(mci)),
      showError_(std::move(showError)),
      // MCI aliases are shared by the whole process: each object names its own device.
      alias_(L"MorvoBGM" + std::to_wstring(reinterpret_cast<std::uintptr_t>(this))) {}

BackgroundMusic::~BackgroundMusic() { Stop(); }

MCIERROR BackgroundMusic::Send(const std::wstring& verb, const std::wstring& arguments) {
  std::wstring reply;
  return mci_(verb + L" " + alias_ + arguments, reply);
}

bool BackgroundMusic::Load(const std::string& path) {
  Stop();
  std::wstring reply;
  // No device type: MCI chooses it from the file's extension.
  const MCIERROR error =
      mci_(L"open \"" + morvo::Widen(path) + L"\" alias " + alias_ + L" wait", reply);
  if (error != 0) {
    // The device's own words; the music stays off and start-up goes on.
    showError_(owner_, MciErrorText(error));
    return false;
  }
  open_ = true;
  Send(L"seek", L" to start wait");
  Send(L"set", L" time format milliseconds");
  loopIntervalMs_ = mci_(L"status " + alias_ + L" length", reply) == 0 ? LengthOf(reply) : 0;
  return true;
}

void BackgroundMusic::Start() {
  if (!musicEnabled_ || !open_) return;
  Send(L"play");
  // A zero interval would fire at once and forever; a track of unknown length plays once.
  if (loopIntervalMs_ > 0) ::SetTimer(owner_, kLoopTimerId, loopIntervalMs_, nullptr);
}

void BackgroundMusic::Stop() {
  ::KillTimer(owner_, kLoopTimerId);
  if (!open_) return;
  Send(L"close");
  open_ = false;
}

void BackgroundMusic::OnLoopTimer() {
  ::KillTimer(owner_, kLoopTimerId);
  // A timer message already queued when the music was stopped restarts nothing.
  if (!open_) return;
  Send(L"seek", L" to start wait");
  Start();
}
