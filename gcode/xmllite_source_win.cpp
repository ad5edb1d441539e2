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

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Whether `text` ends with the end of its root element `root` (its end tag,
// or the root itself written empty), after any comments, processing
// instructions and blanks. Wine's XmlLite closes the elements left open at
// the end of the input as if the document had closed them.
bool EndsWithRoot(std::string_view text, std::string_view root) {
  while (true) {
    while (!text.empty() && IsSpace(text.back()))
      text.remove_suffix(1);
    if (text.size() >= 3 && text.substr(text.size() - 3) == "-->") {
      const std::size_t open = text.rfind("<!--");
      if (open == std::string_view::npos)
        return false;
      text = text.substr(0, open);
    } else if (text.size() >= 2 && text.substr(text.size() - 2) == "?>") {
      const std::size_t open = text.rfind("<?");
      if (open == std::string_view::npos)
        return false;
      text = text.substr(0, open);
    } else {
      break;
    }
  }
  if (text.empty() || text.back() != '>')
    return false;
  const std::size_t open = text.rfind('<');
  if (open == std::string_view::npos)
    return false;
  std::string_view tag = text.substr(open + 1, text.size() - open - 2);
  if (!tag.empty() && tag.front() == '/') {
    tag.remove_prefix(1);
    while (!tag.empty() && IsSpace(tag.back()))
      tag.remove_suffix(1);
    return tag == root;
  }
  // The root written empty: <root .../>
  return !tag.empty() && tag.back() == '/' && tag.substr(0, root.size()) == root &&
         (tag.size() == root.size() + 1 || IsSpace(tag[root.size()]));
}

// Sends the events of the document `text`.
XmlReadResult ReadText(std::string_view text, XmlEvents& events) {
  if (text.size() > 0x7FFFFFFF)
    return {Status::kCannotOpen, 0, "the text is too long"};
  // Wine's XmlLite stops the process on a declaration cut short ("<?x") and
  // on a declaration with nothing after it: both are refused here first.
  std::string_view start = text;
  if (start.substr(0, 3) == "\xEF\xBB\xBF")
    start.remove_prefix(3);
  if (start.substr(0, 2) == "<?") {
    const std::size_t end = start.find("?>");
    if (end == std::string_view::npos)
      return {Status::kMalformed, 1, "not well-formed XML (a declaration is not closed)"};
    if (start.find('<', end) == std::string_view::npos)
      return {Status::kMalformed, 1, "not well-formed XML (no root element)"};
  }
  ComPtr<IStream> stream;
  *stream.Out() =
      SHCreateMemStream(reinterpret_cast<const BYTE*>(text.data()), static_cast<UINT>(text.size()));
  if (stream.get() == nullptr)
    return {Status::kCannotOpen, 0, "cannot make a stream of the text"};
  const std::uint64_t size = text.size();
  const CreateXmlReaderFunction create = LoadCreateXmlReader();
  if (create == nullptr)
    return {Status::kCannotOpen, 0, "XmlLite (xmllite.dll) is not available"};
  ComPtr<IXmlReader> reader;
  HRESULT result = create(__uuidof(IXmlReader), reinterpret_cast<void**>(reader.Out()), nullptr);
  if (FAILED(result))
    return {Status::kCannotOpen, 0, HresultText("cannot create the XML reader", result)};
  reader->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit);
  result = reader->SetInput(stream.get());
  if (FAILED(result))
    return {Status::kCannotOpen, 0, HresultText("cannot read the file", result)};

  std::string root;
  std::vector<std::string> texts;  // names and values, two per attribute
  std::vector<XmlAttribute> attributes;
  XmlNodeType type;
  // Every node takes at least a byte of the input. A parser that returns
  // more has stopped moving on (Wine's XmlLite returns an unclosed comment
  // again and again): the input is refused rather than read for ever.
  std::uint64_t nodes = 0;
  while ((result = reader->Read(&type)) == S_OK) {
    const std::uint64_t line = LineOf(reader.get());
    if (++nodes > size + 16)
      return {Status::kMalformed, line, "not well-formed XML (the parser makes no progress)"};
    const WCHAR* value = nullptr;
    UINT length = 0;
    switch (type) {
      case XmlNodeType_Element: {
        const bool empty = reader->IsEmptyElement() != FALSE;
        if (FAILED(reader->GetQualifiedName(&value, &length)))
          return {Status::kMalformed, line, "cannot read an element's name"};
        const std::string name = Utf8(value, length);
        if (root.empty())
          root = name;
        texts.clear();
        for (HRESULT at = reader->MoveToFirstAttribute(); at == S_OK;
             at = reader->MoveToNextAttribute()) {
          if (FAILED(reader->GetQualifiedName(&value, &length)))
            return {Status::kMalformed, line, "cannot read an attribute's name"};
          texts.push_back(Utf8(value, length));
          if (FAILED(reader->GetValue(&value, &length)))
            return {Status::kMalformed, line, "cannot read an attribute's value"};
          texts.push_back(Utf8(value, length));
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
        if (FAILED(reader->GetQualifiedName(&value, &length)))
          return {Status::kMalformed, line, "cannot read an element's name"};
        if (!events.EndElement(Utf8(value, length), line))
          return {Status::kStopped, 0, {}};
        break;
      case XmlNodeType_Text:
      case XmlNodeType_CDATA:
      case XmlNodeType_Whitespace:
        if (FAILED(reader->GetValue(&value, &length)))
          return {Status::kMalformed, line, "cannot read a text"};
        if (!events.Text(Utf8(value, length), line))
          return {Status::kStopped, 0, {}};
        break;
      case XmlNodeType_DocumentType:
        return {Status::kMalformed, line, "a document type declaration is not allowed"};
      default:  // declaration, comments, processing instructions
        break;
    }
  }
  if (result == S_FALSE) {
    if (!root.empty() && !EndsWithRoot(text, root))
      return {Status::kMalformed, LineOf(reader.get()),
              "not well-formed XML (the document ends before its root element does)"};
    return {};
  }
  return {Status::kMalformed, LineOf(reader.get()), HresultText("not well-formed XML", result)};
}

}  // namespace

XmlReadResult ReadXmlFile(const std::string& path, XmlEvents& events) {
  // A description is a few kilobytes: it is read whole, then parsed.
  const HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return {Status::kCannotOpen, 0, "cannot open the file"};
  LARGE_INTEGER size{};
  std::string text;
  bool ok = GetFileSizeEx(file, &size) != FALSE && size.QuadPart <= (16 << 20);
  if (ok) {
    text.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD got = 0;
    ok = text.empty() ||
         (ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &got, nullptr) != FALSE &&
          got == text.size());
  }
  CloseHandle(file);
  if (!ok)
    return {Status::kCannotOpen, 0, "cannot read the file (or it is over 16 MiB)"};
  return ReadText(text, events);
}

XmlReadResult ReadXmlText(std::string_view text, XmlEvents& events) {
  return ReadText(text, events);
}

}  // namespace zu::gcode
