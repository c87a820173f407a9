// Archives and yardsticks for the archive benchmarks.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace vka::bench {

// Seconds that `work` takes.
double secondsOf(const std::function<void()>& work);
// The fastest of `runs` timings of `work`, each after `prepare` (not timed).
double bestOf(int runs, const std::function<void()>& prepare, const std::function<void()>& work);

// An archive of "data" and `entries` file entries with `totalBytes` stored bytes in all,
// split evenly; every `duplicateEvery`-th entry repeats an earlier name (0: none).
void makeArchive(const std::string& path, std::uint64_t entries, std::uint64_t totalBytes,
                 std::uint64_t duplicateEvery = 0);

// Copies a file with cp and flushes the copy with sync, as the yardstick for data movement.
double copyAndSyncSeconds(const std::string& from, const std::string& to);
// Seconds zlib `uncompress` needs for the archive's table alone (read into memory first).
double tableUncompressSeconds(const std::string& archivePath);
// Flushes pending writes and reads a file once, so that every timing starts from the same
// clean, warm page cache.
void warm(const std::string& path);

// Peak resident memory (VmHWM, KiB) of a fresh process running this program with `args`.
long peakKibOfChild(const std::string& self, const std::string& args);
long ownPeakKib();

}  // namespace vka::bench
