#include "format_io/record_output.h"

#include <gtest/gtest.h>

#include <string>

#include "format_io/testing/memory_sink.h"

namespace zu::fio {
namespace {

using fio_testing::MemorySink;

// One record of `text`, when the output allows it.
void Record(RecordOutput& out, std::string_view text, bool allowed = true) {
  if (!out.Begin(allowed, "not here"))
    return;
  out.bytes() += text;
  out.End();
}

TEST(RecordOutput, RecordsReachTheSinkWhenFinished) {
  MemorySink sink(MemorySink::LineEnds::AsGiven);
  RecordOutput out(sink);
  Record(out, "a\n");
  Record(out, "b\n");
  EXPECT_EQ(sink.writes, 0);
  const WriteResult result = out.Finish();
  EXPECT_TRUE(result.ok) << result.error;
  EXPECT_EQ(sink.bytes, "a\nb\n");
  EXPECT_EQ(sink.writes, 1);
}

TEST(RecordOutput, AFullBufferGoesToTheSinkAtTheEndOfARecord) {
  MemorySink sink(MemorySink::LineEnds::AsGiven);
  RecordOutput out(sink);
  const std::string half(RecordOutput::kFlushSize / 2, 'x');
  Record(out, half);
  EXPECT_EQ(sink.writes, 0);
  Record(out, half);
  ASSERT_EQ(sink.pieces.size(), 1u);
  EXPECT_EQ(sink.pieces[0], half + half);
  Record(out, "tail\n");
  EXPECT_TRUE(out.Finish().ok);
  ASSERT_EQ(sink.pieces.size(), 2u);
  EXPECT_EQ(sink.pieces[1], "tail\n");
}

TEST(RecordOutput, ARefusedRecordIsDroppedAndStopsTheOutput) {
  MemorySink sink(MemorySink::LineEnds::AsGiven);
  RecordOutput out(sink);
  Record(out, "kept\n");
  ASSERT_TRUE(out.Begin(true, ""));
  out.bytes() += "half a record";
  EXPECT_FALSE(out.Refuse("the value is wrong"));
  EXPECT_TRUE(out.failed());
  Record(out, "after\n");
  EXPECT_EQ(out.error(), "the value is wrong");
  const WriteResult result = out.Finish();
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error, "the value is wrong");
  EXPECT_EQ(sink.bytes, "kept\n");
}

TEST(RecordOutput, ARecordOutOfOrderIsRefusedWithTheGivenReason) {
  MemorySink sink(MemorySink::LineEnds::AsGiven);
  RecordOutput out(sink);
  Record(out, "kept\n");
  EXPECT_FALSE(out.Begin(false, "a block cannot come here"));
  Record(out, "after\n");
  const WriteResult result = out.Finish();
  EXPECT_EQ(result.error, "a block cannot come here");
  EXPECT_EQ(sink.bytes, "kept\n");
}

TEST(RecordOutput, AFileEndingTooEarlyIsIncomplete) {
  MemorySink sink(MemorySink::LineEnds::AsGiven);
  RecordOutput out(sink);
  Record(out, "head\n");
  out.Incomplete("the tail");
  const WriteResult result = out.Finish();
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error, "the file is incomplete: it expects the tail next");
  EXPECT_EQ(sink.bytes, "head\n");
}

TEST(RecordOutput, AnEarlierFaultIsNotReplacedByIncompleteness) {
  MemorySink sink;
  RecordOutput out(sink);
  EXPECT_FALSE(out.Begin(false, "first"));
  out.Incomplete("the tail");
  EXPECT_EQ(out.Finish().error, "first");
}

TEST(RecordOutput, RecordsAfterFinishAreRefused) {
  MemorySink sink(MemorySink::LineEnds::AsGiven);
  RecordOutput out(sink);
  Record(out, "whole\n");
  EXPECT_TRUE(out.Finish().ok);
  Record(out, "late\n");
  // Finished already: not incomplete, but refused.
  out.Incomplete("the tail");
  const WriteResult again = out.Finish();
  EXPECT_FALSE(again.ok);
  EXPECT_EQ(again.error, "a record after Finish");
  EXPECT_EQ(sink.bytes, "whole\n");
}

TEST(RecordOutput, ASinkFailureSaysHowManyBytesWereStored) {
  MemorySink sink(MemorySink::LineEnds::AsGiven);
  sink.fail_from_write = 2;
  RecordOutput out(sink);
  const std::string full(RecordOutput::kFlushSize, 'x');
  Record(out, full);
  Record(out, full);
  EXPECT_TRUE(out.failed());
  Record(out, "never\n");
  const WriteResult result = out.Finish();
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error, "the sink could not store the file's bytes after the first " +
                              std::to_string(RecordOutput::kFlushSize));
  EXPECT_EQ(sink.writes, 2);
  EXPECT_EQ(sink.bytes, full);
}

TEST(RecordOutput, ASinkFailingAtFinishFailsTheFile) {
  MemorySink sink;
  sink.fail_from_write = 1;
  RecordOutput out(sink);
  Record(out, "a\n");
  const WriteResult result = out.Finish();
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error, "the sink could not store the file's bytes after the first 0");
}

}  // namespace
}  // namespace zu::fio
