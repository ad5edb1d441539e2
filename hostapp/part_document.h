// The part document: stock box, current coordinate system and tool paths,
// stored as UTF-8 JSON (docs/part-document.md). Portable.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/host_api.h"
#include "host/path_model.h"

namespace zuhost {

// A text converted to the ANSI code page, with the first character (UTF-8)
// that the code page cannot hold; that one is empty when every character
// converts.
struct AnsiText {
  std::string text;
  std::string unrepresentable;
};

// Texts inside paths are in the ANSI code page; the file is UTF-8. The
// converters default to passing bytes through (the native build's texts are
// ASCII or already UTF-8). A text with a character the code page cannot hold
// refuses the document: it would be stored with '?' in its place.
struct TextCodec {
  std::function<AnsiText(std::string_view)> to_ansi = [](std::string_view s) {
    return AnsiText{std::string(s), {}};
  };
  std::function<std::string(std::string_view)> to_utf8 = [](std::string_view s) {
    return std::string(s);
  };
};

struct PartDocument {
  CRoughBlock stock;
  ncworkcoordinate current_system;
  std::vector<std::unique_ptr<OrvoPath>> paths;
};

struct [[nodiscard]] DocumentLoad {
  std::unique_ptr<PartDocument> document;  // null on failure
  std::string error;                       // "FILE: FIELD: what is wrong" on failure
};

// Parses a document from `json`; `source` names it in error messages. A
// document with any fault is refused whole.
ZUHOST_API DocumentLoad ParsePartDocument(std::string_view json, const std::string& source,
                                          const TextCodec& codec = {});
// Reads and parses the file at `path` (UTF-8).
ZUHOST_API DocumentLoad LoadPartDocument(const std::string& path, const TextCodec& codec = {});

// The document as JSON text: one path per block, one move per line.
ZUHOST_API std::string FormatPartDocument(const PartDocument& document,
                                          const TextCodec& codec = {});
// Writes `text` to a new file beside `path` (UTF-8; NAME.saving) and
// replaces `path` with it only when it is complete; a failed write or
// rename leaves `path` as it was and no new file behind. Returns "" on
// success, else what failed. Documents and pictures are saved so.
[[nodiscard]] ZUHOST_API std::string SaveWhole(std::string_view text, const std::string& path);
// The document saved whole (SaveWhole).
[[nodiscard]] ZUHOST_API std::string SavePartDocument(const PartDocument& document,
                                                      const std::string& path,
                                                      const TextCodec& codec = {});

}  // namespace zuhost
