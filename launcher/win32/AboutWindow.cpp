#include "AboutWindow.h"

#include "AboutBody.h"
#include "ClickSound.h"
#include "Win32Text.h"
#include "WindowCaption.h"
#include "WindowClass.h"
#include "WindowFonts.h"
#include "text/Windows1252.h"

using namespace morvo;

namespace {

constexpr wchar_t kClassName[] = L"MorvoPatcherAboutWindow";
constexpr int kClientWidth = 346;
constexpr int kClientHeight = 323;
constexpr RECT kBorder{15, 15, 15 + 315, 15 + 259};
constexpr int kRegisterId = 1;
constexpr int kCloseId = 2;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME;

HWND MakeControl(HWND parent, const wchar_t* kind, DWORD style, int left, int top, int width,
                 int height, int id, HFONT font) {
  HWND control = ::CreateWindowExW(0, kind, L"", WS_CHILD | WS_VISIBLE | style, left, top, width,
                                   height, parent, reinterpret_cast<HMENU>(INT_PTR{id}),
                                   ::GetModuleHandleW(nullptr), nullptr);
  ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

}  // namespace

AboutWindow::AboutWindow(HWND owner, const PatcherSettings& settings, ClickSound& clickSound,
                         Shell& shell)
    : owner_(owner),
      settings_(settings),
      clickSound_(clickSound),
      shell_(shell),
      font_(DesignFont()) {
  // The class's procedure is the default one until the window knows this object.
  const HINSTANCE instance = RegisterWindowClass(kClassName, &DefWindowProcW,
                                                 {.Cursor = ::LoadCursorW(nullptr, IDC_ARROW),
                                                  .Background = ::GetSysColorBrush(COLOR_BTNFACE)});
  RECT frame{0, 0, kClientWidth, kClientHeight};
  ::AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  window_ = ::CreateWindowExW(kExStyle, kClassName, WideFrom1252(kWindowCaption).c_str(), kStyle, 0,
                              0, frame.right - frame.left, frame.bottom - frame.top, owner, nullptr,
                              instance, nullptr);
  if (window_ == nullptr) return;
  ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ::SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
  // The Tab key goes through the controls in creation order: Close first, then Register; the
  // text box is left out.
  mbxAbout_ =
      MakeControl(window_, L"EDIT", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL, 20,
                  20, 305, 249, 0, font_.Get());
  // The scroll bar stays even when the text fits.
  ::ShowScrollBar(mbxAbout_, SB_VERT, TRUE);
  btnClose_ = MakeControl(window_, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 176, 288, 153, 25,
                          kCloseId, font_.Get());
  btnRegister_ = MakeControl(window_, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 16, 288, 153, 25,
                             kRegisterId, font_.Get());
}

AboutWindow::~AboutWindow() {
  if (window_ != nullptr) {
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    ::DestroyWindow(window_);
  }
}

void AboutWindow::Fill() {
  if (const std::optional<bool> english = AboutLanguageIsEnglish(settings_.Language)) {
    isEnglish_ = *english;
    aboutBody_ = morvo::AboutBody(settings_.AboutText, isEnglish_);
  }
  const AboutCaptions captions = AboutButtonCaptions(isEnglish_);
  ::SetWindowTextW(btnRegister_, WideFrom1252(captions.Register).c_str());
  ::SetWindowTextW(btnClose_, WideFrom1252(captions.Close).c_str());
  ::SetWindowTextW(mbxAbout_, WideFrom1252(aboutBody_).c_str());
}

void AboutWindow::FillAndShow() {
  if (window_ == nullptr) return;
  Fill();
  RECT frame;
  ::GetWindowRect(window_, &frame);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  ::SetWindowPos(window_, HWND_TOP, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (::GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE);
  RunModalLoop();
}

void AboutWindow::RunModalLoop() {
  ::EnableWindow(owner_, FALSE);
  ::ShowWindow(window_, SW_SHOW);
  ::SetFocus(btnClose_);
  open_ = true;
  MSG message;
  while (open_) {
    const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      // The program is ending: the loop that owns it has to see the request too.
      if (got == 0) ::PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (!::IsDialogMessageW(window_, &message)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  }
  open_ = false;
  // The owner is enabled before this window hides, so that it gets the activation back.
  ::EnableWindow(owner_, TRUE);
  ::ShowWindow(window_, SW_HIDE);
  if (owner_ != nullptr) ::SetActiveWindow(owner_);
}

LRESULT CALLBACK AboutWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<AboutWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
  return self->HandleMessage(window, message, wParam, lParam);
}

LRESULT AboutWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == kRegisterId) Btn_RegisterClick();
      if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == kCloseId) Btn_CloseClick();
      if (LOWORD(wParam) == IDCANCEL) Close();  // Escape
      return 0;
    case WM_CLOSE:
      Close();  // the close box and Alt+F4, without a click
      return 0;
    case WM_CTLCOLORSTATIC: {
      // The read-only text box shows the window's button face.
      const auto dc = reinterpret_cast<HDC>(wParam);
      ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
      ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
      return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = ::BeginPaint(window, &paint);
      ::FrameRect(dc, &kBorder, ::GetSysColorBrush(COLOR_BTNSHADOW));
      ::EndPaint(window, &paint);
      return 0;
    }
    default:
      return ::DefWindowProcW(window, message, wParam, lParam);
  }
}

void AboutWindow::Btn_RegisterClick() {
  clickSound_.Play(false);
  // The result is not reported; the window stays open.
  shell_.Start(Windows1252ToUtf8(settings_.RegisterUrl), "", "");
}

void AboutWindow::Btn_CloseClick() {
  clickSound_.Play(false);
  Close();
}

void AboutWindow::Close() { open_ = false; }
