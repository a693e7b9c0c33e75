// Reading a whole file: line ends, Ctrl-Z, chunk boundaries, failures part
// way, and hostile input that must neither crash nor hang.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "ExchangeFixture.h"
#include "tests/support/TestFiles.h"

using namespace ZizAvodi;
using namespace std::string_literals;
namespace fs = std::filesystem;

namespace {

const ExchangeState& S = Exchange;

// A file in a fresh temp folder, removed with the folder.
class TempFile {
 public:
  explicit TempFile(const std::string& bytes) { TestFiles::WriteFileBytes(Path(), bytes); }
  fs::path Path() const { return folder_ / "JWC_TEMP.TXT"; }

 private:
  TestFiles::TempFolder folder_{"read"};
};

// JWC_TEMP.TXT in memory, served in pieces of a given size.
TestFiles::MemoryFileLayer PieceFiles(const std::string& bytes, std::size_t piece) {
  TestFiles::MemoryFileLayer files;
  files.Put("JWC_TEMP.TXT", bytes);
  files.ReadChunk = piece;
  return files;
}

// The parts of the state that tell two reads apart.
std::vector<double> Summary() {
  std::vector<double> out = {
      double(S.Lines.Count()),          double(S.Circles.Count()),   double(S.Arcs.Count()),
      double(S.Texts.Count()),          double(S.MsgTexts.Count()),  double(S.Solids4.Count()),
      double(S.EntityOrder.Count()),    double(S.PickedCount),       double(S.CurLayerGroup),
      double(S.DrawingFileName.size()), double(S.CurFontName.size())};
  for (int i = 0; i < S.Lines.Count(); ++i) out.insert(out.end(), {S.Lines[i].X1, S.Lines[i].Y2});
  for (int i = 0; i < S.Texts.Count(); ++i) {
    for (char c : S.Texts[i].Text.View()) out.push_back(static_cast<unsigned char>(c));
  }
  return out;
}

const std::string SampleFile =
    "file=C:\\jww\\a b.jww\r\nhk 1\r\nlg2\r\nhp1 0 0\r\nhp2 10 0\r\n1 2 3 4\r\nci 0 0 5\r\n"
    "cn\"$<font name>\r\nch 0 0 1 0 \"\x93\xfa\x96\x7b \x8c\xea\r\n"
    "sl 0 0 1 0 1 1 0 1\r\npl\r\n5 6 7 8\r\n9 10 11 12";

using ReadExchangeFileTest = ExchangeTest;

TEST_F(ReadExchangeFileTest, SplitsLinesAtLfAndDropsEveryCr) {
  const TempFile file(
      "1 2 3 4\r\n5 6 7 8\n9\r1 10 11 12\r\r\n\r\n"
      "ch 0 0 1 0 \"\x82\r\xa0 \r\nci 0 0 5");
  EXPECT_TRUE(ReadExchangeFile(file.Path()));
  ASSERT_EQ(S.Lines.Count(), 3);
  EXPECT_EQ(S.Lines[1].Y2, 8.0);
  EXPECT_EQ(S.Lines[2].X1, 91.0); // a lone CR does not end the line
  ASSERT_EQ(S.Texts.Count(), 1);
  EXPECT_EQ(S.Texts[0].Text.View(), "\x82\xa0 "); // the pair stays whole
  EXPECT_EQ(S.Circles.Count(), 1);                // last line without a line end
}

TEST_F(ReadExchangeFileTest, CtrlZAtALineStartEndsTheFile) {
  const TempFile ended(
      "1 2 3 4\n\x1A"
      "5 6 7 8\n");
  EXPECT_TRUE(ReadExchangeFile(ended.Path()));
  EXPECT_EQ(S.Lines.Count(), 1);

  ResetExchangeState();
  const TempFile inside("1 2 3 4\x1A\n5 6 7 8\n");
  EXPECT_TRUE(ReadExchangeFile(inside.Path()));
  EXPECT_EQ(S.Lines.Count(), 2);
}

TEST_F(ReadExchangeFileTest, MissingFileLeavesTheStateAlone) {
  Exchange.HkValue = 7.0;
  EXPECT_FALSE(ReadExchangeFile(fs::temp_directory_path() / "vomurel-no-such-dir" / "X.TXT"));
  EXPECT_EQ(S.HkValue, 7.0);
  EXPECT_EQ(S.EntityOrder.Count(), 0);
}

TEST_F(ReadExchangeFileTest, ChunkBoundariesDoNotChangeWhatIsRead) {
  ReadExchangeBytes(SampleFile);
  const std::vector<double> expected = Summary();
  ASSERT_EQ(S.Lines.Count(), 3);
  ASSERT_EQ(S.DrawingFileName, "C:\\jww\\a b.jww");
  for (std::size_t piece : {1u, 2u, 3u, 7u, 64u}) {
    ResetExchangeState();
    TestFiles::MemoryFileLayer files = PieceFiles(SampleFile, piece);
    const TestFiles::ScopedFileLayer use(files);
    EXPECT_TRUE(ReadExchangeFile("JWC_TEMP.TXT"));
    EXPECT_EQ(Summary(), expected) << "pieces of " << piece;
  }
}

TEST_F(ReadExchangeFileTest, FailurePartWayKeepsTheCompleteLines) {
  const std::string bytes = "1 2 3 4\n5 6 7 8\n9 9 9 9\n";
  using Failure = TestFiles::MemoryFileLayer::ReadFailure;
  for (auto failure : {Failure::IoError, Failure::OutOfMemory}) {
    ResetExchangeState();
    TestFiles::MemoryFileLayer files = PieceFiles(bytes, 4);
    files.ReadBudget = 20; // fails inside the third line
    files.FailReadWith = failure;
    const TestFiles::ScopedFileLayer use(files);
    EXPECT_FALSE(ReadExchangeFile("JWC_TEMP.TXT"));
    ASSERT_EQ(S.Lines.Count(), 2);
    EXPECT_EQ(S.Lines[1].X1, 5.0);
  }
}

using HostileInput = ExchangeTest;

TEST_F(HostileInput, OddBytesStayInsideTheirLine) {
  ReadExchangeBytes(
      "1 2\0 3 4\n"s          // NUL dropped
      "5 6 7 8\x82\r\n"       // half a character at the line end
      "ci 0 0 1\x82\n"        // the same without CR
      "\xff\xfe 9 9 9 9\n"s); // dropped bytes before a separator
  ASSERT_EQ(S.Lines.Count(), 3);
  EXPECT_EQ(S.Lines[0].Y1, 2.0);
  EXPECT_EQ(S.Lines[1].Y2, 8.0);
  EXPECT_EQ(S.Lines[2].X1, 9.0);
  EXPECT_EQ(S.Circles.Count(), 1);
}

TEST_F(HostileInput, TenThousandTokensUseThirtyTwoSlots) {
  std::string line = "ci";
  for (int i = 1; i <= 10000; ++i) {
    line += ' ';
    line += std::to_string(i);
  }
  ReadExchangeBytes(line);
  ASSERT_EQ(S.Arcs.Count(), 1);
  EXPECT_EQ(S.Arcs[0].N7, 7.0);
}

TEST_F(HostileInput, TenMegabyteLinesFromAFile) {
  std::string line(10 << 20, '7');
  for (std::size_t i = 1; i < line.size(); i += 3) line[i] = ' ';
  const TempFile file("file=" + line + "\r\nch 0 0 1 0 \"" + line + "\r\n1 2 3 4\r\n" + line);
  EXPECT_TRUE(ReadExchangeFile(file.Path()));
  EXPECT_EQ(S.DrawingFileName.size(), line.size());
  ASSERT_EQ(S.Texts.Count(), 1);
  EXPECT_EQ(S.Texts[0].Text.View(), line.substr(0, 255));
  EXPECT_EQ(S.Lines.Count(), 1); // the line after the long ones is whole
}

TEST_F(HostileInput, RandomBytesAndRandomRecordsNeverCrash) {
  std::mt19937 random(12345);
  std::string bytes(1 << 20, '\0');
  for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
  ReadExchangeBytes(bytes);

  // Fragments of real records in random order reach far more of the rules.
  const char* fragments[] = {
      "hp", "hhp", "lg",   "ly", "lgn",  "cn",    "cn$",        "cc",    "ci",   "sl",
      "ch", "cs",  "msg",  "pl", "#",    "BL",    "z1",         "file=", "ln",   "-",
      "1",  "9e9", ".5",   " ",  " ",    "\t",    "\"",         "=",     "\x82", "\x82\xa0",
      "\r", "\n",  "\x1A", "\0", "\xff", "1e400", "99999999999"};
  bytes.clear();
  for (int i = 0; i < 200000; ++i) {
    const char* f = fragments[random() % std::size(fragments)];
    bytes.append(f, f[0] == '\0' ? 1 : std::char_traits<char>::length(f));
  }
  for (std::size_t piece : {std::size_t{5}, bytes.size()}) {
    ResetExchangeState();
    TestFiles::MemoryFileLayer files = PieceFiles(bytes, piece);
    const TestFiles::ScopedFileLayer use(files);
    EXPECT_TRUE(ReadExchangeFile("JWC_TEMP.TXT"));
    for (int i = 0; i < S.EntityOrder.Count(); ++i) {
      EXPECT_GE(S.EntityOrder[i].Kind, KindLine);
      EXPECT_LE(S.EntityOrder[i].Kind, KindSg);
    }
  }
}

} // namespace
