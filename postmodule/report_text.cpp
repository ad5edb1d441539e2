#include "postmodule/report_text.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace postmodule {

std::string ReportLine(const char* format, ...) {
  char text[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return std::string(text) + "\r\n";
}

Report StartReport(const zu::fio::ReadResult& read, const char* kind, std::string_view source,
                   std::string_view machine_file) {
  Report report;
  const std::string from(source);
  if (!read.ok) {
    report.ok = false;
    report.text = ReportLine("(ORVOPost: %s cannot be read: %s)", from.c_str(), read.error.c_str());
    return report;
  }
  report.text = ReportLine("(ORVOPost: a report of the %s file %s; no G code is written yet)", kind,
                           from.c_str()) +
                ReportLine("(NC system: %s)", std::string(machine_file).c_str());
  return report;
}

void PointBox::Add(double x, double y, double z) {
  empty_ = false;
  const double p[3] = {x, y, z};
  for (int i = 0; i < 3; ++i) {
    low_[i] = std::min(low_[i], p[i]);
    high_[i] = std::max(high_[i], p[i]);
  }
}

std::string PointBox::Line() const {
  if (empty_)
    return ReportLine("(no point to move to)");
  return ReportLine("(box of the points moved to: X %.4f .. %.4f, Y %.4f .. %.4f, Z %.4f .. %.4f)",
                    low_[0], high_[0], low_[1], high_[1], low_[2], high_[2]);
}

}  // namespace postmodule
