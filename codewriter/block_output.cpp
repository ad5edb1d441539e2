#include "codewriter/block_output.h"

#include "codewriter/number_text.h"

namespace zu::codewriter {

BlockOutput::BlockOutput(const machine::MachineConfig& machine, std::string& out)
    : machine_(machine), out_(out), next_number_(machine.block.number_start) {
  block_.reserve(256);
}

bool BlockOutput::Emit(std::string_view line) {
  ++lines_;
  const int most = machine_.block.max_line_length;
  if (most > 0 && line.size() > static_cast<std::size_t>(most)) {
    if (error_.empty())
      error_ = "line " + std::to_string(lines_) + " would be " + std::to_string(line.size()) +
               " characters long, more than the machine's " + std::to_string(most) + ": " +
               std::string(line.substr(0, 40)) + "...";
    return false;
  }
  out_ += line;
  out_ += "\r\n";
  return true;
}

void BlockOutput::Raw(std::string_view line) {
  Emit(line);
}

void BlockOutput::AppendCommentText(std::string_view text) {
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F)
      c = ' ';
    else if (machine_.block.comments == machine::CommentStyle::kParentheses && c == '(')
      c = '[';
    else if (machine_.block.comments == machine::CommentStyle::kParentheses && c == ')')
      c = ']';
    block_ += c;
  }
}

void BlockOutput::Comment(std::string_view text) {
  block_.clear();
  AddComment(text);
  Emit(block_);
}

void BlockOutput::AddComment(std::string_view text) {
  if (!block_.empty() && block_.back() != ' ')
    block_ += ' ';
  if (machine_.block.comments == machine::CommentStyle::kParentheses) {
    block_ += '(';
    AppendCommentText(text);
    block_ += ')';
  } else {
    block_ += ';';
    AppendCommentText(text);
  }
}

std::string& BlockOutput::Begin() {
  block_.clear();
  return block_;
}

bool BlockOutput::End() {
  if (!block_.empty() && block_.back() == ' ')
    block_.pop_back();
  if (machine_.block.numbers) {
    number_.clear();
    number_ += 'N';
    AppendInteger(number_, next_number_);
    number_ += ' ';
    block_.insert(0, number_);
    next_number_ += machine_.block.number_increment;
    if (next_number_ > machine_.block.number_max)
      next_number_ = machine_.block.number_start;
  }
  block_ += machine_.block.end_of_block;
  ++blocks_;
  return Emit(block_);
}

}  // namespace zu::codewriter
