#include "postpath_file/file_writer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "format_io/testing/memory_sink.h"
#include "format_io/testing/written.h"
#include "postpath_file/file_model.h"
#include "postpath_file/tests/sample_file.h"

namespace zu::ppf {
namespace {

using fio_testing::MemorySink;
using fio_testing::Written;
using ppf_testing::ArcTo;
using ppf_testing::AxisTo;
using ppf_testing::kSampleText;
using ppf_testing::LineTo;
using ppf_testing::SampleFile;
using ::testing::HasSubstr;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// What a stream of records is written as ('\n' line ends), and the outcome.
Written WriteStream(const std::function<void(PostPathRecords&)>& records) {
  return fio_testing::WrittenBy<PostPathFileWriter>(records, MemorySink::LineEnds::AsGiven);
}
Written Write(const PostPathFile& file) {
  return WriteStream([&](PostPathRecords& out) { SendPostPathFile(file, out); });
}

// A bracket whose head writes short lines.
PathHead PlainHead(int type) {
  PathHead head;
  head.type = type;
  head.record_path_type = type;
  head.name = "p";
  head.tool.first_integer = 7;
  return head;
}
// Its lines, from NAME to TOOL.
const std::string kNameLine = "PPRINT/ZU NAME=p\n";
const std::string kHomeLine = "PPRINT/ZU HOME 0,0,0\n";
const std::string kFrameLines =
    "PPRINT/ZU ORIGIN 0,0,0\n"
    "PPRINT/ZU XAXIS 0,0,0\n"
    "PPRINT/ZU YAXIS 0,0,0\n"
    "PPRINT/ZU ZAXIS 0,0,0\n";
const std::string kStockLine = "PPRINT/ZU STOCK 0,0,0,0,0,0\n";
const std::string kToolNameLines = "PPRINT/ZU TOOLNAME=\nPPRINT/ZU TOOLNAME2=\n";
const std::string kToolLine = "PPRINT/ZU TOOL 0,0,0,0,0,0,0,0,0\n";
const std::string kPlainHeadLines =
    kNameLine + kHomeLine + kFrameLines + kStockLine + kToolNameLines + kToolLine;
// The lines of an empty milling record and of the tool statements.
const std::string kPlainMillEnd =
    "PPRINT/ZU FEEDS 0,0,0,0,0,0,0,0,0,0\nPPRINT/ZU HEIGHTS 0,0\nLOADTL/7\nSPINDL/0,CLW\n";

PostPath Mill(std::vector<Block> blocks, int type = kPathMill) {
  PostPath path;
  path.head = PlainHead(type);
  MillRecord record;
  record.feeds = {-1, -1, 800, 800, 200, 400, 400, 800, 1200, -1};
  path.record = record;
  path.blocks = std::move(blocks);
  return path;
}

PostPathFile FileOf(std::vector<PostPath> paths) {
  PostPathFile file;
  file.paths = std::move(paths);
  return file;
}

// What a milling bracket's blocks are written as: the lines after its
// SPINDL up to the END.
std::string BodyOf(const PostPath& path) {
  const Written written = Write(FileOf({path}));
  EXPECT_TRUE(written.result.ok) << written.result.error;
  const auto spindl = written.bytes.find("SPINDL/");
  const auto start = written.bytes.find('\n', spindl) + 1;
  const auto end = written.bytes.rfind("END\n");
  if (spindl == std::string::npos || end == std::string::npos)
    return "no bracket in: " + written.bytes;
  return written.bytes.substr(start, end - start);
}

TEST(PostPathWriter, TheSampleIsItsText) {
  MemorySink sink;
  PostPathFileWriter writer(sink);
  SendPostPathFile(SampleFile(), writer);
  const WriteResult result = writer.Finish();
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(sink.bytes, kSampleText);
  EXPECT_EQ(sink.writes, 1);  // a small file goes to the sink in one piece
}

TEST(PostPathWriter, AProcessWithoutBrackets) {
  const Written written = Write(PostPathFile{});
  ASSERT_TRUE(written.result.ok) << written.result.error;
  EXPECT_EQ(written.bytes,
            "PARTNO\n"
            "PPRINT/ZU VERSION=\n"
            "PPRINT/ZU INFO=\n"
            "PPRINT/ZU PROCESS=\n"
            "PPRINT/ZU COMMENT=\n"
            "PPRINT/ZU JIGRETRACT 0,0\n"
            "UNITS/MM\n"
            "END\n"
            "FINI\n");
}

TEST(PostPathWriter, BracketHeads) {
  const auto with = [](int type, const std::function<void(PathHead&)>& change) {
    PathHead head = PlainHead(type);
    change(head);
    return head;
  };
  const struct Case {
    const char* name;
    PathHead head;
    std::string lines;  // from PATH to SPINDL
  } cases[] = {
      {"plain milling", PlainHead(kPathMill),
       "PPRINT/ZU PATH MILL,2\n" + kPlainHeadLines + kPlainMillEnd},
      {"multi-axis, its record's own type, a tool axis",
       with(kPathMultiAxis,
            [](PathHead& h) {
              h.record_path_type = -3;
              h.tool_axis = Vec3{0, -0.0, 1};
            }),
       "PPRINT/ZU PATH MULTIAXIS,-3\n" + kNameLine + kHomeLine + "PPRINT/ZU AXIS 0,-0,1\n" +
           kFrameLines + kStockLine + kToolNameLines + kToolLine + kPlainMillEnd},
      {"a tool whose dimensions make a cutter",
       with(kPathFiveAxis,
            [](PathHead& h) {
              h.tool = {"\xc7\xf2 6",
                        "B6",
                        -1,
                        2147483647,
                        -2147483647 - 1,
                        {6, 0.1, 3, 0, 40, 1e-7, -0.0}};
              h.spindle_speed = 12000.5;
            }),
       "PPRINT/ZU PATH FIVEAXIS,4\n" + kNameLine + kHomeLine + kFrameLines + kStockLine +
           "PPRINT/ZU TOOLNAME=\xc7\xf2 6\nPPRINT/ZU TOOLNAME2=B6\n"
           "PPRINT/ZU TOOL 2147483647,-2147483648,6,0.1,3,0,40,0.0000001,-0\n"
           "PPRINT/ZU FEEDS 0,0,0,0,0,0,0,0,0,0\nPPRINT/ZU HEIGHTS 0,0\nLOADTL/-1\n"
           "CUTTER/6,3\nSPINDL/12000.5,CLW\n"},
      {"a corner radius above half the diameter makes no cutter",
       with(kPathMill,
            [](PathHead& h) {
              h.tool.values = {6, 0, 3.0000000000000004};
            }),
       "PPRINT/ZU PATH MILL,2\n" + kNameLine + kHomeLine + kFrameLines + kStockLine +
           kToolNameLines + "PPRINT/ZU TOOL 0,0,6,0,3.0000000000000004,0,0,0,0\n" + kPlainMillEnd},
      {"a long name and long numbers go on in further lines",
       with(kPathMill,
            [](PathHead& h) {
              h.name = std::string(50, 'n') + ", second part of the name";
              h.stock_min = {-123.45678901234567, -123.45678901234567, -0.30000000000000004};
              h.stock_max = {123.45678901234567, 123.45678901234567, 1e-7};
            }),
       "PPRINT/ZU PATH MILL,2\nPPRINT/ZU NAME=" + std::string(50, 'n') +
           ",\nPPRINT/ZU+ second part of the name\n" + kHomeLine + kFrameLines +
           "PPRINT/ZU STOCK -123.45678901234567,-123.45678901234567,\n"
           "PPRINT/ZU+-0.30000000000000004,123.45678901234567,123.45678901234567,\n"
           "PPRINT/ZU+0.0000001\n" +
           kToolNameLines + kToolLine + kPlainMillEnd},
  };
  for (const Case& c : cases) {
    PostPath path;
    path.head = c.head;
    const Written written = Write(FileOf({path}));
    ASSERT_TRUE(written.result.ok) << c.name << ": " << written.result.error;
    const auto start = written.bytes.find("PPRINT/ZU PATH");
    const auto end = written.bytes.find("END\n");
    EXPECT_EQ(written.bytes.substr(start, end - start), c.lines) << c.name;
  }
}

TEST(PostPathWriter, MillRecordLines) {
  PostPath path = Mill({});
  MillRecord& record = std::get<MillRecord>(path.record);
  record.feeds = {-1, -0.0, 0.5, 1e22, 0, 0, 0, 0, 0, 0.1 + 0.2};
  record.safe_height = 50;
  record.approach_height = -2.5;
  record.macro_pairs = {{"A", ""}, {"", "$1"}};
  record.dwell_text = "G04 X%d";
  const Written written = Write(FileOf({path}));
  ASSERT_TRUE(written.result.ok) << written.result.error;
  EXPECT_THAT(written.bytes,
              HasSubstr("PPRINT/ZU TOOL 0,0,0,0,0,0,0,0,0\n"
                        "PPRINT/ZU FEEDS -1,-0,0.5,10000000000000000000000,0,0,0,0,0,\n"
                        "PPRINT/ZU+0.30000000000000004\n"
                        "PPRINT/ZU HEIGHTS 50,-2.5\n"
                        "PPRINT/ZU MACRO=A\n"
                        "PPRINT/ZU VALUE=\n"
                        "PPRINT/ZU MACRO=\n"
                        "PPRINT/ZU VALUE=%241\n"
                        "PPRINT/ZU DWELLTEXT=G04 X%25d\n"
                        "LOADTL/7\n"));
}

TEST(PostPathWriter, Blocks) {
  const auto dwell = [](Block b, int code) {
    b.dwell = code;
    return b;
  };
  const struct Case {
    const char* name;
    PostPath path;
    const char* body;
  } cases[] = {
      {"a feed type stands at the first block and where it changes",
       Mill({LineTo({1, 2, 3}, 4), LineTo({4, 5, 6}, 4), LineTo({7, 8, 9}, 5)}),
       "PPRINT/ZU FEEDTYPE 4\nFEDRAT/200\nGOTO/1,2,3\nGOTO/4,5,6\n"
       "PPRINT/ZU FEEDTYPE 5\nFEDRAT/400\nGOTO/7,8,9\n"},
      {"a feed stands again only when it changes",
       Mill({LineTo({1, 0, 0}, 2), LineTo({2, 0, 0}, 3), LineTo({3, 0, 0}, 7)}),
       "PPRINT/ZU FEEDTYPE 2\nFEDRAT/800\nGOTO/1,0,0\nPPRINT/ZU FEEDTYPE 3\nGOTO/2,0,0\n"
       "PPRINT/ZU FEEDTYPE 7\nGOTO/3,0,0\n"},
      {"a negative feed is RAPID before each move; the feed is stated again after it",
       Mill({LineTo({1, 0, 0}, 2), LineTo({2, 0, 0}, 0), LineTo({3, 0, 0}, 1),
             LineTo({4, 0, 0}, 2)}),
       "PPRINT/ZU FEEDTYPE 2\nFEDRAT/800\nGOTO/1,0,0\nPPRINT/ZU FEEDTYPE 0\nRAPID\nGOTO/2,0,0\n"
       "PPRINT/ZU FEEDTYPE 1\nRAPID\nGOTO/3,0,0\nPPRINT/ZU FEEDTYPE 2\nFEDRAT/800\nGOTO/4,0,0\n"},
      {"compensation: left, right, off where it changes, off at the end",
       Mill({LineTo({1, 0, 0}, 5, 1), LineTo({2, 0, 0}, 5, 1), LineTo({3, 0, 0}, 5, 2),
             LineTo({4, 0, 0}, 5, 0), LineTo({5, 0, 0}, 5, 2)}),
       "PPRINT/ZU FEEDTYPE 5\nCUTCOM/LEFT\nFEDRAT/400\nGOTO/1,0,0\nGOTO/2,0,0\nCUTCOM/RIGHT\n"
       "GOTO/3,0,0\nCUTCOM/OFF\nGOTO/4,0,0\nCUTCOM/RIGHT\nGOTO/5,0,0\nCUTCOM/OFF\n"},
      {"dwells and marks stand at their block",
       Mill({dwell(LineTo({1, 0, 0}, 5), 0), dwell(LineTo({2, 0, 0}, 5), 2),
             AxisTo({3, 0, 0}, {0, 0, 1}, 5, kMarkApproach),
             dwell(AxisTo({4, 0, 0}, {0, 0, 1}, 5, kMarkRetract), 1)}),
       "PPRINT/ZU FEEDTYPE 5\nPPRINT/ZU DWELL 0\nFEDRAT/400\nGOTO/1,0,0\nPPRINT/ZU DWELL 2\n"
       "GOTO/2,0,0\nPPRINT/ZU MARK 2\nMULTAX/ON\nGOTO/3,0,0,0,0,1\nPPRINT/ZU DWELL 1\n"
       "PPRINT/ZU MARK 1\nGOTO/4,0,0,0,0,1\nMULTAX/OFF\n"},
      {"an arc: CIRCLE right before its GOTO, the normal as given, the radius to the end",
       Mill({LineTo({10, 0, 0}, 5), ArcTo({0, 10, 0}, {0, 0, 0}, {0, 0, -2}, 5),
             ArcTo({3, 4, 1}, {0, 0, 1}, {0.1, 0.2, 0.3}, 5)}),
       "PPRINT/ZU FEEDTYPE 5\nFEDRAT/400\nGOTO/10,0,0\nCIRCLE/0,0,0,0,0,-2,10\nGOTO/0,10,0\n"
       "CIRCLE/0,0,1,0.1,0.2,0.3,5\nGOTO/3,4,1\n"},
      {"MULTAX goes off for an arc and for a move without an axis, on again for one with",
       Mill({AxisTo({1, 0, 0}, {0, 0, 1}, 5), ArcTo({2, 1, 0}, {1, 1, 0}, {0, 0, 1}, 5),
             AxisTo({3, 0, 0}, {0, 0, 1}, 5), LineTo({4, 0, 0}, 5)},
            kPathFiveAxis),
       "PPRINT/ZU FEEDTYPE 5\nMULTAX/ON\nFEDRAT/400\nGOTO/1,0,0,0,0,1\nMULTAX/OFF\n"
       "CIRCLE/1,1,0,0,0,1,1\nGOTO/2,1,0\nMULTAX/ON\nGOTO/3,0,0,0,0,1\nMULTAX/OFF\n"
       "GOTO/4,0,0\n"},
      {"a long GOTO goes on after a '$'; -0 and the shortest texts",
       Mill({AxisTo({-0.0, 123456.789012345, -0.30000000000000004},
                    {0.577350269189626, 0.577350269189626, 0.577350269189626}, 5)}),
       "PPRINT/ZU FEEDTYPE 5\nMULTAX/ON\nFEDRAT/400\n"
       "GOTO/-0,123456.789012345,-0.30000000000000004,0.577350269189626,$\n"
       "0.577350269189626,0.577350269189626\nMULTAX/OFF\n"},
      {"a bracket without blocks", Mill({}), ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(BodyOf(c.path), c.body) << c.name;
}

TEST(PostPathWriter, DrillingBrackets) {
  const auto drill = [](std::array<double, 7> values, std::vector<Vec3> holes) {
    PostPath path;
    path.head = PlainHead(kPathDrill);
    DrillRecord record;
    record.drill_mode = 83;
    record.values = values;
    record.user[19] = "last";
    record.user[2] = "third";
    path.record = record;
    path.holes = std::move(holes);
    return path;
  };
  const struct Case {
    const char* name;
    PostPath path;
    const char* lines;  // from DRILL to the end of the bracket
  } cases[] = {
      {"a dwell time above 0 makes a DELAY",
       drill({150, 5, 2, -12.5, 1.5, 0.25, -0.0}, {{10, 10, 0}, {-10, 10, 0}}),
       "PPRINT/ZU DRILL 83,2,1.5,0.25,-0\nPPRINT/ZU USER3=third\nPPRINT/ZU USER20=last\n"
       "LOADTL/7\nSPINDL/0,CLW\nCYCLE/DRILL,-12.5,MMPM,150,5\nDELAY/0.25\nGOTO/10,10,0\n"
       "GOTO/-10,10,0\nCYCLE/OFF\n"},
      {"no DELAY for a dwell time of 0 or below, no hole", drill({1, 2, 3, 4, 5, -1, 7}, {}),
       "PPRINT/ZU DRILL 83,3,5,-1,7\nPPRINT/ZU USER3=third\nPPRINT/ZU USER20=last\n"
       "LOADTL/7\nSPINDL/0,CLW\nCYCLE/DRILL,4,MMPM,1,2\nCYCLE/OFF\n"},
  };
  for (const Case& c : cases) {
    const Written written = Write(FileOf({c.path}));
    ASSERT_TRUE(written.result.ok) << c.name << ": " << written.result.error;
    const auto start = written.bytes.find("PPRINT/ZU DRILL");
    const auto end = written.bytes.find("END\n");
    EXPECT_EQ(written.bytes.substr(start, end - start), c.lines) << c.name;
  }
}

// Holes and blocks are counted from 1 in every bracket: a refusal names the
// one of its own bracket, however many came before.
TEST(PostPathWriter, RefusalsCountHolesAndBlocksInTheirOwnBracket) {
  const auto drill = [](std::vector<Vec3> holes) {
    PostPath path;
    path.head = PlainHead(kPathDrill);
    path.record = DrillRecord{};
    path.holes = std::move(holes);
    return path;
  };
  const Written holes =
      Write(FileOf({drill({{1, 0, 0}, {2, 0, 0}}), drill({{3, 0, 0}, {kNaN, 0, 0}})}));
  EXPECT_THAT(holes.result.error, HasSubstr(" hole 2 of bracket 2 is not a finite point"));
  const Written blocks = Write(FileOf({Mill({LineTo({1, 0, 0}, 5), LineTo({2, 0, 0}, 5)}),
                                       Mill({LineTo({3, 0, 0}, 5), LineTo({kInf, 0, 0}, 5)})}));
  EXPECT_EQ(blocks.result.error, "the end point of block 2 of bracket 2 is not a finite point");
}

// Each case spoils the sample in one place; the writer refuses it, writes
// every record before it and nothing of it or after it.
TEST(PostPathWriter, RefusesWhatTheReaderWouldRefuse) {
  const auto mill = [](PostPathFile& f) -> PostPath& { return f.paths[1]; };
  const struct Case {
    const char* error;
    std::function<void(PostPathFile&)> spoil;
    const char* written_up_to;  // the last line written whole
  } cases[] = {
      {"the jig retract height of the process head is not a finite number",
       [](PostPathFile& f) { f.process.jig_retract_height = kNaN; }, nullptr},
      {"the process name of the process head holds CR, LF or a NUL byte",
       [](PostPathFile& f) { f.process.process_name = "a\nb"; }, nullptr},
      {"the process comment of the process head holds CR, LF or a NUL byte",
       [](PostPathFile& f) { f.process.process_comment = std::string("a\0b", 3); }, nullptr},
      {"the home point of the head of bracket 1 is not a finite point",
       [](PostPathFile& f) { f.paths[0].head.home.z = -kInf; }, "UNITS/MM"},
      {"a user text of the head of bracket 1 holds CR, LF",
       [](PostPathFile& f) { std::get<DrillRecord>(f.paths[0].record).user[3] = "\r"; },
       "UNITS/MM"},
      {"hole 2 of bracket 1 is not a finite point",
       [](PostPathFile& f) { f.paths[0].holes[1].x = kNaN; }, "GOTO/10,10,0"},
      {"a feed of the head of bracket 2 is not a finite number",
       [&](PostPathFile& f) { std::get<MillRecord>(mill(f).record).feeds[9] = kInf; }, "CYCLE/OFF"},
      {"a macro value of the head of bracket 3 holds CR, LF",
       [](PostPathFile& f) {
         std::get<MillRecord>(f.paths[2].record).macro_pairs[1].second = "\n";
       },
       "GOTO/50,40,50"},
      {"the normal of block 4 of bracket 2 is not a finite point",
       [&](PostPathFile& f) { mill(f).blocks[3].vector.y = kNaN; }, "GOTO/40,0,-2"},
      {"the radius of block 4 of bracket 2 is too large for a double",
       [&](PostPathFile& f) {
         mill(f).blocks[3].end.x = 1e308;
         mill(f).blocks[3].centre.x = -1e308;
       },
       "GOTO/40,0,-2"},
      {"a drilling bracket (path type 1) with a milling record",
       [&](PostPathFile& f) { mill(f).head.type = kPathDrill; }, "CYCLE/OFF"},
      {"a bracket of path type 2 with a drilling record",
       [](PostPathFile& f) { f.paths[0].head.type = kPathMill; }, "UNITS/MM"},
      {"path type 5 is none of 1 to 4", [&](PostPathFile& f) { mill(f).head.type = 5; },
       "CYCLE/OFF"},
      {"a block cannot come here: the file expects a hole or the end of the bracket",
       [](PostPathFile& f) { f.paths[0].blocks.push_back(LineTo({}, 1)); }, "GOTO/-10,10,0"},
      {"a hole cannot come here: the file expects a block or the end of the bracket",
       [&](PostPathFile& f) { mill(f).holes.push_back({}); }, "SPINDL/3000,CLW"},
      {"block kind 3 is neither 1 (line) nor 2 (arc)",
       [&](PostPathFile& f) { mill(f).blocks[2].kind = 3; }, "GOTO/0,0,-2"},
      {"feed type 10 is outside 0 to 9", [&](PostPathFile& f) { mill(f).blocks[0].feed_type = 10; },
       "SPINDL/3000,CLW"},
      {"feed type -1 is outside 0 to 9", [&](PostPathFile& f) { mill(f).blocks[1].feed_type = -1; },
       "GOTO/0,0,50"},
      {"compensation flag 3 is none of 0, 1 and 2",
       [&](PostPathFile& f) { mill(f).blocks[1].compensation = 3; }, "GOTO/0,0,50"},
      {"dwell flag -2 is none of -1 to 2", [&](PostPathFile& f) { mill(f).blocks[1].dwell = -2; },
       "GOTO/0,0,50"},
      {"position mark 3 is none of 0 to 2",
       [&](PostPathFile& f) { mill(f).blocks[1].position_mark = 3; }, "GOTO/0,0,50"},
      {"an arc without the normal of its plane",
       [&](PostPathFile& f) { mill(f).blocks[3].has_vector = false; }, "GOTO/40,0,-2"},
      {"an arc whose normal is the zero vector",
       [&](PostPathFile& f) {
         mill(f).blocks[3].vector = {0, -0.0, 0};
       },
       "GOTO/40,0,-2"},
  };
  const std::string sample(Write(SampleFile()).bytes);
  for (const Case& c : cases) {
    PostPathFile file = SampleFile();
    c.spoil(file);
    const Written written = Write(file);
    EXPECT_FALSE(written.result.ok) << c.error;
    EXPECT_THAT(written.result.error, HasSubstr(c.error));
    std::string expected;
    if (c.written_up_to) {
      const std::string last = std::string(c.written_up_to) + "\n";
      expected = sample.substr(0, sample.find(last) + last.size());
    }
    EXPECT_EQ(written.bytes, expected) << c.error;
  }
}

TEST(PostPathWriter, OutOfOrderAndUnfinishedStreams) {
  const struct Case {
    const char* error;
    std::function<void(PostPathRecords&)> records;
  } cases[] = {
      {"the file is incomplete: it expects the process head next", [](PostPathRecords&) {}},
      {"the file is incomplete: it expects a bracket or the end of the process next",
       [](PostPathRecords& out) { out.Process({}); }},
      {"the file is incomplete: it expects a block or the end of the bracket next",
       [](PostPathRecords& out) {
         out.Process({});
         out.MillPath(PlainHead(kPathMill), {});
       }},
      {"a bracket cannot come here: the file expects the process head next",
       [](PostPathRecords& out) { out.MillPath(PlainHead(kPathMill), {}); }},
      {"a process head cannot come here",
       [](PostPathRecords& out) {
         out.Process({});
         out.Process({});
       }},
      {"a bracket cannot come here: the file expects a block or the end of the bracket next",
       [](PostPathRecords& out) {
         out.Process({});
         out.MillPath(PlainHead(kPathMill), {});
         out.MillPath(PlainHead(kPathMill), {});
       }},
      {"a block cannot come here: the file expects a bracket or the end of the process next",
       [](PostPathRecords& out) {
         out.Process({});
         out.Block(LineTo({}, 1));
       }},
      {"the end of a bracket cannot come here",
       [](PostPathRecords& out) {
         out.Process({});
         out.EndPath();
       }},
      {"the end of the process cannot come here",
       [](PostPathRecords& out) {
         out.Process({});
         out.DrillPath(PlainHead(kPathDrill), {});
         out.EndProcess();
       }},
      {"a process head cannot come here: the file expects nothing after the end of the process",
       [](PostPathRecords& out) {
         out.Process({});
         out.EndProcess();
         out.Process({});
       }},
  };
  for (const Case& c : cases) {
    const Written written = WriteStream(c.records);
    EXPECT_FALSE(written.result.ok) << c.error;
    EXPECT_THAT(written.result.error, HasSubstr(c.error));
  }
}

TEST(PostPathWriter, RecordsAfterFinishAreRefused) {
  MemorySink sink;
  PostPathFileWriter writer(sink);
  SendPostPathFile(SampleFile(), writer);
  ASSERT_TRUE(writer.Finish().ok);
  writer.EndProcess();
  EXPECT_FALSE(writer.ok());
  const WriteResult again = writer.Finish();
  EXPECT_FALSE(again.ok);
  EXPECT_EQ(again.error, "a record after Finish");
  EXPECT_EQ(sink.bytes, kSampleText);
}

TEST(PostPathWriter, ALargeFileGoesToTheSinkInPiecesAndASinkFailureStopsIt) {
  PostPath path = Mill({});
  for (int i = 0; i < 20000; ++i)
    path.blocks.push_back(LineTo({i * 0.001, 1, 2}, 5 + i % 2));
  const PostPathFile file = FileOf({path});
  MemorySink whole;
  {
    PostPathFileWriter writer(whole);
    SendPostPathFile(file, writer);
    ASSERT_TRUE(writer.Finish().ok);
  }
  EXPECT_GT(whole.writes, 4);
  EXPECT_GT(whole.bytes.size(), 400000u);

  MemorySink failing;
  failing.fail_from_write = 2;
  PostPathFileWriter writer(failing);
  SendPostPathFile(file, writer);
  EXPECT_FALSE(writer.ok());
  const WriteResult result = writer.Finish();
  EXPECT_FALSE(result.ok);
  EXPECT_THAT(result.error,
              HasSubstr("the sink could not store the file's bytes after the first "));
  EXPECT_EQ(failing.writes, 2);  // nothing more is handed over
  EXPECT_EQ(whole.bytes.substr(0, failing.bytes.size()), failing.bytes);
}

}  // namespace
}  // namespace zu::ppf
