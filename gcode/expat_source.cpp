// The native XML source: expat (libexpat1-dev) turned into XmlEvents.
#include <expat.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "gcode/xml_events.h"

namespace zu::gcode {
namespace {

struct Context {
  XML_Parser parser;
  XmlEvents& events;
  std::vector<XmlAttribute> attributes;
  bool stopped = false;
  bool doctype = false;
};

std::uint64_t Line(const Context& context) {
  return XML_GetCurrentLineNumber(context.parser);
}

void Stop(Context& context) {
  context.stopped = true;
  XML_StopParser(context.parser, XML_FALSE);
}

void OnStart(void* data, const XML_Char* name, const XML_Char** attributes) {
  Context& context = *static_cast<Context*>(data);
  context.attributes.clear();
  for (const XML_Char** at = attributes; *at != nullptr; at += 2)
    context.attributes.push_back({at[0], at[1]});
  if (!context.events.StartElement(name, context.attributes, Line(context)))
    Stop(context);
}

void OnEnd(void* data, const XML_Char* name) {
  Context& context = *static_cast<Context*>(data);
  if (!context.events.EndElement(name, Line(context)))
    Stop(context);
}

void OnText(void* data, const XML_Char* text, int length) {
  Context& context = *static_cast<Context*>(data);
  if (!context.events.Text(std::string_view(text, static_cast<std::size_t>(length)), Line(context)))
    Stop(context);
}

// Entities and the like are not for a description: a document type
// declaration is refused before anything in it is expanded.
void OnDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
  Context& context = *static_cast<Context*>(data);
  context.doctype = true;
  XML_StopParser(context.parser, XML_FALSE);
}

struct ParserDeleter {
  void operator()(XML_ParserStruct* parser) const { XML_ParserFree(parser); }
};

class Reader {
 public:
  explicit Reader(XmlEvents& events)
      : parser_(XML_ParserCreate("UTF-8")), context_{parser_.get(), events, {}} {
    XML_SetUserData(parser_.get(), &context_);
    XML_SetElementHandler(parser_.get(), OnStart, OnEnd);
    XML_SetCharacterDataHandler(parser_.get(), OnText);
    XML_SetStartDoctypeDeclHandler(parser_.get(), OnDoctype);
  }

  // Feeds one piece; false once the reading is over (result() says why).
  bool Feed(const char* bytes, std::size_t size, bool last) {
    while (true) {
      const int piece = size > 1 << 20 ? 1 << 20 : static_cast<int>(size);
      const bool final_piece = last && static_cast<std::size_t>(piece) == size;
      if (XML_Parse(parser_.get(), bytes, piece, final_piece) != XML_STATUS_OK) {
        Fail();
        return false;
      }
      bytes += piece;
      size -= static_cast<std::size_t>(piece);
      if (size == 0)
        return true;
    }
  }

  XmlReadResult result() const { return result_; }

 private:
  void Fail() {
    if (context_.stopped) {
      result_.status = XmlReadResult::Status::kStopped;
      return;
    }
    result_.status = XmlReadResult::Status::kMalformed;
    result_.line = XML_GetCurrentLineNumber(parser_.get());
    result_.reason = context_.doctype ? "a document type declaration is not allowed"
                                      : XML_ErrorString(XML_GetErrorCode(parser_.get()));
  }

  std::unique_ptr<XML_ParserStruct, ParserDeleter> parser_;
  Context context_;
  XmlReadResult result_;
};

}  // namespace

XmlReadResult ReadXmlText(std::string_view text, XmlEvents& events) {
  Reader reader(events);
  reader.Feed(text.data(), text.size(), true);
  return reader.result();
}

XmlReadResult ReadXmlFile(const std::string& path, XmlEvents& events) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr)
    return {XmlReadResult::Status::kCannotOpen, 0, "cannot open the file"};
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> closer(file, std::fclose);
  Reader reader(events);
  std::vector<char> buffer(1 << 16);
  while (true) {
    const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), file);
    if (std::ferror(file))
      return {XmlReadResult::Status::kCannotOpen, 0, "cannot read the file"};
    const bool last = got < buffer.size();
    if (!reader.Feed(buffer.data(), got, last) || last)
      return reader.result();
  }
}

}  // namespace zu::gcode
