// The text forms the writer and the reader share: numbers, escaped texts
// broken into PPRINT/ZU lines, and statements continued with '$'.
#include "postpath_file/internal/apt_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace zu::ppf_internal {
namespace {

std::string RealText(double value) {
  std::string text;
  EXPECT_TRUE(AppendReal(text, value)) << value;
  return text;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  return lines;
}

TEST(AptText, RealsAreTheShortestFixedTextThatReadsBack) {
  const struct Case {
    double value;
    const char* text;
  } cases[] = {
      {0.0, "0"},
      {-0.0, "-0"},
      {1, "1"},
      {-12.5, "-12.5"},
      {0.1, "0.1"},
      {0.1 + 0.2, "0.30000000000000004"},
      {1e-7, "0.0000001"},
      {-2.5e-5, "-0.000025"},
      {1e22, "10000000000000000000000"},
      {123456789.12345679, "123456789.12345679"},
      {20.123456789012344, "20.123456789012344"},
      {4503599627370497.0, "4503599627370497"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(RealText(c.value), c.text) << c.text;

  // The extremes have no exponent either.
  const std::string largest = RealText(-DBL_MAX);
  EXPECT_EQ(largest.size(), 1u + 309u);
  EXPECT_EQ(largest.substr(0, 8), "-1797693");
  const std::string smallest = RealText(std::numeric_limits<double>::denorm_min());
  EXPECT_EQ(smallest, "0." + std::string(323, '0') + "5");
  EXPECT_LE(smallest.size(), kRealMaxLength);
}

TEST(AptText, InfinityAndNaNHaveNoText) {
  for (double value :
       {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
        std::numeric_limits<double>::quiet_NaN()}) {
    std::string text = "x";
    EXPECT_FALSE(AppendReal(text, value)) << value;
    EXPECT_EQ(text, "x");
  }
}

TEST(AptText, OnlyTheWrittenTextOfARealIsRead) {
  const struct Case {
    std::string text;
    RealError error;
    const char* canonical;  // for NotShortest
  } cases[] = {
      {"0", RealError::None, ""},
      {"-0", RealError::None, ""},
      {"0.30000000000000004", RealError::None, ""},
      {"0.0000001", RealError::None, ""},
      {"", RealError::Shape, ""},
      {"-", RealError::Shape, ""},
      {"1.", RealError::Shape, ""},
      {".5", RealError::Shape, ""},
      {"+1", RealError::Shape, ""},
      {"1e5", RealError::Shape, ""},
      {"1E5", RealError::Shape, ""},
      {" 1", RealError::Shape, ""},
      {"1 ", RealError::Shape, ""},
      {"1,5", RealError::Shape, ""},
      {"--1", RealError::Shape, ""},
      {"nan", RealError::Shape, ""},
      {"inf", RealError::Shape, ""},
      {"0x1", RealError::Shape, ""},
      {"1" + std::string(309, '0'), RealError::Range, ""},
      {"0.50", RealError::NotShortest, "0.5"},
      {"1.0", RealError::NotShortest, "1"},
      {"-0.0", RealError::NotShortest, "-0"},
      {"00", RealError::NotShortest, "0"},
      {"007", RealError::NotShortest, "7"},
      {"0.10000000000000001", RealError::NotShortest, "0.1"},
      {"0." + std::string(400, '0'), RealError::NotShortest, "0"},
      {"0." + std::string(330, '0') + "1", RealError::NotShortest, "0"},
      {"-00." + std::string(330, '0') + "1", RealError::NotShortest, "-0"},
  };
  for (const Case& c : cases) {
    double value = 0;
    std::string canonical;
    EXPECT_EQ(ParseReal(c.text, value, &canonical), c.error) << '"' << c.text << '"';
    if (c.error == RealError::NotShortest) {
      EXPECT_EQ(canonical, c.canonical) << '"' << c.text << '"';
    }
  }
}

TEST(AptText, EveryFiniteDoubleReadsBackBitForBit) {
  std::mt19937_64 rng(11);
  for (int i = 0; i < 200000; ++i) {
    const double value = std::bit_cast<double>(rng());
    if (!std::isfinite(value))
      continue;
    std::string text;
    ASSERT_TRUE(AppendReal(text, value));
    double back = 0;
    ASSERT_EQ(ParseReal(text, back), RealError::None) << text;
    ASSERT_EQ(std::bit_cast<std::uint64_t>(back), std::bit_cast<std::uint64_t>(value)) << text;
  }
}

TEST(AptText, IntegersAreTheTextsOfInts) {
  const struct Case {
    const char* text;
    IntError error;
  } cases[] = {
      {"0", IntError::None},           {"-1", IntError::None},
      {"2147483647", IntError::None},  {"-2147483648", IntError::None},
      {"2147483648", IntError::Range}, {"-2147483649", IntError::Range},
      {"+1", IntError::Shape},         {"01", IntError::Shape},
      {"-0", IntError::Shape},         {"", IntError::Shape},
      {"-", IntError::Shape},          {"1.0", IntError::Shape},
      {"1 ", IntError::Shape},         {"0x1", IntError::Shape},
  };
  for (const Case& c : cases) {
    int value = 0;
    EXPECT_EQ(ParseInt(c.text, value), c.error) << '"' << c.text << '"';
  }
}

TEST(AptText, PprintRecordsAreEscapedAndBrokenAtTheLineWidth) {
  const std::string twenty(20, 'c');
  const std::string fifty(50, 'a');
  const std::string sixty(60, 'a');
  const struct Case {
    std::string payload;
    std::string lines;
  } cases[] = {
      {"FEEDTYPE 5", "PPRINT/ZU FEEDTYPE 5\n"},
      {"NAME=", "PPRINT/ZU NAME=\n"},
      {"NAME=a b", "PPRINT/ZU NAME=a b\n"},
      // The escape itself, APT's continuation and comment mark, control
      // bytes (CTRL-Z ends a file read in text mode), DEL.
      {"NAME=5% $$ x\ty\x1a\x7f", "PPRINT/ZU NAME=5%25 %24%24 x%09y%1A%7F\n"},
      // A blank that ends a line would be lost to editors that trim lines.
      {"NAME=a ", "PPRINT/ZU NAME=a%20\n"},
      {"NAME=  ", "PPRINT/ZU NAME= %20\n"},
      // GBK bytes as they are, even those that look like ASCII.
      {"NAME=\xd6\xd0\x5c\x7c", "PPRINT/ZU NAME=\xd6\xd0\x5c\x7c\n"},
      // 62 bytes fit after "PPRINT/ZU "; the 63rd goes on.
      {"NAME=" + std::string(57, 'x'), "PPRINT/ZU NAME=" + std::string(57, 'x') + "\n"},
      {"NAME=" + std::string(58, 'x'),
       "PPRINT/ZU NAME=" + std::string(57, 'x') + "\nPPRINT/ZU+x\n"},
      // After the last ',' that fits, when the rest does not fit.
      {"NAME=" + fifty + ",b," + twenty,
       "PPRINT/ZU NAME=" + fifty + ",b,\nPPRINT/ZU+" + twenty + "\n"},
      {"NAME=a,b," + sixty, "PPRINT/ZU NAME=a,b,\nPPRINT/ZU+" + sixty + "\n"},
      // An escape or a GBK character is never split; a blank at a break
      // is escaped.
      {"NAME=" + std::string(56, 'x') + "$y",
       "PPRINT/ZU NAME=" + std::string(56, 'x') + "\nPPRINT/ZU+%24y\n"},
      {"NAME=" + std::string(56, 'x') + "\xd6\xd0y",
       "PPRINT/ZU NAME=" + std::string(56, 'x') + "\nPPRINT/ZU+\xd6\xd0y\n"},
      {"NAME=" + std::string(54, 'x') + " $",
       "PPRINT/ZU NAME=" + std::string(54, 'x') + "%20\nPPRINT/ZU+%24\n"},
      {"NAME=" + std::string(55, 'x') + " yy",
       "PPRINT/ZU NAME=" + std::string(55, 'x') + " y\nPPRINT/ZU+y\n"},
      {"NAME=" + std::string(56, 'x') + " yy",
       "PPRINT/ZU NAME=" + std::string(56, 'x') + "\nPPRINT/ZU+ yy\n"},
      // A lead byte without its trail byte is a byte like any other.
      {"NAME=" + std::string(56, 'x') + "\xd6",
       "PPRINT/ZU NAME=" + std::string(56, 'x') + "\xd6\n"},
  };
  for (const Case& c : cases) {
    std::string lines;
    AppendPprintLines(lines, c.payload, "\n");
    EXPECT_EQ(lines, c.lines) << '"' << c.payload << '"';
  }
}

TEST(AptText, PprintPiecesDecodeToTheirPayload) {
  std::mt19937 rng(5);
  for (int i = 0; i < 3000; ++i) {
    std::string payload = "NAME=";
    const int length = std::uniform_int_distribution<int>(0, 300)(rng);
    for (int n = 0; n < length; ++n) {
      // Bytes but CR, LF and NUL, with many blanks, commas and lead bytes.
      char c = static_cast<char>(std::uniform_int_distribution<int>(1, 255)(rng));
      if (c == '\r' || c == '\n')
        c = (n % 3 == 0) ? ' ' : (n % 3 == 1 ? ',' : '\xb5');
      payload += c;
    }
    std::string text;
    AppendPprintLines(text, payload, "\n");
    std::string decoded;
    const std::vector<std::string> lines = Lines(text);
    for (std::size_t n = 0; n < lines.size(); ++n) {
      const std::string& line = lines[n];
      ASSERT_LE(line.size(), kLineWidth) << line;
      ASSERT_EQ(line.substr(0, 10), n == 0 ? kPprintFirst : kPprintNext) << line;
      ASSERT_NE(line.back(), ' ') << line;
      ASSERT_EQ(line.find('$'), std::string::npos) << line;
      ASSERT_TRUE(DecodePiece(line.substr(10), decoded)) << line;
    }
    ASSERT_EQ(decoded, payload);
  }
}

TEST(AptText, BadEscapesAreNotDecoded) {
  for (const char* piece : {"%", "%2", "%2g", "%g2", "%2a", "a%", "%%41"}) {
    std::string out;
    EXPECT_FALSE(DecodePiece(piece, out)) << piece;
  }
  std::string out;
  EXPECT_TRUE(DecodePiece("%41%0D%00b", out));
  EXPECT_EQ(out, std::string("A\r\0b", 4));
}

TEST(AptText, PartnoShowsAsMuchOfTheNameAsALineHolds) {
  const struct Case {
    std::string name;
    std::string line;
  } cases[] = {
      {"", "PARTNO"},
      {"BRACKET-7", "PARTNO BRACKET-7"},
      {"a $ b ", "PARTNO a %24 b%20"},
      {std::string(65, 'n'), "PARTNO " + std::string(65, 'n')},
      {std::string(70, 'n'), "PARTNO " + std::string(65, 'n')},
      {std::string(60, 'n') + ",tail,more", "PARTNO " + std::string(60, 'n') + ","},
  };
  for (const Case& c : cases) {
    std::string line;
    AppendPartnoLine(line, c.name);
    EXPECT_EQ(line, c.line) << '"' << c.name << '"';
  }
}

TEST(AptText, StatementsLongerThanALineAreContinuedWithADollar) {
  const std::string goto72 = "GOTO/" + std::string(31, '1') + "," + std::string(35, '2');
  const std::string digits(100, '7');
  const struct Case {
    std::string statement;
    std::string lines;
  } cases[] = {
      {"GOTO/1,2,3", "GOTO/1,2,3\n"},
      {goto72, goto72 + "\n"},
      {goto72 + "2", "GOTO/" + std::string(31, '1') + ",$\n" + std::string(36, '2') + "\n"},
      // A number longer than a line is broken where the line is full.
      {"GOTO/" + digits, "GOTO/" + digits.substr(0, 66) + "$\n" + digits.substr(66) + "\n"},
      {"GOTO/" + digits + "," + digits + ",1",
       "GOTO/" + digits.substr(0, 66) + "$\n" + digits.substr(66) + ",$\n" + digits.substr(0, 71) +
           "$\n" + digits.substr(71) + ",1\n"},
  };
  for (const Case& c : cases) {
    std::string lines;
    AppendStatementLines(lines, c.statement, "\n");
    EXPECT_EQ(lines, c.lines) << c.statement;
    std::string joined;
    for (const std::string& line : Lines(lines)) {
      EXPECT_LE(line.size(), kLineWidth) << line;
      joined += line.back() == '$' ? line.substr(0, line.size() - 1) : line;
    }
    EXPECT_EQ(joined, c.statement);
  }
}

}  // namespace
}  // namespace zu::ppf_internal
