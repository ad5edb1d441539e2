// libFuzzer target: the tool-location file reader on any bytes. Whatever it
// accepts is exactly what the writer writes, so the file built from it must
// be written back as the same bytes and read back as the same file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "format_io/testing/memory_sink.h"
#include "toolloc_file/file_model.h"
#include "toolloc_file/file_reader.h"
#include "toolloc_file/file_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  zu::ToolLocationFile file;
  zu::ToolLocationFileBuilder builder(file);
  if (!zu::ReadToolLocationFile(text, builder).ok)
    return 0;
  zu::fio_testing::MemorySink sink;
  zu::ToolLocationFileWriter writer(sink);
  zu::SendToolLocationFile(file, writer);
  if (!writer.Finish().ok || sink.bytes != text)
    std::abort();
  zu::ToolLocationFile again;
  zu::ToolLocationFileBuilder rebuilder(again);
  if (!zu::ReadToolLocationFile(sink.bytes, rebuilder).ok || !(again == file))
    std::abort();
  return 0;
}
