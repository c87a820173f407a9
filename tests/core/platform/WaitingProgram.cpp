// Stands in for a program started from the game folder: it only waits until the test ends it.
#include <chrono>
#include <thread>

int main() {
  std::this_thread::sleep_for(std::chrono::minutes(2));
  return 0;
}
