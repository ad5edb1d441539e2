// The post processor's report of a post-path file: what it counts, and the
// line it gives a file it cannot read.
#include "postmodule/post_path_report.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "format_io/testing/memory_sink.h"
#include "postpath_file/file_writer.h"

namespace postmodule {
namespace {

using ::testing::StartsWith;
using zu::fio_testing::MemorySink;
namespace ppf = zu::ppf;

ppf::PathHead Head(int type, const char* name) {
  ppf::PathHead head;
  head.type = type;
  head.name = name;
  return head;
}

ppf::Block Move(ppf::Vec3 end, int feed_type, int compensation = 0) {
  ppf::Block block;
  block.end = end;
  block.feed_type = feed_type;
  block.compensation = compensation;
  return block;
}

// A process of a drilling bracket with two holes, a milling bracket with
// rapid and feed moves, compensation, an arc and a dwell, and a five-axis
// bracket of point-and-axis moves.
std::string SampleFile() {
  MemorySink sink;
  ppf::PostPathFileWriter out(sink);
  out.Process({"1.0", "ORVO ZU", "BRACKET-7", "", 0, 0});
  out.DrillPath(Head(ppf::kPathDrill, "holes"), {});
  out.Hole({10, 20, 0});
  out.Hole({-5, 40, 0});
  out.EndPath();
  ppf::MillRecord feeds;
  feeds.feeds = {-1, -1, 800, 800, 200, 400, 400, 800, 1200, -1};
  out.MillPath(Head(ppf::kPathMill, "contour"), feeds);
  out.Block(Move({0, 0, 50}, 1));
  out.Block(Move({0, 0, -3}, 4));
  out.Block(Move({100, 0, -3}, 5, 1));
  ppf::Block arc = Move({100, 50, -3}, 5, 1);
  arc.kind = ppf::kBlockArc;
  arc.centre = {100, 25, -3};
  arc.has_vector = true;
  arc.vector = {0, 0, 1};
  arc.dwell = ppf::kDwellAfter;
  out.Block(arc);
  out.Block(Move({100, 50, 50}, 1));
  out.EndPath();
  out.MillPath(Head(ppf::kPathFiveAxis, "blade"), feeds);
  ppf::Block axis = Move({0, 0, 60}, 2);
  axis.has_vector = true;
  axis.vector = {0, 0.6, 0.8};
  axis.position_mark = ppf::kMarkApproach;
  out.Block(axis);
  out.EndPath();
  out.EndProcess();
  EXPECT_TRUE(out.Finish().ok);
  return sink.bytes;
}

TEST(PostPathReport, SaysWhatTheFileHolds) {
  const Report report = ReportPostPathFile(SampleFile(), "C:\\zucl.pmf", "C:\\Mcf\\F.mcf");
  ASSERT_TRUE(report.ok) << report.text;
  EXPECT_EQ(report.text,
            "(ORVOPost: a report of the post-path file C:\\zucl.pmf; no G code is written yet)\r\n"
            "(NC system: C:\\Mcf\\F.mcf)\r\n"
            "(process: BRACKET-7)\r\n"
            "(3 brackets)\r\n"
            "(bracket 1 \"holes\": drilling, 2 holes)\r\n"
            "(bracket 2 \"contour\": milling, 5 blocks: 4 straight moves (0 with a tool axis), "
            "1 arcs; feed types 1, 4, 5; 2 compensation changes, 1 dwells, 0 marked moves)\r\n"
            "(bracket 3 \"blade\": five-axis, 1 blocks: 1 straight moves (1 with a tool axis), "
            "0 arcs; feed types 2; 0 compensation changes, 0 dwells, 1 marked moves)\r\n"
            "(box of the points moved to: X -5.0000 .. 100.0000, Y 0.0000 .. 50.0000, "
            "Z -3.0000 .. 60.0000)\r\n");
}

TEST(PostPathReport, AProcessWithoutBracketsHasNoBox) {
  MemorySink sink;
  ppf::PostPathFileWriter out(sink);
  out.Process({});
  out.EndProcess();
  ASSERT_TRUE(out.Finish().ok);
  const Report report = ReportPostPathFile(sink.bytes, "a.pmf", "m.mcf");
  ASSERT_TRUE(report.ok) << report.text;
  EXPECT_THAT(report.text, ::testing::EndsWith("(process: )\r\n(0 brackets)\r\n"
                                               "(no point to move to)\r\n"));
}

TEST(PostPathReport, AFileThatCannotBeReadGetsOneLineSayingWhere) {
  const std::string sample = SampleFile();
  const struct Case {
    std::string text;
    const char* start;
  } cases[] = {
      {"", "(ORVOPost: C:\\zucl.pmf cannot be read: line 1: the file is empty"},
      {"tool locations", "(ORVOPost: C:\\zucl.pmf cannot be read: line 1: the file ends inside"},
      {sample.substr(0, sample.size() / 2), "(ORVOPost: C:\\zucl.pmf cannot be read: line "},
      // The text tool-location file is not this one.
      {"[filehead]\r\nfileversion 1.0\r\n",
       "(ORVOPost: C:\\zucl.pmf cannot be read: line 1: "
       "unknown statement \"[filehead]\""},
  };
  for (const Case& c : cases) {
    const Report report = ReportPostPathFile(c.text, "C:\\zucl.pmf", "C:\\Mcf\\F.mcf");
    EXPECT_FALSE(report.ok) << c.text;
    EXPECT_THAT(report.text, StartsWith(c.start)) << c.text;
    EXPECT_EQ(report.text.find("\r\n"), report.text.size() - 2) << c.text;  // one line
  }
}

}  // namespace
}  // namespace postmodule
