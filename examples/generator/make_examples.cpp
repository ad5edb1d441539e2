// make_examples FOLDER [LARGE_MOVES]: writes the example part documents into
// FOLDER. LARGE_MOVES (default 0: none) adds large.json with that many moves.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "examples/generator/example_paths.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: make_examples FOLDER [LARGE_MOVES]\n");
    return 1;
  }
  const std::string folder = argv[1];
  const long large = argc == 3 ? std::strtol(argv[2], nullptr, 10) : 0;
  int failures = 0;
  for (const auto& [file, document] : zuexamples::MakeExampleDocuments(large)) {
    const std::string path = folder + "/" + file;
    if (std::string error = zuhost::SavePartDocument(*document, path); !error.empty()) {
      std::fprintf(stderr, "make_examples: %s\n", error.c_str());
      ++failures;
    } else {
      std::printf("wrote %s\n", path.c_str());
    }
  }
  return failures == 0 ? 0 : 2;
}
