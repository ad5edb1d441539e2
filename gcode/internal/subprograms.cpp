// Subprograms: finding a program in the file, calling it, returning from it.
#include "gcode/internal/interpreter_state.h"

namespace zu::gcode::internal {

std::string Interpreter::EndName() const {
  return sys_.call_form == CallForm::kNamed ? "M17 or RET" : "M99";
}

void Interpreter::Index(const std::string& key, const LinePosition& body) {
  if (index_.size() >= kMaxPrograms)
    return;
  index_.emplace(key, body);
}

bool Interpreter::Find(const std::string& key, LinePosition& body, bool& cannot_seek) {
  cannot_seek = false;
  auto found = index_.find(key);
  if (found == index_.end() && !index_complete_) {
    const LinePosition here = source_.Position();
    if (!source_.Seek(scanned_)) {
      cannot_seek = true;
      return false;
    }
    std::string_view line;
    std::string_view rest;
    std::string header;
    while (true) {
      const LinePosition line_at = source_.Position();
      if (!source_.Next(line)) {
        index_complete_ = true;
        break;
      }
      scanned_ = source_.Position();
      const LineKind kind = internal::ClassifyLine(sys_, line, header, rest);
      if (kind == LineKind::kMainHeader || kind == LineKind::kSubprogramHeader) {
        // A call starts at the header line, whose words may be a block.
        Index(header, line_at);
        if (header == key)
          break;
      }
    }
    if (!source_.Seek(here)) {
      cannot_seek = true;
      return false;
    }
    found = index_.find(key);
  }
  if (found == index_.end())
    return false;
  body = found->second;
  return true;
}

void Interpreter::Call(const std::string& key, long repeats) {
  if (repeats <= 0)
    return;
  if (static_cast<int>(stack_.size()) >= sys_.max_depth) {
    Error("subprogram calls nested deeper than " + std::to_string(sys_.max_depth));
    return;
  }
  bool recursive = key == main_key_;
  for (const Frame& frame : stack_)
    recursive = recursive || frame.key == key;
  if (recursive) {
    Error("recursive call of subprogram " + key);
    return;
  }
  if (calls_ >= sys_.max_calls) {
    Error("more than " + std::to_string(sys_.max_calls) + " subprogram runs");
    return;
  }
  // Finding the subprogram may read on in the input: keep this line's text.
  line_copy_.assign(line_);
  line_ = line_copy_;
  LinePosition body;
  bool cannot_seek = false;
  const LinePosition back = source_.Position();
  if (!Find(key, body, cannot_seek)) {
    Error(cannot_seek ? "subprogram calls need an input that can be read again"
                      : "no subprogram " + key + " in the file");
    return;
  }
  if (!source_.Seek(body)) {
    Error("subprogram calls need an input that can be read again");
    return;
  }
  ++calls_;
  stack_.push_back({key, body, back, repeats - 1, line_number_, std::string(line_.substr(0, 200))});
}

void Interpreter::Return(bool forced) {
  Frame& frame = stack_.back();
  if (!forced && frame.repeats_left > 0) {
    if (calls_ >= sys_.max_calls) {
      Error("more than " + std::to_string(sys_.max_calls) + " subprogram runs");
    } else if (source_.Seek(frame.body)) {
      --frame.repeats_left;
      ++calls_;
      return;
    }
  }
  const LinePosition back = frame.back;
  stack_.pop_back();
  if (!source_.Seek(back)) {
    Error("subprogram calls need an input that can be read again");
    stop_ = true;
  }
}

// The subprogram call the block makes, if any.
void Interpreter::PerformCall() {
  if (plan_.call_form == 1) {
    const Block& b = block_;
    long number = 0;
    long repeats = 1;
    const char p = sys_.call_number_address;
    const char l = sys_.call_repeat_address;
    if (!b.Has(p)) {
      Error("the subprogram call needs its number " + std::string(1, p));
    } else if (WholeNumber(p, 99999999, number) &&
               (l == '\0' || !b.Has(l) || WholeNumber(l, kMaxRepeats, repeats))) {
      if (sys_.packed_repeat && number > 9999) {
        if (l == '\0' || !b.Has(l) || repeats == 1)
          repeats = number / 10000;
        number %= 10000;
      }
      Call(internal::ProgramKey(static_cast<std::uint64_t>(number)), repeats);
    }
  } else if (plan_.call_form == 2) {
    const Block& b = block_;
    long repeats = 1;
    const char l = sys_.call_repeat_address;
    if (l == '\0' || !b.Has(l) || WholeNumber(l, kMaxRepeats, repeats))
      Call(b.call, repeats);
  }
}

}  // namespace zu::gcode::internal
