// The About window: the configured text with the product lines, a sign-up button and a close
// button. Created hidden once, refilled and shown modally on each About click, with the main
// window disabled meanwhile.
#pragma once

#include <windows.h>

#include <string>

#include "GdiOwners.h"
#include "config/PatcherSettings.h"
#include "platform/Shell.h"

class ClickSound;

class AboutWindow {
 public:
  AboutWindow(HWND owner, const morvo::PatcherSettings& settings, ClickSound& clickSound,
              morvo::Shell& shell);
  ~AboutWindow();
  AboutWindow(const AboutWindow&) = delete;
  AboutWindow& operator=(const AboutWindow&) = delete;

  // Sets IsEnglish and AboutBody from Language (any value but 0 and 1 keeps them) and puts the
  // captions and the text in the controls.
  void Fill();
  // Fill, then shows the window modally; returns once it is closed.
  void FillAndShow();

  bool IsEnglish() const { return isEnglish_; }
  const std::string& AboutBody() const { return aboutBody_; }
  HWND Window() const { return window_; }
  HWND TextBox() const { return mbxAbout_; }
  HWND RegisterButton() const { return btnRegister_; }
  HWND CloseButton() const { return btnClose_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void RunModalLoop();
  void Btn_RegisterClick();
  void Btn_CloseClick();
  void Close();

  HWND owner_;
  const morvo::PatcherSettings& settings_;
  ClickSound& clickSound_;
  morvo::Shell& shell_;
  bool isEnglish_ = false;
  std::string aboutBody_;
  bool open_ = false;
  UniqueFont font_;
  HWND window_ = nullptr;
  HWND mbxAbout_ = nullptr;
  HWND btnClose_ = nullptr;
  HWND btnRegister_ = nullptr;
};
