#include "TableCompression.h"

#include <system_error>

#include "FileTable.h"

namespace vka {

TableCompression::TableCompression(const EntryList& entries, std::string_view names)
    : entries_(entries), names_(names) {
  try {
    worker_ = std::thread([this] { run(); });
  } catch (const std::system_error&) {
    run();  // no thread to be had: the table is made here, before the data move
  }
}

TableCompression::~TableCompression() {
  if (worker_.joinable()) worker_.join();
}

void TableCompression::run() noexcept {
  try {
    made_ = compressTable(buildTableImage(entries_, names_), packed_);
  } catch (const std::bad_alloc&) {
    made_ = false;
  }
}

bool TableCompression::take(NamePool& packed) {
  if (worker_.joinable()) worker_.join();
  packed = std::move(packed_);
  return made_;
}

}  // namespace vka
