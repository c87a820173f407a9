// The game of the tools' tests, a program on every platform: it leaves marker.txt in the
// folder it was started in, so that a test sees that it was started, and where.
#include <fstream>

int main() {
  std::ofstream("marker.txt") << "started\n";
  return 0;
}
