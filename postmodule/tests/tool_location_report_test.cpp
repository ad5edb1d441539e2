// The post processor's report of a text tool-location file: what it counts,
// and the line it gives a file it cannot read.
#include "postmodule/tool_location_report.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "format_io/testing/memory_sink.h"
#include "toolloc_file/file_writer.h"

namespace postmodule {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;
using zu::fio_testing::MemorySink;

// A file of a drilling path with two holes and a mill path with a line, an
// arc and their feed type, compensation and dwell blocks.
std::string SampleFile() {
  MemorySink sink;
  zu::ToolLocationFileWriter out(sink);
  out.Head({2, 2});
  out.BeginToolList();
  out.Tool({0, "DR8", 1, 0, 8, 0, 60, 0, 0, 0});
  out.Tool({1, "D10", 1, 0, 10, 0, 75, 0, 10, 0});
  out.EndSection();
  out.Machine("C:\\Mcf\\F.mcf");
  out.CodeFile("C:\\t\\NC0001.cut");
  out.Jig({});
  out.PathStart({"holes", 0});
  out.PathPlacement({});
  out.Holes(2);
  out.Hole({10, 20, 0});
  out.Hole({-5, 40, 0});
  out.EndSection();
  out.PathStart({"contour", 1});
  out.PathPlacement({});
  out.MillKeys({});
  zu::Block line;
  line.end = {100, 0, -3};
  out.Block(line);
  zu::Block feed;
  feed.type = zu::BlockType::FeedType;
  feed.code = 5;
  out.Block(feed);
  zu::Block comp;
  comp.type = zu::BlockType::Compensation;
  comp.code = 1;
  out.Block(comp);
  zu::Block arc;
  arc.type = zu::BlockType::Arc;
  arc.end = {100, 50, -3};
  arc.centre = {100, 25, -3};
  arc.normal = {0, 0, 1};
  out.Block(arc);
  zu::Block dwell;
  dwell.type = zu::BlockType::Dwell;
  out.Block(dwell);
  out.Tail();
  EXPECT_TRUE(out.Finish().ok);
  return sink.bytes;
}

TEST(ToolLocationReport, SaysWhatTheFileHolds) {
  const Report report = ReportToolLocationFile(SampleFile(), "C:\\zu.pmf", "C:\\Mcf\\F.mcf");
  ASSERT_TRUE(report.ok) << report.text;
  EXPECT_THAT(report.text, StartsWith("(ORVOPost: a report of the tool-location file C:\\zu.pmf; "
                                      "no G code is written yet)\r\n"));
  EXPECT_THAT(report.text, HasSubstr("(NC system: C:\\Mcf\\F.mcf)\r\n"));
  EXPECT_THAT(report.text, HasSubstr("(code file named in it: C:\\t\\NC0001.cut)\r\n"));
  EXPECT_THAT(report.text, HasSubstr("(2 path records for 2 picked objects, 2 tools)\r\n"));
  EXPECT_THAT(report.text, HasSubstr("(tool 1: D10)\r\n"));
  EXPECT_THAT(report.text, HasSubstr("(path 0 \"holes\": drilling, 2 holes)\r\n"));
  EXPECT_THAT(report.text, HasSubstr("(path 1 \"contour\": milling, 5 blocks: 1 straight moves, "
                                     "1 arcs, 1 feed types, 1 compensation changes, 1 dwells)"));
  EXPECT_THAT(report.text, HasSubstr("(box of the points moved to: X -5.0000 .. 100.0000, "
                                     "Y 0.0000 .. 50.0000, Z -3.0000 .. 0.0000)\r\n"));
}

TEST(ToolLocationReport, AFileThatCannotBeReadGetsOneLineSayingWhere) {
  std::string broken = SampleFile();
  broken.resize(broken.size() / 2);
  const Report report = ReportToolLocationFile(broken, "C:\\zu.pmf", "C:\\Mcf\\F.mcf");
  EXPECT_FALSE(report.ok);
  EXPECT_THAT(report.text, StartsWith("(ORVOPost: C:\\zu.pmf cannot be read: line "));
  EXPECT_EQ(report.text.find("\r\n"), report.text.size() - 2);  // one line
}

}  // namespace
}  // namespace postmodule
