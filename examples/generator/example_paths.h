// Builders for the example documents: paths with lines, arcs, drill holes,
// five-axis points and their parameter records, made through the host's own
// row operations.
#pragma once

#include <string>

#include "hostapp/part_document.h"

namespace zuexamples {

// Every example document, by file name (without folder), in a fixed order.
// `large_moves` is the move count of the large example.
struct NamedDocument {
  std::string file;
  std::unique_ptr<zuhost::PartDocument> document;
};
std::vector<NamedDocument> MakeExampleDocuments(long large_moves);

}  // namespace zuexamples
