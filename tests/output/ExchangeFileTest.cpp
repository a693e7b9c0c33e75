// The output buffer and the exchange file written from it: the bytes the host
// reads back, the 255-byte line limit, the growth of the buffer, and what is
// left on disk when creating, writing or closing the file fails.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "WriterTestState.h"
#include "common/MyFunc.h"
#include "exchange/ZizAvodi.h"
#include "tests/support/TestFiles.h"

using namespace ZizAvodi;
using TestWriter::StartRun;

namespace {

void Buffer(const std::vector<std::string>& lines) {
  StartRun();
  for (const std::string& line : lines) AppendOutputLine(line);
}

// A short run as the driver and the builder produce it.
void EmitTypicalRun() {
  StartRun(true);
  Exchange.InitialLineWidth = 2;
  EmitLayerGroup(2);
  EmitLayer(5);
  EmitLineColor(3, 1);
  EmitLineType(0, 1);
  EmitLineWidth(-1);
  EmitLine(0, 10, 87, 10);
  EmitLine(87, 10, 90, 13);
  EmitLine(90, 13, 90, 100);
  EmitLineColor(10, 1);
  EmitLineType(0, 1);
  EmitLineWidth(-1);
  EmitLine(0.5, -1, 1000, 1.0 / 3.0);
  EmitText(0, "ABC", 10, 20, 1, 0);
}

const std::string TypicalRunBytes =
    "lg2\r\n"
    "ly5\r\n"
    "lc3\r\n"
    "lt1\r\n"
    "lw2\r\n"
    "0 10 87 10\r\n"
    "87 10 90 13\r\n"
    "90 13 90 100\r\n"
    "lc101\r\n"
    "0.5 -1 1000 0.333333333333333\r\n"
    "ch 10 20 1 0 \"ABC\r\n";

TEST(RenderExchangeFile, EmptyBufferIsTheQuitCommand) {
  StartRun();
  EXPECT_EQ(RenderExchangeFile(), "hq\r\n");
}

TEST(RenderExchangeFile, TypicalRun) {
  EmitTypicalRun();
  EXPECT_EQ(RenderExchangeFile(), TypicalRunBytes);
}

TEST(RenderExchangeFile, LineEndingInAQuoteTakesTheNextLine) {
  const struct {
    std::vector<std::string> Lines;
    std::string Expected;
  } cases[] = {
      {{"a"}, "a\r\n"},
      {{"a", "b"}, "a\r\nb\r\n"},
      {{"a\""}, "a\""},
      {{"a\"", "b"}, "a\"b\r\n"},
      {{"x", "y\""}, "x\r\ny\""},
      {{"a\"", "b\"", "c"}, "a\"b\"\r\nc\r\n"}, // a joined line does not join again
      {{"a\"", "b\"", "c\"", "d"}, "a\"b\"\r\nc\"d\r\n"},
      {{"\"", "x"}, "\"x\r\n"},
      {{"a\"", ""}, "a\"\r\n"},
      {{"", "x"}, "\r\nx\r\n"},
      {{""}, "\r\n"},
      {{"", ""}, "\r\n\r\n"},
      {{"\"a", "b"}, "\"a\r\nb\r\n"}, // a quote elsewhere in the line does not count
      {{"cn\"$<Font\"", "0 0 1 0"}, "cn\"$<Font\"0 0 1 0\r\n"},
  };
  for (const auto& c : cases) {
    Buffer(c.Lines);
    EXPECT_EQ(RenderExchangeFile(), c.Expected) << TestWriter::Joined(c.Lines);
  }
}

TEST(RenderExchangeFile, WritingLeavesTheBufferAsItWas) {
  EmitTypicalRun();
  TestFiles::MemoryFileLayer files;
  TestFiles::ScopedFileLayer use(files);
  ASSERT_TRUE(WriteExchangeFile("JWC_TEMP.TXT"));
  EXPECT_EQ(files.Bytes("JWC_TEMP.TXT"), TypicalRunBytes);
  ASSERT_TRUE(WriteExchangeFile("JWC_TEMP.TXT"));
  EXPECT_EQ(files.Bytes("JWC_TEMP.TXT"), TypicalRunBytes);
}

TEST(AppendOutputLine, KeepsAtMost255Bytes) {
  const std::string a255(255, 'a');
  const struct {
    const char* Name;
    std::string Line;
    std::string Stored;
  } cases[] = {
      {"empty", "", ""},
      {"254 bytes", std::string(254, 'a'), std::string(254, 'a')},
      {"255 bytes", a255, a255},
      {"256 bytes", a255 + "b", a255},
      {"300 bytes", a255 + std::string(45, 'b'), a255},
      // The cut ignores character boundaries: half a double-byte character stays.
      {"double-byte character across the limit", std::string(254, 'a') + "\x82\xa0",
       std::string(254, 'a') + "\x82"},
  };
  for (const auto& c : cases) {
    StartRun();
    AppendOutputLine(c.Line);
    ASSERT_EQ(OutputBuffer.Count(), 1) << c.Name;
    EXPECT_EQ(OutputBuffer[0].View(), c.Stored) << c.Name;
  }
}

TEST(AppendOutputLine, CutLineIsWrittenAsStored) {
  Buffer({std::string(300, 'z'), "0 0 1 0"});
  EXPECT_EQ(RenderExchangeFile(), std::string(255, 'z') + "\r\n0 0 1 0\r\n");
  // A cut that ends just after a quote joins the next line on.
  Buffer({std::string(254, 'q') + "\"tail", "next"});
  EXPECT_EQ(RenderExchangeFile(), std::string(254, 'q') + "\"next\r\n");
}

TEST(AppendOutputLine, GrowsInBlocksOfAThousand) {
  StartRun();
  EXPECT_EQ(OutputBuffer.Count(), 0);
  AppendOutputLine("line 1");
  EXPECT_EQ(OutputBuffer.Capacity(), 1000);
  for (int i = 2; i <= 1000; ++i) {
    std::string line = "line ";
    line += MyFunc::FormatInt(i);
    AppendOutputLine(line);
  }
  EXPECT_EQ(OutputBuffer.Count(), 1000);
  EXPECT_EQ(OutputBuffer.Capacity(), 1000);
  AppendOutputLine("line 1001");
  EXPECT_EQ(OutputBuffer.Count(), 1001);
  EXPECT_EQ(OutputBuffer.Capacity(), 2000);
  EXPECT_EQ(OutputBuffer[0].View(), "line 1");
  EXPECT_EQ(OutputBuffer[999].View(), "line 1000");
  EXPECT_EQ(OutputBuffer[1000].View(), "line 1001");
  for (int i = 1002; i <= 2001; ++i) AppendOutputLine("x");
  EXPECT_EQ(OutputBuffer.Capacity(), 3000);

  // Every line reaches the file, in order, across the block boundaries.
  const std::string bytes = RenderExchangeFile();
  EXPECT_EQ(bytes.substr(0, 8), "line 1\r\n");
  EXPECT_NE(bytes.find("line 1000\r\nline 1001\r\nx\r\n"), std::string::npos);
  EXPECT_EQ(bytes.size(), 9u * 8u + 90u * 9u + 900u * 10u + 2u * 11u + 1000u * 3u);
}

TEST(WriteExchangeFile, EmptyBufferWritesExactlyTheQuitCommand) {
  StartRun();
  TestFiles::MemoryFileLayer files;
  files.Put("JWC_TEMP.TXT", "hs 1 1 1\r\nhp1 0 0\r\nhp2 10 0\r\n");
  TestFiles::ScopedFileLayer use(files);
  EXPECT_TRUE(WriteExchangeFile("JWC_TEMP.TXT"));
  EXPECT_EQ(files.Bytes("JWC_TEMP.TXT"), "hq\r\n");
}

TEST(WriteExchangeFile, LastLineEndingInAQuoteEndsTheFile) {
  Buffer({"0 0 1 0", "ch 1 1 1 0 \""});
  TestFiles::MemoryFileLayer files;
  TestFiles::ScopedFileLayer use(files);
  EXPECT_TRUE(WriteExchangeFile("JWC_TEMP.TXT"));
  EXPECT_EQ(files.Bytes("JWC_TEMP.TXT"), "0 0 1 0\r\nch 1 1 1 0 \"");
}

TEST(WriteExchangeFile, FailuresLeaveNoPartialFile) {
  const std::string previous = "hs 1 1 1\r\nhp1 0 0\r\nhp2 10 0\r\n";
  const struct {
    const char* Name;
    bool FailCreate;
    std::size_t WriteBudget;
    bool FailClose;
    bool FileRemains; // else no file at all
  } cases[] = {
      {"create fails", true, SIZE_MAX, false, true},
      {"write fails at once", false, 0, false, false},
      {"write fails part way", false, 20, false, false},
      {"write fails at the last byte", false, TypicalRunBytes.size() - 1, false, false},
      {"close fails", false, SIZE_MAX, true, false},
  };
  for (const auto& c : cases) {
    EmitTypicalRun();
    TestFiles::MemoryFileLayer files;
    files.Put("JWC_TEMP.TXT", previous);
    files.FailCreate = c.FailCreate;
    files.WriteBudget = c.WriteBudget;
    files.FailClose = c.FailClose;
    TestFiles::ScopedFileLayer use(files);
    EXPECT_FALSE(WriteExchangeFile("JWC_TEMP.TXT")) << c.Name;
    if (c.FileRemains) {
      ASSERT_TRUE(files.Has("JWC_TEMP.TXT")) << c.Name;
      EXPECT_EQ(files.Bytes("JWC_TEMP.TXT"), previous) << c.Name;
    } else {
      EXPECT_FALSE(files.Has("JWC_TEMP.TXT")) << c.Name;
    }
    EXPECT_LE(files.Stored.size(), 1u) << c.Name << ": no other file is made";
  }
}

TEST(WriteExchangeFile, RealFileIsReplacedByteForByte) {
  TestFiles::TempFolder folder;
  const auto path = folder / "JWC_TEMP.TXT";
  TestFiles::WriteFileBytes(path, std::string(5000, 'o') + "\r\n");

  StartRun();
  ASSERT_TRUE(WriteExchangeFile(path));
  EXPECT_EQ(TestFiles::ReadFileBytes(path), "hq\r\n") << "an existing longer file is emptied";

  EmitTypicalRun();
  ASSERT_TRUE(WriteExchangeFile(path));
  EXPECT_EQ(TestFiles::ReadFileBytes(path), TypicalRunBytes) << "line ends are written as given";
  EXPECT_EQ(TestFiles::FolderEntries(folder.Path()), std::vector<std::string>{"JWC_TEMP.TXT"});
}

TEST(WriteExchangeFile, MissingFolderFailsAndCreatesNothing) {
  TestFiles::TempFolder folder;
  EmitTypicalRun();
  EXPECT_FALSE(WriteExchangeFile(folder / "missing" / "JWC_TEMP.TXT"));
  EXPECT_TRUE(TestFiles::FolderEntries(folder.Path()).empty());
}

} // namespace
