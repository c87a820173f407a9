// The news page: the platform's web browser control hosted in place in a child window of the
// skinned panel. Everything runs on the window thread, which must have called OleInitialize;
// the control's events arrive through that thread's message loop.
#pragma once

#include <exdisp.h>
#include <oleidl.h>
#include <windows.h>
#include <wrl/client.h>

#include <functional>
#include <string>

class BrowserEvents;
class BrowserSite;

class NewsBrowser {
 public:
  struct Events {
    // The loading progress as the control reports it (position, maximum; -1 at the end).
    std::function<void(int progress, int progressMax)> ProgressChange;
    // Every completed navigation, of the page or of a frame, and every failed one: a failed
    // navigation counts as completed, so that the run never waits for a page that cannot come.
    std::function<void()> NavigateComplete;
  };

  // Creates a child window of parent at bounds (client coordinates of parent) and activates the
  // control in place in it. When the control cannot be created the object still exists, with
  // Created() false, and Navigate does nothing.
  NewsBrowser(HWND parent, const RECT& bounds, Events events);
  ~NewsBrowser();
  NewsBrowser(const NewsBrowser&) = delete;
  NewsBrowser& operator=(const NewsBrowser&) = delete;

  bool Created() const { return browser_ != nullptr; }
  HWND Window() const { return window_; }

  // The control's own automation property Visible; hidden, the host window is hidden too. A
  // hidden control still loads its page.
  void SetVisible(bool visible);

  // Navigates to url (Windows-1252 bytes) without flags, target frame, post data or headers.
  // False when there is no control or it refused the address.
  bool Navigate(const std::string& url);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControl(Events events);
  void ConnectEvents(Events events);
  void Resize();

  HWND window_ = nullptr;
  Microsoft::WRL::ComPtr<BrowserSite> site_;
  Microsoft::WRL::ComPtr<BrowserEvents> sink_;
  Microsoft::WRL::ComPtr<IOleObject> object_;
  Microsoft::WRL::ComPtr<IOleInPlaceObject> inPlace_;
  Microsoft::WRL::ComPtr<IWebBrowser2> browser_;
  Microsoft::WRL::ComPtr<IConnectionPoint> connection_;
  DWORD cookie_ = 0;
};
