#include "BrowserEvents.h"

#include <exdisp.h>
#include <exdispid.h>
#include <wrl/client.h>

#include <optional>

namespace {

// An event's argument as a 32-bit integer, whatever integer type the control sent.
std::optional<int> IntArgument(const VARIANTARG& argument) {
  VARIANT converted;
  ::VariantInit(&converted);
  if (FAILED(::VariantChangeType(&converted, const_cast<VARIANTARG*>(&argument), 0, VT_I4))) {
    return std::nullopt;
  }
  return converted.lVal;
}

}  // namespace

HRESULT BrowserEvents::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == DIID_DWebBrowserEvents2) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG BrowserEvents::AddRef() { return ++references_; }

ULONG BrowserEvents::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT BrowserEvents::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT BrowserEvents::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info != nullptr) *info = nullptr;
  return E_NOTIMPL;
}

HRESULT BrowserEvents::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

HRESULT BrowserEvents::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*,
                              EXCEPINFO*, UINT*) {
  // A handler may run the whole patch run and even destroy the news page: this object and the
  // handler it calls stay alive until the handler returns.
  Microsoft::WRL::ComPtr<BrowserEvents> self(this);
  switch (id) {
    case DISPID_PROGRESSCHANGE:
      OnProgressChange(parameters);
      break;
    case DISPID_NAVIGATECOMPLETE2:
    case DISPID_NAVIGATEERROR:
      if (const auto handler = events_.NavigateComplete) handler();
      break;
    default:
      break;
  }
  return S_OK;
}

void BrowserEvents::OnProgressChange(const DISPPARAMS* parameters) {
  // ProgressChange(Progress, ProgressMax): dispatch arguments come last first.
  if (parameters == nullptr || parameters->cArgs != 2 || parameters->rgvarg == nullptr) return;
  const std::optional<int> progressMax = IntArgument(parameters->rgvarg[0]);
  const std::optional<int> progress = IntArgument(parameters->rgvarg[1]);
  if (!progress || !progressMax) return;
  if (const auto handler = events_.ProgressChange) handler(*progress, *progressMax);
}
