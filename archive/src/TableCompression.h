// A table image built and compressed on a second thread while the caller moves the entries'
// data: on two cores, the table of a large merge or repack then costs no time of its own.
#pragma once

#include <string_view>
#include <thread>

#include "ArchiveEntry.h"

namespace vka {

class TableCompression {
 public:
  // Starts at once; `entries` and `names` must stay unchanged until take() returns.
  TableCompression(const EntryList& entries, std::string_view names);
  ~TableCompression();
  TableCompression(const TableCompression&) = delete;
  TableCompression& operator=(const TableCompression&) = delete;

  // Waits for the compressed table: false if it could not be made.
  bool take(NamePool& packed);

 private:
  void run() noexcept;

  const EntryList& entries_;
  std::string_view names_;
  NamePool packed_;
  bool made_ = false;
  std::thread worker_;
};

}  // namespace vka
