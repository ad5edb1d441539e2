// The Windows XML source: the platform's XmlLite turned into XmlEvents.
// Windows-only (the library's WINDOWS_SOURCES). xmllite.dll is loaded at run
// time: mingw-w64 ships its header but no import library.
#include <windows.h>
#include <objidl.h>
#include <shlwapi.h>
#include <xmllite.h>

#include <cstdio>
#include <string>
#include <vector>

#include "gcode/xml_events.h"

namespace zu::gcode {
namespace {

using Status = XmlReadResult::Status;

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() {
    if (pointer_ != nullptr)
      pointer_->Release();
  }
  T** Out() { return &pointer_; }
  T* operator->() const { return pointer_; }
  T* get() const { return pointer_; }

 private:
  T* pointer_ = nullptr;
};

std::string Utf8(const WCHAR* text, UINT length) {
  if (length == 0)
    return {};
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0)
    WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), out.data(), size, nullptr,
                        nullptr);
  return out;
}

std::wstring Wide(std::string_view text) {
  if (text.empty())
    return {};
  const int size =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
  if (size > 0)
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
  return out;
}

std::string HresultText(const char* what, HRESULT result) {
  char text[96];
  std::snprintf(text, sizeof text, "%s (XmlLite error 0x%08lX)", what,
                static_cast<unsigned long>(result));
  return text;
}

using CreateXmlReaderFunction = HRESULT(WINAPI*)(REFIID, void**, IMalloc*);

CreateXmlReaderFunction LoadCreateXmlReader() {
  static const CreateXmlReaderFunction function = [] {
    HMODULE module = LoadLibraryW(L"xmllite.dll");
    if (module == nullptr)
      return CreateXmlReaderFunction(nullptr);
    return reinterpret_cast<CreateXmlReaderFunction>(
        reinterpret_cast<void*>(GetProcAddress(module, "CreateXmlReader")));
  }();
  return function;
}

std::uint64_t LineOf(IXmlReader* reader) {
  UINT line = 0;
  return SUCCEEDED(reader->GetLineNumber(&line)) ? line : 0;
}

// Sends the events of the document in `stream`.
XmlReadResult ReadStream(IStream* stream, XmlEvents& events) {
  const CreateXmlReaderFunction create = LoadCreateXmlReader();
  if (create == nullptr)
    return {Status::kCannotOpen, 0, "XmlLite (xmllite.dll) is not available"};
  ComPtr<IXmlReader> reader;
  HRESULT result = create(__uuidof(IXmlReader), reinterpret_cast<void**>(reader.Out()), nullptr);
  if (FAILED(result))
    return {Status::kCannotOpen, 0, HresultText("cannot create the XML reader", result)};
  reader->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit);
  result = reader->SetInput(stream);
  if (FAILED(result))
    return {Status::kCannotOpen, 0, HresultText("cannot read the file", result)};

  std::vector<std::string> texts;  // names and values, two per attribute
  std::vector<XmlAttribute> attributes;
  XmlNodeType type;
  while ((result = reader->Read(&type)) == S_OK) {
    const std::uint64_t line = LineOf(reader.get());
    const WCHAR* text = nullptr;
    UINT length = 0;
    switch (type) {
      case XmlNodeType_Element: {
        const bool empty = reader->IsEmptyElement() != FALSE;
        if (FAILED(reader->GetQualifiedName(&text, &length)))
          return {Status::kMalformed, line, "cannot read an element's name"};
        const std::string name = Utf8(text, length);
        texts.clear();
        for (HRESULT at = reader->MoveToFirstAttribute(); at == S_OK;
             at = reader->MoveToNextAttribute()) {
          if (FAILED(reader->GetQualifiedName(&text, &length)))
            return {Status::kMalformed, line, "cannot read an attribute's name"};
          texts.push_back(Utf8(text, length));
          if (FAILED(reader->GetValue(&text, &length)))
            return {Status::kMalformed, line, "cannot read an attribute's value"};
          texts.push_back(Utf8(text, length));
        }
        reader->MoveToElement();
        attributes.clear();
        for (std::size_t i = 0; i + 1 < texts.size(); i += 2)
          attributes.push_back({texts[i], texts[i + 1]});
        if (!events.StartElement(name, attributes, line))
          return {Status::kStopped, 0, {}};
        if (empty && !events.EndElement(name, line))
          return {Status::kStopped, 0, {}};
        break;
      }
      case XmlNodeType_EndElement:
        if (FAILED(reader->GetQualifiedName(&text, &length)))
          return {Status::kMalformed, line, "cannot read an element's name"};
        if (!events.EndElement(Utf8(text, length), line))
          return {Status::kStopped, 0, {}};
        break;
      case XmlNodeType_Text:
      case XmlNodeType_CDATA:
      case XmlNodeType_Whitespace:
        if (FAILED(reader->GetValue(&text, &length)))
          return {Status::kMalformed, line, "cannot read a text"};
        if (!events.Text(Utf8(text, length), line))
          return {Status::kStopped, 0, {}};
        break;
      case XmlNodeType_DocumentType:
        return {Status::kMalformed, line, "a document type declaration is not allowed"};
      default:  // declaration, comments, processing instructions
        break;
    }
  }
  if (result == S_FALSE)
    return {};
  return {Status::kMalformed, LineOf(reader.get()), HresultText("not well-formed XML", result)};
}

}  // namespace

XmlReadResult ReadXmlFile(const std::string& path, XmlEvents& events) {
  ComPtr<IStream> stream;
  const HRESULT result = SHCreateStreamOnFileW(Wide(path).c_str(), STGM_READ, stream.Out());
  if (FAILED(result))
    return {Status::kCannotOpen, 0, HresultText("cannot open the file", result)};
  return ReadStream(stream.get(), events);
}

XmlReadResult ReadXmlText(std::string_view text, XmlEvents& events) {
  if (text.size() > 0x7FFFFFFF)
    return {Status::kCannotOpen, 0, "the text is too long"};
  ComPtr<IStream> stream;
  *stream.Out() =
      SHCreateMemStream(reinterpret_cast<const BYTE*>(text.data()), static_cast<UINT>(text.size()));
  if (stream.get() == nullptr)
    return {Status::kCannotOpen, 0, "cannot make a stream of the text"};
  return ReadStream(stream.get(), events);
}

}  // namespace zu::gcode
