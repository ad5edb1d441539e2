#include "toolloc_file/file_reader.h"

#include <array>
#include <charconv>
#include <string>

#include "format_io/crlf_lines.h"
#include "format_io/quoted.h"
#include "format_io/split_fields.h"
#include "toolloc_file/fixed20.h"
#include "toolloc_file/internal/record_order.h"

namespace zu {
namespace {

using toolloc_internal::DescribeNext;
using toolloc_internal::Next;
using toolloc_internal::RecordOrder;

constexpr std::string_view kEndSection = "[endsect]";
constexpr std::string_view kZero = "0.00000000000000000000";
constexpr std::string_view kMinusOne = "-1.00000000000000000000";
// The longest integer part a double's "%.20f" text has.
constexpr std::size_t kMaxIntegerDigits = 309;

// Every key of the file, to tell a key out of place from an unknown one.
constexpr std::string_view kKeys[] = {
    "fileversion", "pathnumber",  "toolnumber",  "personinfo", "mcfname",        "filename",
    "usejigcoord", "jigcoord",    "pathname",    "toolindex",  "homepoint",      "pathcoordinate",
    "stock",       "pathtype",    "speed",       "drillmode",  "drillfeed",      "clearance",
    "safedis",     "holedepth",   "peckdepth",   "dwelltime",  "worksurface",    "udpara1",
    "udpara2",     "udpara3",     "udpara4",     "udpara5",    "udpara6",        "udpara7",
    "udpara8",     "udpara9",     "udpara10",    "udpara11",   "udpara12",       "udpara13",
    "udpara14",    "udpara15",    "udpara16",    "udpara17",   "udpara18",       "udpara19",
    "udpara20",    "pointnumber", "endpoint",    "safe_h",     "safe_hmode",     "app_h",
    "app_hmode",   "feed",        "paradwell",   "blocktype",  "endpointvector", "center",
    "vector",      "feedtype",    "toolcmpflag", "dwellflag",
};

constexpr std::string_view kUserKeys[20] = {
    "udpara1",  "udpara2",  "udpara3",  "udpara4",  "udpara5",  "udpara6",  "udpara7",
    "udpara8",  "udpara9",  "udpara10", "udpara11", "udpara12", "udpara13", "udpara14",
    "udpara15", "udpara16", "udpara17", "udpara18", "udpara19", "udpara20",
};

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// A lower-case word of letters, digits and '_' that starts with a letter.
bool LooksLikeKey(std::string_view word) {
  if (word.empty() || word[0] < 'a' || word[0] > 'z')
    return false;
  for (char c : word) {
    if (!((c >= 'a' && c <= 'z') || IsDigit(c) || c == '_'))
      return false;
  }
  return true;
}

bool IsKey(std::string_view word) {
  for (std::string_view key : kKeys) {
    if (key == word)
      return true;
  }
  return false;
}

// `bytes` quoted for a message: at most 40 of them.
std::string Quote(std::string_view bytes) {
  return fio::Quoted(bytes, 40);
}

// "%.20f"'s shape: an optional '-', integer digits without a superfluous
// leading zero, '.', twenty decimals.
bool HasRealShape(std::string_view field) {
  std::size_t i = 0;
  if (i < field.size() && field[i] == '-')
    ++i;
  const std::size_t first = i;
  while (i < field.size() && IsDigit(field[i]))
    ++i;
  if (i == first || (i - first > 1 && field[first] == '0'))
    return false;
  if (i == field.size() || field[i] != '.')
    return false;
  ++i;
  if (field.size() - i != 20)
    return false;
  for (; i < field.size(); ++i) {
    if (!IsDigit(field[i]))
      return false;
  }
  return true;
}

// "%d"'s shape: an optional '-', digits without a leading zero, not "-0".
bool HasIntegerShape(std::string_view field) {
  std::size_t i = 0;
  if (i < field.size() && field[i] == '-')
    ++i;
  if (i == field.size())
    return false;
  if (field[i] == '0' && field.size() != 1)
    return false;
  for (; i < field.size(); ++i) {
    if (!IsDigit(field[i]))
      return false;
  }
  return true;
}

class Reader {
 public:
  Reader(std::string_view text, ToolLocationRecords& receiver)
      : lines_(text), receiver_(receiver) {}

  void Run() {
    if (lines_.at_end())
      Fail(1, "the file is empty: expected \"[filehead]\"");
    while (order_.next() != Next::Done) {
      switch (order_.next()) {
        case Next::Head:
          ReadHead();
          break;
        case Next::ToolList:
          ReadToolListStart();
          break;
        case Next::ToolOrEnd:
          ReadToolOrEnd();
          break;
        case Next::Machine:
          ReadMachine();
          break;
        case Next::CodeFile:
          ReadCodeFile();
          break;
        case Next::Jig:
          ReadJig();
          break;
        case Next::PathOrTail:
        case Next::BlockPathOrTail:
          ReadBetweenRecords();
          break;
        case Next::PlacementOrEnd:
          ReadPlacementOrEnd();
          break;
        case Next::PathKeys:
          ReadPathKeys();
          break;
        case Next::Holes:
          ReadHoleCount(Take());
          break;
        case Next::HoleOrEnd:
          ReadHoleOrEnd();
          break;
        case Next::Done:
          break;
      }
    }
  }

 private:
  // --- Sections and records.

  void ReadHead() {
    ends_ = "inside the file head";
    ExpectLine(Take(), "[filehead]");
    ExpectLine(Take(), "fileversion 1.0");
    head_.path_number = Integer(Value(Take(), "pathnumber"));
    head_.tool_number = Integer(Value(Take(), "toolnumber"));
    Check(order_.Head(head_));
    ExpectLine(Take(), "personinfo ORVO ZU 2006 r3");
    ExpectLine(Take(), kEndSection);
    receiver_.Head(head_);
  }

  void ReadToolListStart() {
    ends_ = "before the tool list";
    ExpectLine(Take(), "[toollist]");
    Check(order_.BeginToolList());
    receiver_.BeginToolList();
  }

  void ReadToolOrEnd() {
    ends_ = "inside the tool list";
    const std::string_view line = Take();
    if (line == kEndSection) {
      Check(order_.EndSection());
      receiver_.EndSection();
      return;
    }
    // index,name,int1,int2,int2,d1,d6,d3,0,d2,d5,d7,ORVO ZU
    std::array<std::string_view, 13> f;
    const std::size_t count = fio::SplitFields(line, ',', f);
    if (count == 1)
      Unexpected(line, DescribeNext(Next::ToolOrEnd));
    if (count != f.size()) {
      Fail("a tool line has 13 fields joined by ',', this one " + std::to_string(count) + ": " +
           Quote(line));
    }
    tool_.index = Integer(f[0]);
    tool_.name.assign(Text(f[1]));
    tool_.integer1 = Integer(f[2]);
    tool_.integer2 = Integer(f[3]);
    Integer(f[4]);
    if (f[4] != f[3]) {
      Fail("the tool's second integer stands twice in its line, but " + Quote(f[4]) +
           " differs from " + Quote(f[3]));
    }
    tool_.dimension1 = Real(f[5]);
    tool_.dimension6 = Real(f[6]);
    tool_.dimension3 = Real(f[7]);
    Real(f[8]);
    if (f[8] != kZero)
      Fail("the ninth field of a tool line is always " + Quote(kZero) + ", found " + Quote(f[8]));
    tool_.dimension2 = Real(f[9]);
    tool_.dimension5 = Real(f[10]);
    tool_.dimension7 = Real(f[11]);
    if (f[12] != "ORVO ZU")
      Fail("a tool line ends in \"ORVO ZU\", this one in " + Quote(f[12]));
    Check(order_.Tool(tool_));
    receiver_.Tool(tool_);
  }

  void ReadMachine() {
    ends_ = "inside the machine section";
    ExpectLine(Take(), "[machine]");
    const std::string_view path = Text(Value(Take(), "mcfname"));
    ExpectLine(Take(), kEndSection);
    Check(order_.Machine());
    receiver_.Machine(path);
  }

  void ReadCodeFile() {
    ends_ = "inside the code-file section";
    ExpectLine(Take(), "[creategfile]");
    const std::string_view path = Text(Value(Take(), "filename"));
    ExpectLine(Take(), kEndSection);
    Check(order_.CodeFile());
    receiver_.CodeFile(path);
  }

  void ReadJig() {
    ends_ = "inside the fixture section";
    ExpectLine(Take(), "[jigcoordinate]");
    jig_.use_jig = Integer(Value(Take(), "usejigcoord"));
    jig_.frame.origin = Triple(Value(Take(), "jigcoord"));
    jig_.frame.x_axis = Triple(Take());
    jig_.frame.y_axis = Triple(Take());
    jig_.frame.z_axis = Triple(Take());
    ExpectLine(Take(), kEndSection);
    Check(order_.Jig());
    receiver_.Jig(jig_);
  }

  void ReadBetweenRecords() {
    ends_ = "before \"[filetail]\"";
    const std::string_view line = Take();
    if (line == "[pathpara]") {
      ReadPathStart();
    } else if (line == "[block]" && order_.next() == Next::BlockPathOrTail) {
      ReadBlock();
    } else if (line == "[filetail]") {
      lines_.ExpectEnd("\"[filetail]\"");
      Check(order_.Tail());
      receiver_.Tail();
    } else {
      Unexpected(line, DescribeNext(order_.next()));
    }
  }

  void ReadPathStart() {
    ends_ = "inside a path record";
    start_.name.assign(Text(Value(Take(), "pathname")));
    start_.tool_index = Integer(Value(Take(), "toolindex"));
    Check(order_.PathStart(start_));
    receiver_.PathStart(start_);
  }

  void ReadPlacementOrEnd() {
    const std::string_view line = Take();
    if (line == kEndSection) {
      Check(order_.EndSection());
      receiver_.EndSection();
      return;
    }
    if (!HasKey(line, "homepoint"))
      Unexpected(line, DescribeNext(Next::PlacementOrEnd));
    placement_.home = Triple(Value(line, "homepoint"));
    placement_.frame.origin = Triple(Value(Take(), "pathcoordinate"));
    placement_.frame.x_axis = Triple(Take());
    placement_.frame.y_axis = Triple(Take());
    placement_.frame.z_axis = Triple(Take());
    placement_.stock_corner = Triple(Value(Take(), "stock"));
    placement_.stock_size = Triple(Take());
    Check(order_.PathPlacement());
    receiver_.PathPlacement(placement_);
  }

  void ReadPathKeys() {
    const std::string_view line = Take();
    if (HasKey(line, "pathtype")) {
      const int type = Integer(Value(line, "pathtype"));
      if (type == kPathTypeDrill) {
        ReadDrillKeys();
      } else if (type == kPathTypeMill || type == kPathTypeFiveAxis) {
        ReadMillKeys(type);
      } else {
        Fail("pathtype " + std::to_string(type) +
             " is none of 1 (drilling), 2 (milling) and 5 (five-axis)");
      }
    } else if (HasKey(line, "pointnumber")) {
      ReadHoleCount(line);
    } else {
      Unexpected(line, DescribeNext(Next::PathKeys));
    }
  }

  void ReadDrillKeys() {
    drill_.speed = Real(Value(Take(), "speed"));
    drill_.drill_mode = Integer(Value(Take(), "drillmode"));
    drill_.drill_feed = Real(Value(Take(), "drillfeed"));
    drill_.clearance = Real(Value(Take(), "clearance"));
    drill_.safe_distance = Real(Value(Take(), "safedis"));
    drill_.hole_depth = Real(Value(Take(), "holedepth"));
    drill_.peck_depth = Real(Value(Take(), "peckdepth"));
    drill_.dwell_time = Real(Value(Take(), "dwelltime"));
    drill_.work_surface = Real(Value(Take(), "worksurface"));
    for (int i = 0; i < 20; ++i)
      drill_.user[i].assign(Text(Value(Take(), kUserKeys[i])));
    Check(order_.DrillKeys());
    receiver_.DrillKeys(drill_);
  }

  void ReadHoleCount(std::string_view line) {
    const int count = Integer(Value(line, "pointnumber"));
    Check(order_.Holes(count));
    receiver_.Holes(count);
  }

  void ReadHoleOrEnd() {
    ends_ = "inside a drilling record";
    const std::string_view line = Take();
    if (line == kEndSection) {
      Check(order_.EndSection());
      receiver_.EndSection();
      return;
    }
    if (!HasKey(line, "endpoint"))
      Unexpected(line, DescribeNext(Next::HoleOrEnd));
    const Vec3 hole = Triple(Value(line, "endpoint"));
    Check(order_.Hole());
    receiver_.Hole(hole);
  }

  void ReadMillKeys(int type) {
    mill_.path_type = type;
    mill_.safe_height = Real(Value(Take(), "safe_h"));
    mill_.safe_height_mode = Integer(Value(Take(), "safe_hmode"));
    mill_.approach_height = Real(Value(Take(), "app_h"));
    mill_.approach_height_mode = Integer(Value(Take(), "app_hmode"));
    mill_.speed = Real(Value(Take(), "speed"));
    ReadFeed(Value(Take(), "feed"));
    std::string_view line = Take();
    if (HasKey(line, "paradwell")) {
      const std::string_view text = Text(Value(line, "paradwell"));
      if (!mill_.dwell_text)
        mill_.dwell_text.emplace();
      mill_.dwell_text->assign(text);
      Check(order_.MillKeys(mill_));
      line = Take();
    } else {
      mill_.dwell_text.reset();
      Check(order_.MillKeys(mill_));
    }
    if (line != kEndSection) {
      const bool dwell_may_follow = type == kPathTypeMill && !mill_.dwell_text;
      Unexpected(line, dwell_may_follow ? "\"paradwell\" or \"[endsect]\"" : "\"[endsect]\"");
    }
    receiver_.MillKeys(mill_);
  }

  // "A  -1 -1 D B A B B C -1": two blanks after the first value, one after
  // every later one.
  void ReadFeed(std::string_view values) {
    std::array<std::string_view, 10> f;
    const std::size_t blank = values.find(' ');
    std::array<std::string_view, 9> later;
    if (blank == std::string_view::npos || blank + 1 == values.size() || values[blank + 1] != ' ' ||
        fio::SplitFields(values.substr(blank + 2), ' ', later) != later.size()) {
      Fail(
          "the feed line holds ten numbers, two blanks after the first and one after every "
          "later one; found " +
          Quote(values));
    }
    f[0] = values.substr(0, blank);
    for (std::size_t i = 0; i < later.size(); ++i)
      f[i + 1] = later[i];
    for (std::string_view field : f)
      Real(field);
    for (int position : {1, 2, 9}) {
      if (f[position] != kMinusOne) {
        Fail("feed value " + std::to_string(position) + " is always " + Quote(kMinusOne) +
             ", found " + Quote(f[position]));
      }
    }
    // Positions 5, 6 and 7 repeat A, B and B.
    const struct {
      int position;
      int of;
      const char* name;
    } repeats[] = {{5, 0, "A"}, {6, 4, "B"}, {7, 4, "B"}};
    for (const auto& r : repeats) {
      if (f[r.position] != f[r.of]) {
        Fail("feed value " + std::to_string(r.position) + " repeats value " + std::to_string(r.of) +
             " (" + r.name + "), but " + Quote(f[r.position]) + " differs from " + Quote(f[r.of]));
      }
    }
    mill_.feed.a = Real(f[0]);
    mill_.feed.d = Real(f[3]);
    mill_.feed.b = Real(f[4]);
    mill_.feed.c = Real(f[8]);
  }

  void ReadBlock() {
    ends_ = "inside a block";
    block_ = zu::Block{};
    const int type = Integer(Value(Take(), "blocktype"));
    std::string_view line;
    switch (type) {
      case static_cast<int>(BlockType::Line):
        block_.type = BlockType::Line;
        block_.end = Triple(Value(Take(), "endpoint"));
        line = Take();
        if (HasKey(line, "endpointvector")) {
          block_.end_vector = Triple(Value(line, "endpointvector"));
          Check(order_.Block(block_));
          line = Take();
        } else {
          Check(order_.Block(block_));
        }
        break;
      case static_cast<int>(BlockType::Arc):
        block_.type = BlockType::Arc;
        block_.end = Triple(Value(Take(), "endpoint"));
        block_.centre = Triple(Value(Take(), "center"));
        block_.normal = Triple(Value(Take(), "vector"));
        Check(order_.Block(block_));
        line = Take();
        break;
      case static_cast<int>(BlockType::FeedType):
        block_.type = BlockType::FeedType;
        block_.code = Integer(Value(Take(), "feedtype"));
        Check(order_.Block(block_));
        line = Take();
        break;
      case static_cast<int>(BlockType::Compensation):
        block_.type = BlockType::Compensation;
        block_.code = Integer(Value(Take(), "toolcmpflag"));
        Check(order_.Block(block_));
        line = Take();
        break;
      case static_cast<int>(BlockType::Dwell):
        block_.type = BlockType::Dwell;
        block_.code = Integer(Value(Take(), "dwellflag"));
        Check(order_.Block(block_));
        line = Take();
        break;
      default:
        Fail("blocktype " + std::to_string(type) + " is none of 1 to 5");
    }
    ExpectLine(line, kEndSection);
    receiver_.Block(block_);
  }

  // --- Lines and fields.

  // The next line without its CR LF.
  std::string_view Take() { return lines_.Take(ends_); }

  void ExpectLine(std::string_view line, std::string_view expected) {
    if (line != expected)
      Unexpected(line, "\"" + std::string(expected) + "\"");
  }

  // Whether `line` holds `key`: the key and a blank, or the key alone.
  static bool HasKey(std::string_view line, std::string_view key) {
    return line.substr(0, key.size()) == key &&
           (line.size() == key.size() || line[key.size()] == ' ');
  }

  // What follows `key` and its blank.
  std::string_view Value(std::string_view line, std::string_view key) {
    if (!HasKey(line, key))
      Unexpected(line, "\"" + std::string(key) + "\"");
    if (line.size() == key.size())
      Fail(Quote(key) + " without the blank that follows every key");
    return line.substr(key.size() + 1);
  }

  [[noreturn]] void Unexpected(std::string_view line, std::string_view expected) {
    const std::string_view word = line.substr(0, line.find(' '));
    if (LooksLikeKey(word) && !IsKey(word))
      Fail("unknown key " + Quote(word));
    Fail("expected " + std::string(expected) + ", found " + Quote(line));
  }

  double Real(std::string_view field) {
    if (!HasRealShape(field))
      Fail("expected a number written with twenty decimals, found " + Quote(field));
    const std::size_t integer_digits = field.find('.') - (field[0] == '-' ? 1 : 0);
    double value = 0;
    if (integer_digits > kMaxIntegerDigits ||
        std::from_chars(field.data(), field.data() + field.size(), value).ec != std::errc())
      Fail("the number " + Quote(field) + " is too large");
    // Another text of the same number would not be written back as it is.
    char text[kFixed20MaxLength];
    const std::string_view written(text, FormatFixed20(value, text));
    if (written != field) {
      Fail(Quote(field) + " is not the twenty-decimal text of a number: the nearest is " +
           Quote(written));
    }
    return value;
  }

  int Integer(std::string_view field) {
    if (!HasIntegerShape(field))
      Fail("expected an integer, found " + Quote(field));
    int value = 0;
    const auto result = std::from_chars(field.data(), field.data() + field.size(), value);
    if (result.ec != std::errc())
      Fail("the integer " + Quote(field) + " does not fit 32 bits");
    return value;
  }

  Vec3 Triple(std::string_view field) {
    std::array<std::string_view, 3> f;
    if (fio::SplitFields(field, ',', f) != f.size())
      Fail("expected three numbers joined by ',', found " + Quote(field));
    return {Real(f[0]), Real(f[1]), Real(f[2])};
  }

  // A text value: any bytes but CR (LF ends the line) and NUL.
  std::string_view Text(std::string_view field) {
    if (field.find('\r') != std::string_view::npos)
      Fail("a text holds a CR that ends no line");
    if (field.find('\0') != std::string_view::npos)
      Fail("a text holds a NUL byte");
    return field;
  }

  void Check(bool allowed) {
    if (!allowed)
      Fail(order_.error());
  }

  [[noreturn]] void Fail(std::string message) { Fail(lines_.line(), std::move(message)); }
  [[noreturn]] static void Fail(int line, std::string message) {
    throw fio::ReadFault{line, std::move(message)};
  }

  fio::CrLfLines lines_;
  ToolLocationRecords& receiver_;
  std::string_view ends_ = "inside the file head";  // completes "the file ends ..."
  RecordOrder order_;
  // Records reused from one to the next, so that their texts keep their room.
  FileHead head_;
  ToolEntry tool_;
  JigSection jig_;
  zu::PathStart start_;
  zu::PathPlacement placement_;
  zu::DrillKeys drill_;
  zu::MillKeys mill_;
  zu::Block block_;
};

}  // namespace

ReadResult ReadToolLocationFile(std::string_view text, ToolLocationRecords& receiver) {
  Reader reader(text, receiver);
  return fio::ReadUntilFault([&] { reader.Run(); });
}

}  // namespace zu
