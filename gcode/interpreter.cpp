#include "gcode/interpreter.h"

#include "gcode/internal/interpreter_state.h"

namespace zu::gcode {
namespace internal {

ProgramRead Interpreter::Run() {
  stack_.reserve(static_cast<std::size_t>(sys_.max_depth));
  while (!stop_) {
    const LinePosition at = source_.Position();
    std::string_view line;
    if (!source_.Next(line)) {
      line_ = {};
      line_number_ = at.number;
      if (source_.failed()) {
        Error("the input could not be read on");
        break;
      }
      if (stack_.empty())
        break;
      // Reported at the call: the file has no line here.
      line_number_ = stack_.back().call_line;
      line_copy_ = stack_.back().call_text;
      line_ = line_copy_;
      Error("subprogram " + stack_.back().key + " has no end (" + EndName() + ")");
      Return(true);
      continue;
    }
    ++result_.lines;
    // A UTF-8 byte-order mark before the first line is no part of it.
    if (at.offset == 0 && line.substr(0, 3) == "\xEF\xBB\xBF")
      line.remove_prefix(3);
    line_ = line;
    line_number_ = at.number;
    const bool fresh = at.offset >= scanned_.offset;
    if (fresh)
      scanned_ = source_.Position();
    if (source_.cut()) {
      Error("the line is longer than " + std::to_string(kMaxLineLength) + " characters");
      continue;
    }
    HandleLine(at, fresh);
  }
  ClosePath(true);
  result_.paths = path_count_;
  return std::move(result_);
}

void Interpreter::Error(std::string message, Outcome outcome) {
  ++result_.error_count;
  if (outcome == Outcome::kLeftOut)
    ++result_.left_out;
  if (result_.errors.size() < options_.max_errors) {
    std::string_view text = line_;
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
      text.remove_suffix(1);
    result_.errors.push_back(
        {line_number_, std::string(text.substr(0, 200)), std::move(message), outcome});
  }
}

void Interpreter::HandleLine(const LinePosition& at, bool fresh) {
  std::string_view rest;
  const LineKind kind = internal::ClassifyLine(sys_, line_, key_, rest);
  if (kind != LineKind::kBlock) {
    HandleHeader(kind, at, fresh, rest);
    return;
  }
  if (!skipping_)
    RunBlock(line_);
}

void Interpreter::HandleHeader(LineKind kind, const LinePosition& at, bool fresh,
                               std::string_view rest) {
  // Words after a program number are its program's first block; words that
  // are none (an O word of another dialect's control flow: "O100 REPEAT
  // [3]", "O2000 IF [...]") make no header this reader knows.
  // The words are read once, here, and carried out below where they count.
  const bool words = kind == LineKind::kMainHeader && !rest.empty();
  bool deleted = false;
  if (words) {
    if (!internal::ParseBlock(sys_, rest, block_, deleted).empty()) {
      Error("an O word this reader does not know: reading ends here", Outcome::kEnded);
      stop_ = true;
      return;
    }
  }
  if (kind != LineKind::kTapeMark && fresh)
    Index(key_, at);
  if (!stack_.empty()) {
    if (kind != LineKind::kTapeMark && stack_.back().key == key_ &&
        at.offset == stack_.back().body.offset) {
      // The called program's own header: its words are its first block.
      if (words)
        CarryOut(deleted);
      return;
    }
    // A subprogram ran into the next program.
    Error("subprogram " + stack_.back().key + " has no end (" + EndName() + ")");
    Return(true);
    return;
  }
  switch (kind) {
    case LineKind::kTapeMark:
      if (++tape_marks_ >= 2 || main_started_)
        stop_ = true;
      break;
    case LineKind::kSubprogramHeader:
      if (main_started_ && !skipping_)
        MainProgramWithoutEnd();
      skipping_ = true;
      break;
    case LineKind::kMainHeader:
      if (main_started_) {
        if (!skipping_)
          MainProgramWithoutEnd();
        stop_ = true;
      } else {
        main_started_ = true;
        main_key_ = key_;
        skipping_ = false;
        if (words)
          CarryOut(deleted);
      }
      break;
    case LineKind::kBlock:
      break;
  }
}

// The main program ran into the header of another program.
void Interpreter::MainProgramWithoutEnd() {
  Error("the main program has no end (M30, M2 or " + EndName() +
            ") before this program: reading ends here",
        Outcome::kEnded);
}

// Reads `text`, a block of the line being read, and carries it out.
void Interpreter::RunBlock(std::string_view text) {
  bool deleted = false;
  std::string error = internal::ParseBlock(sys_, text, block_, deleted);
  if (!error.empty()) {
    Error(std::move(error));
    return;
  }
  CarryOut(deleted);
}

// Carries out the block just read into block_, unless block delete skips it
// or it holds nothing.
void Interpreter::CarryOut(bool deleted) {
  if (deleted || block_.Empty())
    return;
  main_started_ = true;
  Execute();
}

}  // namespace internal

ProgramRead ReadProgram(const NcSystem& system, LineSource& source, PathReceiver& receiver,
                        const ReadOptions& options) {
  internal::Interpreter interpreter(system, source, receiver, nullptr, options);
  return interpreter.Run();
}

ProgramRead ReadProgram(const NcSystem& system, LineSource& source, PathReceiver& receiver,
                        MultiAxisReceiver& axes, const ReadOptions& options) {
  internal::Interpreter interpreter(system, source, receiver, &axes, options);
  return interpreter.Run();
}

}  // namespace zu::gcode
