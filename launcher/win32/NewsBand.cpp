#include "NewsBand.h"

#include "NewsBorder.h"

NewsBand::NewsBand(HWND parent, const RECT& bounds, COLORREF borderColour, bool visible,
                   NewsBrowser::Events events)
    : browser_(std::make_unique<NewsBrowser>(parent, bounds, std::move(events))) {
  // The strips are made after the page so that they lie above its outermost pixels.
  border_ =
      std::make_unique<NewsBorder>(parent, bounds.left, bounds.top, bounds.right - bounds.left,
                                   bounds.bottom - bounds.top, borderColour);
  browser_->SetVisible(visible);
  border_->Show(visible);
}

NewsBand::~NewsBand() = default;

bool NewsBand::Request(const std::string& url) {
  return browser_->Created() && browser_->Navigate(url);
}

void NewsBand::GiveUp() { browser_->SetVisible(false); }
