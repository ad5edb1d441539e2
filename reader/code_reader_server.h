// The code reader's COM object: ICodeReader over the G-code interpreter.
// LoadSystem loads an NC system's description; ReadCodeFile reads a code
// file by it, drives the builder SetBuilder handed over, and at the end
// shows the person what could not be read (a description that did not load,
// a file that could not be opened, blocks left out).
#pragma once

#include <atomic>
#include <optional>
#include <string>

#include "gcode/nc_system.h"
#include "host/code_reader.h"

namespace zureader {

class CodeReader final : public ICodeReader {
 public:
  CodeReader();
  ~CodeReader();
  CodeReader(const CodeReader&) = delete;
  CodeReader& operator=(const CodeReader&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE SetBuilder(CodeReadBackReceiver* builder) override;
  HRESULT STDMETHODCALLTYPE ReadCodeFile(std::string code_file) override;
  HRESULT STDMETHODCALLTYPE LoadSystem(std::string xml_file) override;

 private:
  std::atomic<ULONG> references_{1};
  CodeReadBackReceiver* builder_ = nullptr;
  std::optional<zu::gcode::NcSystem> system_;
  std::string xml_file_;
  std::string load_error_ = "没有指定数控系统描述";
};

// How many objects and locks keep the module loaded.
std::atomic<long>& ModuleUsers();

}  // namespace zureader
