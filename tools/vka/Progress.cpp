#include "Progress.h"

#include <chrono>
#include <cstdio>

namespace {

// The library calls back without context; the tool runs one progress at a time.
TerminalProgress* current = nullptr;

std::int64_t nowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

TerminalProgress::TerminalProgress(std::string label, std::uint64_t total)
    : label_(std::move(label)), total_(total), shown_(IsTerminal(stdout)), previous_(current) {
  current = this;
}

TerminalProgress::~TerminalProgress() {
  current = previous_;
  line_.Erase();
  std::fflush(stdout);
}

void TerminalProgress::step() {
  ++done_;
  if (shown_ && (nowMs() - lastDrawnMs_ >= 100 || done_ == total_)) draw();
}

void TerminalProgress::stepCurrent() {
  if (current != nullptr) current->step();
}

void TerminalProgress::draw() {
  lastDrawnMs_ = nowMs();
  const unsigned percent = total_ == 0 ? 100 : static_cast<unsigned>(done_ * 100 / total_);
  char counts[64];
  std::snprintf(counts, sizeof counts, " %llu/%llu (%u%%)", static_cast<unsigned long long>(done_),
                static_cast<unsigned long long>(total_), percent);
  line_.Draw(label_ + counts);
}
