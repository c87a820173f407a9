// The news band: the web browser control on the news bounds, framed by its four strips. Either
// may be hidden by the settings; a hidden page still loads.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "NewsBrowser.h"

class NewsBorder;

class NewsBand {
 public:
  NewsBand(HWND parent, const RECT& bounds, COLORREF borderColour, bool visible,
           NewsBrowser::Events events);
  ~NewsBand();
  NewsBand(const NewsBand&) = delete;
  NewsBand& operator=(const NewsBand&) = delete;

  // Starts loading url (Windows-1252). False when no page can come: the control could not be
  // created or refused the address.
  bool Request(const std::string& url);
  // The page is no longer awaited: the band stays empty.
  void GiveUp();

 private:
  std::unique_ptr<NewsBrowser> browser_;
  std::unique_ptr<NewsBorder> border_;
};
