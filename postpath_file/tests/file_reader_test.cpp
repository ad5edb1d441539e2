#include "postpath_file/file_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "format_io/testing/line_edits.h"
#include "format_io/testing/read_checks.h"
#include "postpath_file/file_model.h"
#include "postpath_file/tests/sample_file.h"

namespace zu::ppf {
namespace {

using fio_testing::Edit;
using fio_testing::IsRefusedAt;
using fio_testing::TextEnding;
using ppf_testing::kSampleText;
using ppf_testing::SampleFile;
using ::testing::HasSubstr;
using ::testing::StartsWith;

// The sample with line `number` (from 1) replaced by `text`'s lines ('\n'
// between them), those lines inserted before it, or the line removed.
std::string Edited(int number, Edit edit, std::string_view text = {}) {
  return fio_testing::Edited(kSampleText, number, edit, text);
}

// A receiver that only notes whether the file was read whole.
class EndWatch final : public PostPathRecords {
 public:
  bool ended = false;
  void Process(const ProcessHead&) override {}
  void MillPath(const PathHead&, const MillRecord&) override {}
  void DrillPath(const PathHead&, const DrillRecord&) override {}
  void Hole(const Vec3&) override {}
  void Block(const ppf::Block&) override {}
  void EndPath() override {}
  void EndProcess() override { ended = true; }
};

TEST(PostPathReader, TheSampleIsReadWhole) {
  EndWatch watch;
  const ReadResult result = ReadPostPathFile(kSampleText, watch);
  EXPECT_TRUE(result.ok) << result.error;
  EXPECT_TRUE(watch.ended);
}

// Each case changes the sample in one place (its line numbers are in
// sample_file.h's order: 1 PARTNO, 9 the drilling bracket, 31 the milling
// bracket, 66 the five-axis bracket, 106 END).
TEST(PostPathReader, RefusesWhatTheWriterDoesNotWrite) {
  const std::string long_goto =
      "GOTO/20.123456789012344,1.8000000000000003,2.4000000000000004,0,0.6000000000000001,"
      "0.7999999999999999";
  const struct Case {
    int line;
    Edit edit;
    std::string text;
    int error_line;
    std::string message;
  } cases[] = {
      // The process head.
      {1, Edit::Replace, "PARTNO BRACKET-8", 1,
       R"(PARTNO does not show the process name: expected "PARTNO BRACKET-7")"},
      {1, Edit::Replace, "PARTNO  BRACKET-7", 1, "PARTNO does not show the process name"},
      {1, Edit::Remove, "", 1, R"(expected PARTNO, found "PPRINT/ZU VERSION=1.0")"},
      {2, Edit::Replace, "PPRINT/ZU VERSION 1.0", 2, R"(expected PPRINT/ZU VERSION=, found)"},
      {2, Edit::Replace, "PPRINT/ZU VERSION=1.0 ", 2,
       R"(a PPRINT/ZU record not written as the writer writes it: expected )"
       R"("PPRINT/ZU VERSION=1.0%20", found "PPRINT/ZU VERSION=1.0 ")"},
      {2, Edit::Replace, "PPRINT/ZU VERSION=%0D", 2, "an escape of CR, LF or NUL"},
      {3, Edit::Replace, "PPRINT/ZU INF0=ORVO ZU", 3, R"(unknown PPRINT/ZU record "INF0")"},
      {3, Edit::Replace, "PPRINT/zu INFO=ORVO ZU", 3, "a PPRINT that is not a PPRINT/ZU record"},
      {3, Edit::Replace, "PPRINT/ZU+x", 2,
       R"(not written as the writer writes it: expected "PPRINT/ZU VERSION=1.0x")"},
      {9, Edit::InsertBefore, "PPRINT/ZU+x", 9,
       "a PPRINT/ZU+ line that continues no PPRINT/ZU record"},
      {5, Edit::Replace, "PPRINT/ZU COMMENT=first setup:", 5,
       R"(expected "PPRINT/ZU COMMENT=first setup: 50%25 feed)"},
      {6, Edit::Replace, "PPRINT/ZU+ 50% feed on the first pass, %242 insert", 6,
       "an escape that is not '%' and two upper-case hex digits"},
      {6, Edit::Replace, "PPRINT/ZU+ 50%25 feed on the first pass, %242 insert%2e", 6,
       "an escape that is not '%' and two upper-case hex digits"},
      {6, Edit::Replace, "PPRINT/ZU+ 50%25 feed on the first pass, $2 insert", 6,
       R"(expected "PPRINT/ZU+ 50%25 feed on the first pass, %242 insert")"},
      {6, Edit::Replace, "PPRINT/ZU+ 50%25 feed on the first pass, %242 inser%74", 6,
       "not written as the writer writes it"},
      {7, Edit::Replace, "PPRINT/ZU JIGRETRACT 1", 7,
       "PPRINT/ZU JIGRETRACT holds 2 values joined by ',', this one 1"},
      {7, Edit::Replace, "PPRINT/ZU JIGRETRACT 1.0,50", 7, R"(expected an integer, found "1.0")"},
      {7, Edit::Replace, "PPRINT/ZU JIGRETRACT 1,50.0", 7,
       R"("50.0" is not the shortest text of its number: "50")"},
      {8, Edit::Replace, "UNITS/INCHES", 8, R"(expected UNITS/MM, found "UNITS/INCHES")"},
      {8, Edit::Remove, "", 8, R"(expected UNITS/MM, found "PPRINT/ZU PATH DRILL,1")"},
      // A bracket's head.
      {9, Edit::Replace, "PPRINT/ZU PATH TURN,1", 9,
       R"(the path type "TURN" is none of DRILL, MILL, MULTIAXIS and FIVEAXIS)"},
      {31, Edit::Replace, "PPRINT/ZU PATH DRILL,2", 42,
       R"(expected PPRINT/ZU DRILL, found "PPRINT/ZU FEEDS -1,-1,800)"},
      {11, Edit::Remove, "", 11, R"(expected PPRINT/ZU HOME, found "PPRINT/ZU ORIGIN 0,0,0")"},
      {16, Edit::Replace, "PPRINT/ZU STOCK -50,-50,-20,50,50", 16,
       "PPRINT/ZU STOCK holds 6 values joined by ',', this one 5"},
      {19, Edit::Replace, "PPRINT/ZU TOOL 0,0,8.5,0,0,0,60,118,0,1", 19,
       "PPRINT/ZU TOOL holds 9 values"},
      {23, Edit::Replace, "LOADTL/3.5", 23, R"(expected an integer, found "3.5")"},
      {23, Edit::Replace, "LOADTL/2147483648", 23, "does not fit 32 bits"},
      {24, Edit::Replace, "CUTTER/8.5,0.0", 24,
       R"(expected CUTTER/8.5,0 (the tool's diameter and corner radius), found "CUTTER/8.5,0.0")"},
      {24, Edit::Remove, "", 24,
       R"(expected CUTTER/8.5,0 (the tool's diameter and corner )"
       R"(radius), found "SPINDL/1200,CLW")"},
      {19, Edit::Replace, "PPRINT/ZU TOOL 0,0,0,0,0,0,60,118,0", 24,
       "CUTTER for a tool whose diameter and corner radius make none"},
      {25, Edit::Replace, "SPINDL/1200,CCLW", 25, "expected SPINDL/speed,CLW"},
      // The drilling bracket.
      {20, Edit::Replace, "PPRINT/ZU DRILL 81,2,0,0.5", 20, "PPRINT/ZU DRILL holds 5 values"},
      {22, Edit::Replace, "PPRINT/ZU USER1=again", 22,
       "USER1 after USER1: user texts stand in order, each once"},
      {22, Edit::Replace, "PPRINT/ZU USER21=x", 22,
       R"(unknown PPRINT/ZU record "USER21": user texts are USER1 to USER20)"},
      {22, Edit::Replace, "PPRINT/ZU USER05=x", 22, R"(unknown PPRINT/ZU record "USER05")"},
      {22, Edit::Replace, "PPRINT/ZU USER5=", 22, "an empty user text is not written"},
      {26, Edit::Replace, "CYCLE/DEEP,-12.5,MMPM,150,5", 26,
       "expected CYCLE/DRILL,depth,MMPM,feed,clearance"},
      {26, Edit::Replace, "CYCLE/DRILL,-12.5,150,5", 26, "CYCLE holds 5 values"},
      {27, Edit::Remove, "", 27, R"(expected DELAY/0.5 (the dwell time), found "GOTO/10,10,0")"},
      {20, Edit::Replace, "PPRINT/ZU DRILL 81,2,0,0,0", 27,
       "DELAY where the dwell time is not above 0"},
      {28, Edit::Replace, "GOTO/10,10,0,0,0,1", 28,
       "GOTO holds 3 values joined by ',', this one 6"},
      {29, Edit::InsertBefore, "RAPID", 29, R"(expected GOTO or CYCLE/OFF, found "RAPID")"},
      {30, Edit::Remove, "", 30, R"(expected GOTO or CYCLE/OFF, found "PPRINT/ZU PATH MILL,2")"},
      // The milling record.
      {42, Edit::Replace, "PPRINT/ZU FEEDS -1,-1,800", 42, "PPRINT/ZU FEEDS holds 10 values"},
      {44, Edit::Replace, "PPRINT/ZU DWELLTEXT=", 44, "an empty DWELLTEXT, which is not written"},
      {44, Edit::InsertBefore, "PPRINT/ZU MACRO=K", 45,
       R"(expected PPRINT/ZU VALUE=, found "PPRINT/ZU DWELLTEXT=G04 P1")"},
      {81, Edit::Remove, "", 81, R"(expected PPRINT/ZU VALUE=, found "PPRINT/ZU MACRO=LEAD")"},
      // Its blocks: 48 FEEDTYPE 1, 49 RAPID, 50 GOTO, 51 FEEDTYPE 4, 52 FEDRAT/200, 53 GOTO,
      // 54 FEEDTYPE 5, 55 CUTCOM/LEFT, 56 FEDRAT/400, 57 GOTO, 58 CIRCLE, 59 GOTO, 60 DWELL 1,
      // 61 GOTO, 62 FEEDTYPE 1, 63 CUTCOM/OFF, 64 RAPID, 65 GOTO.
      {48, Edit::Remove, "", 49, "the first block of a bracket has no PPRINT/ZU FEEDTYPE"},
      {48, Edit::Replace, "PPRINT/ZU FEEDTYPE 10", 48, "feed type 10 is outside 0 to 9"},
      {51, Edit::Replace, "PPRINT/ZU FEEDTYPE 1", 51, "FEEDTYPE 1 repeats the feed type in force"},
      {49, Edit::Remove, "", 49, "expected RAPID: the feed of feed type 1 is negative"},
      {52, Edit::Replace, "FEDRAT/200.0", 52, R"("200.0" is not the shortest text)"},
      {52, Edit::Replace, "FEDRAT/300", 52, "expected FEDRAT/200: the feed of feed type 4"},
      {52, Edit::Remove, "", 52, "expected FEDRAT/200: the feed of feed type 4"},
      {52, Edit::Replace, "RAPID", 52, "expected FEDRAT/200: the feed of feed type 4"},
      {58, Edit::InsertBefore, "FEDRAT/400", 58, "FEDRAT restates the feed in force"},
      {58, Edit::InsertBefore, "RAPID", 58, "RAPID, but the feed of feed type 5 is not negative"},
      {58, Edit::InsertBefore, "CUTCOM/LEFT", 58, "CUTCOM restates the compensation in force"},
      {55, Edit::Replace, "CUTCOM/ON", 55, "expected CUTCOM/LEFT, /RIGHT or /OFF"},
      {58, Edit::Replace, "CIRCLE/40,10,-2,0,0,1,10.000000000000002", 58,
       "the CIRCLE's radius is not the distance from its centre to the GOTO's point: expected 10"},
      {58, Edit::Replace, "CIRCLE/40,10,-2,0,0,-0,10", 58,
       "an arc whose normal is the zero vector"},
      {58, Edit::Replace, "CIRCLE/40,10,-2,0,0,1", 58, "CIRCLE holds 7 values"},
      {59, Edit::Replace, "GOTO/50,10,-2,0,0,1", 59, "the GOTO that ends an arc has a tool axis"},
      {59, Edit::Replace, "GOTO/50,10", 59, "expected GOTO/x,y,z or GOTO/x,y,z,i,j,k"},
      {60, Edit::Replace, "PPRINT/ZU DWELL -1", 60, "DWELL -1 is not written"},
      {60, Edit::Replace, "PPRINT/ZU DWELL 3", 60, "dwell flag 3 is none of -1 to 2"},
      {61, Edit::InsertBefore, "PPRINT/ZU MARK 0", 61, "MARK 0 is not written"},
      {61, Edit::InsertBefore, "PPRINT/ZU MARK 3", 61, "position mark 3 is none of 0 to 2"},
      {60, Edit::InsertBefore, "PPRINT/ZU MARK 1", 61,
       R"(expected GOTO, found "PPRINT/ZU DWELL 1")"},
      {59, Edit::InsertBefore, "END", 59, R"(expected GOTO, found "END")"},
      {58, Edit::InsertBefore, "END", 58,
       "expected CUTCOM/OFF: the bracket ends with compensation on"},
      {63, Edit::Remove, "", 65, "expected CUTCOM/OFF: the bracket ends with compensation on"},
      {66, Edit::InsertBefore, "CUTCOM/OFF", 66, "a CUTCOM without a GOTO after it"},
      {66, Edit::InsertBefore, "GOTO/1,2,3", 66,
       "expected RAPID: the feed of feed type 1 is negative"},
      {66, Edit::InsertBefore, "FINI", 66,
       R"(expected a block's statements, PPRINT/ZU PATH or END, found "FINI")"},
      // The five-axis bracket: 88 MULTAX/ON, 91 FEEDTYPE 2, 92 MARK 2, 93 FEDRAT/600,
      // 94 GOTO/0,0,3,..., 103 and 104 a GOTO continued, 105 MULTAX/OFF.
      {88, Edit::Remove, "", 89, "a GOTO with a tool axis outside MULTAX/ON"},
      {93, Edit::InsertBefore, "MULTAX/ON", 93, "MULTAX restates the mode in force"},
      {93, Edit::InsertBefore, "MULTAX/OFF", 95, "a GOTO with a tool axis outside MULTAX/ON"},
      {91, Edit::InsertBefore, "MULTAX/ON", 92,
       R"(expected a block's statements, PPRINT/ZU PATH or END, found "PPRINT/ZU FEEDTYPE 2")"},
      {94, Edit::Replace, "GOTO/0,0,3", 94, "a GOTO without a tool axis under MULTAX/ON"},
      {105, Edit::Remove, "", 105, "expected MULTAX/OFF: the bracket ends under MULTAX/ON"},
      {105, Edit::Replace, "MULTAX/ON", 105, "a MULTAX without a GOTO after it"},
      {103, Edit::Replace, "GOTO/20.123456789012344,1.8000000000000003,$", 103,
       R"(a statement not written as the writer writes it: expected )"
       R"("GOTO/20.123456789012344,1.8000000000000003,0.6000000000000001,$")"},
      {104, Edit::Replace, "0.6000000000000001,0.7999999999999999$", 104,
       R"(expected "0.6000000000000001,0.7999999999999999MULTAX/OFF")"},
      {103, Edit::InsertBefore, long_goto, 103,
       "a line of 101 bytes: a statement longer than 72 is continued with '$'"},
      {103, Edit::Replace, "GOTO/20.123456789012344,1.8000000000000003,2.4000000000000004,0,$$",
       103, "a '$' inside a statement"},
      // Statements and the end.
      {50, Edit::Replace, "GOTO/0,0,50 ", 50, R"(expected a number, found "50 ")"},
      {50, Edit::Replace, "GOTO/0,0,5e1", 50, R"(expected a number, found "5e1")"},
      {50, Edit::Replace, "goto/0,0,50", 50, R"(unknown statement "goto")"},
      {50, Edit::Replace, "", 50, R"(unknown statement "")"},
      {50, Edit::Replace, "GOTO/0,0,50$", 50,
       R"(a statement not written as the writer writes it: expected )"
       R"("GOTO/0,0,50PPRINT/ZU FEEDTYPE 4", found "GOTO/0,0,50$")"},
      {106, Edit::Replace, "END/", 106, R"(expected a block's statements, PPRINT/ZU PATH or END)"},
      {107, Edit::Replace, "FINI/", 107, R"(expected FINI, found "FINI/")"},
      {107, Edit::InsertBefore, "END", 107, R"(expected FINI, found "END")"},
      {107, Edit::Remove, "", 107, "the file ends before FINI"},
  };
  for (const Case& c : cases) {
    const std::string text = Edited(c.line, c.edit, c.text);
    EndWatch watch;
    const ReadResult result = ReadPostPathFile(text, watch);
    const std::string input = "line " + std::to_string(c.line) + " edited to \"" + c.text + "\"";
    EXPECT_TRUE(IsRefusedAt(result, c.error_line, c.message)) << input;
    EXPECT_FALSE(watch.ended) << input;
  }
}

TEST(PostPathReader, AcceptsEveryOptionalPart) {
  const struct Case {
    int line;
    Edit edit;
    const char* text;
  } cases[] = {
      {69, Edit::Remove, ""},                            // no tool axis
      {12, Edit::InsertBefore, "PPRINT/ZU AXIS 0,0,1"},  // a tool axis in a drilling bracket
      {44, Edit::Remove, ""},                            // no dwell text
      {22, Edit::Remove, ""},                            // fewer user texts
      {28, Edit::Remove, ""},                            // fewer holes
      {58, Edit::Remove, ""},                            // a straight move instead of the arc
      {60, Edit::Remove, ""},                            // no dwell
      {80, Edit::Replace, "PPRINT/ZU MACRO="},           // an empty macro key
      {9, Edit::InsertBefore,
       "PPRINT/ZU PATH MILL,2\nPPRINT/ZU NAME=\nPPRINT/ZU HOME 0,0,0\n"
       "PPRINT/ZU ORIGIN 0,0,0\nPPRINT/ZU XAXIS 0,0,0\nPPRINT/ZU YAXIS 0,0,0\n"
       "PPRINT/ZU ZAXIS 0,0,0\nPPRINT/ZU STOCK 0,0,0,0,0,0\n"
       "PPRINT/ZU TOOLNAME=\nPPRINT/ZU TOOLNAME2=\n"
       "PPRINT/ZU TOOL 0,0,0,0,0,0,0,0,0\n"
       "PPRINT/ZU FEEDS 0,0,0,0,0,0,0,0,0,0\nPPRINT/ZU HEIGHTS 0,0\n"
       "LOADTL/0\nSPINDL/0,CLW"},  // a bracket without blocks
  };
  for (const Case& c : cases) {
    EndWatch watch;
    const ReadResult result = ReadPostPathFile(Edited(c.line, c.edit, c.text), watch);
    EXPECT_TRUE(result.ok) << "line " << c.line << " \"" << c.text << "\": " << result.error;
    EXPECT_TRUE(watch.ended);
  }
}

TEST(PostPathReader, RefusesLinesNotEndedByCrLfAndTextAfterFini) {
  const std::string sample(kSampleText);
  const struct Case {
    std::string text;
    int line;
    const char* message;
  } cases[] = {
      {"", 1, "the file is empty: expected PARTNO"},
      {"PARTNO\n", 1, "the line ends in LF alone, expected CR LF"},
      {"\n", 1, "the line ends in LF alone, expected CR LF"},
      {"PARTNO\r\nPPRINT/ZU VERSION=\n", 2, "the line ends in LF alone, expected CR LF"},
      {"PARTNO\r", 1, "the file ends inside this line, before its CR LF"},
      {"PARTNO\r\n", 2, "the file ends before FINI"},
      {"\xef\xbb\xbfPARTNO\r\n", 1, "unknown statement"},
      {"PARTNO\r\r\n", 1, R"(unknown statement "PARTNO\x0D")"},
      {sample.substr(0, sample.size() - 2), 107,
       "the file ends inside this line, before its CR LF"},
      {sample.substr(0, sample.size() - 2) + "\n", 107, "the line ends in LF alone"},
      {sample + "x", 108, "text after FINI"},
      {sample + "\r\n", 108, "text after FINI"},
      {sample + "FINI\r\n", 108, "text after FINI"},
  };
  for (const Case& c : cases) {
    EndWatch watch;
    const ReadResult result = ReadPostPathFile(c.text, watch);
    EXPECT_TRUE(IsRefusedAt(result, c.line, c.message)) << TextEnding(c.text);
    EXPECT_FALSE(watch.ended) << TextEnding(c.text);
  }
}

TEST(PostPathReader, EveryTruncatedFileIsRefused) {
  const std::string_view text = kSampleText;
  int lines = 0;
  for (std::size_t n = 0; n < text.size(); ++n) {
    EndWatch watch;
    const ReadResult result = ReadPostPathFile(text.substr(0, n), watch);
    ASSERT_FALSE(result.ok) << "the first " << n << " bytes";
    ASSERT_FALSE(watch.ended) << "the first " << n << " bytes";
    // The fault lies on a line that is there, or on the first one missing.
    ASSERT_TRUE(result.line >= 1 && result.line <= lines + 1)
        << "the first " << n << " bytes: " << result.error;
    ASSERT_THAT(result.error, StartsWith("line " + std::to_string(result.line) + ": "));
    if (text[n] == '\n')
      ++lines;
  }
}

TEST(PostPathReader, StopsAtTheFirstFaultWithTheRecordsBeforeIt) {
  PostPathFile file;
  PostPathFileBuilder builder(file);
  const ReadResult result = ReadPostPathFile(Edited(59, Edit::Replace, "GOTO/50,10,-3"), builder);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.line, 58);
  EXPECT_THAT(result.error, HasSubstr("the CIRCLE's radius"));
  EXPECT_TRUE(builder.error().empty()) << builder.error();
  const PostPathFile sample = SampleFile();
  ASSERT_EQ(file.paths.size(), 2u);
  EXPECT_EQ(file.paths[0], sample.paths[0]);
  EXPECT_EQ(file.paths[1].head, sample.paths[1].head);
  ASSERT_EQ(file.paths[1].blocks.size(), 3u);
  EXPECT_EQ(file.paths[1].blocks[2], sample.paths[1].blocks[2]);
}

}  // namespace
}  // namespace zu::ppf
