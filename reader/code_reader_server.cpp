#include "reader/code_reader_server.h"

#include <cstdio>
#include <memory>

#include "framework/code_page.h"
#include "framework/message_box.h"
#include "gcode/interpreter.h"
#include "host/services.h"
#include "reader/builder_bridge.h"
#include "reader/progress_line_source.h"
#include "reader/read_problems.h"

namespace zureader {

namespace {

constexpr const char* kCaption = "代码反读";

void Tell(const std::string& text) {
  zu::ShowMessage(text.c_str(), zu::MessageIcon::Exclamation, nullptr, kCaption);
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::atomic<long>& ModuleUsers() {
  static std::atomic<long> users{0};
  return users;
}

CodeReader::CodeReader() {
  ++ModuleUsers();
}

CodeReader::~CodeReader() {
  --ModuleUsers();
}

HRESULT CodeReader::QueryInterface(REFIID iid, void** out) {
  if (!out)
    return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, kCodeReaderInterfaceId)) {
    *out = static_cast<ICodeReader*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG CodeReader::AddRef() {
  return ++references_;
}

ULONG CodeReader::Release() {
  const ULONG left = --references_;
  if (left == 0)
    delete this;
  return left;
}

HRESULT CodeReader::SetBuilder(CodeReadBackReceiver* builder) {
  builder_ = builder;
  return S_OK;
}

HRESULT CodeReader::LoadSystem(std::string xml_file) {
  xml_file_ = xml_file;
  system_.reset();
  zu::gcode::NcSystemLoad load = zu::gcode::LoadNcSystemFile(zu::AnsiToUtf8(xml_file));
  if (!load.ok) {
    // The interpreter names the file as it was given to it, in UTF-8.
    load_error_ = zu::Utf8ToAnsi(load.error);
    return E_FAIL;
  }
  system_ = std::move(load.system);
  return S_OK;
}

HRESULT CodeReader::ReadCodeFile(std::string code_file) {
  if (!builder_)
    return E_UNEXPECTED;
  if (!system_) {
    Tell(SystemNotLoadedText(xml_file_, load_error_));
    return E_FAIL;
  }
  const std::unique_ptr<std::FILE, FileCloser> file(
      _wfopen(zu::AnsiToWide(code_file).c_str(), L"rb"));
  if (!file) {
    Tell(CodeFileNotReadText(code_file, false));
    return E_FAIL;
  }
  zu::gcode::FileByteReader bytes(file.get());
  zu::gcode::StreamLineSource lines(bytes);
  ProgressLineSource progress(lines, [](std::uint64_t line) {
    char text[64];
    std::snprintf(text, sizeof text, "代码反读 第%llu行", static_cast<unsigned long long>(line));
    HostShowPrompt(text);
  });
  BuilderBridge bridge(*builder_);
  const zu::gcode::ProgramRead read = zu::gcode::ReadProgram(*system_, progress, bridge);
  if (lines.failed()) {
    Tell(CodeFileNotReadText(code_file, true));
    return E_FAIL;
  }
  // One message for everything worth saying: what of a five-axis program
  // the paths cannot hold, and the blocks that could not be read.
  const std::string message = ReadingMessage(code_file, read);
  if (!message.empty())
    Tell(message);
  return read.ok() ? S_OK : S_FALSE;
}

}  // namespace zureader
