// The program's text, block by block: block numbers (with their wrap),
// the end-of-block text, comments in the machine's style, CR LF lines and
// the machine's longest line. A block is built word by word into a buffer
// that is reused, so writing costs no allocation per block.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "machine/machine_config.h"

namespace zu::codewriter {

class BlockOutput {
 public:
  BlockOutput(const machine::MachineConfig& machine, std::string& out);

  // A line as it stands: no block number, no end-of-block text ("%",
  // "O1234", "%_N_NAME_MPF").
  void Raw(std::string_view line);
  // A comment line in the machine's style.
  void Comment(std::string_view text);

  // The block being built: Begin, words, End (which numbers it). A block
  // begun and not ended is dropped by the next Begin.
  std::string& Begin();
  // Appends a comment to the block being built.
  void AddComment(std::string_view text);
  // Ends the block; false (and error()) when it is longer than the
  // machine's line.
  bool End();

  std::size_t blocks() const { return blocks_; }
  const std::string& error() const { return error_; }

 private:
  // A comment's text with what would end it early replaced.
  void AppendCommentText(std::string_view text);
  bool Emit(std::string_view line);

  const machine::MachineConfig& machine_;
  std::string& out_;
  std::string block_;
  std::string number_;
  long long next_number_;
  std::size_t blocks_ = 0;
  std::size_t lines_ = 0;
  std::string error_;
};

}  // namespace zu::codewriter
