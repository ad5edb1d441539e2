// Numbers read as the double nearest to their decimal text, whatever their
// count of digits before and after the point, wherever they stand on the
// line: the reader has a quick way for common numbers and a general one,
// which meet at 19 digits, at a mantissa of 2^53 and at 22 places.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "gcode/interpreter.h"
#include "gcode/line_source.h"
#include "gcode/tests/recording_receiver.h"
#include "gcode/tests/systems.h"

namespace zu::gcode::testing {
namespace {

// Keeps the exact X of every straight feed move.
class XReceiver : public RecordingReceiver {
 public:
  void FeedTo(double x, double, double, int) override { xs.push_back(x); }
  std::vector<double> xs;
};

// What X reads as on a system that takes numbers as written (no implied
// decimals), with the number last on its line or followed by another word;
// the error text where the block is refused.
struct Read {
  std::vector<double> xs;
  std::string error;
};

Read ReadX(const std::string& number) {
  XReceiver receiver;
  const std::string program = "G1 X" + number + " F100\nG1 F200 X" + number + "\n";
  TextLineSource source(program);
  const ProgramRead read = ReadProgram(System(Sample::kHnc), source, receiver);
  Read out;
  out.xs = receiver.xs;
  if (!read.errors.empty())
    out.error = read.errors.front().message;
  return out;
}

// Checked against the C library's correctly rounded reading.
void ExpectNearest(const std::string& number) {
  SCOPED_TRACE(number);
  const double expected = std::strtod(number.c_str(), nullptr);
  const Read read = ReadX(number);
  EXPECT_EQ(read.error, "");
  // The second move goes where the first went: one move, sent once.
  ASSERT_EQ(read.xs.size(), 1u);
  EXPECT_EQ(read.xs[0], expected);
}

TEST(Numbers, EveryCountOfDigitsOnEitherSideOfThePoint) {
  const std::string whole_digits = "987654321";
  const std::string fraction_digits = "1234567890987654321012345";
  for (std::size_t whole = 0; whole <= 21; ++whole) {
    // Beyond nine digits, leading zeros: the value stays below the limit.
    std::string before = whole > 9 ? std::string(whole - 9, '0') : std::string();
    before += whole_digits.substr(0, std::min<std::size_t>(whole, 9));
    for (std::size_t places = 0; places <= 24; ++places) {
      for (const char* sign : {"", "-", "+"}) {
        if (whole + places == 0)
          continue;
        const std::string point = places > 0 || whole % 2 == 1 ? "." : "";
        ExpectNearest(sign + before + point + fraction_digits.substr(0, places));
      }
    }
  }
}

TEST(Numbers, AtTheLimitsOfTheQuickWay) {
  for (const char* number : {
           "0.9007199254740992",        // mantissa 2^53
           "0.9007199254740993",        // 2^53 + 1
           "-9007199.254740993",        //
           "0.0000000000000000000001",  // 22 places
           "0.00000000000000000000001",
           "1234567890.123456789",   // 19 digits, beyond the limit below
           "123456789.0123456789",   // 19 digits
           "123456789.01234567891",  // 20
           "0000000000000000001.5",  // 20 digits, 18 of them leading zeros
           "000000000000000001.5",   // 19
           "00000000",               // eight digits, all zeros
           "12345678",
           "123456789",
           "-.5",
           "5.",
       }) {
    SCOPED_TRACE(number);
    const double value = std::strtod(number, nullptr);
    const Read read = ReadX(number);
    if (value > 1e9) {
      EXPECT_EQ(read.error, "the value of X is out of range");
    } else {
      EXPECT_EQ(read.error, "");
      ASSERT_EQ(read.xs.size(), 1u);
      EXPECT_EQ(read.xs[0], value);
    }
  }
}

TEST(Numbers, TheLargestValue) {
  EXPECT_EQ(ReadX("1000000000").error, "");
  EXPECT_EQ(ReadX("-1000000000.").error, "");
  EXPECT_EQ(ReadX("1000000000.0000001").error, "the value of X is out of range");
  EXPECT_EQ(ReadX("-1000000001").error, "the value of X is out of range");
}

TEST(Numbers, NoDigitIsNoNumber) {
  for (const char* number : {"", ".", "-", "+.", "-X1"}) {
    SCOPED_TRACE(number);
    EXPECT_EQ(ReadX(number).error, "missing value after X");
  }
}

}  // namespace
}  // namespace zu::gcode::testing
