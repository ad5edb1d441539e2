// For writer tests: a writer of either format over a MemorySink, given its
// records, finished, and what it made.
#pragma once

#include <functional>
#include <string>
#include <utility>

#include "format_io/testing/memory_sink.h"
#include "format_io/write_result.h"

namespace zu::fio_testing {

struct Written {
  std::string bytes;  // what the sink stored
  fio::WriteResult result;
};

// A new `Writer` over a MemorySink that stores line ends as `ends`, given
// its records by `records`, then finished.
template <typename Writer>
Written WrittenBy(const std::function<void(Writer&)>& records,
                  MemorySink::LineEnds ends = MemorySink::LineEnds::CrLf) {
  MemorySink sink(ends);
  Writer writer(sink);
  records(writer);
  fio::WriteResult result = writer.Finish();
  return {std::move(sink.bytes), std::move(result)};
}

}  // namespace zu::fio_testing
