#include "postpath_file/file_model.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "format_io/testing/memory_sink.h"
#include "format_io/testing/written.h"
#include "postpath_file/file_reader.h"
#include "postpath_file/file_writer.h"
#include "postpath_file/tests/sample_file.h"

namespace zu::ppf {
namespace {

using fio_testing::MemorySink;
using fio_testing::Written;
using ppf_testing::ExampleFile;
using ppf_testing::kSampleText;
using ppf_testing::SampleFile;

// The file's bytes as a text-mode file stores them, and the outcome.
Written Write(const PostPathFile& file) {
  return fio_testing::WrittenBy<PostPathFileWriter>(
      [&](PostPathFileWriter& out) { SendPostPathFile(file, out); });
}

struct Read {
  PostPathFile file;
  ReadResult result;
};
Read ReadText(std::string_view text) {
  Read read;
  PostPathFileBuilder builder(read.file);
  read.result = ReadPostPathFile(text, builder);
  EXPECT_TRUE(builder.error().empty()) << builder.error();
  EXPECT_EQ(builder.complete(), read.result.ok);
  return read;
}

TEST(PostPathModel, TheSampleTextHoldsTheSampleModel) {
  const Read read = ReadText(kSampleText);
  ASSERT_TRUE(read.result.ok) << read.result.error;
  EXPECT_TRUE(read.file == SampleFile());
}

// The reader's stream handed straight to the writer, no model between.
TEST(PostPathModel, TextReadAndWrittenAgainIsTheSameBytes) {
  MemorySink sink;
  PostPathFileWriter writer(sink);
  const ReadResult read = ReadPostPathFile(kSampleText, writer);
  ASSERT_TRUE(read.ok) << read.error;
  const WriteResult written = writer.Finish();
  ASSERT_TRUE(written.ok) << written.error;
  EXPECT_EQ(sink.bytes, kSampleText);
}

#if !defined(_WIN32)
// The example of the format's page is the writer's text of ExampleFile()
// (lines shown without CR LF), and reads back as it.
TEST(PostPathModel, TheExampleOfTheFormatsPageIsWhatTheWriterWrites) {
  std::ifstream in(std::string(ZU_SOURCE_DIR) + "/docs/post-path-file.md");
  std::stringstream page;
  page << in.rdbuf();
  const std::string text = page.str();
  const auto start = text.find("```\nPARTNO");
  ASSERT_NE(start, std::string::npos) << "no example in the page";
  const auto end = text.find("```\n", start + 4);
  std::string example;
  for (char c : text.substr(start + 4, end - start - 4)) {
    if (c == '\n')
      example += '\r';
    example += c;
  }
  const Written written = Write(ExampleFile());
  ASSERT_TRUE(written.result.ok) << written.result.error;
  EXPECT_EQ(written.bytes, example);
  const Read read = ReadText(example);
  ASSERT_TRUE(read.result.ok) << read.result.error;
  EXPECT_TRUE(read.file == ExampleFile());
}
#endif

// Seeded random files with every record kind and every field: reals of
// every magnitude (-0.0, subnormals, DBL_MAX, any finite bit pattern),
// texts of any length and any byte but CR, LF and NUL.
class RandomFiles {
 public:
  explicit RandomFiles(unsigned seed) : rng_(seed) {}

  PostPathFile Next() {
    PostPathFile file;
    file.process = {Text(), Text(), Text(), Text(), Integer(), Real()};
    for (int n = Int(0, 5); n > 0; --n)
      file.paths.push_back(Path());
    return file;
  }

 private:
  PostPath Path() {
    PostPath path;
    PathHead& head = path.head;
    head.type = Int(kPathDrill, kPathFiveAxis);
    head.record_path_type = Int(0, 3) ? head.type : Integer();
    head.name = Text();
    head.spindle_speed = Real();
    head.home = Point();
    if (Int(0, 1))
      head.tool_axis = Point();
    head.origin = Point();
    head.x_axis = Point();
    head.y_axis = Point();
    head.z_axis = Point();
    head.stock_min = Point();
    head.stock_max = Point();
    head.tool.name = Text();
    head.tool.second_name = Int(0, 1) ? head.tool.name : Text();
    head.tool.first_integer = Integer();
    head.tool.second_integer = Integer();
    head.tool.third_integer = Integer();
    for (double& value : head.tool.values)
      value = Real();
    if (Int(0, 1))  // a tool with a cutter
      head.tool.values = {Moderate(1, 50), Real(), Moderate(0, 0.5), 0, Real(), Real(), Real()};

    if (head.type == kPathDrill) {
      DrillRecord record;
      record.drill_mode = Integer();
      for (double& value : record.values)
        value = Real();
      for (std::string& user : record.user)
        user = Int(0, 3) ? "" : Text();
      path.record = record;
      for (int n = Int(0, 4); n > 0; --n)
        path.holes.push_back(Point());
      return path;
    }
    MillRecord record;
    for (int n = Int(0, 3); n > 0; --n)
      record.macro_pairs.emplace_back(Text(), Text());
    record.dwell_text = Int(0, 2) ? "" : Text();
    for (double& feed : record.feeds)
      feed = Int(0, 2) ? Moderate(-1, 2000) : Real();
    record.safe_height = Real();
    record.approach_height = Real();
    path.record = record;
    int compensation = 0;
    for (int n = Int(0, 25); n > 0; --n) {
      Block block;
      block.kind = Int(0, 3) ? kBlockLine : kBlockArc;
      block.feed_type = Int(0, 3) ? 5 : Int(0, 9);
      if (Int(0, 4) == 0)
        compensation = Int(0, 2);
      block.compensation = compensation;
      block.dwell = Int(0, 4) ? kNoDwell : Int(0, 2);
      block.position_mark = Int(0, 4) ? kMarkNone : Int(1, 2);
      if (block.kind == kBlockArc) {
        // Coordinates whose differences stay finite.
        block.end = {Moderate(-1e6, 1e6), Moderate(-1e6, 1e6), Real() / 4};
        block.centre = {Moderate(-1e6, 1e6), Real() / 4, Moderate(-1e6, 1e6)};
        block.has_vector = true;
        block.vector = {Real(), Real(), Moderate(0.1, 2)};
      } else {
        block.end = Point();
        block.has_vector = head.type != kPathMill ? Int(0, 4) != 0 : Int(0, 4) == 0;
        if (block.has_vector)
          block.vector = Point();
      }
      path.blocks.push_back(block);
    }
    return path;
  }

  int Int(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }

  int Integer() {
    switch (Int(0, 3)) {
      case 0:
        return INT_MIN;
      case 1:
        return INT_MAX;
      default:
        return Int(-100, 100);
    }
  }

  double Moderate(double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(rng_);
  }

  double Real() {
    switch (Int(0, 9)) {
      case 0:
        return 0.0;
      case 1:
        return -0.0;
      case 2:
        return Int(-1000, 1000);
      case 3:
        return std::numeric_limits<double>::denorm_min() * Int(1, 1000000);
      case 4:
        return Int(0, 1) ? DBL_MAX : -DBL_MAX;
      case 5: {
        for (;;) {
          const double value =
              std::bit_cast<double>(std::uniform_int_distribution<std::uint64_t>()(rng_));
          if (std::isfinite(value))
            return value;
        }
      }
      default: {
        const double magnitude = std::pow(10.0, Moderate(-30, 30));
        return Int(0, 1) ? -magnitude : magnitude;
      }
    }
  }

  Vec3 Point() { return {Real(), Real(), Real()}; }

  // Bytes but CR, LF and NUL, with more of those the file escapes or
  // breaks at: blanks, ',', '%', '$', '=', GBK characters.
  std::string Text() {
    static constexpr std::string_view kSpecial[] = {" ",        ",",        "%",    "$",  "=",
                                                    "\xd6\xd0", "\xb5\x5c", "\x1a", "\t", "+"};
    std::string text;
    const int length = Int(0, 3) ? Int(0, 12) : Int(50, 200);
    for (int n = 0; n < length; ++n) {
      if (Int(0, 2) == 0) {
        text += kSpecial[Int(0, std::size(kSpecial) - 1)];
        continue;
      }
      char c = static_cast<char>(Int(1, 255));
      if (c == '\r' || c == '\n')
        c = ' ';
      text += c;
    }
    return text;
  }

  std::mt19937 rng_;
};

TEST(PostPathModel, ModelWrittenAndReadIsTheSameModel) {
  RandomFiles files(7);
  for (int i = 0; i < 400; ++i) {
    const PostPathFile file = files.Next();
    const Written written = Write(file);
    ASSERT_TRUE(written.result.ok) << "file " << i << ": " << written.result.error;
    const Read read = ReadText(written.bytes);
    ASSERT_TRUE(read.result.ok) << "file " << i << ": " << read.result.error << "\n"
                                << written.bytes;
    EXPECT_TRUE(read.file == file) << "file " << i << ":\n" << written.bytes;
    // Written again: the same bytes, so -0.0 and every bit of every real too.
    EXPECT_EQ(Write(read.file).bytes, written.bytes) << "file " << i;
    // No line is wider than 72 bytes.
    std::size_t start = 0;
    for (std::size_t end; (end = written.bytes.find("\r\n", start)) != std::string::npos;
         start = end + 2)
      ASSERT_LE(end - start, 72u) << "file " << i << ": "
                                  << written.bytes.substr(start, end - start);
  }
}

TEST(PostPathModel, TheBuilderTakesRecordsInTheFilesOrderOnly) {
  PostPathFile file;
  PostPathFileBuilder builder(file);
  builder.Process({});
  builder.Block({});
  builder.EndProcess();
  EXPECT_FALSE(builder.complete());
  EXPECT_EQ(builder.error(),
            "a block cannot come here: the file expects a bracket or the end of the process next");
  EXPECT_TRUE(file.paths.empty());
}

}  // namespace
}  // namespace zu::ppf
