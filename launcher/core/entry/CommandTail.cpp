#include "entry/CommandTail.h"

namespace morvo {

namespace {

bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= 0x20; }

}  // namespace

EntryMode ModeOfParameters(const std::vector<std::string>& parameters) {
  if (parameters.size() < 2) return EntryMode::Normal;
  if (parameters[1] == kHandoffStep1Word) return EntryMode::HandoffStep1;
  if (parameters[1] == kHandoffStep2Word) return EntryMode::HandoffStep2;
  return EntryMode::Normal;
}

std::string GetCommandTail(const std::vector<std::string>& parameters) {
  std::string tail;
  for (std::size_t i = 2; i < parameters.size(); ++i) {
    tail += parameters[i];
    tail += ' ';
  }
  std::size_t first = 0;
  while (first < tail.size() && IsTrimmed(tail[first])) ++first;
  std::size_t last = tail.size();
  while (last > first && IsTrimmed(tail[last - 1])) --last;
  return tail.substr(first, last - first);
}

}  // namespace morvo
