// Reading a G-code file back into host paths through the host's code reader
// (zureader.dll, host/code_reader.h): the reader loads the NC system's
// description, reads the code and drives a fresh path builder, which hands
// every finished path to the host's document. Windows only.
#pragma once

namespace zu {

// Reads `code_file` by the description `xml_file` (texts in the ANSI code
// page). False, having read nothing, when either path is empty or the
// reader cannot be created (then a stop message says it is not installed).
bool ReadBackCode(const char* code_file, const char* xml_file);

}  // namespace zu
