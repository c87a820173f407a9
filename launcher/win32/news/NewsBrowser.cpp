#include "NewsBrowser.h"

#include <memory>

#include "BrowserEvents.h"
#include "BrowserSite.h"
#include "WindowClass.h"
#include "platform/WideText.h"
#include "text/Windows1252.h"

using Microsoft::WRL::ComPtr;
using namespace morvo;

namespace {

constexpr wchar_t kHostClass[] = L"MorvoNewsHost";

struct BstrFree {
  void operator()(BSTR text) const { ::SysFreeString(text); }
};
using UniqueBstr = std::unique_ptr<OLECHAR, BstrFree>;

}  // namespace

NewsBrowser::NewsBrowser(HWND parent, const RECT& bounds, Events events) {
  // Without a control, or before it draws, the band shows the panel's white.
  const HINSTANCE instance =
      RegisterWindowClass(kHostClass, &NewsBrowser::WindowProc,
                          {.Background = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH))});
  window_ = ::CreateWindowExW(0, kHostClass, L"Wbs_News",
                              WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                              bounds.left, bounds.top, bounds.right - bounds.left,
                              bounds.bottom - bounds.top, parent, nullptr, instance, nullptr);
  if (window_ == nullptr) return;
  ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  CreateControl(std::move(events));
}

NewsBrowser::~NewsBrowser() {
  if (sink_) sink_->Detach();
  if (connection_) connection_->Unadvise(cookie_);
  if (browser_) browser_->Stop();
  if (inPlace_) inPlace_->InPlaceDeactivate();
  if (object_) {
    object_->Close(OLECLOSE_NOSAVE);
    object_->SetClientSite(nullptr);
  }
  connection_.Reset();
  browser_.Reset();
  inPlace_.Reset();
  object_.Reset();
  sink_.Reset();
  site_.Reset();
  if (window_ != nullptr) {
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    ::DestroyWindow(window_);
  }
}

void NewsBrowser::CreateControl(Events events) {
  ComPtr<IOleObject> object;
  if (FAILED(::CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&object)))) {
    return;
  }
  site_ = BrowserSite::Create(window_);
  RECT area;
  ::GetClientRect(window_, &area);
  ComPtr<IWebBrowser2> browser;
  if (FAILED(object->SetClientSite(site_.Get())) ||
      FAILED(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.Get(), 0, window_, &area)) ||
      FAILED(object.As(&browser))) {
    object->Close(OLECLOSE_NOSAVE);
    object->SetClientSite(nullptr);
    site_.Reset();
    return;
  }
  object_ = object;
  object.As(&inPlace_);
  browser_ = browser;
  ConnectEvents(std::move(events));
  Resize();
}

void NewsBrowser::ConnectEvents(Events events) {
  ComPtr<IConnectionPointContainer> container;
  ComPtr<IConnectionPoint> connection;
  if (FAILED(browser_.As(&container)) ||
      FAILED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, &connection))) {
    return;
  }
  sink_ = BrowserEvents::Create(std::move(events));
  if (FAILED(connection->Advise(sink_.Get(), &cookie_))) {
    sink_.Reset();
    return;
  }
  connection_ = connection;
}

void NewsBrowser::Resize() {
  if (!inPlace_) return;
  RECT area;
  ::GetClientRect(window_, &area);
  inPlace_->SetObjectRects(&area, &area);
}

void NewsBrowser::SetVisible(bool visible) {
  if (browser_) browser_->put_Visible(visible ? VARIANT_TRUE : VARIANT_FALSE);
  if (window_ != nullptr) ::ShowWindow(window_, visible ? SW_SHOWNA : SW_HIDE);
}

bool NewsBrowser::Navigate(const std::string& url) {
  if (!browser_) return false;
  const std::wstring wide = Widen(Windows1252ToUtf8(url));
  const UniqueBstr address(::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size())));
  if (!address) return false;
  // No flags, no target frame, no post data, no headers: empty arguments.
  VARIANT none;
  ::VariantInit(&none);
  // The control may complete the navigation inside this call, and the handler may destroy this
  // object: the control stays alive until its call returns.
  const ComPtr<IWebBrowser2> browser = browser_;
  return SUCCEEDED(browser->Navigate(address.get(), &none, &none, &none, &none));
}

LRESULT CALLBACK NewsBrowser::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<NewsBrowser*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_SIZE && self != nullptr) self->Resize();
  return ::DefWindowProcW(window, message, wParam, lParam);
}
