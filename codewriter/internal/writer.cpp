#include "codewriter/internal/writer.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "codewriter/number_text.h"

namespace zu::codewriter {

namespace internal {

namespace {

using machine::ProgramFrame;

constexpr double kMillimetresPerInch = 25.4;

// The program number a code file's name gives, where it is a number the
// control takes (1 to `most`).
std::optional<long long> NumberOf(const std::string& name, long long most) {
  if (name.empty() || name.size() > 8)
    return std::nullopt;
  long long number = 0;
  for (char c : name) {
    if (c < '0' || c > '9')
      return std::nullopt;
    number = number * 10 + (c - '0');
  }
  if (number < 1 || number > most)
    return std::nullopt;
  return number;
}

// A SIEMENS program name: letters, digits and '_', upper case, starting
// with a letter.
std::string MpfName(const std::string& name) {
  std::string out;
  for (char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    out += byte < 0x80 && std::isalnum(byte) ? static_cast<char>(std::toupper(byte)) : '_';
  }
  if (out.empty() || !std::isalpha(static_cast<unsigned char>(out.front())))
    out.insert(0, "P");
  return out.substr(0, 24);
}

}  // namespace

Writer::Writer(const cut::Program& program, const machine::MachineConfig& machine,
               std::string& code)
    : program_(program),
      machine_(machine),
      code_(code),
      out_(machine, code),
      scale_(machine.identity.units == machine::Units::kInch ? 1 / kMillimetresPerInch : 1),
      line_tolerance_(LineTolerance(machine, scale_)) {
  if (machine.kinematics) {
    // Moves are split within the tolerance less the rounding of what is
    // written, as arcs are (LineTolerance).
    kin::MachineLayout layout = machine.kinematics->layout;
    layout.linearise_tolerance = std::min(layout.linearise_tolerance, line_tolerance_);
    kinematics_.emplace(layout);
  }
}

void Writer::Note(const std::string& what) {
  result_.notes.push_back(what);
}

void Writer::ProgramStart(const std::string& name) {
  const machine::BlockFormat& block = machine_.block;
  std::string line;
  switch (block.frame) {
    case ProgramFrame::kOWord: {
      if (block.percent_lines)
        out_.Raw("%");
      line = "O";
      const long long number = NumberOf(name, 9999).value_or(block.program_number);
      std::string digits;
      AppendInteger(digits, number);
      line += std::string(digits.size() < 4 ? 4 - digits.size() : 0, '0') + digits;
      out_.Raw(line);
      break;
    }
    case ProgramFrame::kPercentNumber:
      line = "%";
      AppendInteger(line, NumberOf(name, 9999).value_or(block.program_number));
      out_.Raw(line);
      break;
    case ProgramFrame::kMpfName:
      out_.Raw("%_N_" + MpfName(name) + "_MPF");
      out_.Raw(";$PATH=/_N_MPF_DIR");
      break;
    case ProgramFrame::kPlain:
      if (block.percent_lines)
        out_.Raw("%");
      break;
  }
  if (!name.empty())
    out_.Comment(name);
  std::string& b = out_.Begin();
  b += block.safe_start;
  if (!block.work_offset.empty()) {
    b += ' ';
    b += block.work_offset;
  }
  out_.End();
}

void Writer::SpindleAndCoolantOff() {
  const machine::Tools& tools = machine_.tools;
  if (spindle_on_ && !tools.spindle_stop.empty()) {
    out_.Begin() += tools.spindle_stop;
    out_.End();
  }
  if (coolant_on_ && !tools.coolant_off.empty()) {
    out_.Begin() += tools.coolant_off;
    out_.End();
  }
  spindle_on_ = false;
  coolant_on_ = false;
}

void Writer::ProgramEnd() {
  SpindleAndCoolantOff();
  out_.Begin() += machine_.block.program_end;
  out_.End();
  const ProgramFrame frame = machine_.block.frame;
  if ((frame == ProgramFrame::kOWord || frame == ProgramFrame::kPlain) &&
      machine_.block.percent_lines)
    out_.Raw("%");
}

void Writer::ToolChange(const cut::Path& path, std::size_t index) {
  const machine::Tools& tools = machine_.tools;
  const cut::Tool& tool = program_.tools[static_cast<std::size_t>(path.tool)];
  SpindleAndCoolantOff();
  if (tool_ && tools.length_offset && !tools.cancel_length_offset.empty()) {
    out_.Begin() += tools.cancel_length_offset;
    out_.End();
  }
  std::string& b = out_.Begin();
  switch (tools.change) {
    case machine::ToolChange::kTM6:
      b += 'T';
      AppendInteger(b, tool.number);
      b += " M6";
      break;
    case machine::ToolChange::kM6T:
      b += "M6 T";
      AppendInteger(b, tool.number);
      break;
    case machine::ToolChange::kTName:
      b += "T=\"";
      for (char c : tool.name)
        b += c == '"' ? '\'' : c;
      b += '"';
      break;
  }
  if (tools.change != machine::ToolChange::kTName && !tool.name.empty())
    out_.AddComment(tool.name);
  out_.End();
  if (tools.change == machine::ToolChange::kTName) {
    out_.Begin() += "M6";
    out_.End();
    std::string& d = out_.Begin();
    d += 'D';
    AppendInteger(d, tool.number + tools.radius_register_offset);
    out_.End();
  }
  if (tools.preselect_next) {
    // The next tool the program uses, made ready while this one cuts.
    for (std::size_t k = index + 1; k < program_.paths.size(); ++k) {
      const std::size_t next = static_cast<std::size_t>(program_.paths[k].tool);
      if (program_.tools[next].number != tool.number) {
        std::string& n = out_.Begin();
        if (tools.change == machine::ToolChange::kTName) {
          n += "T=\"" + program_.tools[next].name + "\"";
        } else {
          n += 'T';
          AppendInteger(n, program_.tools[next].number);
        }
        out_.End();
        break;
      }
    }
  }
  tool_ = static_cast<std::size_t>(path.tool);
  length_offset_due_ = tools.length_offset;
  // After a change, where the tool is is the machine's business.
  known_ = {false, false, false};
  motion_ = -1;
}

void Writer::Spindle(double speed) {
  if (speed == 0)
    return;
  const machine::Tools& tools = machine_.tools;
  if (spindle_on_ && speed == speed_ && machine_.modal.speed)
    return;
  std::string& b = out_.Begin();
  b += 'S';
  AppendPlain(b, std::fabs(speed), machine_.decimals.speed);
  b += ' ';
  b += speed > 0 ? tools.spindle_cw : tools.spindle_ccw;
  out_.End();
  speed_ = speed;
  spindle_on_ = true;
  if (!coolant_on_ && !tools.coolant_on.empty()) {
    out_.Begin() += tools.coolant_on;
    out_.End();
    coolant_on_ = true;
  }
}

void Writer::AcrossAndLengthOffset(const cut::Vec& at) {
  Rapid(at, 3);
  std::string& b = out_.Begin();
  MotionWord(b, 0);
  b += machine_.tools.length_offset_code;
  b += ' ';
  AxisWords(b, at, 4);
  b += 'H';
  AppendInteger(b, program_.tools[*tool_].number + machine_.tools.length_register_offset);
  out_.End();
  length_offset_due_ = false;
}

void Writer::PathStart(const cut::Path& path, const cut::Vec& target) {
  double clear = target.z;
  if (path.safe_height)
    clear = std::max(clear, *path.safe_height);
  cut::Vec at = target;
  at.z = clear;
  if (length_offset_due_) {
    // The tool was just changed: across first, then down with its length.
    AcrossAndLengthOffset(at);
  } else if (!known_[2]) {
    // Where a tool change left the tool is the machine's business: across
    // at that height first, then down.
    Rapid(at, 3);
    Rapid(at, 4);
  } else {
    // Up first (never across lower than the tool is), across, down.
    if (position_.z > clear)
      at.z = position_.z;
    Rapid(at, 4);
    Rapid(at, 3);
  }
  Rapid(target, 4);
}

void Writer::PathEnd(const cut::Path& path) {
  if (side_ != cut::Side::kOff) {
    std::string& b = out_.Begin();
    b += "G40";
    out_.End();
    side_ = cut::Side::kOff;
    Note("path \"" + path.name + "\": compensation still on at its end, turned off after it");
  }
  if (path.safe_height && known_[2] && position_.z < *path.safe_height) {
    cut::Vec up = position_;
    up.z = *path.safe_height;
    Rapid(up);
  }
}

void Writer::MillPath(const cut::Path& path) {
  cut::Vec target = path.home.value_or(path.steps.front().end);
  PathStart(path, target);
  for (const cut::Step& step : path.steps) {
    switch (step.kind) {
      case cut::Step::Kind::kRapid:
        Rapid(step.end);
        break;
      case cut::Step::Kind::kLine:
        Line(step.end, step.feed, step.compensation);
        break;
      case cut::Step::Kind::kArc:
        Arc(step);
        break;
      case cut::Step::Kind::kDwell:
        Dwell(step.seconds);
        break;
    }
  }
}

WriteResult Writer::Write(const WriteOptions& options) {
  code_.clear();
  for (const cut::Path& path : program_.paths) {
    if (!path.refusal.empty()) {
      result_.error = "path \"" + path.name + "\": " + path.refusal;
      return result_;
    }
    if (path.tool < 0 || static_cast<std::size_t>(path.tool) >= program_.tools.size()) {
      result_.error = "path \"" + path.name + "\" has no tool";
      return result_;
    }
  }
  // About 30 bytes a block: the text grows once, not by doubling.
  std::size_t moves = 0;
  for (const cut::Path& path : program_.paths)
    moves += path.steps.size() + path.holes.size();
  code_.reserve(1024 + 32 * moves);
  ProgramStart(options.program_name);
  for (std::size_t k = 0; k < program_.paths.size(); ++k) {
    const cut::Path& path = program_.paths[k];
    if (path.steps.empty() && path.holes.empty())
      continue;
    const std::size_t tool = static_cast<std::size_t>(path.tool);
    if (!tool_ || program_.tools[*tool_].number != program_.tools[tool].number)
      ToolChange(path, k);
    out_.Comment(path.name);
    for (const std::string& note : path.notes)
      Note("path \"" + path.name + "\": " + note);
    Spindle(path.spindle);
    if (path.five_axis && kinematics_ && path.tilted &&
        machine_.kinematics->tilted_plane != machine::TiltedPlane::kPost) {
      TiltedPlanePath(path);
    } else if (path.five_axis && kinematics_) {
      FiveAxisPath(path);
    } else if (path.five_axis) {
      result_.error =
          "path \"" + path.name + "\": its tool axis turns: the machine has no rotary axes";
    } else if (path.drilling) {
      RotaryHome(path);
      Drill(path);
    } else {
      RotaryHome(path);
      MillPath(path);
    }
    if (!path.five_axis)
      PathEnd(path);
    if (!result_.error.empty())
      break;
  }
  ProgramEnd();
  for (const auto& [outcome, count] : arc_outcomes_) {
    std::string what = std::to_string(count) + (count == 1 ? " arc" : " arcs");
    switch (outcome) {
      case ArcOutcome::kArcs:
        break;
      case ArcOutcome::kLinesPlane:
        Note(what + " in a plane the machine has no arcs in, written as lines");
        break;
      case ArcOutcome::kLinesRadius:
        Note(what + " with a radius outside the machine's arc radii, written as lines");
        break;
      case ArcOutcome::kLinesHelix:
        Note(what + " rising along their axis (helices), written as lines");
        break;
      case ArcOutcome::kLinesDegenerate:
        Note(what + " whose end is not on their circle, written as lines");
        break;
    }
  }
  if (split_arcs_ > 0)
    Note(std::to_string(split_arcs_) + (split_arcs_ == 1 ? " arc" : " arcs") +
         " longer than the machine's sweep per block, written in pieces");
  if (arcs_as_lines_ > 0)
    Note(std::to_string(arcs_as_lines_) + (arcs_as_lines_ == 1 ? " arc" : " arcs") +
         " of five-axis paths written as lines");
  if (repositions_ > 0)
    Note(std::to_string(repositions_) + (repositions_ == 1 ? " time" : " times") +
         " the rotary axes reached a limit or had to unwind: the tool left the part along its "
         "axis, the axes turned, and it came back at the same point");
  if (beyond_tolerance_ > 0)
    Note(std::to_string(beyond_tolerance_) + (beyond_tolerance_ == 1 ? " move" : " moves") +
         " could not be split within the linearisation tolerance");
  if (!out_.error().empty())
    result_.error = out_.error();
  result_.blocks = out_.blocks();
  if (!result_.ok())
    code_.clear();
  return result_;
}

}  // namespace internal

WriteResult WriteProgram(const cut::Program& program, const machine::MachineConfig& machine,
                         const WriteOptions& options, std::string& code) {
  return internal::Writer(program, machine, code).Write(options);
}

}  // namespace zu::codewriter
