// Receives the web browser control's events (the DWebBrowserEvents2 dispatch interface) and
// hands the few the news page needs to the window.
#pragma once

#include <oaidl.h>
#include <windows.h>
#include <wrl/client.h>

#include <utility>

#include "NewsBrowser.h"

class BrowserEvents : public IDispatch {
 public:
  static Microsoft::WRL::ComPtr<BrowserEvents> Create(NewsBrowser::Events events) {
    return Microsoft::WRL::ComPtr<BrowserEvents>(new BrowserEvents(std::move(events)));
  }

  // After this, events that the control still delivers are ignored.
  void Detach() { events_ = {}; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IDispatch: only Invoke is used by a connection point.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                   DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argumentError) override;

 private:
  explicit BrowserEvents(NewsBrowser::Events events) : events_(std::move(events)) {}
  virtual ~BrowserEvents() = default;
  void OnProgressChange(const DISPPARAMS* parameters);

  NewsBrowser::Events events_;
  ULONG references_ = 0;  // the first owner is the pointer Create returns
};
