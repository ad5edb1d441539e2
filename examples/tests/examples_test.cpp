// The example documents in examples/ are the generator's output, byte for
// byte, and each survives a load and a save unchanged.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "examples/generator/example_paths.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(Examples, CommittedDocumentsAreTheGeneratorsOutput) {
  const auto documents = zuexamples::MakeExampleDocuments(0);
  ASSERT_EQ(documents.size(), 10u);
  for (const auto& [file, document] : documents) {
    const std::string made = zuhost::FormatPartDocument(*document);
    EXPECT_EQ(made, ReadFile(std::string(ZU_EXAMPLES_DIR) + "/" + file))
        << file << " differs: run make_examples examples";
    auto loaded = zuhost::ParsePartDocument(made, file);
    ASSERT_TRUE(loaded.document) << loaded.error;
    EXPECT_EQ(zuhost::FormatPartDocument(*loaded.document), made) << file;
  }
}

TEST(Examples, LargeDocumentHasTheMovesAskedFor) {
  const auto documents = zuexamples::MakeExampleDocuments(100001);
  const auto& large = documents.back();
  EXPECT_EQ(large.file, "large.json");
  ASSERT_EQ(large.document->paths.size(), 1u);
  EXPECT_EQ(large.document->paths[0]->MoveCount(), 100001);
}

}  // namespace
