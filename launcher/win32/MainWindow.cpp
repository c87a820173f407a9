// The main window's creation and its message handling: painting, mouse, timers, queued steps.
#include "MainWindow.h"

#include <windowsx.h>

#include "AboutWindow.h"
#include "BackgroundMusic.h"
#include "ClickSound.h"
#include "NewsBand.h"
#include "ResourceNames.h"
#include "Win32Text.h"
#include "WindowCaption.h"
#include "WindowClass.h"

using namespace morvo;

namespace {

constexpr wchar_t kClassName[] = L"MorvoPatcherMainWindow";
constexpr WPARAM kDragByCaption = 0xF012;  // SC_MOVE + HTCAPTION

HCURSOR ProgramCursor(const wchar_t* name, const wchar_t* fallback) {
  // A program built without its resources (the tests) shows the system's cursors.
  if (HCURSOR own = ::LoadCursorW(::GetModuleHandleW(nullptr), name)) return own;
  return ::LoadCursorW(nullptr, fallback);
}

}  // namespace

MainWindow::MainWindow(LauncherContext context)
    : context_(std::move(context)),
      settings_(context_.Settings),
      arrow_(ProgramCursor(kArrowCursorName, IDC_ARROW)),
      hand_(ProgramCursor(kHandCursorName, IDC_HAND)),
      clickSound_(std::make_unique<ClickSound>()) {
  // The class's procedure is the default one until the window knows this object.
  const HINSTANCE instance =
      RegisterWindowClass(kClassName, &DefWindowProcW,
                          {.Icon = ::LoadIconW(::GetModuleHandleW(nullptr), kProgramIconName)});
  // No border and no caption bar; the task bar button that owns it minimises it.
  window_ = ::CreateWindowExW(0, kClassName, WideFrom1252(kWindowCaption).c_str(),
                              WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0,
                              kDesignClientWidth, kDesignClientHeight, taskBar_.Window(), nullptr,
                              instance, nullptr);
  if (window_ != nullptr) {
    taskBar_.SetMainWindow(window_);
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
    music_ = std::make_unique<BackgroundMusic>(window_, settings_.MusicEnabled);
  }
  sequence_ = std::make_unique<LauncherSequence>(
      *this, LauncherParts{settings_, context_.Log, context_.RunState, context_.ProgramDir,
                           context_.ProgramPath});
  terminateRequested_ = window_ == nullptr || !sequence_->OnCreate();
}

MainWindow::~MainWindow() {
  news_.reset();  // its windows go before the main window
  if (window_ != nullptr) {
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    ::DestroyWindow(window_);
  }
}

void MainWindow::Show() {
  const LayoutSize size = view_.ClientSize();
  const int left = (::GetSystemMetrics(SM_CXSCREEN) - size.Width) / 2;
  const int top = (::GetSystemMetrics(SM_CYSCREEN) - size.Height) / 2;
  ::SetWindowPos(window_, nullptr, left, top, size.Width, size.Height, SWP_NOZORDER);
  taskBar_.Show();
  ::ShowWindow(window_, SW_SHOW);
  ::UpdateWindow(window_);
  ::SetForegroundWindow(window_);
  // Without a window manager (or with one that keeps focus elsewhere) a new window may never
  // become active; the start-up sequence must not wait for that. It runs once either way.
  ::PostMessageW(window_, kActivatedMessage, 0, 0);
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<MainWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
  return self->HandleMessage(window, message, wParam, lParam);
}

LRESULT MainWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the whole client area is painted from the back buffer
    case WM_MOUSEMOVE:
      OnMouseMove(at);
      return 0;
    case WM_MOUSELEAVE:
      OnMouseLeave();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      OnButtonDown(at, message == WM_LBUTTONDOWN);
      return 0;
    case WM_LBUTTONUP:
      OnLeftButtonUp(at);
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && OnSetCursor()) return TRUE;
      break;
    case WM_TIMER:
      OnTimer(wParam);
      return 0;
    case WM_ACTIVATE:
      // The sequence's activation step pumps messages itself: it runs from the loop, not from
      // inside the call that activated the window. Only the first one does anything.
      if (LOWORD(wParam) != WA_INACTIVE) ::PostMessageW(window, kActivatedMessage, 0, 0);
      break;
    case kActivatedMessage:
      sequence_->OnActivate();
      return 0;
    case kRunQueuedStepMessage:
      RunQueuedStep();
      return 0;
    case WM_SYSCOMMAND:
      // Minimised as a whole through its owner: an owned window would shrink to a bar of its own.
      if ((wParam & 0xFFF0) == SC_MINIMIZE && taskBar_.Window() != nullptr) {
        ::SendMessageW(taskBar_.Window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        return 0;
      }
      break;
    case WM_DESTROY:
      taskBar_.SetMainWindow(nullptr);
      window_ = nullptr;
      ::PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

void MainWindow::Paint() {
  PAINTSTRUCT paint;
  const HDC screen = ::BeginPaint(window_, &paint);
  const RECT& dirty = paint.rcPaint;
  const int width = dirty.right - dirty.left, height = dirty.bottom - dirty.top;
  if (width > 0 && height > 0) {
    // Drawn whole into a back buffer, then copied at once: nothing flickers.
    const UniqueMemoryDc buffer(screen);
    const UniqueBitmap pixels(::CreateCompatibleBitmap(screen, width, height));
    if (pixels) {
      const SelectedObject selected(buffer.Get(), pixels.Get());
      ::SetViewportOrgEx(buffer.Get(), -dirty.left, -dirty.top, nullptr);
      view_.Paint(buffer.Get(), dirty);
      ::SetViewportOrgEx(buffer.Get(), 0, 0, nullptr);
      ::BitBlt(screen, dirty.left, dirty.top, width, height, buffer.Get(), 0, 0, SRCCOPY);
    }
  }
  ::EndPaint(window_, &paint);
}

void MainWindow::Repaint(const RECT& area) {
  if (window_ != nullptr && !::IsRectEmpty(&area)) ::InvalidateRect(window_, &area, FALSE);
}

void MainWindow::OnMouseMove(POINT at) {
  if (!tracking_) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window_, 0};
    tracking_ = ::TrackMouseEvent(&track) != FALSE;
  }
  Repaint(view_.SetHover(view_.ClickAreaAt(at)));
}

void MainWindow::OnMouseLeave() {
  tracking_ = false;
  Repaint(view_.SetHover(std::nullopt));
}

void MainWindow::OnButtonDown(POINT at, bool left) {
  if (const std::optional<SkinButton> button = view_.ClickAreaAt(at)) {
    // A click area takes every mouse event over its button; only the left button clicks.
    if (left) {
      pressed_ = button;
      ::SetCapture(window_);
    }
    return;
  }
  if (view_.IsBackgroundAt(at)) {
    // Any button drags the borderless window, as its caption bar would.
    ::ReleaseCapture();
    ::SendMessageW(window_, WM_SYSCOMMAND, kDragByCaption, 0);
  }
}

void MainWindow::OnLeftButtonUp(POINT at) {
  const std::optional<SkinButton> pressed = pressed_;
  pressed_.reset();
  if (::GetCapture() == window_) ::ReleaseCapture();
  if (pressed && view_.ClickAreaAt(at) == pressed) Click(*pressed);
}

bool MainWindow::OnSetCursor() {
  POINT at;
  if (!::GetCursorPos(&at) || !::ScreenToClient(window_, &at)) return false;
  ::SetCursor(view_.ClickAreaAt(at) ? hand_ : arrow_);
  return true;
}

void MainWindow::OnTimer(UINT_PTR id) {
  if (id == kNewsTimeoutTimer) {
    ::KillTimer(window_, kNewsTimeoutTimer);
    StartRunWithoutNews();
  } else if (id == BackgroundMusic::kLoopTimerId && music_) {
    music_->OnLoopTimer();
  }
}

void MainWindow::Click(SkinButton button) {
  switch (button) {
    case SkinButton::Start:
      sequence_->OnStartClicked();
      break;
    case SkinButton::Quit:
      sequence_->OnQuitClicked();
      break;
    case SkinButton::About:
      PlayClickSound(false);
      if (about_ != nullptr) about_->FillAndShow();
      break;
  }
}

void MainWindow::RunQueuedStep() {
  if (queuedSteps_.empty()) return;
  std::function<void()> step = std::move(queuedSteps_.front());
  queuedSteps_.pop_front();
  step();
}

void MainWindow::OnNewsProgress(int progress, int progressMax) {
  if (progressMax != GaugeMaxValue()) SetGaugeMaxValue(progressMax);
  SetGaugeProgress(progress);
}

void MainWindow::OnNewsCompleted() {
  if (window_ != nullptr && sequence_->WaitingForNews()) ::KillTimer(window_, kNewsTimeoutTimer);
  sequence_->OnNewsPageLoaded();
}

void MainWindow::StartRunWithoutNews() {
  // Only while the page is still awaited: the sequence starts the run once either way.
  if (!sequence_->WaitingForNews()) return;
  if (news_) news_->GiveUp();
  sequence_->OnNewsPageLoaded();
}
