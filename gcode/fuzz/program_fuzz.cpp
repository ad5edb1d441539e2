// libFuzzer target: the interpreter on any program. The first byte chooses
// the sample system (LinuxCNC when its bit 3 is set, else its value modulo
// 3: FANUC, HNC, SIEMENS; with bit 6, a five-axis one instead: the FANUC of
// the tests, or with bit 0 the shipped SIEMENS with CYCLE800), by its bit 2 whether the program is
// read from memory or through a small stream buffer, and by its bit 7 whether a MultiAxisReceiver
// is given; the rest is the program. Whatever it is, the calls must keep their order
// (ProtocolChecker) and every path must be closed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "gcode/interpreter.h"
#include "gcode/tests/protocol_checker.h"

namespace {

const zu::gcode::NcSystem* Systems() {
  static zu::gcode::NcSystem* systems = [] {
    static zu::gcode::NcSystem loaded[6];
    const char* files[] = {"postmodule/ncsystems/FANUC-0i.xml",
                           "postmodule/ncsystems/HNC-818.xml",
                           "postmodule/ncsystems/SIEMENS-840D.xml",
                           "postmodule/ncsystems/LinuxCNC.xml",
                           "gcode/tests/ncsystems/FANUC-0i-AC.xml",
                           "postmodule/ncsystems/SIEMENS-840D-BC-head-table.xml"};
    for (int i = 0; i < 6; ++i) {
      zu::gcode::NcSystemLoad load =
          zu::gcode::LoadNcSystemFile(std::string(ZU_SOURCE_DIR) + "/" + files[i]);
      if (!load.ok)
        std::abort();
      loaded[i] = std::move(load.system);
      loaded[i].max_calls = 200;  // keeps each input quick
    }
    return loaded;
  }();
  return systems;
}

class MemoryReader : public zu::gcode::ByteReader {
 public:
  explicit MemoryReader(std::string_view bytes) : bytes_(bytes) {}
  std::size_t Read(char* buffer, std::size_t size) override {
    const std::size_t n = std::min(size, bytes_.size() - at_);
    std::memcpy(buffer, bytes_.data() + at_, n);
    at_ += n;
    return n;
  }
  bool SeekTo(std::uint64_t offset) override {
    if (offset > bytes_.size())
      return false;
    at_ = static_cast<std::size_t>(offset);
    return true;
  }
  bool failed() const override { return false; }

 private:
  std::string_view bytes_;
  std::size_t at_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0)
    return 0;
  const int chosen = (data[0] & 0x40) != 0 ? 4 + (data[0] & 1)
                     : (data[0] & 8) != 0  ? 3
                                           : data[0] % 3;
  const zu::gcode::NcSystem& system = Systems()[chosen];
  const std::string_view program(reinterpret_cast<const char*>(data + 1), size - 1);
  zu::gcode::testing::ProtocolChecker checker;
  checker.axes = (data[0] & 0x80) != 0;
  zu::gcode::ReadOptions options;
  options.max_errors = 8;
  zu::gcode::ProgramRead read;
  if ((data[0] & 4) != 0) {
    MemoryReader bytes(program);
    zu::gcode::StreamLineSource source(bytes, 16);
    read = checker.axes ? zu::gcode::ReadProgram(system, source, checker, checker, options)
                        : zu::gcode::ReadProgram(system, source, checker, options);
  } else {
    zu::gcode::TextLineSource source(program);
    read = checker.axes ? zu::gcode::ReadProgram(system, source, checker, checker, options)
                        : zu::gcode::ReadProgram(system, source, checker, options);
  }
  if (!checker.Closed() || read.paths != checker.paths || read.errors.size() > 8)
    std::abort();
  return 0;
}
