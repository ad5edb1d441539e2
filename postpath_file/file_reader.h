// The reader of the post-path file: it takes exactly what PostPathFileWriter
// writes (file_writer.h), with every line ended by CR LF as the file stores
// it, and refuses anything else, naming the line (counted from 1) and why.
//
// It gives the records to a receiver as each completes, in file order
// (record_stream.h), and stops at the first fault: the receiver has then had
// the records before it. The whole file is read when the receiver gets
// EndProcess. Reading takes time linear in the text; records are reused
// from one to the next, so that a file of many moves allocates little.
//
// Where the file shows a value twice (PARTNO and the process name, CUTTER
// and the tool's values, FEDRAT and RAPID and the feeds, CIRCLE's radius and
// its arc, CYCLE's DELAY and the dwell time), the reader checks that both
// agree; where a statement stands only when something changes (FEEDTYPE,
// CUTCOM, MULTAX, FEDRAT), that it stands exactly there. A real must be the
// shortest fixed-point text of its double, an integer "%d"'s text of an
// int, a text escaped and broken into lines as the writer does it.
#pragma once

#include <string_view>

#include "format_io/read_result.h"
#include "postpath_file/record_stream.h"

namespace zu::ppf {

// What became of the file: on failure, the line it stopped at and why.
using fio::ReadResult;

ReadResult ReadPostPathFile(std::string_view text, PostPathRecords& receiver);

}  // namespace zu::ppf
