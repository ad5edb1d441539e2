#include "hostapp/testing/example_session.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <fstream>
#include <sstream>

#include "hostapp/host_session.h"
#include "hostapp/part_document.h"

namespace zuhost::testing {
namespace {

// UTF-8 to GBK, as the host converts a document's texts on Windows.
AnsiText ToGbk(std::string_view utf8) {
  AnsiText out;
  iconv_t convert = iconv_open("GBK", "UTF-8");
  std::string input(utf8);
  char* in = input.data();
  std::size_t in_left = input.size();
  std::string output(input.size() * 2 + 4, '\0');
  char* to = output.data();
  std::size_t out_left = output.size();
  if (iconv(convert, &in, &in_left, &to, &out_left) == static_cast<std::size_t>(-1))
    out.unrepresentable = std::string(in, in_left > 4 ? 4 : in_left);
  iconv_close(convert);
  output.resize(output.size() - out_left);
  out.text = output;
  return out;
}

}  // namespace

PickNode* LoadAndPickAll(const std::string& source_dir, const std::string& document) {
  TextCodec codec;
  codec.to_ansi = ToGbk;
  auto loaded = LoadPartDocument(source_dir + "/examples/" + document, codec);
  EXPECT_TRUE(loaded.document) << loaded.error;
  if (!loaded.document)
    return nullptr;
  auto& session = HostSession::Current();
  session.SetDocument(std::move(loaded.document));
  g_roughblock = session.document()->stock;
  session.pick_plan.outcome = PickPlan::Outcome::Paths;
  session.pick_plan.path_indices.clear();
  for (std::size_t i = 0; i < session.document()->paths.size(); ++i)
    session.pick_plan.path_indices.push_back(static_cast<int>(i));
  PickNode* first = nullptr;
  EXPECT_EQ(session.GetPicked(first), kPickDelivered);
  return first;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace zuhost::testing
