// make_bench_archive PATH ENTRIES BYTES: the archive benchmarks' test archive (BYTES stored
// bytes split evenly over ENTRIES entries), for the Wine benchmark to merge and repack.
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "BenchArchives.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: make_bench_archive PATH ENTRIES BYTES\n");
    return 2;
  }
  const unsigned long long entries = std::strtoull(argv[2], nullptr, 10);
  const unsigned long long bytes = std::strtoull(argv[3], nullptr, 10);
  if (entries == 0) {
    std::fprintf(stderr, "make_bench_archive: ENTRIES must be at least 1\n");
    return 2;
  }
  try {
    vka::bench::makeArchive(argv[1], entries, bytes);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "make_bench_archive: %s\n", failure.what());
    return 1;
  }
  return 0;
}
