// The host's post-path writer through its API, as the plug-in calls it (in
// the Windows build through zuhost.dll): whole processes written into a
// test folder and read back, and the calls that must fail.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <sstream>
#include <string>

#include "framework/testing/test_folder.h"
#include "host/post_path_writer.h"
#include "postpath_file/file_model.h"
#include "postpath_file/file_reader.h"

namespace zu {
namespace {

using ::testing::HasSubstr;

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool Exists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::u8path(path), error);
}

// The file read back with the format's reader.
struct ReadBack {
  ppf::PostPathFile file;
  ppf::ReadResult result;
};
ReadBack Read(const std::string& path) {
  ReadBack back;
  ppf::PostPathFileBuilder builder(back.file);
  back.result = ppf::ReadPostPathFile(Bytes(path), builder);
  return back;
}

void Fill(CPostPathPara& para, const char* name) {
  para.path_name = name;
  para.spindle_speed = 2400.5;
  para.home_point = {1, 2, 100};
  para.origin = {5, 6, 7};
  para.x_axis = {10, 0, 0};
  para.y_axis = {0, 10, 0};
  para.z_axis = {0, 0, 1};
  para.stock_min = {-50, -40, -30};
  para.stock_max = {50, 40, 0};
  para.tool.name = "D10 R5";
  para.tool.second_name = "\xc6\xbd\xb5\xd7\xb5\xb6";  // GBK: flat end mill
  para.tool.first_integer = 4;
  para.tool.second_integer = 2;
  para.tool.third_integer = 9;
  const double values[7] = {10, 0.5, 5, 0, 75, -0.0, 1e-7};
  std::copy(values, values + 7, para.tool.values);
}

CPostPathMill3DPara MillPara() {
  CPostPathMill3DPara para;
  Fill(para, "contour, pass 1");
  para.path_type = PATHTYPE_MILL;
  para.macro_pairs = {{"A", "1"}, {"B$", "%2"}};
  para.dwell_text = "G04 P500";
  const double feeds[10] = {-1, -1, 800, 800, 200, 400, 400, 800, 1200, -1};
  std::copy(feeds, feeds + 10, para.feeds);
  para.safe_height = 50;
  para.approach_height = 5;
  return para;
}

CPostPathDrill3DPara DrillPara() {
  CPostPathDrill3DPara para;
  Fill(para, "holes");
  para.path_type = PATHTYPE_DRILL;
  para.drill_mode = 83;
  para.holes = {{10, 10, 0}, {-10, 10, 0}, {0, -0.0, 0}};
  const double values[7] = {150, 5, 2, -12.5, 3, 0.5, 0};
  std::copy(values, values + 7, para.drill_values);
  para.user[0] = "G98";
  para.user[19] = "last";
  return para;
}

CPostPathMill3DPara FivePara() {
  CPostPathMill3DPara para = MillPara();
  para.path_name = "blade";
  para.path_type = PATHTYPE_FIVEAXIS;
  para.has_tool_axis = true;
  para.tool_axis = {0, 0.6, 0.8};
  para.macro_pairs.clear();
  para.dwell_text = "";
  return para;
}

CPostPathBlock Line(XYZ end, int feed_type, int compensation = 0) {
  CPostPathBlock block;
  block.end_point = end;
  block.feed_type = feed_type;
  block.compensation = compensation;
  block.centre = {99, 99, 99};  // not the block's: left out
  return block;
}

CPostPathBlock Arc(XYZ end, XYZ centre, XYZ normal, int feed_type, int compensation) {
  CPostPathBlock block = Line(end, feed_type, compensation);
  block.kind = 2;
  block.centre = centre;
  block.has_vector = true;
  block.vector = normal;
  return block;
}

CPostPathBlock Axis(XYZ end, XYZ axis, int feed_type, int mark) {
  CPostPathBlock block = Line(end, feed_type);
  block.has_vector = true;
  block.vector = axis;
  block.position_mark = mark;
  return block;
}

std::vector<CPostPathBlock> MillBlocks() {
  std::vector<CPostPathBlock> blocks = {
      Line({0, 0, 50}, 1),     Line({0, 0, -2}, 4),
      Line({40, 0, -2}, 5, 1), Arc({50, 10, -2}, {40, 10, -2}, {0, 0, 2}, 5, 1),
      Line({50, 10, 50}, 1),
  };
  blocks[3].dwell = 1;
  return blocks;
}

std::vector<CPostPathBlock> FiveBlocks() {
  return {Axis({0, 0, 40}, {0, 0, 1}, 1, kMarkNone),
          Axis({0, 0, 3}, {0, 0.6, 0.8}, 2, kMarkApproach),
          Axis({20, 0, 0}, {0, 0.6, 0.8}, 5, kMarkNone),
          Axis({20, 1.8, 2.4}, {0, 0.6, 0.8}, 8, kMarkRetract)};
}

// Writes a process of a drilling, a milling and a five-axis bracket
// through the API; every call must succeed.
void WriteProcess(CPostPathWrite& out, const std::string& path) {
  out.SetFileVersion("2.1");
  out.SetFileInfo("ORVO ZU 2006 r3");
  out.SetProcessName("\xb9\xa4\xd2\xd5 7");  // GBK: process 7
  out.SetProcessComment("first setup");
  out.UseJigRetract = 1;
  out.JigRetractHeight = 120.25;
  ASSERT_EQ(out.FileWrite(path.c_str()), 0) << out.ErrorText();
  ASSERT_EQ(out.StartProcess(), 0) << out.ErrorText();
  CPostPathDrill3DPara drill = DrillPara();
  ASSERT_EQ(out.StartToolPath(PATHTYPE_DRILL, &drill), 0) << out.ErrorText();
  ASSERT_EQ(out.EndToolPath(), 0) << out.ErrorText();
  CPostPathMill3DPara mill = MillPara();
  ASSERT_EQ(out.StartToolPath(PATHTYPE_MILL, &mill), 0) << out.ErrorText();
  for (CPostPathBlock& block : MillBlocks())
    ASSERT_EQ(out.WriteBlock(&block), 0) << out.ErrorText();
  ASSERT_EQ(out.EndToolPath(), 0) << out.ErrorText();
  CPostPathMill3DPara five = FivePara();
  ASSERT_EQ(out.StartToolPath(PATHTYPE_FIVEAXIS, &five), 0) << out.ErrorText();
  for (CPostPathBlock& block : FiveBlocks())
    ASSERT_EQ(out.WriteBlock(&block), 0) << out.ErrorText();
  ASSERT_EQ(out.EndToolPath(), 0) << out.ErrorText();
  ASSERT_EQ(out.EndProcess(), 0) << out.ErrorText();
}

void ExpectHead(const ppf::PathHead& head, int type, const CPostPathPara& para) {
  EXPECT_EQ(head.type, type);
  EXPECT_EQ(head.record_path_type, para.path_type);
  EXPECT_EQ(head.name, para.path_name.str());
  EXPECT_EQ(head.spindle_speed, para.spindle_speed);
  EXPECT_EQ(head.home, (ppf::Vec3{1, 2, 100}));
  EXPECT_EQ(head.tool_axis.has_value(), para.has_tool_axis);
  EXPECT_EQ(head.origin, (ppf::Vec3{5, 6, 7}));
  EXPECT_EQ(head.x_axis, (ppf::Vec3{10, 0, 0}));
  EXPECT_EQ(head.stock_max, (ppf::Vec3{50, 40, 0}));
  EXPECT_EQ(head.tool.name, "D10 R5");
  EXPECT_EQ(head.tool.second_name, "\xc6\xbd\xb5\xd7\xb5\xb6");
  EXPECT_EQ(head.tool.first_integer, 4);
  EXPECT_EQ(head.tool.second_integer, 2);
  EXPECT_EQ(head.tool.third_integer, 9);
  EXPECT_TRUE(std::signbit(head.tool.values[5]));
  EXPECT_EQ(head.tool.values[6], 1e-7);
}

TEST(PostPathWrite, AWholeProcessIsWrittenAndReadsBackAsItWasGiven) {
  TestFolder folder;
  const std::string path = folder.File("zucl.pmf");
  CPostPathWrite out;
  WriteProcess(out, path);
  ASSERT_EQ(out.FileClose(), 0) << out.ErrorText();
  EXPECT_STREQ(out.ErrorText(), "");

  const std::string bytes = Bytes(path);
  EXPECT_EQ(bytes.substr(0, 15), "PARTNO \xb9\xa4\xd2\xd5 7\r\n");
  EXPECT_EQ(bytes.substr(bytes.size() - 11), "END\r\nFINI\r\n");
  const ReadBack back = Read(path);
  ASSERT_TRUE(back.result.ok) << back.result.error;
  const ppf::PostPathFile& file = back.file;
  EXPECT_EQ(file.process, (ppf::ProcessHead{"2.1", "ORVO ZU 2006 r3", "\xb9\xa4\xd2\xd5 7",
                                            "first setup", 1, 120.25}));
  ASSERT_EQ(file.paths.size(), 3u);

  const ppf::PostPath& drill = file.paths[0];
  ExpectHead(drill.head, PATHTYPE_DRILL, DrillPara());
  const auto& drill_record = std::get<ppf::DrillRecord>(drill.record);
  EXPECT_EQ(drill_record.drill_mode, 83);
  EXPECT_EQ(drill_record.values, (std::array<double, 7>{150, 5, 2, -12.5, 3, 0.5, 0}));
  EXPECT_EQ(drill_record.user[0], "G98");
  EXPECT_EQ(drill_record.user[1], "");
  EXPECT_EQ(drill_record.user[19], "last");
  ASSERT_EQ(drill.holes.size(), 3u);
  EXPECT_TRUE(std::signbit(drill.holes[2].y));
  EXPECT_TRUE(drill.blocks.empty());

  const ppf::PostPath& mill = file.paths[1];
  ExpectHead(mill.head, PATHTYPE_MILL, MillPara());
  const auto& mill_record = std::get<ppf::MillRecord>(mill.record);
  EXPECT_EQ(mill_record.macro_pairs,
            (std::vector<std::pair<std::string, std::string>>{{"A", "1"}, {"B$", "%2"}}));
  EXPECT_EQ(mill_record.dwell_text, "G04 P500");
  EXPECT_EQ(mill_record.feeds[4], 200);
  EXPECT_EQ(mill_record.safe_height, 50);
  EXPECT_EQ(mill_record.approach_height, 5);
  const std::vector<CPostPathBlock> given = MillBlocks();
  ASSERT_EQ(mill.blocks.size(), given.size());
  for (std::size_t i = 0; i < given.size(); ++i) {
    const ppf::Block& b = mill.blocks[i];
    EXPECT_EQ(b.kind, given[i].kind) << "block " << i;
    EXPECT_EQ(b.feed_type, given[i].feed_type) << "block " << i;
    EXPECT_EQ(b.compensation, given[i].compensation) << "block " << i;
    EXPECT_EQ(b.dwell, given[i].dwell) << "block " << i;
    EXPECT_EQ(b.end, (ppf::Vec3{given[i].end_point.x, given[i].end_point.y, given[i].end_point.z}))
        << "block " << i;
    // A straight move's centre is not written.
    EXPECT_EQ(b.centre, (given[i].kind == 2 ? ppf::Vec3{40, 10, -2} : ppf::Vec3{}));
  }
  EXPECT_EQ(mill.blocks[3].vector, (ppf::Vec3{0, 0, 2}));

  const ppf::PostPath& five = file.paths[2];
  ExpectHead(five.head, PATHTYPE_FIVEAXIS, FivePara());
  EXPECT_EQ(five.head.tool_axis, (ppf::Vec3{0, 0.6, 0.8}));
  ASSERT_EQ(five.blocks.size(), 4u);
  EXPECT_EQ(five.blocks[1].position_mark, kMarkApproach);
  EXPECT_EQ(five.blocks[3].position_mark, kMarkRetract);
  EXPECT_TRUE(five.blocks[3].has_vector);
  EXPECT_EQ(five.blocks[3].vector, (ppf::Vec3{0, 0.6, 0.8}));
}

TEST(PostPathWrite, TheFileIsTextWithCrLfLineEnds) {
  TestFolder folder;
  const std::string path = folder.File("lines.pmf");
  CPostPathWrite out;
  WriteProcess(out, path);
  ASSERT_EQ(out.FileClose(), 0) << out.ErrorText();
  const std::string bytes = Bytes(path);
  std::size_t lines = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n') {
      ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "a LF alone at byte " << i;
      ++lines;
    }
  }
  EXPECT_GT(lines, 80u);
  EXPECT_THAT(bytes, HasSubstr("\r\nCUTCOM/LEFT\r\nFEDRAT/400\r\nGOTO/40,0,-2\r\n"
                               "PPRINT/ZU DWELL 1\r\nCIRCLE/40,10,-2,0,0,2,10\r\n"));
  EXPECT_THAT(bytes, HasSubstr("\r\nMULTAX/ON\r\nRAPID\r\nGOTO/0,0,40,0,0,1\r\n"));
}

// Each case makes calls after FileWrite of a file in the test folder; the
// call the case names fails, every later one too, and FileClose reports
// the first failure and removes the file.
TEST(PostPathWrite, MisuseFailsTheCallAndTheFile) {
  const auto start = [](CPostPathWrite& out) { return out.StartProcess(); };
  const struct Case {
    const char* name;
    std::function<int(CPostPathWrite&)> calls;  // returns what the failing call returned
    const char* error;
  } cases[] = {
      {"a block outside a bracket",
       [&](CPostPathWrite& out) {
         start(out);
         CPostPathBlock block;
         return out.WriteBlock(&block);
       },
       "a block cannot come here: the file expects a bracket or the end of the process next"},
      {"StartToolPath twice",
       [&](CPostPathWrite& out) {
         start(out);
         CPostPathMill3DPara para = MillPara();
         out.StartToolPath(PATHTYPE_MILL, &para);
         return out.StartToolPath(PATHTYPE_MILL, &para);
       },
       "a bracket cannot come here: the file expects a block or the end of the bracket next"},
      {"a bracket before StartProcess",
       [&](CPostPathWrite& out) {
         CPostPathMill3DPara para = MillPara();
         return out.StartToolPath(PATHTYPE_MILL, &para);
       },
       "a bracket cannot come here: the file expects the process head next"},
      {"EndToolPath without a bracket",
       [&](CPostPathWrite& out) {
         start(out);
         return out.EndToolPath();
       },
       "the end of a bracket cannot come here"},
      {"a null record",
       [&](CPostPathWrite& out) {
         start(out);
         return out.StartToolPath(PATHTYPE_MILL, nullptr);
       },
       "StartToolPath without a parameter record"},
      {"a null block",
       [&](CPostPathWrite& out) {
         start(out);
         CPostPathMill3DPara para = MillPara();
         out.StartToolPath(PATHTYPE_MILL, &para);
         return out.WriteBlock(nullptr);
       },
       "WriteBlock without a block"},
      {"a drilling bracket with a milling record",
       [&](CPostPathWrite& out) {
         start(out);
         CPostPathMill3DPara para = MillPara();
         return out.StartToolPath(PATHTYPE_DRILL, &para);
       },
       "a drilling bracket whose record is not a CPostPathDrill3DPara"},
      {"a milling bracket with a drilling record",
       [&](CPostPathWrite& out) {
         start(out);
         CPostPathDrill3DPara para = DrillPara();
         return out.StartToolPath(PATHTYPE_MULTIAXIS, &para);
       },
       "a bracket of path type 3 whose record is not a CPostPathMill3DPara"},
      {"a bare parameter record",
       [&](CPostPathWrite& out) {
         start(out);
         CPostPathPara para;
         return out.StartToolPath(PATHTYPE_FIVEAXIS, &para);
       },
       "a bracket of path type 4 whose record is not a CPostPathMill3DPara"},
      {"a path type outside 1 to 4",
       [&](CPostPathWrite& out) {
         start(out);
         CPostPathMill3DPara para = MillPara();
         return out.StartToolPath(static_cast<PATHTYPE>(7), &para);
       },
       "path type 7 is none of 1 to 4"},
      {"a block in a drilling bracket",
       [&](CPostPathWrite& out) {
         start(out);
         CPostPathDrill3DPara para = DrillPara();
         out.StartToolPath(PATHTYPE_DRILL, &para);
         CPostPathBlock block;
         return out.WriteBlock(&block);
       },
       "a block cannot come here: the file expects a hole or the end of the bracket next"},
      {"a feed type outside 0 to 9",
       [&](CPostPathWrite& out) {
         start(out);
         CPostPathMill3DPara para = MillPara();
         out.StartToolPath(PATHTYPE_MILL, &para);
         CPostPathBlock block = Line({1, 2, 3}, 10);
         return out.WriteBlock(&block);
       },
       "feed type 10 is outside 0 to 9"},
      {"an arc without its normal",
       [&](CPostPathWrite& out) {
         start(out);
         CPostPathMill3DPara para = MillPara();
         out.StartToolPath(PATHTYPE_MILL, &para);
         CPostPathBlock block = Arc({1, 0, 0}, {0, 0, 0}, {0, 0, 1}, 5, 0);
         block.has_vector = false;
         return out.WriteBlock(&block);
       },
       "an arc without the normal of its plane"},
      {"a point that is not a number",
       [&](CPostPathWrite& out) {
         start(out);
         CPostPathDrill3DPara para = DrillPara();
         para.holes[1].z = std::numeric_limits<double>::quiet_NaN();
         return out.StartToolPath(PATHTYPE_DRILL, &para);
       },
       "hole 2 of bracket 1 is not a finite point"},
      {"a name with a line break",
       [&](CPostPathWrite& out) {
         start(out);
         CPostPathMill3DPara para = MillPara();
         para.path_name = "two\nlines";
         return out.StartToolPath(PATHTYPE_MILL, &para);
       },
       "the path name of the head of bracket 1 holds CR, LF or a NUL byte"},
      {"a process comment with a CR",
       [&](CPostPathWrite& out) {
         out.SetProcessComment("a\rb");
         return out.StartProcess();
       },
       "the process comment of the process head holds CR, LF or a NUL byte"},
      {"a second FileWrite while the file is open",
       [&](CPostPathWrite& out) { return out.FileWrite("other.pmf"); },
       "FileWrite while the file "},
      {"FileClose before EndProcess",
       [&](CPostPathWrite& out) {
         start(out);
         return out.FileClose();
       },
       "the file is incomplete: it expects a bracket or the end of the process next"},
  };
  for (const Case& c : cases) {
    TestFolder folder;
    const std::string path = folder.File("misuse.pmf");
    CPostPathWrite out;
    ASSERT_EQ(out.FileWrite(path.c_str()), 0) << c.name;
    EXPECT_NE(c.calls(out), 0) << c.name;
    EXPECT_THAT(out.ErrorText(), HasSubstr(c.error)) << c.name;
    const std::string first = out.ErrorText();
    // Every later call fails too and the first failure stays.
    EXPECT_NE(out.EndProcess(), 0) << c.name;
    if (std::string(c.name) != "FileClose before EndProcess") {
      EXPECT_NE(out.FileClose(), 0) << c.name;
    }
    EXPECT_EQ(out.ErrorText(), first) << c.name;
    EXPECT_FALSE(Exists(path)) << c.name << ": a file not written whole is removed";
  }
}

TEST(PostPathWrite, CallsWithoutAnOpenFileFail) {
  CPostPathWrite out;
  EXPECT_NE(out.StartProcess(), 0);
  EXPECT_THAT(out.ErrorText(), HasSubstr("no file is open: FileWrite comes first"));
  EXPECT_NE(out.FileClose(), 0);
  CPostPathWrite named;
  EXPECT_NE(named.FileWrite(nullptr), 0);
  EXPECT_THAT(named.ErrorText(), HasSubstr("FileWrite without a file name"));
  EXPECT_NE(named.StartProcess(), 0);
  EXPECT_NE(named.FileClose(), 0);
  EXPECT_THAT(named.ErrorText(), HasSubstr("FileWrite without a file name"));
}

TEST(PostPathWrite, AFileThatCannotBeCreatedFailsFileWriteAndTheRest) {
  TestFolder folder;
  const std::string path = folder.File("missing") + "/zucl.pmf";
  CPostPathWrite out;
  EXPECT_NE(out.FileWrite(path.c_str()), 0);
  EXPECT_THAT(out.ErrorText(), HasSubstr("the file " + path + " cannot be created"));
  EXPECT_NE(out.StartProcess(), 0);
  EXPECT_NE(out.FileClose(), 0);
  EXPECT_THAT(out.ErrorText(), HasSubstr("cannot be created"));
}

TEST(PostPathWrite, TheWriterWritesAnotherFileAfterFileClose) {
  TestFolder folder;
  CPostPathWrite out;
  // A failed file first, then a good one.
  ASSERT_EQ(out.FileWrite(folder.File("first.pmf").c_str()), 0);
  EXPECT_NE(out.EndProcess(), 0);
  EXPECT_NE(out.FileClose(), 0);
  EXPECT_NE(out.FileClose(), 0);  // nothing open any more
  const std::string path = folder.File("second.pmf");
  WriteProcess(out, path);
  ASSERT_EQ(out.FileClose(), 0) << out.ErrorText();
  EXPECT_STREQ(out.ErrorText(), "");
  EXPECT_TRUE(Read(path).result.ok);
  EXPECT_FALSE(Exists(folder.File("first.pmf")));
}

TEST(PostPathWrite, AWriterGoneBeforeFileCloseLeavesNoFile) {
  TestFolder folder;
  const std::string path = folder.File("abandoned.pmf");
  {
    CPostPathWrite out;
    WriteProcess(out, path);
  }
  EXPECT_FALSE(Exists(path));
}

#if !defined(_WIN32)
TEST(PostPathWrite, AFullDeviceFailsFileCloseAndTheFileIsGone) {
  // The file opens, but what is written cannot be stored: small files fail
  // when the file is closed, large ones while the writer hands them over.
  for (int brackets : {1, 300}) {
    TestFolder folder;
    const std::string path = folder.File("full.pmf");
    std::filesystem::create_symlink("/dev/full", path);
    CPostPathWrite out;
    ASSERT_EQ(out.FileWrite(path.c_str()), 0) << out.ErrorText();
    ASSERT_EQ(out.StartProcess(), 0);
    for (int i = 0; i < brackets; ++i) {
      CPostPathMill3DPara para = MillPara();
      out.StartToolPath(PATHTYPE_MILL, &para);
      for (CPostPathBlock& block : MillBlocks())
        out.WriteBlock(&block);
      out.EndToolPath();
    }
    out.EndProcess();
    EXPECT_NE(out.FileClose(), 0) << brackets;
    EXPECT_THAT(out.ErrorText(), ::testing::AnyOf(HasSubstr("could not be written out"),
                                                  HasSubstr("could not store")))
        << brackets;
    EXPECT_FALSE(std::filesystem::is_symlink(path)) << brackets;
  }
}
#endif

}  // namespace
}  // namespace zu
