#include "toolloc_file/file_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cfloat>
#include <string>
#include <vector>

#include "format_io/testing/line_edits.h"
#include "format_io/testing/read_checks.h"
#include "toolloc_file/fixed20.h"
#include "toolloc_file/file_model.h"
#include "toolloc_file/tests/sample_file.h"

namespace zu {
namespace {

using fio_testing::Edit;
using fio_testing::IsRefusedAt;
using fio_testing::TextEnding;
using ::testing::StartsWith;
using toolloc_testing::kSampleText;
using toolloc_testing::SampleFile;

// The sample's lines without their CR LF.
std::vector<std::string> SampleLines() {
  return fio_testing::CrLfLinesOf(kSampleText);
}

// The sample with line `number` (from 1) replaced by `text`, `text`'s lines
// ('\n' between them) inserted before it, or removed.
std::string Edited(int number, Edit edit, std::string_view text = {}) {
  return fio_testing::Edited(kSampleText, number, edit, text);
}

// A feed line of the given ten values (two blanks after the first).
std::string FeedLine(const std::vector<std::string>& v) {
  std::string line = "feed " + v[0] + " ";
  for (std::size_t i = 1; i < v.size(); ++i)
    line += " " + v[i];
  return line;
}

const std::string kZ = "0.00000000000000000000";
const std::string kM1 = "-1.00000000000000000000";
const std::string k800 = "800.00000000000000000000";
const std::string k400 = "400.00000000000000000000";
const std::string k200 = "200.00000000000000000000";
const std::string k1200 = "1200.00000000000000000000";

// A receiver that only notes whether the file was read whole.
class TailWatch final : public ToolLocationRecords {
 public:
  bool tail = false;
  void Head(const FileHead&) override {}
  void BeginToolList() override {}
  void Tool(const ToolEntry&) override {}
  void EndSection() override {}
  void Machine(std::string_view) override {}
  void CodeFile(std::string_view) override {}
  void Jig(const JigSection&) override {}
  void PathStart(const zu::PathStart&) override {}
  void PathPlacement(const zu::PathPlacement&) override {}
  void DrillKeys(const zu::DrillKeys&) override {}
  void Holes(int) override {}
  void Hole(const Vec3&) override {}
  void MillKeys(const zu::MillKeys&) override {}
  void Block(const zu::Block&) override {}
  void Tail() override { tail = true; }
};

// The sample itself is read whole; each case changes it in one place.
TEST(FileReader, RefusesWhatTheWriterDoesNotWrite) {
  const struct Case {
    int line;
    Edit edit;
    std::string text;
    int error_line;
    std::string message;
  } cases[] = {
      {1, Edit::Replace, "[fileheader]", 1, R"(expected "[filehead]", found "[fileheader]")"},
      {2, Edit::Replace, "fileversion 2.0", 2, R"(expected "fileversion 1.0")"},
      {3, Edit::Replace, "colour 6", 3, R"(unknown key "colour")"},
      {3, Edit::Replace, "toolnumber 6", 3, R"(expected "pathnumber", found "toolnumber 6")"},
      {3, Edit::Replace, "pathnumber", 3, R"("pathnumber" without the blank that follows)"},
      {4, Edit::Replace, "toolnumber 5", 4, "the head's path number 6 and tool number 5 differ"},
      {3, Edit::Remove, "", 3, R"(expected "pathnumber", found "toolnumber 6")"},
      // Tool list.
      {13, Edit::Remove, "", 13, "the tool list ends after 5 of the head's 6 tools"},
      {14, Edit::InsertBefore, "6" + SampleLines()[12].substr(1), 14,
       "a tool beyond the head's 6 tools"},
      {10, Edit::Replace, "3" + SampleLines()[9].substr(1), 10, "tool index 3 where 2 comes next"},
      {9, Edit::Replace, "1,DR5,3,0,1" + SampleLines()[8].substr(11), 9,
       R"(the tool's second integer stands twice in its line, but "1" differs from "0")"},
      {9, Edit::Replace, "1,DR5,3,0" + SampleLines()[8].substr(11), 9,
       "a tool line has 13 fields joined by ',', this one 12"},
      {9, Edit::Replace, "1,D,R5" + SampleLines()[8].substr(5), 9,
       "a tool line has 13 fields joined by ',', this one 14"},
      {12, Edit::Replace,
       "4,T5,0,0,0," + kZ + "," + kZ + "," + kZ + ",-" + kZ + "," + kZ + "," + kZ + "," + kZ +
           ",ORVO ZU",
       12, R"(the ninth field of a tool line is always "0.00000000000000000000", found "-0.0)"},
      {9, Edit::Replace, SampleLines()[8].substr(0, SampleLines()[8].size() - 2) + "ZZ", 9,
       R"(a tool line ends in "ORVO ZU", this one in "ORVO ZZ")"},
      {9, Edit::Replace, "[machine]", 9,
       R"(expected a tool line or "[endsect]", found "[machine]")"},
      // Machine, code file, fixture.
      {16, Edit::Replace, "mcfname", 16, R"("mcfname" without the blank)"},
      {19, Edit::Replace, "gcodename C:\\a.cut", 19, R"(unknown key "gcodename")"},
      {24, Edit::Replace, "1.00000000000000000000,0.00000000000000000000", 24,
       "expected three numbers joined by ','"},
      {23, Edit::Replace, "jigcoord 1.5,0.00000000000000000000,0.00000000000000000000", 23,
       R"(expected a number written with twenty decimals, found "1.5")"},
      {27, Edit::Remove, "", 27, R"(expected "[endsect]", found "[pathpara]")"},
      // Path records.
      {30, Edit::Replace, "toolindex 1", 30, "toolindex 1 where 0 comes next"},
      {143, Edit::Replace, "toolindex 2", 143, "toolindex 2 where 3 comes next"},
      {181, Edit::InsertBefore,
       "[pathpara]\npathname x\ntoolindex 5\n[endsect]\n[pathpara]\npathname y\ntoolindex 6", 187,
       "a path record beyond the head's path number 6"},
      {38, Edit::Replace, "pathtype 3", 38,
       "pathtype 3 is none of 1 (drilling), 2 (milling) and 5 (five-axis)"},
      {38, Edit::Replace, "pathtype 01", 38, R"(expected an integer, found "01")"},
      {31, Edit::Remove, "", 31, R"(expected "homepoint" or "[endsect]", found "pathcoordinate)"},
      {82, Edit::Replace, "holes 0", 82, R"(unknown key "holes")"},
      {82, Edit::Replace, "speed 1.00000000000000000000", 82,
       R"(expected "pathtype" or "pointnumber", found "speed 1.0)"},
      {49, Edit::Remove, "", 49, R"(expected "udpara2", found "udpara3 ")"},
      {49, Edit::Replace, "udpara2 a\rb", 49, "a text holds a CR that ends no line"},
      {29, Edit::Replace, std::string("pathname a\0b", 12), 29, "a text holds a NUL byte"},
      {68, Edit::Replace, "pointnumber 3", 71, "the drilling record ends after 2 of its 3 holes"},
      {68, Edit::Replace, "pointnumber 1", 70,
       R"(more holes than the 1 that "pointnumber" announces)"},
      {68, Edit::Replace, "pointnumber -1", 68, "the hole count -1 is negative"},
      {72, Edit::InsertBefore, "[block]", 72,
       R"(expected "[pathpara]" or "[filetail]", found "[block]")"},
      {180, Edit::Remove, "", 180, R"(expected "homepoint" or "[endsect]", found "[filetail]")"},
      // Mill keys and the feed line.
      {99, Edit::Replace, "speed 3000.00000000000000000000 ", 99,
       R"(expected a number written with twenty decimals, found "3000.00000000000000000000 ")"},
      {100, Edit::Replace, FeedLine({k800, kM1, kM1, k200, k400, k400, k400, k400, k1200, kM1}),
       100, R"(feed value 5 repeats value 0 (A), but "400.0)"},
      {100, Edit::Replace, FeedLine({k800, kM1, kM1, k200, k400, k800, k400, k200, k1200, kM1}),
       100, R"(feed value 7 repeats value 4 (B), but "200.0)"},
      {100, Edit::Replace, FeedLine({k800, kM1, kM1, k200, k400, k800, k400, k400, k1200, k400}),
       100, R"(feed value 9 is always "-1.00000000000000000000", found "400.0)"},
      {100, Edit::Replace, FeedLine({k800, k200, kM1, k200, k400, k800, k400, k400, k1200, kM1}),
       100, R"(feed value 1 is always "-1.00000000000000000000")"},
      {100, Edit::Replace,
       "feed " + k800 + " " + kM1 + " " + kM1 + " " + k200 + " " + k400 + " " + k800 + " " + k400 +
           " " + k400 + " " + k1200 + " " + kM1,
       100, "the feed line holds ten numbers, two blanks after the first"},
      {100, Edit::Replace,
       FeedLine({k800, kM1, kM1, k200, k400, k800, k400, k400, k1200, kM1, kM1}), 100,
       "the feed line holds ten numbers"},
      {100, Edit::Replace,
       FeedLine({k800, kM1, kM1, k200, k400, k800, k400, k400, k1200, kM1}) + " ", 100,
       "the feed line holds ten numbers"},
      {100, Edit::Replace, FeedLine({k800, kM1, kM1, k200, k400, k800, k400, k400, "", kM1}), 100,
       R"(expected a number written with twenty decimals, found "")"},
      {102, Edit::Remove, "", 102, R"(expected "[endsect]", found "[block]")"},
      {101, Edit::Replace, "paradwel G04", 101, R"(unknown key "paradwel")"},
      {158, Edit::InsertBefore, "paradwell G04 P1", 158, R"("paradwell" in a five-axis record)"},
      {158, Edit::Replace, "[block]", 158, R"(expected "[endsect]", found "[block]")"},
      // Blocks.
      {104, Edit::Replace, "blocktype 6", 104, "blocktype 6 is none of 1 to 5"},
      {105, Edit::Replace, "feedtype 0", 105, "feedtype 0 is outside 1 to 9"},
      {105, Edit::Replace, "feedtype 10", 105, "feedtype 10 is outside 1 to 9"},
      {105, Edit::Replace, "toolcmpflag 1", 105, R"(expected "feedtype", found "toolcmpflag 1")"},
      {117, Edit::Replace, "toolcmpflag 3", 117, "toolcmpflag 3 is none of 0, 1 and 2"},
      {131, Edit::Replace, "dwellflag -1", 131, "dwellflag -1 is none of 0, 1 and 2"},
      {127, Edit::Remove, "", 127, R"(expected "vector", found "[endsect]")"},
      {166, Edit::Remove, "", 166,
       R"(a line block of a five-axis record without "endpointvector")"},
      {110, Edit::InsertBefore,
       "endpointvector 0.00000000000000000000,0.00000000000000000000,1.00000000000000000000", 110,
       R"("endpointvector" in a line block of a pathtype 2 record)"},
      {176, Edit::Replace, "[endsect] ", 176, R"(expected "[endsect]", found "[endsect] ")"},
      // The end.
      {181, Edit::Remove, "", 181, R"(the file ends before "[filetail]")"},
      {181, Edit::InsertBefore, "", 181, R"(expected "[pathpara]" or "[filetail]", found "")"},
      {7, Edit::InsertBefore, "", 7, R"(expected "[toollist]", found "")"},
  };
  for (const Case& c : cases) {
    const std::string text = Edited(c.line, c.edit, c.text);
    TailWatch watch;
    const ReadResult result = ReadToolLocationFile(text, watch);
    const std::string input = "line " + std::to_string(c.line) + " edited to \"" + c.text + "\"";
    EXPECT_TRUE(IsRefusedAt(result, c.error_line, c.message)) << input;
    EXPECT_FALSE(watch.tail) << input;
  }
}

TEST(FileReader, RefusesLinesNotEndedByCrLfAndTextAfterTheTail) {
  const std::string sample(kSampleText);
  const std::string second_line_end = "fileversion 1.0\r\n";
  const struct Case {
    std::string text;
    int line;
    const char* message;
  } cases[] = {
      {"", 1, R"(the file is empty: expected "[filehead]")"},
      {"[filehead]\n", 1, "the line ends in LF alone, expected CR LF"},
      {"\n", 1, "the line ends in LF alone, expected CR LF"},
      {"[filehead]\r\nfileversion 1.0\n", 2, "the line ends in LF alone, expected CR LF"},
      {"[filehead]\r\nfileversion 1.0\r", 2, "the file ends inside this line, before its CR LF"},
      {"[filehead]\r\n", 2, "the file ends inside the file head"},
      {"\xef\xbb\xbf[filehead]\r\n", 1, R"(expected "[filehead]", found ")"},
      {"[filehead]\r\r\n", 1, R"(expected "[filehead]", found "[filehead]\x0D")"},
      {sample.substr(0, sample.size() - 2), 181,
       "the file ends inside this line, before its CR LF"},
      {sample.substr(0, sample.size() - 2) + "\n", 181, "the line ends in LF alone"},
      {sample + "x", 182, R"(text after "[filetail]")"},
      {sample + "\r\n", 182, R"(text after "[filetail]")"},
      {sample + "[filetail]\r\n", 182, R"(text after "[filetail]")"},
  };
  for (const Case& c : cases) {
    TailWatch watch;
    const ReadResult result = ReadToolLocationFile(c.text, watch);
    EXPECT_TRUE(IsRefusedAt(result, c.line, c.message)) << TextEnding(c.text);
    EXPECT_FALSE(watch.tail) << TextEnding(c.text);
  }
}

TEST(FileReader, NumbersAreExactlyTheTextsOfTwentyDecimals) {
  char dbl_max[kFixed20MaxLength];
  const std::string largest(dbl_max, FormatFixed20(-DBL_MAX, dbl_max));
  const struct Case {
    std::string number;
    const char* refusal;  // nullptr: accepted
  } cases[] = {
      {"0.00000000000000000000", nullptr},
      {"-0.00000000000000000000", nullptr},
      {"-12.50000000000000000000", nullptr},
      {"0.10000000000000000555", nullptr},
      {"123456789.12345679104328155518", nullptr},
      {largest, nullptr},
      {"1.5", "expected a number written with twenty decimals"},
      {"1.0000000000000000000", "expected a number written with twenty decimals"},
      {"1.000000000000000000000", "expected a number written with twenty decimals"},
      {"01.00000000000000000000", "expected a number written with twenty decimals"},
      {"00.00000000000000000000", "expected a number written with twenty decimals"},
      {"+1.00000000000000000000", "expected a number written with twenty decimals"},
      {".00000000000000000000", "expected a number written with twenty decimals"},
      {"-.00000000000000000000", "expected a number written with twenty decimals"},
      {"1.00000000000000000000e0", "expected a number written with twenty decimals"},
      {"1.0000000000000000000a", "expected a number written with twenty decimals"},
      {" 1.00000000000000000000", "expected a number written with twenty decimals"},
      {"1 .00000000000000000000", "expected a number written with twenty decimals"},
      {"-", "expected a number written with twenty decimals"},
      {"", "expected a number written with twenty decimals"},
      {"nan", "expected a number written with twenty decimals"},
      {"0.99999999999999999999",
       R"("0.99999999999999999999" is not the twenty-decimal text of a number: the nearest is )"
       R"("1.00000000000000000000")"},
      {"0.10000000000000000000", R"(the nearest is "0.10000000000000000555")"},
      {"1.00000000000000000001", R"(the nearest is "1.00000000000000000000")"},
      {"2" + std::string(308, '0') + ".00000000000000000000", "is too large"},
      {"1" + std::string(309, '0') + ".00000000000000000000", "is too large"},
  };
  for (const Case& c : cases) {
    const std::string text =
        Edited(31, Edit::Replace,
               "homepoint 0.00000000000000000000," + c.number + ",100.00000000000000000000");
    TailWatch watch;
    const ReadResult result = ReadToolLocationFile(text, watch);
    if (!c.refusal) {
      EXPECT_TRUE(result.ok) << c.number << ": " << result.error;
      continue;
    }
    EXPECT_TRUE(IsRefusedAt(result, 31, c.refusal)) << c.number;
  }
}

TEST(FileReader, IntegersAreExactlyTheTextsOfInts) {
  const struct Case {
    const char* integer;
    const char* refusal;  // nullptr: accepted
  } cases[] = {
      {"0", nullptr},
      {"-1", nullptr},
      {"2147483647", nullptr},
      {"-2147483648", nullptr},
      {"+1", "expected an integer, found \"+1\""},
      {"01", "expected an integer, found \"01\""},
      {"-0", "expected an integer, found \"-0\""},
      {"1.0", "expected an integer"},
      {"", "expected an integer, found \"\""},
      {"-", "expected an integer"},
      {"1 ", "expected an integer"},
      {"0x1", "expected an integer"},
      {"2147483648", "the integer \"2147483648\" does not fit 32 bits"},
      {"-2147483649", "does not fit 32 bits"},
      {"99999999999999999999999", "does not fit 32 bits"},
  };
  for (const Case& c : cases) {
    const std::string text = Edited(22, Edit::Replace, std::string("usejigcoord ") + c.integer);
    TailWatch watch;
    const ReadResult result = ReadToolLocationFile(text, watch);
    if (!c.refusal) {
      EXPECT_TRUE(result.ok) << c.integer << ": " << result.error;
      continue;
    }
    EXPECT_TRUE(IsRefusedAt(result, 22, c.refusal)) << c.integer;
  }
}

TEST(FileReader, AcceptsEveryOptionalPart) {
  const struct Case {
    int line;
    Edit edit;
    const char* text;
  } cases[] = {
      {101, Edit::Remove, ""},                   // no dwell text
      {101, Edit::Replace, "paradwell "},        // an empty dwell text
      {29, Edit::Replace, "pathname "},          // an empty path name
      {16, Edit::Replace, "mcfname  a, b "},     // blanks and commas kept
      {49, Edit::Replace, "udpara2 [endsect]"},  // any text
  };
  for (const Case& c : cases) {
    TailWatch watch;
    const ReadResult result = ReadToolLocationFile(Edited(c.line, c.edit, c.text), watch);
    EXPECT_TRUE(result.ok) << "line " << c.line << " \"" << c.text << "\": " << result.error;
  }
}

TEST(FileReader, EveryTruncatedFileIsRefused) {
  const std::string_view text = kSampleText;
  int lines = 0;
  for (std::size_t n = 0; n < text.size(); ++n) {
    TailWatch watch;
    const ReadResult result = ReadToolLocationFile(text.substr(0, n), watch);
    ASSERT_FALSE(result.ok) << "the first " << n << " bytes";
    ASSERT_FALSE(watch.tail) << "the first " << n << " bytes";
    // The fault lies on the line that is cut or on the one after the last.
    ASSERT_TRUE(result.line == lines + 1) << "the first " << n << " bytes: " << result.error;
    ASSERT_THAT(result.error, StartsWith("line " + std::to_string(result.line) + ": "));
    if (text[n] == '\n')
      ++lines;
  }
}

TEST(FileReader, StopsAtTheFirstFaultWithTheRecordsBeforeIt) {
  ToolLocationFile file;
  ToolLocationFileBuilder builder(file);
  const ReadResult result =
      ReadToolLocationFile(Edited(109, Edit::Replace, "endpoint 0,0,5"), builder);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.line, 109);
  EXPECT_TRUE(builder.error().empty()) << builder.error();
  ASSERT_EQ(file.paths.size(), 3u);
  EXPECT_EQ(file.paths[2].mill_keys, SampleFile().paths[2].mill_keys);
  ASSERT_EQ(file.paths[2].blocks.size(), 1u);
  EXPECT_EQ(file.paths[2].blocks[0], SampleFile().paths[2].blocks[0]);
}

}  // namespace
}  // namespace zu
