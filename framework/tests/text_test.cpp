#include "framework/text.h"

#include <gtest/gtest.h>

#include <string>

#include "framework/text_array.h"

namespace zu {
namespace {

TEST(Text, FormatSearchAndSlices) {
  Text t;
  t.Format("%s%s", "C:\\WINDOWS", "\\notepad.exe");
  EXPECT_EQ(t, "C:\\WINDOWS\\notepad.exe");
  EXPECT_EQ(t.Find('\\'), 2);
  EXPECT_EQ(t.Find('\\', 3), 10);
  EXPECT_EQ(t.ReverseFind('.'), 18);
  EXPECT_EQ(t.ReverseFind('\\'), 10);  // the last of two
  EXPECT_EQ(Text("a.b.c.").ReverseFind('.'), 5);
  EXPECT_EQ(Text(".ab").ReverseFind('.'), 0);
  EXPECT_EQ(t.ReverseFind('?'), -1);
  EXPECT_EQ(t.Find('?'), -1);
  EXPECT_EQ(t.Left(2), "C:");
  EXPECT_EQ(t.Left(100), t);
  EXPECT_EQ(t.Mid(11), "notepad.exe");
  EXPECT_EQ(t.Mid(11, 3), "not");
  EXPECT_EQ(t.Mid(99), "");
}

// 淺 is B2 5C in GBK: its second byte is a backslash.
TEST(Text, ReverseFindSkipsTheSecondByteOfDoubleByteCharacters) {
  struct Case {
    const char* text;
    char c;
    int expected;
  };
  const Case cases[] = {
      {"C:\\t\\\xB2\x5C.cut", '\\', 4},     // the character's trail is no separator
      {"C:\\t\\\xB2\x5C\\a.cut", '\\', 7},  // a separator after it still is
      {"\xB2\x5C", '\\', -1},
      {"a\\\xB2", '\\', 1},           // a lead byte at the end stands alone
      {"\x81\x40.\xFE\x2E", '.', 2},  // lead bytes 0x81 and 0xFE
      {"\x80\\", '\\', 1},            // 0x80 leads nothing
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Text(c.text).ReverseFind(c.c), c.expected) << c.text;
    EXPECT_EQ(FindLastCharacter(c.text, c.c),
              c.expected < 0 ? std::string_view::npos : static_cast<std::size_t>(c.expected))
        << c.text;
  }
}

TEST(Text, FormatHandlesLongOutputAndPercentInArguments) {
  const std::string long_path(5000, 'a');
  Text t;
  t.Format("%s|%d%%", long_path.c_str(), 7);
  EXPECT_EQ(t.Length(), 5000u + 3);
  EXPECT_EQ(t.Mid(5000), "|7%");
  t.Format("%s", "100% sure");
  EXPECT_EQ(t, "100% sure");
}

TEST(TextArray, KeepsOrderAndCopies) {
  TextArray files;
  Text name = "a.cut";
  EXPECT_EQ(files.Add(name), 0);
  name += "x";
  EXPECT_EQ(files.Add("b.cut"), 1);
  EXPECT_EQ(files.GetSize(), 2);
  EXPECT_EQ(files.GetAt(0), "a.cut");
  EXPECT_EQ(files.GetAt(1), "b.cut");
  EXPECT_THROW((void)files.GetAt(2), std::out_of_range);
  files.RemoveAll();
  EXPECT_EQ(files.GetSize(), 0);
}

}  // namespace
}  // namespace zu
