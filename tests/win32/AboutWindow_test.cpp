// The About window's texts, captions and tab order in both languages.
#include "AboutWindow.h"

#include <gtest/gtest.h>

#include "ClickSound.h"
#include "Win32Text.h"

using namespace morvo;

namespace {

class RecordingShell : public Shell {
 public:
  bool Start(const std::string& program, std::string_view, const std::string&) override {
    started.push_back(program);
    return true;
  }
  std::vector<std::string> started;
};

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace

TEST(AboutWindow, CaptionsTextAndTabOrderInBothLanguages) {
  PatcherSettings settings;
  settings.AboutText = "Serveur \xAB Test \xBB";
  settings.RegisterUrl = "https://register.example.org/\xE9t\xE9";
  ClickSound sound;
  RecordingShell shell;
  AboutWindow about(nullptr, settings, sound, shell);
  if (about.Window() == nullptr) GTEST_SKIP() << "no display to create windows on";

  struct Case {
    int language;
    bool english;
    const wchar_t* registerCaption;
    const wchar_t* closeCaption;
  };
  // A language other than 0 and 1 keeps what the window showed before.
  for (const Case c :
       {Case{1, true, L"Registering", L"Close"}, Case{7, true, L"Registering", L"Close"},
        Case{0, false, L"Inscription", L"Fermer"}}) {
    settings.Language = c.language;
    about.Fill();
    EXPECT_EQ(about.IsEnglish(), c.english) << c.language;
    EXPECT_EQ(TextOf(about.RegisterButton()), c.registerCaption) << c.language;
    EXPECT_EQ(TextOf(about.CloseButton()), c.closeCaption) << c.language;
    const std::wstring shown = TextOf(about.TextBox());
    EXPECT_EQ(shown.rfind(L"Serveur \u00AB Test \u00BB\r\n\r\n-----", 0), 0u) << c.language;
    EXPECT_EQ(shown, WideFrom1252(about.AboutBody()));
  }
  // Close comes first in the tab order and the text box is left out.
  EXPECT_EQ(::GetNextDlgTabItem(about.Window(), nullptr, FALSE), about.CloseButton());
  EXPECT_EQ(::GetNextDlgTabItem(about.Window(), about.CloseButton(), FALSE),
            about.RegisterButton());
  const LONG_PTR textStyle = ::GetWindowLongPtrW(about.TextBox(), GWL_STYLE);
  EXPECT_TRUE(textStyle & ES_READONLY);
  EXPECT_FALSE(textStyle & WS_TABSTOP);
  RECT client;
  ::GetClientRect(about.Window(), &client);
  EXPECT_EQ(client.right, 346);
  EXPECT_EQ(client.bottom, 323);

  // Register opens the sign-up page through the shell and leaves the window as it was.
  ::SendMessageW(about.Window(), WM_COMMAND,
                 MAKEWPARAM(::GetDlgCtrlID(about.RegisterButton()), BN_CLICKED),
                 reinterpret_cast<LPARAM>(about.RegisterButton()));
  ASSERT_EQ(shell.started.size(), 1u);
  EXPECT_EQ(shell.started[0], "https://register.example.org/\xC3\xA9t\xC3\xA9");
}
