// libFuzzer target: the post-path file reader on any bytes. Whatever it
// accepts is exactly what the writer writes, so the file built from it must
// be written back as the same bytes and read back as the same file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "format_io/testing/memory_sink.h"
#include "postpath_file/file_model.h"
#include "postpath_file/file_reader.h"
#include "postpath_file/file_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  zu::ppf::PostPathFile file;
  zu::ppf::PostPathFileBuilder builder(file);
  if (!zu::ppf::ReadPostPathFile(text, builder).ok)
    return 0;
  zu::fio_testing::MemorySink sink;
  zu::ppf::PostPathFileWriter writer(sink);
  zu::ppf::SendPostPathFile(file, writer);
  if (!writer.Finish().ok || sink.bytes != text)
    std::abort();
  zu::ppf::PostPathFile again;
  zu::ppf::PostPathFileBuilder rebuilder(again);
  if (!zu::ppf::ReadPostPathFile(sink.bytes, rebuilder).ok || !(again == file))
    std::abort();
  return 0;
}
