#include "toolloc_file/file_writer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "format_io/testing/memory_sink.h"
#include "format_io/testing/written.h"
#include "toolloc_file/file_model.h"
#include "toolloc_file/tests/sample_file.h"

namespace zu {
namespace {

using fio_testing::MemorySink;
using fio_testing::Written;
using ::testing::HasSubstr;
using toolloc_testing::ArcTo;
using toolloc_testing::CodeBlock;
using toolloc_testing::LineTo;
using toolloc_testing::SampleFile;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// The lines a file of `file` is written as, with '\n' line ends, and the
// outcome.
Written Write(const ToolLocationFile& file) {
  return fio_testing::WrittenBy<ToolLocationFileWriter>(
      [&](ToolLocationFileWriter& out) { SendToolLocationFile(file, out); },
      MemorySink::LineEnds::AsGiven);
}

// A file around `paths`: one tool per path, nothing else of interest.
ToolLocationFile FileOf(std::vector<ToolLocationPath> paths) {
  ToolLocationFile file;
  const int count = static_cast<int>(paths.size());
  file.head = {count, count};
  for (int i = 0; i < count; ++i)
    file.tools.push_back({i, "T", 0, 0, 0, 0, 0, 0, 0, 0});
  file.paths = std::move(paths);
  return file;
}

// The path records of the written `file`: from the first "[pathpara]" to
// the tail.
std::string PathRecordsOf(const ToolLocationFile& file) {
  const Written written = Write(file);
  EXPECT_TRUE(written.result.ok) << written.result.error;
  const auto first = written.bytes.find("[pathpara]\n");
  const auto tail = written.bytes.rfind("[filetail]\n");
  if (first == std::string::npos || tail == std::string::npos)
    return "no path records in: " + written.bytes;
  return written.bytes.substr(first, tail - first);
}

// A placement whose lines are short to write out.
PathPlacement SimplePlacement() {
  return {
      {0, 0, 100}, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {-50, -50, -20}, {100, 100, 20}};
}
constexpr const char* kSimplePlacementLines =
    "homepoint 0.00000000000000000000,0.00000000000000000000,100.00000000000000000000\n"
    "pathcoordinate 0.00000000000000000000,0.00000000000000000000,0.00000000000000000000\n"
    "1.00000000000000000000,0.00000000000000000000,0.00000000000000000000\n"
    "0.00000000000000000000,1.00000000000000000000,0.00000000000000000000\n"
    "0.00000000000000000000,0.00000000000000000000,1.00000000000000000000\n"
    "stock -50.00000000000000000000,-50.00000000000000000000,-20.00000000000000000000\n"
    "100.00000000000000000000,100.00000000000000000000,20.00000000000000000000\n";

ToolLocationPath MillPath(int path_type, std::vector<Block> blocks) {
  ToolLocationPath path;
  path.start = {"p", 0};
  path.placement = SimplePlacement();
  path.mill_keys = MillKeys{path_type, 0, 0, 0, 0, 0, {0, 0, 0, 0}, {}};
  path.blocks = std::move(blocks);
  return path;
}

TEST(FileWriter, AnEmptyPickHasEverySectionButPathRecords) {
  ToolLocationFile file;
  file.mcf_path = "C:\\ORVO\\NCSystems\\FANUC.mcf";
  file.code_file = "C:\\Cut\\NC0001.cut";
  file.jig = {0, {{1, 2, 3}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
  const Written written = Write(file);
  ASSERT_TRUE(written.result.ok) << written.result.error;
  EXPECT_EQ(written.bytes,
            "[filehead]\n"
            "fileversion 1.0\n"
            "pathnumber 0\n"
            "toolnumber 0\n"
            "personinfo ORVO ZU 2006 r3\n"
            "[endsect]\n"
            "[toollist]\n"
            "[endsect]\n"
            "[machine]\n"
            "mcfname C:\\ORVO\\NCSystems\\FANUC.mcf\n"
            "[endsect]\n"
            "[creategfile]\n"
            "filename C:\\Cut\\NC0001.cut\n"
            "[endsect]\n"
            "[jigcoordinate]\n"
            "usejigcoord 0\n"
            "jigcoord 1.00000000000000000000,2.00000000000000000000,3.00000000000000000000\n"
            "1.00000000000000000000,0.00000000000000000000,0.00000000000000000000\n"
            "0.00000000000000000000,1.00000000000000000000,0.00000000000000000000\n"
            "0.00000000000000000000,0.00000000000000000000,1.00000000000000000000\n"
            "[endsect]\n"
            "[filetail]\n");
}

TEST(FileWriter, ToolLines) {
  const struct Case {
    ToolEntry tool;
    const char* line;
  } cases[] = {
      {{0, "D10", 1, 2, 10, 6, 3, 0.5, -1, 118},
       "0,D10,1,2,2,10.00000000000000000000,6.00000000000000000000,3.00000000000000000000,"
       "0.00000000000000000000,0.50000000000000000000,-1.00000000000000000000,"
       "118.00000000000000000000,ORVO ZU"},
      // Every ',' of the name is a blank; other bytes stay as they are.
      {{0, "D10,R5,,", -7, 0, 0, 0, 0, 0, 0, 0},
       "0,D10 R5  ,-7,0,0,0.00000000000000000000,0.00000000000000000000,0.00000000000000000000,"
       "0.00000000000000000000,0.00000000000000000000,0.00000000000000000000,"
       "0.00000000000000000000,ORVO ZU"},
      {{0, "\xc7\xf2 \xb5\xb6", 0, -1, 0, 0, 0, 0, 0, -0.0},
       "0,\xc7\xf2 \xb5\xb6,0,-1,-1,0.00000000000000000000,0.00000000000000000000,"
       "0.00000000000000000000,0.00000000000000000000,0.00000000000000000000,"
       "0.00000000000000000000,-0.00000000000000000000,ORVO ZU"},
      {{0, "", 2147483647, -2147483647 - 1, 0.1, 0, 0, 0, 0, 0},
       "0,,2147483647,-2147483648,-2147483648,0.10000000000000000555,0.00000000000000000000,"
       "0.00000000000000000000,0.00000000000000000000,0.00000000000000000000,"
       "0.00000000000000000000,0.00000000000000000000,ORVO ZU"},
  };
  for (const Case& c : cases) {
    ToolLocationFile file;
    file.head = {1, 1};
    file.tools = {c.tool};
    const Written written = Write(file);
    ASSERT_TRUE(written.result.ok) << written.result.error;
    EXPECT_THAT(written.bytes, HasSubstr(std::string("[toollist]\n") + c.line + "\n[endsect]\n"))
        << "tool name \"" << c.tool.name << "\"";
  }
}

TEST(FileWriter, BlocksOfAMillRecord) {
  const struct Case {
    Block block;
    const char* keys;  // between "blocktype N\n" and "[endsect]\n"
  } cases[] = {
      {LineTo({1, -2, 0.5}),
       "endpoint 1.00000000000000000000,-2.00000000000000000000,0.50000000000000000000\n"},
      {ArcTo({20, 10, -2}, {10, 10, -2}, {0, 0, -1}),
       "endpoint 20.00000000000000000000,10.00000000000000000000,-2.00000000000000000000\n"
       "center 10.00000000000000000000,10.00000000000000000000,-2.00000000000000000000\n"
       "vector 0.00000000000000000000,0.00000000000000000000,-1.00000000000000000000\n"},
      {CodeBlock(BlockType::FeedType, 1), "feedtype 1\n"},
      {CodeBlock(BlockType::FeedType, 9), "feedtype 9\n"},
      {CodeBlock(BlockType::Compensation, 0), "toolcmpflag 0\n"},
      {CodeBlock(BlockType::Compensation, 1), "toolcmpflag 1\n"},
      {CodeBlock(BlockType::Compensation, 2), "toolcmpflag 2\n"},
      {CodeBlock(BlockType::Dwell, 0), "dwellflag 0\n"},
      {CodeBlock(BlockType::Dwell, 1), "dwellflag 1\n"},
      {CodeBlock(BlockType::Dwell, 2), "dwellflag 2\n"},
  };
  for (const Case& c : cases) {
    const std::string records = PathRecordsOf(FileOf({MillPath(kPathTypeMill, {c.block})}));
    const std::string expected = "[endsect]\n[block]\nblocktype " +
                                 std::to_string(static_cast<int>(c.block.type)) + "\n" + c.keys +
                                 "[endsect]\n";
    EXPECT_TRUE(records.ends_with(expected)) << c.keys << "written as:\n" << records;
  }
}

// The writer stops at a refused record: the sink then holds the records
// before it, whole, and Finish names what was refused.
struct Refusal {
  const char* error;
  std::function<void(ToolLocationFile&)> spoil;  // of the sample
  // The sink holds the sample's bytes before `kept_before`, searched from
  // the end of `after`.
  const char* kept_before;
  const char* after = "";
};

void ExpectRefused(const Refusal& r) {
  const std::string whole = Write(SampleFile()).bytes;
  ToolLocationFile file = SampleFile();
  r.spoil(file);
  const Written written = Write(file);
  EXPECT_FALSE(written.result.ok) << r.error;
  EXPECT_EQ(written.result.error, r.error);
  const auto after = whole.find(r.after);
  ASSERT_NE(after, std::string::npos) << r.after;
  const auto cut = whole.find(r.kept_before, after + std::string_view(r.after).size());
  ASSERT_NE(cut, std::string::npos) << r.kept_before;
  EXPECT_EQ(written.bytes, whole.substr(0, cut)) << r.error;
}

TEST(FileWriter, RefusesRealsThatAreNotFinite) {
  const Refusal cases[] = {
      {"dimension 6 of tool 1 is not a finite number",
       [](ToolLocationFile& f) { f.tools[1].dimension6 = kNaN; }, "1,DR5"},
      {"the origin of the fixture system is not a finite point",
       [](ToolLocationFile& f) { f.jig.frame.origin.y = -kInf; }, "[jigcoordinate]"},
      {"the Z axis of the coordinate system in path record 2 is not a finite point",
       [](ToolLocationFile& f) { f.paths[2].placement->frame.z_axis.z = kInf; }, "homepoint",
       "pathname pocket\n"},
      {"the peck depth in path record 0 is not a finite number",
       [](ToolLocationFile& f) { f.paths[0].drill_keys->peck_depth = kNaN; }, "pathtype 1"},
      {"hole 1 in path record 0 is not a finite point",
       [](ToolLocationFile& f) { (*f.paths[0].holes)[1].z = kNaN; }, "endpoint -10.0"},
      {"feed value C in path record 2 is not a finite number",
       [](ToolLocationFile& f) { f.paths[2].mill_keys->feed.c = kInf; }, "pathtype 2"},
      {"the end point of a block in path record 2 is not a finite point",
       [](ToolLocationFile& f) { f.paths[2].blocks[4].end.x = kNaN; },
       "[block]\nblocktype 1\nendpoint 10."},
      {"the normal of an arc block in path record 2 is not a finite point",
       [](ToolLocationFile& f) { f.paths[2].blocks[5].normal.z = -kNaN; }, "[block]\nblocktype 2"},
      {"the tool axis of a line block in path record 3 is not a finite point",
       [](ToolLocationFile& f) { f.paths[3].blocks[3].end_vector->x = kNaN; },
       "[block]\nblocktype 1\nendpoint 0.1"},
  };
  for (const Refusal& r : cases)
    ExpectRefused(r);
}

// Holes are counted from 0 in every record: a refusal names the hole of its
// own record, however many the records before it held.
TEST(FileWriter, RefusalsCountHolesInTheirOwnRecord) {
  ToolLocationFile file = SampleFile();
  ASSERT_EQ(file.paths[0].holes->size(), 2u);
  file.paths[1].holes = std::vector<Vec3>{{1, 2, 3}, {kNaN, 0, 0}};
  EXPECT_EQ(Write(file).result.error, "hole 1 in path record 1 is not a finite point");
}

TEST(FileWriter, RefusesTextsThatWouldBreakTheirLine) {
  const Refusal cases[] = {
      {"the name of tool 2 holds a line break or a NUL byte, which the file cannot hold",
       [](ToolLocationFile& f) { f.tools[2].name = "BALL\n6"; }, "2,BALL6"},
      {"the machine file's path holds a line break or a NUL byte, which the file cannot hold",
       [](ToolLocationFile& f) { f.mcf_path += '\r'; }, "[machine]"},
      {"the path name in path record 1 holds a line break or a NUL byte, which the file cannot "
       "hold",
       [](ToolLocationFile& f) { f.paths[1].start.name = std::string("sp\0t", 4); },
       "[pathpara]\npathname spot"},
      {"a user parameter in path record 0 holds a line break or a NUL byte, which the file cannot "
       "hold",
       [](ToolLocationFile& f) { f.paths[0].drill_keys->user[4] = "a\r\nb"; }, "pathtype 1"},
  };
  for (const Refusal& r : cases)
    ExpectRefused(r);
}

// What the reader refuses, the writer does not write.
TEST(FileWriter, RefusesWhatTheFileCannotHold) {
  const Refusal cases[] = {
      {"the head's path number 6 and tool number 5 differ",
       [](ToolLocationFile& f) { f.head.tool_number = 5; }, "[filehead]"},
      {"the head's path number -1 and tool number -1 must not be negative",
       [](ToolLocationFile& f) {
         f.head = {-1, -1};
       },
       "[filehead]"},
      {"the tool list ends after 5 of the head's 6 tools",
       [](ToolLocationFile& f) { f.tools.pop_back(); }, "5,T6"},
      {"a tool beyond the head's 6 tools",
       [](ToolLocationFile& f) { f.tools.push_back(f.tools.back()); }, "[endsect]\n[machine]"},
      {"tool index 3 where 2 comes next", [](ToolLocationFile& f) { f.tools[2].index = 3; },
       "2,BALL6"},
      {"toolindex 0 where 1 comes next (the number of path records before it)",
       [](ToolLocationFile& f) { f.paths[1].start.tool_index = 0; }, "[pathpara]\npathname spot"},
      {"pathtype 3 is neither 2 (milling) nor 5 (five-axis) in a mill record",
       [](ToolLocationFile& f) { f.paths[2].mill_keys->path_type = 3; }, "pathtype 2"},
      {"\"paradwell\" in a five-axis record",
       [](ToolLocationFile& f) { f.paths[3].mill_keys->dwell_text = "G04"; }, "pathtype 5"},
      {"a line block of a five-axis record without \"endpointvector\"",
       [](ToolLocationFile& f) { f.paths[3].blocks[1].end_vector.reset(); },
       "[block]\nblocktype 1\nendpoint 1."},
      {"\"endpointvector\" in a line block of a pathtype 2 record",
       [](ToolLocationFile& f) {
         f.paths[2].blocks[1].end_vector = Vec3{0, 0, 1};
       },
       "[block]\nblocktype 1\nendpoint 0."},
      {"feedtype 0 is outside 1 to 9", [](ToolLocationFile& f) { f.paths[2].blocks[0].code = 0; },
       "[block]\nblocktype 3"},
      {"feedtype 10 is outside 1 to 9", [](ToolLocationFile& f) { f.paths[2].blocks[0].code = 10; },
       "[block]\nblocktype 3"},
      {"toolcmpflag 3 is none of 0, 1 and 2",
       [](ToolLocationFile& f) { f.paths[2].blocks[3].code = 3; }, "[block]\nblocktype 4"},
      {"dwellflag -1 is none of 0, 1 and 2",
       [](ToolLocationFile& f) { f.paths[2].blocks[6].code = -1; }, "[block]\nblocktype 5"},
      {"block type 6 is none of 1 to 5",
       [](ToolLocationFile& f) { f.paths[2].blocks[0].type = static_cast<BlockType>(6); },
       "[block]\nblocktype 3"},
  };
  for (const Refusal& r : cases)
    ExpectRefused(r);
}

TEST(FileWriter, RefusesMorePathRecordsThanTheHeadAnnounces) {
  ToolLocationFile file = SampleFile();
  file.paths.push_back({{"sixth", 5}, {}, {}, {}, {}, {}});
  file.paths.push_back({{"seventh", 6}, {}, {}, {}, {}, {}});
  const Written written = Write(file);
  EXPECT_FALSE(written.result.ok);
  EXPECT_EQ(written.result.error, "a path record beyond the head's path number 6");
  EXPECT_TRUE(
      written.bytes.ends_with("[endsect]\n[pathpara]\npathname sixth\ntoolindex 5\n[endsect]\n"))
      << written.bytes;
}

// The start of a file with one tool, up to its path records.
void SendPrelude(ToolLocationRecords& w) {
  w.Head({1, 1});
  w.BeginToolList();
  w.Tool({0, "T", 0, 0, 0, 0, 0, 0, 0, 0});
  w.EndSection();
  w.Machine("m");
  w.CodeFile("c");
  w.Jig({});
}

void SendDrillStart(ToolLocationRecords& w) {
  SendPrelude(w);
  w.PathStart({"d", 0});
  w.PathPlacement({});
}

// Streams no model sends: records out of order, counts that differ.
TEST(FileWriter, RefusesRecordsOutOfOrder) {
  const struct Case {
    const char* error;
    std::function<void(ToolLocationRecords&)> send;
  } cases[] = {
      {"the tool list cannot come here: the file expects \"[filehead]\" next",
       [](ToolLocationRecords& w) { w.BeginToolList(); }},
      {"\"[endsect]\" cannot come here: the file expects \"[toollist]\" next",
       [](ToolLocationRecords& w) {
         w.Head({0, 0});
         w.EndSection();
       }},
      {"a block cannot come here: the file expects \"[pathpara]\" or \"[filetail]\" next",
       [](ToolLocationRecords& w) {
         SendPrelude(w);
         w.Block(CodeBlock(BlockType::FeedType, 1));
       }},
      {"the hole count -1 is negative",
       [](ToolLocationRecords& w) {
         SendDrillStart(w);
         w.Holes(-1);
       }},
      {"more holes than the 1 that \"pointnumber\" announces",
       [](ToolLocationRecords& w) {
         SendDrillStart(w);
         w.Holes(1);
         w.Hole({});
         w.Hole({});
       }},
      {"the drilling record ends after 1 of its 2 holes",
       [](ToolLocationRecords& w) {
         SendDrillStart(w);
         w.Holes(2);
         w.Hole({});
         w.EndSection();
       }},
      {"a block cannot come here: the file expects \"[pathpara]\" or \"[filetail]\" next",
       [](ToolLocationRecords& w) {
         SendDrillStart(w);
         w.Holes(0);
         w.EndSection();
         w.Block(LineTo({}));
       }},
      {"the file is incomplete: it expects \"[pathpara]\" or \"[filetail]\" next",
       [](ToolLocationRecords& w) { SendPrelude(w); }},
      {"the file is incomplete: it expects \"endpoint\" or \"[endsect]\" next",
       [](ToolLocationRecords& w) {
         SendDrillStart(w);
         w.Holes(3);
       }},
  };
  for (const Case& c : cases) {
    MemorySink sink;
    ToolLocationFileWriter writer(sink);
    c.send(writer);
    const WriteResult result = writer.Finish();
    EXPECT_FALSE(result.ok) << c.error;
    EXPECT_EQ(result.error, c.error);
  }
}

TEST(FileWriter, FinishTwiceGivesTheSameOutcomeAndRecordsAfterItAreRefused) {
  MemorySink sink;
  ToolLocationFileWriter writer(sink);
  SendToolLocationFile(SampleFile(), writer);
  const WriteResult first = writer.Finish();
  ASSERT_TRUE(first.ok) << first.error;
  const std::string stored = sink.bytes;
  const WriteResult second = writer.Finish();
  EXPECT_TRUE(second.ok);
  writer.Tail();
  const WriteResult third = writer.Finish();
  EXPECT_FALSE(third.ok);
  EXPECT_EQ(third.error, "a record after Finish");
  EXPECT_EQ(sink.bytes, stored);
}

// A file of about `blocks` blocks, larger than the writer's buffer.
ToolLocationFile LargeFile(int blocks) {
  ToolLocationFile file = FileOf({MillPath(kPathTypeMill, {})});
  for (int i = 0; i < blocks; ++i)
    file.paths[0].blocks.push_back(LineTo({i * 0.5, -i * 0.25, 1e6 + i}));
  return file;
}

TEST(FileWriter, HandsLargePiecesToTheSink) {
  MemorySink sink(MemorySink::LineEnds::AsGiven);
  ToolLocationFileWriter writer(sink);
  SendToolLocationFile(LargeFile(5000), writer);
  ASSERT_TRUE(writer.Finish().ok);
  ASSERT_GE(sink.pieces.size(), 3u);
  EXPECT_EQ(sink.bytes, Write(LargeFile(5000)).bytes);
  for (std::size_t i = 0; i + 1 < sink.pieces.size(); ++i) {
    // Whole records of at least 64 KiB, at most one record more.
    EXPECT_GE(sink.pieces[i].size(), 64u * 1024) << "piece " << i;
    EXPECT_LT(sink.pieces[i].size(), 64u * 1024 + 200) << "piece " << i;
    EXPECT_TRUE(sink.pieces[i].ends_with("[endsect]\n")) << "piece " << i;
  }
}

TEST(FileWriter, AFailingSinkFailsTheFileAndGetsNothingMore) {
  for (int failing : {1, 2, 3}) {
    MemorySink sink;
    sink.fail_from_write = failing;
    ToolLocationFileWriter writer(sink);
    SendToolLocationFile(LargeFile(5000), writer);
    const WriteResult result = writer.Finish();
    EXPECT_FALSE(result.ok) << "failing write " << failing;
    std::size_t stored = 0;
    for (const std::string& piece : sink.pieces)
      stored += piece.size();
    EXPECT_EQ(result.error, "the sink could not store the file's bytes after the first " +
                                std::to_string(stored));
    EXPECT_EQ(sink.writes, failing) << "the writer tried again after a failed write";
  }
}

}  // namespace
}  // namespace zu
