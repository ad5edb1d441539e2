// What the post processor's reports of the files it is handed share: the
// report itself, its first lines or the line of a file it cannot read, its
// lines, and the box around the points the tool moves to. Portable.
#pragma once

#include <limits>
#include <string>
#include <string_view>

#include "format_io/read_result.h"

namespace postmodule {

struct [[nodiscard]] Report {
  bool ok = true;
  std::string text;  // the code file's contents, lines ended by "\r\n"
};

// One line of a report: printf's text of `format` (at most 1023 bytes) and
// "\r\n".
std::string ReportLine(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The report of the `kind` file `source` ("tool-location") as reading it
// went (`read`): for a file that could not be read, the whole report, one
// line that says where and why, with ok false; else its first lines, which
// name the file and the NC system `machine_file`, for the caller to go on.
Report StartReport(const zu::fio::ReadResult& read, const char* kind, std::string_view source,
                   std::string_view machine_file);

// The smallest box around the points added to it.
class PointBox {
 public:
  void Add(double x, double y, double z);
  // "(box of the points moved to: X a .. b, Y c .. d, Z e .. f)", or
  // "(no point to move to)" for an empty box; a report line.
  std::string Line() const;

 private:
  static constexpr double kInf = std::numeric_limits<double>::infinity();
  bool empty_ = true;
  double low_[3] = {kInf, kInf, kInf};
  double high_[3] = {-kInf, -kInf, -kInf};
};

}  // namespace postmodule
