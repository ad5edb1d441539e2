// The programs of gcode/samples/ read without an error, the same from a file
// and from memory, with LF or CR LF, and give what is pinned here.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "gcode/interpreter.h"
#include "gcode/tests/protocol_checker.h"
#include "gcode/tests/recording_receiver.h"
#include "gcode/tests/systems.h"

namespace zu::gcode::testing {
namespace {

struct Expected {
  Sample system;
  const char* file;
  const char* summary;  // how many calls of each kind
  const char* last;     // the last move, hole or arc
};

const Expected kSamples[] = {
    {Sample::kFanuc, "fanuc_plate.nc",
     "arc 2, d 1, diameter 1, drill 3, end 3, feed 13, feedrate 8, hole 5, rapid 8, speed 5, tool "
     "3",
     "hole 60 15 -20"},
    {Sample::kFanuc, "fanuc_inch.nc",
     "arc 3, d 1, end 1, feed 14, feedrate 12, rapid 13, speed 1, tool 1", "rapid 63.5 12.7 25.4"},
    {Sample::kHnc, "hnc_flange.nc",
     "arc 3, d 1, drill 2, end 2, feed 3, feedrate 3, hole 4, rapid 6, speed 3, tool 2",
     "rapid -70 105 30"},
    {Sample::kHnc, "hnc_pocket.nc",
     "arc 4, d 1, end 1, feed 8, feedrate 2, rapid 2, speed 2, tool 1", "rapid 0 0 20"},
    {Sample::kSiemens, "siemens_housing.mpf",
     "arc 4, d 2, drill 2, end 2, feed 10, feedrate 4, hole 4, rapid 7, speed 3",
     "rapid 40 30 100"},
    {Sample::kSiemens, "siemens_slots.mpf",
     "d 1, end 1, feed 6, feedrate 6, rapid 7, speed 1, tool 1", "rapid 0 45 20"},
    {Sample::kLinuxCnc, "linuxcnc_bracket.ngc",
     "arc 2, d 1, drill 3, end 2, feed 6, feedrate 3, hole 4, rapid 4, speed 3, tool 2",
     "rapid 30 35 50"},
    {Sample::kFanucAc, "fanuc_5axis.nc", "end 1, feed 6, feedrate 5, rapid 4, speed 2, tool 1",
     "rapid 0 0 50"},
};

std::string Text(const char* file) {
  std::ifstream in(std::string(ZU_SOURCE_DIR) + "/gcode/samples/" + file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// "kind count, ..." over the recorded calls (name, next and start left out).
std::string Summary(const std::vector<std::string>& lines, std::string& last) {
  std::map<std::string, int> counts;
  for (const std::string& line : lines) {
    const std::string kind = line.substr(0, line.find(' '));
    if (kind == "next" || kind == "start" || kind == "name" || kind == "flush")
      continue;
    ++counts[kind];
    if (kind == "rapid" || kind == "feed" || kind == "arc" || kind == "hole")
      last = line;
  }
  std::string out;
  for (const auto& [kind, count] : counts)
    out += (out.empty() ? "" : ", ") + kind + " " + std::to_string(count);
  return out;
}

TEST(Samples, ReadWithoutErrorsAndGiveWhatIsPinned) {
  for (const Expected& sample : kSamples) {
    SCOPED_TRACE(sample.file);
    const std::string text = Text(sample.file);
    ASSERT_FALSE(text.empty());
    RecordingReceiver receiver;
    TextLineSource source(text);
    const ProgramRead read = ReadProgram(System(sample.system), source, receiver);
    for (const Diagnostic& error : read.errors)
      ADD_FAILURE() << "line " << error.line << ": " << error.message << " in " << error.block;
    std::string last;
    EXPECT_EQ(Summary(receiver.lines, last), sample.summary);
    EXPECT_EQ(last, sample.last);

    // The same from a file, through a small buffer.
    std::FILE* file =
        std::fopen((std::string(ZU_SOURCE_DIR) + "/gcode/samples/" + sample.file).c_str(), "rb");
    ASSERT_NE(file, nullptr);
    FileByteReader bytes(file);
    StreamLineSource stream(bytes, 64);
    RecordingReceiver from_file;
    const ProgramRead read_file = ReadProgram(System(sample.system), stream, from_file);
    std::fclose(file);
    EXPECT_EQ(read_file.error_count, 0u);
    EXPECT_EQ(from_file.lines, receiver.lines);

    // The same with CR LF.
    std::string crlf;
    for (char c : text)
      crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    TextLineSource crlf_source(crlf);
    RecordingReceiver from_crlf;
    EXPECT_EQ(ReadProgram(System(sample.system), crlf_source, from_crlf).error_count, 0u);
    EXPECT_EQ(from_crlf.lines, receiver.lines);
  }
}

// Each sample read as another system: errors, perhaps, but the order kept.
TEST(Samples, ReadAsAnotherSystemKeepTheOrder) {
  for (const Expected& sample : kSamples) {
    for (Sample other :
         {Sample::kFanuc, Sample::kHnc, Sample::kSiemens, Sample::kLinuxCnc, Sample::kFanucAc}) {
      const std::string text = Text(sample.file);
      ProtocolChecker checker;
      TextLineSource source(text);
      const ProgramRead read = ReadProgram(System(other), source, checker);
      EXPECT_TRUE(checker.Closed()) << sample.file << ": " << checker.fault;
      EXPECT_EQ(read.paths, checker.paths);
      // The same with the multi-axis receiver: each move after its axes.
      ProtocolChecker with_axes;
      with_axes.axes = true;
      TextLineSource again(text);
      (void)ReadProgram(System(other), again, with_axes, with_axes);
      EXPECT_TRUE(with_axes.Closed()) << sample.file << ": " << with_axes.fault;
      // (FANUC-0i-AC reads what FANUC-0i reads, and more.)
      if (other != sample.system && other != Sample::kFanucAc) {
        EXPECT_GT(read.error_count, 0u) << sample.file;
      }
    }
  }
}

}  // namespace
}  // namespace zu::gcode::testing
