#include "gcode/line_source.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace zu::gcode {
namespace {

// Bytes from memory, `chunk` at a time, as a file or stream gives them.
class MemoryReader : public ByteReader {
 public:
  MemoryReader(std::string_view bytes, std::size_t chunk) : bytes_(bytes), chunk_(chunk) {}
  std::size_t Read(char* buffer, std::size_t size) override {
    const std::size_t n = std::min({size, chunk_, bytes_.size() - at_});
    std::memcpy(buffer, bytes_.data() + at_, n);
    at_ += n;
    return n;
  }
  bool SeekTo(std::uint64_t offset) override {
    if (offset > bytes_.size())
      return false;
    at_ = static_cast<std::size_t>(offset);
    return true;
  }
  bool failed() const override { return false; }

 private:
  std::string_view bytes_;
  std::size_t chunk_;
  std::size_t at_ = 0;
};

struct Split {
  const char* text;
  std::vector<std::string> lines;
};

const Split kSplits[] = {
    {"", {}},
    {"A", {"A"}},
    {"A\n", {"A"}},
    {"A\nB", {"A", "B"}},
    {"A\r\nB\r\n", {"A", "B"}},
    {"A\rB\r", {"A", "B"}},
    {"A\r\r\nB", {"A", "", "B"}},
    {"\n\n", {"", ""}},
    {"\r\n", {""}},
    {"G1 X1.\n\nG1 X2.\r\n", {"G1 X1.", "", "G1 X2."}},
};

std::vector<std::string> AllLines(LineSource& source) {
  std::vector<std::string> lines;
  std::string_view line;
  while (source.Next(line))
    lines.emplace_back(line);
  return lines;
}

TEST(LineSources, SplitAtLfCrLfAndCr) {
  for (const Split& split : kSplits) {
    SCOPED_TRACE(testing::PrintToString(std::string(split.text)));
    TextLineSource text(split.text);
    EXPECT_EQ(AllLines(text), split.lines);
    for (std::size_t buffer : {1u, 2u, 3u, 16u, 4096u}) {
      for (std::size_t chunk : {1u, 2u, 7u, 4096u}) {
        MemoryReader reader(split.text, chunk);
        StreamLineSource stream(reader, buffer);
        EXPECT_EQ(AllLines(stream), split.lines) << "buffer " << buffer << ", chunk " << chunk;
      }
    }
  }
}

// Line ends are looked for sixteen and eight bytes at a time: every place
// of an end within and across those.
TEST(LineSources, EndsAtEveryPlace) {
  for (std::size_t length = 0; length <= 40; ++length) {
    for (const char* end : {"\n", "\r", "\r\n"}) {
      const std::string line(length, 'X');
      const std::string text = line + end + line + end + "Y";
      SCOPED_TRACE(testing::PrintToString(text));
      const std::vector<std::string> lines = {line, line, "Y"};
      TextLineSource memory(text);
      EXPECT_EQ(AllLines(memory), lines);
      MemoryReader reader(text, 5);
      StreamLineSource stream(reader, 16);
      EXPECT_EQ(AllLines(stream), lines);
    }
  }
}

TEST(LineSources, CountLinesAndGoBack) {
  const std::string text = "L1\r\nL2\rL3\nL4\n";
  TextLineSource memory(text);
  MemoryReader reader(text, 3);
  StreamLineSource stream(reader, 16);  // the buffer's minimum
  for (LineSource* source :
       {static_cast<LineSource*>(&memory), static_cast<LineSource*>(&stream)}) {
    std::string_view line;
    ASSERT_TRUE(source->Next(line));
    const LinePosition second = source->Position();
    EXPECT_EQ(second.number, 2u);
    EXPECT_EQ(second.offset, 4u);
    ASSERT_TRUE(source->Next(line));
    ASSERT_TRUE(source->Next(line));
    ASSERT_TRUE(source->Next(line));
    EXPECT_EQ(line, "L4");
    EXPECT_FALSE(source->Next(line));
    ASSERT_TRUE(source->Seek(second));
    ASSERT_TRUE(source->Next(line));
    EXPECT_EQ(line, "L2");
    EXPECT_EQ(source->Position().number, 3u);
    ASSERT_TRUE(source->Next(line));
    EXPECT_EQ(line, "L3");
  }
}

TEST(LineSources, CutLinesLongerThanTheLimit) {
  for (std::size_t length :
       {kMaxLineLength - 1, kMaxLineLength, kMaxLineLength + 1, 3 * kMaxLineLength}) {
    const std::string text = std::string(length, 'X') + "\nNEXT";
    MemoryReader reader(text, 1000);
    StreamLineSource stream(reader, 512);
    TextLineSource memory(text);
    for (LineSource* source :
         {static_cast<LineSource*>(&memory), static_cast<LineSource*>(&stream)}) {
      std::string_view line;
      ASSERT_TRUE(source->Next(line));
      EXPECT_EQ(line.size(), std::min(length, kMaxLineLength)) << length;
      EXPECT_EQ(source->cut(), length > kMaxLineLength) << length;
      ASSERT_TRUE(source->Next(line));
      EXPECT_EQ(line, "NEXT");
      EXPECT_FALSE(source->cut());
    }
  }
}

TEST(LineSources, APositionPastTheEndCannotBeGoneTo) {
  const std::string text = "O1\nG1 X1.\n";
  MemoryReader reader(text, 4);
  StreamLineSource stream(reader, 4);
  TextLineSource memory(text);
  for (LineSource* source :
       {static_cast<LineSource*>(&memory), static_cast<LineSource*>(&stream)}) {
    EXPECT_FALSE(source->Seek({text.size() + 1, 9}));
    EXPECT_TRUE(source->Seek({3, 2}));
    std::string_view line;
    ASSERT_TRUE(source->Next(line));
    EXPECT_EQ(line, "G1 X1.");
  }
}

TEST(LineSources, FileByteReaderReadsAndSeeks) {
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  std::fputs("O1\nG1 X1.\r\nM30\n", file);
  std::rewind(file);
  FileByteReader reader(file);
  StreamLineSource source(reader, 16);
  EXPECT_EQ(AllLines(source), (std::vector<std::string>{"O1", "G1 X1.", "M30"}));
  ASSERT_TRUE(source.Seek({3, 2}));
  std::string_view line;
  ASSERT_TRUE(source.Next(line));
  EXPECT_EQ(line, "G1 X1.");
  EXPECT_FALSE(reader.failed());
  std::fclose(file);
}

}  // namespace
}  // namespace zu::gcode
