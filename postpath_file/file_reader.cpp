#include "postpath_file/file_reader.h"

#include <array>
#include <bit>
#include <cstdint>
#include <string>

#include "format_io/crlf_lines.h"
#include "format_io/quoted.h"
#include "format_io/split_fields.h"
#include "postpath_file/internal/apt_text.h"
#include "postpath_file/internal/bracket_plan.h"
#include "postpath_file/internal/record_order.h"

namespace zu::ppf {
namespace {

using ppf_internal::BracketState;
using ppf_internal::FeedStatement;
using ppf_internal::kLineWidth;
using ppf_internal::kPprintFirst;
using ppf_internal::kPprintNext;
using ppf_internal::RecordOrder;

constexpr std::string_view kCrLf = "\r\n";

// Every statement word and PPRINT/ZU word of the file, to tell one out of
// place from an unknown one.
constexpr std::string_view kMajorWords[] = {
    "PARTNO", "PPRINT", "UNITS",  "LOADTL", "CUTTER", "SPINDL", "FEDRAT", "RAPID",
    "GOTO",   "CIRCLE", "CUTCOM", "MULTAX", "CYCLE",  "DELAY",  "END",    "FINI",
};
constexpr std::string_view kPprintWords[] = {
    "VERSION",   "INFO",      "PROCESS",  "COMMENT", "JIGRETRACT", "PATH",  "NAME",
    "HOME",      "AXIS",      "ORIGIN",   "XAXIS",   "YAXIS",      "ZAXIS", "STOCK",
    "TOOLNAME",  "TOOLNAME2", "TOOL",     "FEEDS",   "HEIGHTS",    "MACRO", "VALUE",
    "DWELLTEXT", "DRILL",     "FEEDTYPE", "DWELL",   "MARK",
};

bool IsOneOf(std::string_view word, const auto& words) {
  for (std::string_view known : words) {
    if (known == word)
      return true;
  }
  return false;
}

bool IsUserWord(std::string_view word) {
  return word.size() > 4 && word.substr(0, 4) == "USER";
}

// `bytes` quoted for a message: at most 80 of them, a whole line of the
// file.
std::string Quote(std::string_view bytes) {
  return fio::Quoted(bytes, 80);
}

bool SameBits(double a, double b) {
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// One statement of the file, its continuation lines joined. Views point
// into the file's text or into `storage`.
struct Statement {
  enum class Kind { Apt, Pprint, Partno };
  Kind kind = Kind::Apt;
  int line = 0;            // its first line
  std::string_view first;  // its first line, for messages
  std::string_view whole;  // Apt: the whole statement, its lines joined
  // Apt: the word before '/' (the whole statement when it has none) and
  // what follows the '/'.
  std::string_view major;
  std::string_view minor;
  bool slash = false;
  // Pprint: the payload's word, what separates it from the rest (' ' for
  // numbers, '=' for a text, '\0' for nothing) and the rest.
  std::string_view word;
  char separator = '\0';
  std::string_view rest;
  std::string storage;
};

// The values a block's statements hold before its GOTO, and their lines.
struct BlockStatements {
  int feed_type = -1, feed_type_line = 0;
  int dwell = -1, dwell_line = 0;
  int mark = -1, mark_line = 0;
  int cutcom = -1, cutcom_line = 0;
  int multax = -1, multax_line = 0;
  FeedStatement feed = FeedStatement::None;
  double fedrat = 0;
  int feed_line = 0;
  bool circle = false;
  int circle_line = 0;
  Vec3 centre, normal;
  double radius = 0;
};

class Reader {
 public:
  Reader(std::string_view text, PostPathRecords& receiver) : lines_(text), receiver_(receiver) {}

  void Run() {
    if (lines_.at_end())
      Fail(1, "the file is empty: expected PARTNO");
    ReadProcess();
    for (;;) {
      const Statement& s = Peek();
      if (IsPprint(s, "PATH")) {
        ReadBracket();
      } else if (IsBare(s, "END")) {
        Take();
        ExpectBare("FINI");
        lines_.ExpectEnd("FINI");
        Check(order_.EndProcess(), lines_.line());
        receiver_.EndProcess();
        return;
      } else {
        Unexpected(s, "PPRINT/ZU PATH or END");
      }
    }
  }

 private:
  // --- The process and its brackets.

  void ReadProcess() {
    const Statement& partno = Take();
    if (partno.kind != Statement::Kind::Partno)
      Unexpected(partno, "PARTNO");
    const int partno_line = partno.line;
    partno_.assign(partno.first);
    TextRecord("VERSION", process_.file_version);
    TextRecord("INFO", process_.file_info);
    TextRecord("PROCESS", process_.process_name);
    derived_.clear();
    ppf_internal::AppendPartnoLine(derived_, process_.process_name);
    if (derived_ != partno_) {
      Fail(partno_line, "PARTNO does not show the process name: expected " + Quote(derived_) +
                            ", found " + Quote(partno_));
    }
    TextRecord("COMMENT", process_.process_comment);
    const Statement& jig = NumberRecord("JIGRETRACT", 2);
    process_.use_jig_retract = Int(fields_[0], jig);
    process_.jig_retract_height = Real(fields_[1], jig);
    ExpectStatement("UNITS/MM");
    Check(order_.Process(process_), lines_.line());
    receiver_.Process(process_);
  }

  void ReadBracket() {
    const Statement& path = NumberRecord("PATH", 2);
    const int path_line = path.line;
    if (fields_[0] == "DRILL") {
      head_.type = kPathDrill;
    } else if (fields_[0] == "MILL") {
      head_.type = kPathMill;
    } else if (fields_[0] == "MULTIAXIS") {
      head_.type = kPathMultiAxis;
    } else if (fields_[0] == "FIVEAXIS") {
      head_.type = kPathFiveAxis;
    } else {
      Fail(path.line, "the path type " + Quote(fields_[0]) +
                          " is none of DRILL, MILL, MULTIAXIS and FIVEAXIS");
    }
    head_.record_path_type = Int(fields_[1], path);
    TextRecord("NAME", head_.name);
    head_.home = PointRecord("HOME");
    if (IsPprint(Peek(), "AXIS"))
      head_.tool_axis = PointRecord("AXIS");
    else
      head_.tool_axis.reset();
    head_.origin = PointRecord("ORIGIN");
    head_.x_axis = PointRecord("XAXIS");
    head_.y_axis = PointRecord("YAXIS");
    head_.z_axis = PointRecord("ZAXIS");
    const Statement& stock = NumberRecord("STOCK", 6);
    head_.stock_min = Point(0, stock);
    head_.stock_max = Point(3, stock);
    TextRecord("TOOLNAME", head_.tool.name);
    TextRecord("TOOLNAME2", head_.tool.second_name);
    const Statement& tool = NumberRecord("TOOL", 9);
    head_.tool.second_integer = Int(fields_[0], tool);
    head_.tool.third_integer = Int(fields_[1], tool);
    for (std::size_t i = 0; i < head_.tool.values.size(); ++i)
      head_.tool.values[i] = Real(fields_[i + 2], tool);
    if (head_.type == kPathDrill) {
      ReadDrillRecord();
    } else {
      ReadMillRecord();
    }
    ReadToolStatements();
    if (head_.type == kPathDrill) {
      ReadCycle();
      Check(order_.DrillPath(head_), path_line);
      receiver_.DrillPath(head_, drill_);
      ReadHoles();
    } else {
      Check(order_.MillPath(head_), path_line);
      receiver_.MillPath(head_, mill_);
      ReadBlocks();
    }
  }

  void ReadDrillRecord() {
    const Statement& drill = NumberRecord("DRILL", 5);
    drill_.drill_mode = Int(fields_[0], drill);
    drill_.values[kDrillSafeDistance] = Real(fields_[1], drill);
    drill_.values[kDrillPeckDepth] = Real(fields_[2], drill);
    drill_.values[kDrillDwellTime] = Real(fields_[3], drill);
    drill_.values[kDrillWorkSurface] = Real(fields_[4], drill);
    for (std::string& user : drill_.user)
      user.clear();
    int last = 0;
    while (Peek().kind == Statement::Kind::Pprint && IsUserWord(Peek().word)) {
      const Statement& s = Take();
      int number = 0;
      const std::string_view digits = s.word.substr(4);
      if (ppf_internal::ParseInt(digits, number) != ppf_internal::IntError::None || number < 1 ||
          number > 20) {
        Fail(s.line, "unknown PPRINT/ZU record " + Quote(s.word) +
                         ": user texts are USER1 to "
                         "USER20");
      }
      if (number <= last) {
        Fail(s.line, "USER" + std::to_string(number) + " after USER" + std::to_string(last) +
                         ": user texts stand in order, each once");
      }
      if (s.separator != '=' || s.rest.empty()) {
        Fail(s.line, "expected USER" + std::to_string(number) +
                         "= and a text (an empty user text is not written), found " +
                         Quote(s.first));
      }
      drill_.user[static_cast<std::size_t>(number - 1)].assign(s.rest);
      last = number;
    }
  }

  void ReadMillRecord() {
    const Statement& feeds = NumberRecord("FEEDS", 10);
    for (std::size_t i = 0; i < mill_.feeds.size(); ++i)
      mill_.feeds[i] = Real(fields_[i], feeds);
    const Statement& heights = NumberRecord("HEIGHTS", 2);
    mill_.safe_height = Real(fields_[0], heights);
    mill_.approach_height = Real(fields_[1], heights);
    std::size_t pairs = 0;
    while (IsPprint(Peek(), "MACRO")) {
      if (pairs == mill_.macro_pairs.size())
        mill_.macro_pairs.emplace_back();
      TextRecord("MACRO", mill_.macro_pairs[pairs].first);
      TextRecord("VALUE", mill_.macro_pairs[pairs].second);
      ++pairs;
    }
    mill_.macro_pairs.resize(pairs);
    if (IsPprint(Peek(), "DWELLTEXT")) {
      const int line = Peek().line;
      TextRecord("DWELLTEXT", mill_.dwell_text);
      if (mill_.dwell_text.empty())
        Fail(line, "an empty DWELLTEXT, which is not written");
    } else {
      mill_.dwell_text.clear();
    }
  }

  // LOADTL, CUTTER where the tool makes one, SPINDL.
  void ReadToolStatements() {
    const Statement& loadtl = AptStatement("LOADTL", 1);
    head_.tool.first_integer = Int(fields_[0], loadtl);
    if (ppf_internal::HasCutter(head_.tool)) {
      derived_ = "CUTTER/";
      Append(head_.tool.values[kToolDiameter]);
      derived_ += ',';
      Append(head_.tool.values[kToolCornerRadius]);
      ExpectStatement(derived_, " (the tool's diameter and corner radius)");
    } else if (IsApt(Peek(), "CUTTER")) {
      Fail(Peek().line,
           "CUTTER for a tool whose diameter and corner radius make none (a positive diameter "
           "and a corner radius from 0 to half of it do)");
    }
    const Statement& spindl = AptStatement("SPINDL", 2);
    head_.spindle_speed = Real(fields_[0], spindl);
    if (fields_[1] != "CLW")
      Fail(spindl.line, "expected SPINDL/speed,CLW, found " + Quote(spindl.first));
  }

  void ReadCycle() {
    const Statement& cycle = AptStatement("CYCLE", 5);
    if (fields_[0] != "DRILL" || fields_[2] != "MMPM") {
      Fail(cycle.line,
           "expected CYCLE/DRILL,depth,MMPM,feed,clearance, found " + Quote(cycle.first));
    }
    drill_.values[kDrillHoleDepth] = Real(fields_[1], cycle);
    drill_.values[kDrillFeed] = Real(fields_[3], cycle);
    drill_.values[kDrillClearance] = Real(fields_[4], cycle);
    if (ppf_internal::HasDelay(drill_)) {
      derived_ = "DELAY/";
      Append(drill_.values[kDrillDwellTime]);
      ExpectStatement(derived_, " (the dwell time)");
    } else if (IsApt(Peek(), "DELAY")) {
      Fail(Peek().line, "DELAY where the dwell time is not above 0");
    }
  }

  void ReadHoles() {
    for (;;) {
      const Statement& s = Peek();
      if (IsApt(s, "GOTO")) {
        AptStatement("GOTO", 3);
        const Vec3 hole = Point(0, s);
        Check(order_.Hole(), s.line);
        receiver_.Hole(hole);
      } else if (IsApt(s, "CYCLE")) {
        ExpectStatement("CYCLE/OFF");
        Check(order_.EndPath(), lines_.line());
        receiver_.EndPath();
        return;
      } else {
        Unexpected(s, "GOTO or CYCLE/OFF");
      }
    }
  }

  void ReadBlocks() {
    state_ = BracketState{};
    for (;;) {
      BlockStatements b;
      if (IsPprint(Peek(), "FEEDTYPE")) {
        const Statement& s = NumberRecord("FEEDTYPE", 1);
        b.feed_type = Int(fields_[0], s);
        b.feed_type_line = s.line;
      }
      if (IsPprint(Peek(), "DWELL")) {
        const Statement& s = NumberRecord("DWELL", 1);
        b.dwell = Int(fields_[0], s);
        b.dwell_line = s.line;
      }
      if (IsPprint(Peek(), "MARK")) {
        const Statement& s = NumberRecord("MARK", 1);
        b.mark = Int(fields_[0], s);
        b.mark_line = s.line;
      }
      if (IsApt(Peek(), "CUTCOM")) {
        const Statement& s = AptStatement("CUTCOM", 1);
        if (fields_[0] == "OFF")
          b.cutcom = kCompensationOff;
        else if (fields_[0] == "LEFT")
          b.cutcom = kCompensationLeft;
        else if (fields_[0] == "RIGHT")
          b.cutcom = kCompensationRight;
        else
          Fail(s.line, "expected CUTCOM/LEFT, /RIGHT or /OFF, found " + Quote(s.first));
        b.cutcom_line = s.line;
      }
      if (IsApt(Peek(), "MULTAX")) {
        const Statement& s = AptStatement("MULTAX", 1);
        if (fields_[0] == "ON")
          b.multax = 1;
        else if (fields_[0] == "OFF")
          b.multax = 0;
        else
          Fail(s.line, "expected MULTAX/ON or MULTAX/OFF, found " + Quote(s.first));
        b.multax_line = s.line;
      }
      if (IsApt(Peek(), "FEDRAT")) {
        const Statement& s = AptStatement("FEDRAT", 1);
        b.feed = FeedStatement::Fedrat;
        b.fedrat = Real(fields_[0], s);
        b.feed_line = s.line;
      } else if (IsBare(Peek(), "RAPID")) {
        b.feed = FeedStatement::Rapid;
        b.feed_line = Take().line;
      }
      if (IsApt(Peek(), "CIRCLE")) {
        const Statement& s = AptStatement("CIRCLE", 7);
        b.circle = true;
        b.circle_line = s.line;
        b.centre = Point(0, s);
        b.normal = Point(3, s);
        b.radius = Real(fields_[6], s);
      }
      if (IsApt(Peek(), "GOTO")) {
        ReadBlock(b);
        continue;
      }
      const Statement& s = Peek();
      if (b.feed_type_line || b.dwell_line || b.mark_line || b.feed_line || b.circle)
        Unexpected(s, "GOTO");
      const bool next_is_end = IsPprint(s, "PATH") || IsBare(s, "END");
      if (!next_is_end)
        Unexpected(s, "a block's statements, PPRINT/ZU PATH or END");
      CloseBracket(b, s.line);
      return;
    }
  }

  // The block that the GOTO ahead ends, with the statements before it.
  void ReadBlock(const BlockStatements& b) {
    const Statement& go = Take();
    const std::size_t count = fio::SplitFields(go.minor, ',', fields_);
    if (count != 3 && count != 6) {
      Fail(go.line,
           "expected GOTO/x,y,z or GOTO/x,y,z,i,j,k, found " + std::to_string(count) + " values");
    }
    const int line = go.line;
    Block& block = block_;
    block = ppf::Block{};
    block.end = Point(0, go);
    if (b.circle) {
      if (count != 3)
        Fail(line, "the GOTO that ends an arc has a tool axis");
      block.kind = kBlockArc;
      block.centre = b.centre;
      block.has_vector = true;
      block.vector = b.normal;
    } else if (count == 6) {
      block.has_vector = true;
      block.vector = Point(3, go);
    }
    if (b.feed_type_line == 0 && state_.feed_type < 0)
      Fail(line, "the first block of a bracket has no PPRINT/ZU FEEDTYPE");
    block.feed_type = b.feed_type_line ? b.feed_type : state_.feed_type;
    block.dwell = b.dwell_line ? b.dwell : kNoDwell;
    block.position_mark = b.mark_line ? b.mark : kMarkNone;
    block.compensation = b.cutcom_line ? b.cutcom : state_.compensation;
    Check(order_.Block(block), FaultLine(b, block, line));

    const ppf_internal::BlockPlan plan = ppf_internal::PlanBlock(state_, mill_.feeds, block);
    if (b.feed_type_line && !plan.feed_type) {
      Fail(b.feed_type_line,
           "FEEDTYPE " + std::to_string(block.feed_type) + " repeats the feed type in force");
    }
    if (b.dwell_line && !plan.dwell)
      Fail(b.dwell_line, "DWELL -1 is not written: a block without DWELL has none");
    if (b.mark_line && !plan.mark)
      Fail(b.mark_line, "MARK 0 is not written: a block without MARK has none");
    if (b.cutcom_line && plan.cutcom < 0)
      Fail(b.cutcom_line, "CUTCOM restates the compensation in force");
    const bool multax = b.multax_line ? b.multax == 1 : state_.multax;
    const bool wants_multax = block.kind == kBlockLine && block.has_vector;
    if (multax != wants_multax) {
      Fail(line, wants_multax ? "a GOTO with a tool axis outside MULTAX/ON"
                              : (b.circle ? "an arc under MULTAX/ON"
                                          : "a GOTO without a tool axis under MULTAX/ON"));
    }
    if (b.multax_line && plan.multax < 0)
      Fail(b.multax_line, "MULTAX restates the mode in force");
    CheckFeed(b, plan, block, line);
    if (b.circle) {
      double radius = 0;
      if (!ppf_internal::ArcRadius(block, radius))
        Fail(b.circle_line, "the arc's radius is too large for a double");
      if (!SameBits(radius, b.radius)) {
        derived_.clear();
        Append(radius);
        Fail(b.circle_line,
             "the CIRCLE's radius is not the distance from its centre to the "
             "GOTO's point: expected " +
                 derived_);
      }
    }
    ppf_internal::Advance(state_, block, plan);
    receiver_.Block(block);
  }

  // The line of the statement whose value the order refuses.
  static int FaultLine(const BlockStatements& b, const ppf::Block& block, int line) {
    if (b.feed_type_line && (block.feed_type < 0 || block.feed_type > 9))
      return b.feed_type_line;
    if (b.dwell_line && (block.dwell < -1 || block.dwell > 2))
      return b.dwell_line;
    if (b.mark_line && (block.position_mark < 0 || block.position_mark > 2))
      return b.mark_line;
    return b.circle ? b.circle_line : line;
  }

  void CheckFeed(const BlockStatements& b, const ppf_internal::BlockPlan& plan,
                 const ppf::Block& block, int line) {
    const std::string feed_type = "feed type " + std::to_string(block.feed_type);
    switch (plan.feed) {
      case FeedStatement::Rapid:
        if (b.feed != FeedStatement::Rapid) {
          Fail(b.feed_line ? b.feed_line : line,
               "expected RAPID: the feed of " + feed_type + " is negative");
        }
        return;
      case FeedStatement::Fedrat:
        if (b.feed != FeedStatement::Fedrat || !SameBits(b.fedrat, plan.fedrat)) {
          derived_ = "FEDRAT/";
          Append(plan.fedrat);
          Fail(b.feed_line ? b.feed_line : line,
               "expected " + derived_ + ": the feed of " + feed_type);
        }
        return;
      case FeedStatement::None:
        if (b.feed != FeedStatement::None) {
          Fail(b.feed_line, b.feed == FeedStatement::Rapid
                                ? "RAPID, but the feed of " + feed_type + " is not negative"
                                : "FEDRAT restates the feed in force");
        }
        return;
    }
  }

  // The statements that close a bracket, read into `b`; `line` is the
  // statement that follows them.
  void CloseBracket(const BlockStatements& b, int line) {
    const ppf_internal::ClosePlan close = ppf_internal::PlanClose(state_);
    if (b.cutcom_line) {
      if (!close.cutcom_off || b.cutcom != kCompensationOff)
        Fail(b.cutcom_line,
             "a CUTCOM without a GOTO after it (only CUTCOM/OFF closes a bracket "
             "whose compensation is on)");
    } else if (close.cutcom_off) {
      Fail(line, "expected CUTCOM/OFF: the bracket ends with compensation on");
    }
    if (b.multax_line) {
      if (!close.multax_off || b.multax != 0)
        Fail(b.multax_line,
             "a MULTAX without a GOTO after it (only MULTAX/OFF closes a bracket "
             "under MULTAX/ON)");
    } else if (close.multax_off) {
      Fail(line, "expected MULTAX/OFF: the bracket ends under MULTAX/ON");
    }
    Check(order_.EndPath(), line);
    receiver_.EndPath();
  }

  // --- Statements.

  static bool IsPprint(const Statement& s, std::string_view word) {
    return s.kind == Statement::Kind::Pprint && s.word == word;
  }
  static bool IsApt(const Statement& s, std::string_view major) {
    return s.kind == Statement::Kind::Apt && s.slash && s.major == major;
  }
  static bool IsBare(const Statement& s, std::string_view word) {
    return s.kind == Statement::Kind::Apt && !s.slash && s.major == word;
  }

  const Statement& Peek() {
    if (!peeked_) {
      ReadStatement(next_);
      peeked_ = true;
    }
    return next_;
  }

  const Statement& Take() {
    Peek();
    peeked_ = false;
    return next_;
  }

  // A PPRINT/ZU record of `word` with a text, into `out`.
  void TextRecord(std::string_view word, std::string& out) {
    const Statement& s = Take();
    if (!IsPprint(s, word) || s.separator != '=')
      Unexpected(s, "PPRINT/ZU " + std::string(word) + "=");
    out.assign(s.rest);
  }

  // A PPRINT/ZU record of `word` with `count` numbers, into fields_.
  const Statement& NumberRecord(std::string_view word, std::size_t count) {
    const Statement& s = Take();
    if (!IsPprint(s, word) || s.separator != ' ')
      Unexpected(s, "PPRINT/ZU " + std::string(word));
    const std::size_t found = fio::SplitFields(s.rest, ',', fields_);
    if (found != count) {
      Fail(s.line, "PPRINT/ZU " + std::string(word) + " holds " + std::to_string(count) +
                       " values joined by ',', this one " + std::to_string(found));
    }
    return s;
  }

  Vec3 PointRecord(std::string_view word) {
    const Statement& s = NumberRecord(word, 3);
    return Point(0, s);
  }

  // An APT statement "MAJOR/" with `count` fields, into fields_.
  const Statement& AptStatement(std::string_view major, std::size_t count) {
    const Statement& s = Take();
    if (!IsApt(s, major))
      Unexpected(s, std::string(major) + "/");
    const std::size_t found = fio::SplitFields(s.minor, ',', fields_);
    if (found != count) {
      Fail(s.line, std::string(major) + " holds " + std::to_string(count) +
                       " values joined by ',', this one " + std::to_string(found));
    }
    return s;
  }

  // A statement that must be `expected` exactly; `why` says where it comes
  // from when it is made from other values.
  void ExpectStatement(std::string_view expected, std::string_view why = {}) {
    const std::string wanted(expected);
    const Statement& s = Take();
    if (s.kind == Statement::Kind::Apt && s.whole == wanted)
      return;
    const std::string_view word = std::string_view(wanted).substr(0, wanted.find('/'));
    if (s.kind == Statement::Kind::Apt && s.major == word)
      Fail(s.line, "expected " + wanted + std::string(why) + ", found " + Quote(s.first));
    Unexpected(s, wanted + std::string(why));
  }

  void ExpectBare(std::string_view word) {
    const Statement& s = Take();
    if (!IsBare(s, word))
      Unexpected(s, std::string(word));
  }

  [[noreturn]] void Unexpected(const Statement& s, std::string_view expected) {
    if (s.kind == Statement::Kind::Apt && !IsOneOf(s.major, kMajorWords))
      Fail(s.line, "unknown statement " + Quote(s.major));
    if (s.kind == Statement::Kind::Pprint && !IsOneOf(s.word, kPprintWords) && !IsUserWord(s.word))
      Fail(s.line, "unknown PPRINT/ZU record " + Quote(s.word));
    Fail(s.line, "expected " + std::string(expected) + ", found " + Quote(s.first));
  }

  // Reads the next statement into `s`: its lines, joined, and checked to be
  // broken and escaped as the writer does it.
  void ReadStatement(Statement& s) {
    const std::size_t start = lines_.position();
    const std::string_view first = lines_.Take("before FINI");
    s.line = lines_.line();
    s.first = first;
    s.slash = false;
    if (first.substr(0, 7) == "PPRINT/") {
      ReadPprint(s, start);
    } else if (first.substr(0, 6) == "PARTNO" && (first.size() == 6 || first[6] == ' ')) {
      s.kind = Statement::Kind::Partno;
    } else {
      ReadApt(s, start);
    }
  }

  void ReadPprint(Statement& s, std::size_t start) {
    if (s.first.substr(0, kPprintFirst.size()) != kPprintFirst) {
      if (s.first.substr(0, kPprintNext.size()) == kPprintNext)
        Fail(s.line, "a PPRINT/ZU+ line that continues no PPRINT/ZU record");
      Fail(s.line, "a PPRINT that is not a PPRINT/ZU record: " + Quote(s.first));
    }
    s.kind = Statement::Kind::Pprint;
    s.storage.clear();
    if (!ppf_internal::DecodePiece(s.first.substr(kPprintFirst.size()), s.storage))
      Fail(s.line, "an escape that is not '%' and two upper-case hex digits");
    while (lines_.rest().starts_with(kPprintNext)) {
      const std::string_view next = lines_.Take("inside a PPRINT/ZU record");
      if (!ppf_internal::DecodePiece(next.substr(kPprintNext.size()), s.storage))
        Fail("an escape that is not '%' and two upper-case hex digits");
    }
    if (!ppf_internal::IsWritableText(s.storage))
      Fail(s.line, "an escape of CR, LF or NUL, which no text holds");
    scratch_.clear();
    ppf_internal::AppendPprintLines(scratch_, s.storage, kCrLf);
    CheckWrittenForm(s, start, "a PPRINT/ZU record");
    const std::string_view payload = s.storage;
    std::size_t end = 0;
    while (end < payload.size() && ((payload[end] >= 'A' && payload[end] <= 'Z') ||
                                    (payload[end] >= '0' && payload[end] <= '9')))
      ++end;
    s.word = payload.substr(0, end);
    s.separator = end < payload.size() ? payload[end] : '\0';
    if (s.separator != '\0' && s.separator != ' ' && s.separator != '=')
      Fail(s.line, "expected a PPRINT/ZU record's word, found " + Quote(payload));
    s.rest = end < payload.size() ? payload.substr(end + 1) : std::string_view();
  }

  void ReadApt(Statement& s, std::size_t start) {
    s.kind = Statement::Kind::Apt;
    std::string_view statement = s.first;
    if (!statement.empty() && statement.back() == '$') {
      s.storage.assign(statement.substr(0, statement.size() - 1));
      for (;;) {
        const std::string_view next = lines_.Take("inside a statement that a '$' continues");
        if (!next.empty() && next.back() == '$') {
          s.storage.append(next.substr(0, next.size() - 1));
        } else {
          s.storage.append(next);
          break;
        }
      }
      if (s.storage.find('$') != std::string::npos)
        Fail(s.line, "a '$' inside a statement");
      scratch_.clear();
      ppf_internal::AppendStatementLines(scratch_, s.storage, kCrLf);
      CheckWrittenForm(s, start, "a statement");
      statement = s.storage;
    } else if (statement.size() > kLineWidth) {
      Fail(s.line, "a line of " + std::to_string(statement.size()) +
                       " bytes: a statement longer "
                       "than 72 is continued with '$'");
    }
    s.whole = statement;
    const std::size_t slash = statement.find('/');
    s.slash = slash != std::string_view::npos;
    s.major = statement.substr(0, slash);
    s.minor = s.slash ? statement.substr(slash + 1) : std::string_view();
  }

  // The lines from `start` to here must be scratch_, the statement as the
  // writer writes it; else the first line that differs is refused.
  void CheckWrittenForm(const Statement& s, std::size_t start, const char* what) {
    const std::string_view read = lines_.text().substr(start, lines_.position() - start);
    if (read == scratch_)
      return;
    std::size_t at = 0;
    int line = s.line;
    for (;;) {
      const std::size_t read_end = read.find(kCrLf, at);
      const std::size_t expected_end = scratch_.find(kCrLf, at);
      const std::string_view read_line = read.substr(at, read_end - at);
      const std::string_view expected_line =
          std::string_view(scratch_).substr(at, expected_end - at);
      if (read_line != expected_line || read_end == std::string_view::npos ||
          expected_end == std::string_view::npos) {
        Fail(line, std::string(what) + " not written as the writer writes it: expected " +
                       Quote(expected_line) + ", found " + Quote(read_line));
      }
      at = read_end + kCrLf.size();
      ++line;
    }
  }

  // --- Fields.

  double Real(std::string_view field, const Statement& s) {
    double value = 0;
    std::string canonical;
    switch (ppf_internal::ParseReal(field, value, &canonical)) {
      case ppf_internal::RealError::None:
        return value;
      case ppf_internal::RealError::Shape:
        Fail(s.line, "expected a number, found " + Quote(field));
      case ppf_internal::RealError::Range:
        Fail(s.line, "the number " + Quote(field) + " is too large");
      case ppf_internal::RealError::NotShortest:
        break;
    }
    Fail(s.line, Quote(field) + " is not the shortest text of its number: " + Quote(canonical));
  }

  int Int(std::string_view field, const Statement& s) {
    int value = 0;
    switch (ppf_internal::ParseInt(field, value)) {
      case ppf_internal::IntError::None:
        return value;
      case ppf_internal::IntError::Range:
        Fail(s.line, "the integer " + Quote(field) + " does not fit 32 bits");
      case ppf_internal::IntError::Shape:
        break;
    }
    Fail(s.line, "expected an integer, found " + Quote(field));
  }

  // Three reals from fields_[first].
  Vec3 Point(std::size_t first, const Statement& s) {
    return {Real(fields_[first], s), Real(fields_[first + 1], s), Real(fields_[first + 2], s)};
  }

  // Appends the writer's text of `value` to derived_ (finite values only).
  void Append(double value) {
    if (!ppf_internal::AppendReal(derived_, value))
      derived_ += "?";
  }

  void Check(bool allowed, int line) {
    if (!allowed)
      Fail(line, order_.error());
  }

  [[noreturn]] void Fail(std::string message) { Fail(lines_.line(), std::move(message)); }
  [[noreturn]] static void Fail(int line, std::string message) {
    throw fio::ReadFault{line, std::move(message)};
  }

  fio::CrLfLines lines_;
  PostPathRecords& receiver_;
  Statement next_;
  bool peeked_ = false;
  std::array<std::string_view, 12> fields_;
  std::string scratch_;  // what the statement being read is written as
  std::string derived_;  // a statement made from values read before it
  std::string partno_;
  RecordOrder order_;
  BracketState state_;
  // Records reused from one to the next, so that their texts keep their room.
  ProcessHead process_;
  PathHead head_;
  MillRecord mill_;
  DrillRecord drill_;
  ppf::Block block_;
};

}  // namespace

ReadResult ReadPostPathFile(std::string_view text, PostPathRecords& receiver) {
  Reader reader(text, receiver);
  return fio::ReadUntilFault([&] { reader.Run(); });
}

}  // namespace zu::ppf
