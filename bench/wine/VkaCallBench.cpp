// vka_call_bench merge SOURCE DESTINATION | repack ARCHIVE TEMP: one call of the archive
// library as the game folder ships it (VKA.dll under Wine); prints the seconds it took.
#include <chrono>
#include <cstdio>
#include <cstring>

#include "vka/vka.h"

int main(int argc, char** argv) {
  const bool merge = argc == 4 && std::strcmp(argv[1], "merge") == 0;
  const bool repack = argc == 4 && std::strcmp(argv[1], "repack") == 0;
  if (!merge && !repack) {
    std::fprintf(stderr, "usage: vka_call_bench merge SOURCE DESTINATION | repack ARCHIVE TEMP\n");
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();
  const std::int32_t result =
      merge ? VKA_Fusion(argv[2], argv[3], nullptr) : VKA_Repack(argv[2], argv[3], nullptr);
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  if (result != VKA_OK) {
    std::fprintf(stderr, "vka_call_bench: %s failed (%d)\n", argv[1], static_cast<int>(result));
    return 1;
  }
  std::printf("%.3f\n", elapsed.count());
  return 0;
}
