// The reader of the text tool-location file: it takes exactly what
// ToolLocationFileWriter writes (file_writer.h), with every line ended by
// CR LF as the file stores it, and refuses anything else.
//
// It gives the records to a receiver as each completes, in file order
// (record_stream.h), and stops at the first fault: the receiver has then
// had the records before it. The whole file is read when the receiver gets
// Tail. Reading takes time linear in the text and allocates nothing per line
// beyond what the records hold (texts are copied into reused records; the
// machine and code-file paths are views into `text`, valid while it is).
//
// A real must be "%.20f"'s own text of the number it stands for: an optional
// '-', the integer digits without a superfluous leading zero, '.', exactly
// twenty decimals, and no other text of the same number (so
// "0.99999999999999999999", which reads as 1, is refused). An integer is
// "%d"'s text of an int: an optional '-', no '+', no leading zero, no "-0".
#pragma once

#include <string_view>

#include "format_io/read_result.h"
#include "toolloc_file/record_stream.h"

namespace zu {

// What became of the file: on failure, the line it stopped at and why.
using fio::ReadResult;

ReadResult ReadToolLocationFile(std::string_view text, ToolLocationRecords& receiver);

}  // namespace zu
