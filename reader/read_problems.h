// What the reader tells the person when a code file could not be read
// whole: the text of the message shown after reading, in the host's code
// page, the interpreter's reasons given in Chinese (reason_texts.h).
#pragma once

#include <string>
#include <string_view>

#include "gcode/interpreter.h"

namespace zureader {

// How many of a program's errors the message lists; the rest are counted.
inline constexpr std::size_t kListedErrors = 12;

// The description named could not be loaded: nothing was read.
std::string SystemNotLoadedText(const std::string& xml_file, const std::string& reason);

// The code file could not be opened or read to its end.
std::string CodeFileNotReadText(const std::string& code_file, bool opened);

// What was wrong in `code_file`: each block left out, read in spite of an
// alarm, or where reading ended, with its line, text and reason; empty when
// the program was read whole. Bytes that are no text (a binary file's NUL,
// control characters) are shown escaped ("\x00"): a message ends at NUL.
std::string ProgramProblemsText(const std::string& code_file, const zu::gcode::ProgramRead& read);

// What of a five-axis program the path builder could not take (rotary axis
// positions, the tool's orientation, moves of the rotary axes alone), said
// once; what X Y Z and the feeds are then. Empty for a program without
// rotary axes, tool-centre-point control or inverse-time feeds.
std::string MultiAxisText(const zu::gcode::ProgramRead& read);

// The one message shown after reading `code_file`: the five-axis note, then
// the problems; empty when there is nothing to say.
std::string ReadingMessage(const std::string& code_file, const zu::gcode::ProgramRead& read);

}  // namespace zureader
