// The XML of an NC-system description reaches the portable core as events
// (start of an element with its attributes, text, end of an element), so
// that any parser can feed it: XmlLite on Windows (xmllite_source_win.cpp),
// expat natively (expat_source.cpp). Both sources declare the same two
// functions below.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zu::gcode {

// An attribute as the parser reports it: name and value in UTF-8, entities
// replaced. Valid during the call only.
struct XmlAttribute {
  std::string_view name;
  std::string_view value;
};

// Receives a document's events in order. `line` is the line (from 1) the
// event starts on where the parser says so, 0 where it does not. Each call
// returns false to stop the reading; the handler then keeps its own reason.
class XmlEvents {
 public:
  virtual ~XmlEvents() = default;
  virtual bool StartElement(std::string_view name, std::span<const XmlAttribute> attributes,
                            std::uint64_t line) = 0;
  // Character data (CDATA included), possibly in several pieces.
  virtual bool Text(std::string_view text, std::uint64_t line) = 0;
  virtual bool EndElement(std::string_view name, std::uint64_t line) = 0;
};

// How a source ended.
struct [[nodiscard]] XmlReadResult {
  enum class Status {
    kDone,        // the whole document was read
    kStopped,     // a handler call returned false
    kCannotOpen,  // the file could not be opened or read
    kMalformed,   // the parser refused the document
  };
  Status status = Status::kDone;
  std::uint64_t line = 0;  // kMalformed: where the parser stopped (0: not known)
  std::string reason;      // kCannotOpen, kMalformed: the parser's or system's words
};

// Reads the XML file at `path` (UTF-8) and sends its events. A document type
// declaration is refused, not processed.
XmlReadResult ReadXmlFile(const std::string& path, XmlEvents& events);
// The same for a document held in memory.
XmlReadResult ReadXmlText(std::string_view text, XmlEvents& events);

}  // namespace zu::gcode
