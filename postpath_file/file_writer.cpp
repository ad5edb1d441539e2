#include "postpath_file/file_writer.h"

#include <string>

#include "format_io/record_output.h"
#include "postpath_file/internal/apt_text.h"
#include "postpath_file/internal/bracket_plan.h"
#include "postpath_file/internal/record_order.h"

namespace zu::ppf {
namespace {

using ppf_internal::AppendInt;
using ppf_internal::AppendReal;
using ppf_internal::BracketState;
using ppf_internal::FeedStatement;
using ppf_internal::Next;

const char* PathWord(int type) {
  switch (type) {
    case kPathDrill:
      return "DRILL";
    case kPathMill:
      return "MILL";
    case kPathMultiAxis:
      return "MULTIAXIS";
    default:
      return "FIVEAXIS";
  }
}

const char* CutcomWord(int flag) {
  switch (flag) {
    case kCompensationLeft:
      return "CUTCOM/LEFT";
    case kCompensationRight:
      return "CUTCOM/RIGHT";
    default:
      return "CUTCOM/OFF";
  }
}

}  // namespace

class PostPathFileWriter::Impl {
 public:
  explicit Impl(ByteSink& sink) : out_(sink) {}

  void Process(const ProcessHead& head) {
    if (!Begin(order_.Process(head), Where::Process))
      return;
    if (!CheckText(head.process_name, "the process name"))
      return;
    ppf_internal::AppendPartnoLine(out_.bytes(), head.process_name);
    out_.bytes() += '\n';
    PprintText("VERSION", head.file_version, "the file version");
    PprintText("INFO", head.file_info, "the file info");
    PprintText("PROCESS", head.process_name, "the process name");
    PprintText("COMMENT", head.process_comment, "the process comment");
    StartPprint("JIGRETRACT ");
    Int(head.use_jig_retract);
    line_ += ',';
    Real(head.jig_retract_height, "the jig retract height");
    EndPprint();
    Statement("UNITS/MM");
    out_.End();
  }

  void MillPath(const PathHead& head, const MillRecord& record) {
    if (!Begin(order_.MillPath(head), Where::Bracket))
      return;
    Head(head);
    StartPprint("FEEDS ");
    for (std::size_t i = 0; i < record.feeds.size(); ++i) {
      if (i > 0)
        line_ += ',';
      Real(record.feeds[i], "a feed");
    }
    EndPprint();
    StartPprint("HEIGHTS ");
    Real(record.safe_height, "the safe height");
    line_ += ',';
    Real(record.approach_height, "the approach height");
    EndPprint();
    for (const auto& [key, value] : record.macro_pairs) {
      PprintText("MACRO", key, "a macro key");
      PprintText("VALUE", value, "a macro value");
    }
    if (!record.dwell_text.empty())
      PprintText("DWELLTEXT", record.dwell_text, "the dwell text");
    ToolStatements(head);
    state_ = BracketState{};
    feeds_ = record.feeds;
    blocks_ = 0;
    out_.End();
  }

  void DrillPath(const PathHead& head, const DrillRecord& record) {
    if (!Begin(order_.DrillPath(head), Where::Bracket))
      return;
    Head(head);
    const auto& v = record.values;
    StartPprint("DRILL ");
    Int(record.drill_mode);
    for (int i : {kDrillSafeDistance, kDrillPeckDepth, kDrillDwellTime, kDrillWorkSurface}) {
      line_ += ',';
      Real(v[static_cast<std::size_t>(i)], "a drill value");
    }
    EndPprint();
    for (std::size_t i = 0; i < record.user.size(); ++i) {
      if (!record.user[i].empty())
        PprintText("USER" + std::to_string(i + 1), record.user[i], "a user text");
    }
    ToolStatements(head);
    StartStatement("CYCLE/DRILL,");
    Real(v[kDrillHoleDepth], "the hole depth");
    line_ += ",MMPM,";
    Real(v[kDrillFeed], "the drill feed");
    line_ += ',';
    Real(v[kDrillClearance], "the clearance");
    EndStatement();
    if (ppf_internal::HasDelay(record)) {
      StartStatement("DELAY/");
      Real(v[kDrillDwellTime], "the dwell time");
      EndStatement();
    }
    holes_ = 0;
    out_.End();
  }

  void Hole(const Vec3& hole) {
    if (!Begin(order_.Hole(), Where::Hole))
      return;
    StartStatement("GOTO/");
    Point(hole, "the hole");
    EndStatement();
    ++holes_;
    out_.End();
  }

  void Block(const ppf::Block& block) {
    if (!Begin(order_.Block(block), Where::Block))
      return;
    const ppf_internal::BlockPlan plan = ppf_internal::PlanBlock(state_, feeds_, block);
    if (plan.feed_type)
      PprintInt("FEEDTYPE ", block.feed_type);
    if (plan.dwell)
      PprintInt("DWELL ", block.dwell);
    if (plan.mark)
      PprintInt("MARK ", block.position_mark);
    if (plan.cutcom >= 0)
      Statement(CutcomWord(plan.cutcom));
    if (plan.multax >= 0)
      Statement(plan.multax ? "MULTAX/ON" : "MULTAX/OFF");
    if (plan.feed == FeedStatement::Rapid) {
      Statement("RAPID");
    } else if (plan.feed == FeedStatement::Fedrat) {
      StartStatement("FEDRAT/");
      Real(plan.fedrat, "the feed");
      EndStatement();
    }
    if (plan.circle) {
      double radius = 0;
      if (!ppf_internal::ArcRadius(block, radius)) {
        out_.Refuse("the radius of " + WhereText() + " is too large for a double");
        return;
      }
      StartStatement("CIRCLE/");
      Point(block.centre, "the centre");
      line_ += ',';
      Point(block.vector, "the normal");
      line_ += ',';
      Real(radius, "the radius");
      EndStatement();
    }
    StartStatement("GOTO/");
    Point(block.end, "the end point");
    if (block.kind == kBlockLine && block.has_vector) {
      line_ += ',';
      Point(block.vector, "the tool axis");
    }
    EndStatement();
    ppf_internal::Advance(state_, block, plan);
    ++blocks_;
    out_.End();
  }

  void EndPath() {
    const bool milling = order_.next() == Next::BlockOrEnd;
    if (!Begin(order_.EndPath(), Where::EndPath))
      return;
    if (milling) {
      const ppf_internal::ClosePlan close = ppf_internal::PlanClose(state_);
      if (close.cutcom_off)
        Statement("CUTCOM/OFF");
      if (close.multax_off)
        Statement("MULTAX/OFF");
    } else {
      Statement("CYCLE/OFF");
    }
    out_.End();
  }

  void EndProcess() {
    if (!Begin(order_.EndProcess(), Where::EndProcess))
      return;
    Statement("END");
    Statement("FINI");
    out_.End();
  }

  bool ok() const { return !out_.failed(); }
  const std::string& error() const { return out_.error(); }

  WriteResult Finish() {
    if (order_.next() != Next::Done)
      out_.Incomplete(ppf_internal::DescribeNext(order_.next()));
    return out_.Finish();
  }

 private:
  // Which record a refused field belongs to, for the message.
  enum class Where { Process, Bracket, Hole, Block, EndPath, EndProcess };

  // Starts a record that the order allows; false when the writer has
  // stopped or refuses the record.
  bool Begin(bool allowed, Where where) {
    if (!out_.Begin(allowed, order_.error()))
      return false;
    where_ = where;
    return true;
  }

  // Brackets, blocks and holes are counted from 1 in messages.
  std::string WhereText() const {
    const std::string bracket = "bracket " + std::to_string(order_.brackets());
    switch (where_) {
      case Where::Process:
        return "the process head";
      case Where::Bracket:
        return "the head of " + bracket;
      case Where::Hole:
        return "hole " + std::to_string(holes_ + 1) + " of " + bracket;
      case Where::Block:
        return "block " + std::to_string(blocks_ + 1) + " of " + bracket;
      case Where::EndPath:
        return "the end of " + bracket;
      case Where::EndProcess:
        break;
    }
    return "the end of the process";
  }

  // The bracket's head: what every parameter record holds, then the tool.
  void Head(const PathHead& head) {
    StartPprint("PATH ");
    line_ += PathWord(head.type);
    line_ += ',';
    Int(head.record_path_type);
    EndPprint();
    PprintText("NAME", head.name, "the path name");
    PprintPoint("HOME ", head.home, "the home point");
    if (head.tool_axis)
      PprintPoint("AXIS ", *head.tool_axis, "the tool axis");
    PprintPoint("ORIGIN ", head.origin, "the origin");
    PprintPoint("XAXIS ", head.x_axis, "the X axis");
    PprintPoint("YAXIS ", head.y_axis, "the Y axis");
    PprintPoint("ZAXIS ", head.z_axis, "the Z axis");
    StartPprint("STOCK ");
    Point(head.stock_min, "the stock's lowest corner");
    line_ += ',';
    Point(head.stock_max, "the stock's highest corner");
    EndPprint();
    PprintText("TOOLNAME", head.tool.name, "the tool name");
    PprintText("TOOLNAME2", head.tool.second_name, "the tool's second name");
    StartPprint("TOOL ");
    Int(head.tool.second_integer);
    line_ += ',';
    Int(head.tool.third_integer);
    for (double value : head.tool.values) {
      line_ += ',';
      Real(value, "a tool value");
    }
    EndPprint();
  }

  // LOADTL, CUTTER where the tool's dimensions make one, SPINDL.
  void ToolStatements(const PathHead& head) {
    StartStatement("LOADTL/");
    Int(head.tool.first_integer);
    EndStatement();
    if (ppf_internal::HasCutter(head.tool)) {
      StartStatement("CUTTER/");
      Real(head.tool.values[kToolDiameter], "the tool diameter");
      line_ += ',';
      Real(head.tool.values[kToolCornerRadius], "the corner radius");
      EndStatement();
    }
    StartStatement("SPINDL/");
    Real(head.spindle_speed, "the spindle speed");
    line_ += ",CLW";
    EndStatement();
  }

  // A statement or a PPRINT/ZU payload is made in line_, then written out
  // as the file's lines. The appends do nothing once the writer has
  // stopped, so that a record reads as a plain sequence.

  void StartStatement(std::string_view start) { line_.assign(start); }
  void EndStatement() {
    if (!out_.failed())
      ppf_internal::AppendStatementLines(out_.bytes(), line_, "\n");
  }
  void Statement(std::string_view statement) {
    StartStatement(statement);
    EndStatement();
  }

  void StartPprint(std::string_view word) { line_.assign(word); }
  void EndPprint() {
    if (!out_.failed())
      ppf_internal::AppendPprintLines(out_.bytes(), line_, "\n");
  }
  void PprintText(std::string_view word, std::string_view text, const char* what) {
    if (!CheckText(text, what))
      return;
    line_.assign(word);
    line_ += '=';
    line_ += text;
    EndPprint();
  }
  void PprintInt(std::string_view word, int value) {
    StartPprint(word);
    Int(value);
    EndPprint();
  }
  void PprintPoint(std::string_view word, const Vec3& p, const char* what) {
    StartPprint(word);
    Point(p, what);
    EndPprint();
  }

  bool CheckText(std::string_view text, const char* what) {
    if (out_.failed())
      return false;
    if (!ppf_internal::IsWritableText(text)) {
      return out_.Refuse(std::string(what) + " of " + WhereText() +
                         " holds CR, LF or a NUL byte, which the file cannot hold");
    }
    return true;
  }

  void Int(int value) {
    if (!out_.failed())
      AppendInt(line_, value);
  }

  void Real(double value, const char* what) {
    if (!out_.failed() && !AppendReal(line_, value))
      out_.Refuse(std::string(what) + " of " + WhereText() + " is not a finite number");
  }

  // "x,y,z".
  void Point(const Vec3& p, const char* what) {
    if (out_.failed())
      return;
    bool finite = AppendReal(line_, p.x);
    line_ += ',';
    finite = finite && AppendReal(line_, p.y);
    line_ += ',';
    finite = finite && AppendReal(line_, p.z);
    if (!finite)
      out_.Refuse(std::string(what) + " of " + WhereText() + " is not a finite point");
  }

  fio::RecordOutput out_;
  std::string line_;  // the statement or payload being made
  ppf_internal::RecordOrder order_;
  Where where_ = Where::Process;
  BracketState state_;
  std::array<double, 10> feeds_{};
  int blocks_ = 0;
  int holes_ = 0;
};

PostPathFileWriter::PostPathFileWriter(ByteSink& sink) : impl_(std::make_unique<Impl>(sink)) {}
PostPathFileWriter::~PostPathFileWriter() = default;

void PostPathFileWriter::Process(const ProcessHead& head) {
  impl_->Process(head);
}
void PostPathFileWriter::MillPath(const PathHead& head, const MillRecord& record) {
  impl_->MillPath(head, record);
}
void PostPathFileWriter::DrillPath(const PathHead& head, const DrillRecord& record) {
  impl_->DrillPath(head, record);
}
void PostPathFileWriter::Hole(const Vec3& hole) {
  impl_->Hole(hole);
}
void PostPathFileWriter::Block(const ppf::Block& block) {
  impl_->Block(block);
}
void PostPathFileWriter::EndPath() {
  impl_->EndPath();
}
void PostPathFileWriter::EndProcess() {
  impl_->EndProcess();
}
bool PostPathFileWriter::ok() const {
  return impl_->ok();
}
const std::string& PostPathFileWriter::error() const {
  return impl_->error();
}
WriteResult PostPathFileWriter::Finish() {
  return impl_->Finish();
}

}  // namespace zu::ppf
