#include "toolloc_file/file_model.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

#include "format_io/testing/memory_sink.h"
#include "format_io/testing/written.h"
#include "toolloc_file/file_reader.h"
#include "toolloc_file/file_writer.h"
#include "toolloc_file/tests/sample_file.h"

namespace zu {
namespace {

using fio_testing::MemorySink;
using fio_testing::Written;
using toolloc_testing::ArcTo;
using toolloc_testing::CodeBlock;
using toolloc_testing::kSampleText;
using toolloc_testing::LineTo;
using toolloc_testing::SampleFile;

// The file's bytes as a text-mode file stores them, and the outcome.
Written Write(const ToolLocationFile& file) {
  return fio_testing::WrittenBy<ToolLocationFileWriter>(
      [&](ToolLocationFileWriter& out) { SendToolLocationFile(file, out); });
}

struct Read {
  ToolLocationFile file;
  ReadResult result;
};
Read ReadText(std::string_view text) {
  Read read;
  ToolLocationFileBuilder builder(read.file);
  read.result = ReadToolLocationFile(text, builder);
  EXPECT_TRUE(builder.error().empty()) << builder.error();
  EXPECT_EQ(builder.complete(), read.result.ok);
  return read;
}

TEST(FileModel, TheSampleTextHoldsTheSampleModel) {
  const Read read = ReadText(kSampleText);
  ASSERT_TRUE(read.result.ok) << read.result.error;
  EXPECT_TRUE(read.file == SampleFile());
}

TEST(FileModel, TheSampleModelIsWrittenAsTheSampleText) {
  const Written written = Write(SampleFile());
  ASSERT_TRUE(written.result.ok) << written.result.error;
  EXPECT_EQ(written.bytes, kSampleText);
}

// The reader's stream handed straight to the writer, no model between.
TEST(FileModel, TextReadAndWrittenAgainIsTheSameBytes) {
  MemorySink sink;
  ToolLocationFileWriter writer(sink);
  const ReadResult read = ReadToolLocationFile(kSampleText, writer);
  ASSERT_TRUE(read.ok) << read.error;
  const WriteResult written = writer.Finish();
  ASSERT_TRUE(written.ok) << written.error;
  EXPECT_EQ(sink.bytes, kSampleText);
}

// Seeded random files of every record kind. Reals have magnitudes from
// 1e-3 to 1e7, where twenty decimals hold every double exactly enough to
// read back as itself; -0.0 and 0 read back as themselves too.
class RandomFiles {
 public:
  explicit RandomFiles(unsigned seed) : rng_(seed) {}

  ToolLocationFile Next() {
    ToolLocationFile file;
    const int objects = Int(0, 6);
    const int records = Int(0, objects);
    file.head = {objects, objects};
    for (int i = 0; i < objects; ++i) {
      file.tools.push_back(
          {i, Name(false), Int(-5, 5), Int(-5, 5), Real(), Real(), Real(), Real(), Real(), Real()});
    }
    file.mcf_path = Name(true);
    file.code_file = Name(true);
    file.jig = {Int(0, 1), {Point(), Point(), Point(), Point()}};
    for (int i = 0; i < records; ++i)
      file.paths.push_back(Path(i));
    return file;
  }

 private:
  ToolLocationPath Path(int index) {
    ToolLocationPath path;
    path.start = {Name(true), index};
    const int kind = Int(0, 3);
    if (kind == 3)  // five-axis without rows
      return path;
    path.placement = PathPlacement{Point(), {Point(), Point(), Point(), Point()}, Point(), Point()};
    if (kind == 0) {
      if (Int(0, 1)) {
        DrillKeys keys{Real(), Int(0, 90), Real(), Real(), Real(),
                       Real(), Real(),     Real(), Real(), {}};
        for (std::string& user : keys.user)
          user = Name(true);
        path.drill_keys = keys;
      }
      path.holes.emplace();
      for (int n = Int(0, 4); n > 0; --n)
        path.holes->push_back(Point());
      return path;
    }
    const int type = kind == 1 ? kPathTypeMill : kPathTypeFiveAxis;
    MillKeys keys{
        type, Real(), Int(0, 2), Real(), Int(0, 2), Real(), {Real(), Real(), Real(), Real()}, {}};
    if (type == kPathTypeMill && Int(0, 1))
      keys.dwell_text = Name(true);
    path.mill_keys = keys;
    for (int n = Int(0, 12); n > 0; --n) {
      switch (Int(1, 5)) {
        case 1:
          path.blocks.push_back(type == kPathTypeFiveAxis ? LineTo(Point(), Point())
                                                          : LineTo(Point()));
          break;
        case 2:
          path.blocks.push_back(ArcTo(Point(), Point(), Point()));
          break;
        case 3:
          path.blocks.push_back(CodeBlock(BlockType::FeedType, Int(1, 9)));
          break;
        case 4:
          path.blocks.push_back(CodeBlock(BlockType::Compensation, Int(0, 2)));
          break;
        default:
          path.blocks.push_back(CodeBlock(BlockType::Dwell, Int(0, 2)));
          break;
      }
    }
    return path;
  }

  int Int(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }

  double Real() {
    switch (Int(0, 5)) {
      case 0:
        return 0.0;
      case 1:
        return -0.0;
      case 2:
        return static_cast<double>(Int(-1000, 1000));
      default: {
        const double magnitude =
            std::pow(10.0, std::uniform_real_distribution<double>(-3, 7)(rng_));
        return Int(0, 1) ? -magnitude : magnitude;
      }
    }
  }

  Vec3 Point() { return {Real(), Real(), Real()}; }

  // Bytes but CR, LF and NUL; a tool name has no ',' either (written as a
  // blank, it would read back as one).
  std::string Name(bool commas) {
    std::string name;
    for (int n = Int(0, 12); n > 0; --n) {
      char c = static_cast<char>(Int(1, 255));
      if (c == '\r' || c == '\n' || (c == ',' && !commas))
        c = ' ';
      name += c;
    }
    return name;
  }

  std::mt19937 rng_;
};

TEST(FileModel, ModelWrittenAndReadIsTheSameModel) {
  RandomFiles files(7);
  for (int i = 0; i < 300; ++i) {
    const ToolLocationFile file = files.Next();
    const Written written = Write(file);
    ASSERT_TRUE(written.result.ok) << "file " << i << ": " << written.result.error;
    const Read read = ReadText(written.bytes);
    ASSERT_TRUE(read.result.ok) << "file " << i << ": " << read.result.error << "\n"
                                << written.bytes;
    EXPECT_TRUE(read.file == file) << "file " << i << ":\n" << written.bytes;
    EXPECT_EQ(Write(read.file).bytes, written.bytes) << "file " << i;
  }
}

TEST(FileModel, RecordsOfAShapeTheFileDoesNotAllowAreRefusedByTheWriter) {
  const struct Case {
    const char* error;
    std::function<void(ToolLocationPath&)> spoil;  // on the sample's record 1 (drilling)
  } cases[] = {
      {"\"[endsect]\" cannot come here: the file expects \"pathtype\" or \"pointnumber\" next",
       [](ToolLocationPath& p) { p.holes.reset(); }},
      {"mill keys cannot come here: the file expects \"[pathpara]\" or \"[filetail]\" next",
       [](ToolLocationPath& p) { p.mill_keys = SampleFile().paths[2].mill_keys; }},
      {"a block cannot come here: the file expects \"[pathpara]\" or \"[filetail]\" next",
       [](ToolLocationPath& p) { p.blocks.push_back(CodeBlock(BlockType::FeedType, 1)); }},
      {"drill keys cannot come here: the file expects \"homepoint\" or \"[endsect]\" next",
       [](ToolLocationPath& p) {
         p.placement.reset();
         p.drill_keys = SampleFile().paths[0].drill_keys;
       }},
  };
  for (const Case& c : cases) {
    ToolLocationFile file = SampleFile();
    c.spoil(file.paths[1]);
    const Written written = Write(file);
    EXPECT_FALSE(written.result.ok) << c.error;
    EXPECT_EQ(written.result.error, c.error);
  }
}

TEST(FileModel, TheBuilderTakesRecordsInTheFileOrderOnly) {
  ToolLocationFile file = SampleFile();
  ToolLocationFileBuilder builder(file);
  EXPECT_TRUE(file == ToolLocationFile{});
  builder.Head({1, 1});
  builder.BeginToolList();
  builder.PathPlacement({});  // no path record to hold it
  builder.Tool({0, "T", 0, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_EQ(builder.error(),
            "the placement of a path record cannot come here: the file expects a tool line or "
            "\"[endsect]\" next");
  EXPECT_FALSE(builder.complete());
  EXPECT_TRUE(file.paths.empty());
  EXPECT_TRUE(file.tools.empty()) << "a record after the refused one was taken";
}

}  // namespace
}  // namespace zu
