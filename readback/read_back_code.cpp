#include "readback/read_back_code.h"

#include <windows.h>
#include <objbase.h>

#include <string>

#include "framework/message_box.h"
#include "host/code_reader.h"
#include "readback/read_back_path_builder.h"
#include "readback/resource_scope.h"

namespace zu {
namespace {

// COM for the calling thread, as long as the object lives.
class ComScope {
 public:
  ComScope() : initialised_(SUCCEEDED(CoInitialize(nullptr))) {}
  ~ComScope() {
    if (initialised_)
      CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  bool initialised_;
};

}  // namespace

bool ReadBackCode(const char* code_file, const char* xml_file) {
  RememberReadBackResources();
  if (!code_file || !*code_file || !xml_file || !*xml_file)
    return false;
  const ComScope com;
  ICodeReader* reader = nullptr;
  const HRESULT created =
      CoCreateInstance(kCodeReaderClassId, nullptr, CLSCTX_INPROC_SERVER, kCodeReaderInterfaceId,
                       reinterpret_cast<void**>(&reader));
  if (FAILED(created) || !reader) {
    // Without the reader nothing can be read: the person is told, rather
    // than left with an empty document and no reason.
    ShowMessage("代码读取组件没有安装，无法反读代码。", MessageIcon::Stop);
    return false;
  }
  ReadBackPathBuilder builder;
  reader->SetBuilder(&builder);
  reader->LoadSystem(std::string(xml_file));
  reader->ReadCodeFile(std::string(code_file));
  reader->Release();
  return true;
}

}  // namespace zu
