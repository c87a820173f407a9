// Starting programs, as the launcher, its handoff and the game start need it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace morvo {

// Splits a parameter text as a Windows command line is split: blanks (space, tab) separate
// parameters, double quotes group blanks into one parameter and are removed.
std::vector<std::string> SplitCommandLine(std::string_view parameters);

// word as a Windows program's start-up code reads it back as one parameter: as it stands when
// it has no blank or quote, otherwise in quotes with its quotes and the backslashes before them
// escaped.
std::string QuoteCommandLineWord(std::string_view word);

class Shell {
 public:
  virtual ~Shell() = default;
  // Starts program (a path in this platform's encoding) with the parameter text split by
  // SplitCommandLine, detached from this process, in workingDir when not empty. A Windows
  // program file (it begins with "MZ") is started as a program (on Linux through wine when
  // that is installed); addresses and other files open as the desktop opens them.
  // True when the program was started.
  virtual bool Start(const std::string& program, std::string_view parameters,
                     const std::string& workingDir) = 0;
};

// The real shell: on Linux fork + exec, detached (own session), standard streams to /dev/null;
// on Windows CreateProcessW for programs and ShellExecuteExW for the rest.
class SystemShell : public Shell {
 public:
  bool Start(const std::string& program, std::string_view parameters,
             const std::string& workingDir) override;
};

}  // namespace morvo
