// Merge, repack and open timings of libvka, each as a ratio to a yardstick measured in the
// same run. Sizes come from the environment so that a quick run is possible:
//   VKA_BENCH_DIR (/tmp), VKA_BENCH_MIB (1024), VKA_BENCH_ENTRIES (100000),
//   VKA_BENCH_OPEN_ENTRIES (1000000), VKA_BENCH_ROUNDS (3).
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

#include "BenchArchives.h"
#include "vka/vka.h"

namespace fs = std::filesystem;
using namespace vka::bench;

namespace {

std::uint64_t setting(const char* name, std::uint64_t fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? std::strtoull(value, nullptr, 10) : fallback;
}

// One measure: a line for the reader, then one for run.sh to record, tab-separated:
// "result", the measure, the figure, the comparison (">=" or "<=") and the limit.
void report(const char* what, double figure, const char* comparison, double limit) {
  const bool met = std::strcmp(comparison, ">=") == 0 ? figure >= limit : figure <= limit;
  std::printf("%-58s %8.2f  (target %s %g) %s\n", what, figure, comparison, limit,
              met ? "met" : "MISSED");
  std::printf("result\t%s\t%.2f\t%s\t%g\n", what, figure, comparison, limit);
  std::fflush(stdout);
}

struct Timing {
  double work = 1e300;
  double copy = 1e300;
};

// The best of `rounds` timings of `work` and of its yardstick, cp + sync of `file`, taken
// in turns so that a disk or neighbour that is busy for a moment spoils no single figure.
Timing againstCopy(int rounds, const std::string& file, const std::string& copy,
                   const std::function<void()>& prepare, const std::function<void()>& work) {
  Timing best;
  for (int round = 0; round < rounds; ++round) {
    prepare();
    warm(file);
    best.copy = std::min(best.copy, copyAndSyncSeconds(file, copy));
    fs::remove(copy);
    warm(file);
    best.work = std::min(best.work, secondsOf(work));
  }
  return best;
}

void mergeAndRepackAgainstCopy(const fs::path& folder, std::uint64_t bytes, std::uint64_t entries,
                               int rounds) {
  const std::string source = folder / "source.vka", destination = folder / "game.vka";
  const std::string copy = folder / "copy.bin", temp = folder / "temp.vka";
  makeArchive(source, entries, bytes);
  const Timing merge = againstCopy(
      rounds, source, copy, [&] { makeArchive(destination, 10, 10 * 1024); },
      [&] { VKA_Fusion(source.c_str(), destination.c_str(), nullptr); });
  std::printf("merge of %llu MiB in %llu entries: %.2f s; cp + sync of the source: %.2f s\n",
              static_cast<unsigned long long>(bytes >> 20),
              static_cast<unsigned long long>(entries), merge.work, merge.copy);
  report("merge speed, cp+sync time / merge time", merge.copy / merge.work, ">=", 0.9);
  fs::remove(source);

  // The merged archive holds the same bytes; repacking it again and again keeps them.
  const Timing repack = againstCopy(
      rounds, destination, copy, [] {},
      [&] { VKA_Repack(destination.c_str(), temp.c_str(), nullptr); });
  std::printf("repack of that archive: %.2f s; cp + sync of it: %.2f s\n", repack.work,
              repack.copy);
  report("repack speed, cp+sync time / repack time", repack.copy / repack.work, ">=", 0.8);
  fs::remove(destination);
}

void peakMemoryWithOneHugeEntry(const fs::path& folder, std::uint64_t bytes) {
  const std::string huge = folder / "huge.vka", destination = folder / "game.vka";
  makeArchive(huge, 1, bytes);
  makeArchive(destination, 1, 1024);
  const std::string self = fs::read_symlink("/proc/self/exe");
  const long mergeKib = peakKibOfChild(self, "--peak-merge '" + huge + "' '" + destination + "'");
  const long repackKib = peakKibOfChild(
      self, "--peak-repack '" + destination + "' '" + (folder / "t.vka").string() + "'");
  std::printf("peak memory with one entry of %llu MiB: merge %.1f MiB, repack %.1f MiB\n",
              static_cast<unsigned long long>(bytes >> 20), mergeKib / 1024.0, repackKib / 1024.0);
  const double worst = std::max(mergeKib, repackKib) / 1024.0;
  // A child that failed reports no peak: the worst figure there is.
  report("peak memory of merge and repack, MiB", mergeKib > 0 && repackKib > 0 ? worst : 1e9,
         "<=", 64);
  fs::remove(huge);
  fs::remove(destination);
}

void openAgainstTableUncompress(const fs::path& folder, std::uint64_t entries) {
  const std::string many = folder / "many.vka";
  makeArchive(many, entries, entries);
  warm(many);
  const double openSeconds = bestOf(
      3, [] {}, [&] { VKA_GetFileCount(many.c_str()); });
  const double inflateSeconds = tableUncompressSeconds(many);
  std::printf("open of %llu entries: %.3f s; zlib uncompress of the table alone: %.3f s\n",
              static_cast<unsigned long long>(entries), openSeconds, inflateSeconds);
  report("open time / table uncompress time", openSeconds / inflateSeconds, "<=", 1.5);
  fs::remove(many);
}

double repackSeconds(const fs::path& folder, std::uint64_t entries) {
  const std::string original = folder / "scale.vka", work = folder / "scale-work.vka";
  makeArchive(original, entries, entries * 512, 4);
  const double seconds = bestOf(
      3,
      [&] {
        fs::copy_file(original, work, fs::copy_options::overwrite_existing);
        warm(work);
      },
      [&] { VKA_Repack(work.c_str(), (folder / "scale-temp.vka").c_str(), nullptr); });
  fs::remove(original);
  fs::remove(work);
  return seconds;
}

void repackScaling(const fs::path& folder, std::uint64_t entries) {
  const double small = repackSeconds(folder, entries / 10);
  const double large = repackSeconds(folder, entries);
  std::printf("repack of %llu entries: %.3f s; of %llu entries: %.3f s\n",
              static_cast<unsigned long long>(entries / 10), small,
              static_cast<unsigned long long>(entries), large);
  report("repack time, 10x the entries / 1x", large / small, "<=", 12);
}

}  // namespace

int main(int argc, char** argv) {
  // Child modes: one call in a fresh process, printing its peak resident memory in KiB.
  if (argc == 4 && std::strcmp(argv[1], "--peak-merge") == 0) {
    if (VKA_Fusion(argv[2], argv[3], nullptr) != VKA_OK) return 1;
    std::printf("%ld\n", ownPeakKib());
    return 0;
  }
  if (argc == 4 && std::strcmp(argv[1], "--peak-repack") == 0) {
    if (VKA_Repack(argv[2], argv[3], nullptr) != VKA_OK) return 1;
    std::printf("%ld\n", ownPeakKib());
    return 0;
  }
  const fs::path base = std::getenv("VKA_BENCH_DIR") ? std::getenv("VKA_BENCH_DIR") : "/tmp";
  const std::uint64_t bytes = setting("VKA_BENCH_MIB", 1024) << 20;
  const std::uint64_t entries = setting("VKA_BENCH_ENTRIES", 100000);
  const std::uint64_t openEntries = setting("VKA_BENCH_OPEN_ENTRIES", 1000000);
  std::string pattern = (base / "vka-bench-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    std::perror("vka bench folder");
    return 1;
  }
  const fs::path folder = pattern;
  try {
    mergeAndRepackAgainstCopy(folder, bytes, entries,
                              static_cast<int>(setting("VKA_BENCH_ROUNDS", 3)));
    peakMemoryWithOneHugeEntry(folder, bytes);
    openAgainstTableUncompress(folder, openEntries);
    repackScaling(folder, entries);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "archive bench: %s\n", failure.what());
    fs::remove_all(folder);
    return 1;
  }
  fs::remove_all(folder);
  return 0;
}
