// Exchange files no host writes, through the whole unattended run: the run
// must end, and the file it leaves must hold only commands and finite line
// records that the host can carry out.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "RobustSupport.h"
#include "tests/support/SplitMix.h"

namespace {

using Robust::OutputSummary;
using Robust::RunUnattended;
using Robust::SaneOutput;
using Robust::TempFolder;
using Robust::WriteFileBytes;

constexpr std::size_t MiB = 1024 * 1024;

using Random = TestSupport::SplitMix;

std::string RandomBytes(std::size_t size, std::uint64_t seed) {
  Random random(seed);
  std::string bytes(size, '\0');
  for (char& b : bytes) b = static_cast<char>(random.Next() & 0xFF);
  return bytes;
}

// Random bytes drawn from the characters records are made of, so that many
// lines look almost like records.
std::string RecordLikeBytes(std::size_t size, std::uint64_t seed) {
  static constexpr std::string_view Alphabet = "hplgycwtsnz0123456789.-+eE $x\"=\r\n\t\x82\xA0";
  Random random(seed);
  std::string bytes(size, '\0');
  for (char& b : bytes) b = Alphabet[static_cast<std::size_t>(random.Next() % Alphabet.size())];
  return bytes;
}

const std::string LPath = "hp1 0 0\r\nhp2 100 0\r\nhp3 100 100\r\n";

std::string ManyPickedPoints(int records) {
  std::string out;
  Random random(7);
  for (int i = 0; i < records; ++i) {
    out += "hp";
    MyFunc::AppendInt(out, 1 + i % 99);
    out += ' ';
    MyFunc::AppendInt(out, static_cast<std::int64_t>(random.Next() % 20000) - 10000);
    out += ' ';
    MyFunc::AppendInt(out, static_cast<std::int64_t>(random.Next() % 20000) - 10000);
    out += "\r\n";
  }
  return out;
}

struct HostileCase {
  const char* Name;
  std::string Bytes;
};

std::vector<HostileCase> HostileFiles() {
  std::vector<HostileCase> cases;
  cases.push_back({"random bytes", RandomBytes(MiB, 1)});
  cases.push_back({"record-like random bytes", RecordLikeBytes(MiB, 2)});
  cases.push_back({"one 10 MB line", std::string(10 * MiB, 'x')});
  cases.push_back({"10 MB of tokens on one line", "hs" + std::string(5 * MiB, ' ') + [] {
                     std::string t;
                     for (std::size_t i = 0; i < MiB; ++i) {
                       t += "1 ";
                     }
                     return t;
                   }()});
  cases.push_back({"10 MB quoted text", "ch 0 0 1 0 \"" + std::string(10 * MiB, '\x82')});
  cases.push_back({"NUL bytes only", std::string(MiB, '\0')});
  static constexpr char NulRecords[] = "hp1\0 0 0\r\nhp2 1\0 0\r\nhs\0 1\r\n\0\0\0\r\n";
  cases.push_back(
      {"NUL bytes inside records", std::string(NulRecords, sizeof(NulRecords) - 1) + LPath});
  cases.push_back({"100,000 hp records", ManyPickedPoints(100000)});
  cases.push_back({"32-bit overflowing numbers",
                   "lg99999999999\r\nly-2147483649\r\nlc2147483648\r\nlt4294967296\r\n"
                   "lw99999999999\r\ncn2147483648\r\ncc2147483648\r\nhp4294967297 5 5\r\n"
                   "hp-4294967295 5 5\r\nhp1 99999999999999999999 2147483648\r\n"
                   "hp2 -99999999999999999999 -2147483649\r\nhp3 1 4294967296\r\n"
                   "hs 4294967296 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\r\n"});
  cases.push_back({"1e400, nan and inf as coordinates",
                   "hp1 1e400 nan\r\nhp2 inf -inf\r\nhp3 NaN INF\r\nhp4 -1e400 1e-400\r\n"
                   "hp5 Infinity 0x1p3\r\nhp6 100 100\r\n1e400 nan inf 1\r\n"});
  cases.push_back(
      {"coordinates that overflow once shifted",
       "hp1 1e308 -1e308\r\nhp2 -1e308 1e308\r\nhp3 1e308 1e308\r\nhp4 4.9e-324 0\r\n"});
  cases.push_back({"scales that overflow paper units",
                   "hs 1e308 1e308 1e308 1e308 1e308 1e308 1e308 1e308 1e308 1e308 1e308 1e308 "
                   "1e308 1e308 1e308 1e308\r\n" +
                       LPath});
  cases.push_back({"Ctrl-Z, lone lead bytes and bare CRs",
                   "hp1 0 0\r\n\x82\r\nhp2\r100\r0\r\n\x1a" + std::string("hp3 5 5\r\n")});
  return cases;
}

TEST(HostileExchangeFile, RunEndsWithOnlyFiniteCommandsInTheFile) {
  const Settings::TLineTable preset = Robust::HostilePreset();
  for (const HostileCase& c : HostileFiles()) {
    SCOPED_TRACE(c.Name);
    TempFolder folder("exchange");
    ASSERT_TRUE(WriteFileBytes(folder.Path() / "JWC_TEMP.TXT", c.Bytes));
    const std::string output = RunUnattended(folder.Path(), preset);
    EXPECT_TRUE(SaneOutput(output, nullptr));
  }
}

// Whatever a bad line holds, the lines after it are still read.
TEST(HostileExchangeFile, GoodRecordsAfterBadLinesAreStillRead) {
  const struct {
    const char* Name;
    std::string Before;
  } cases[] = {
      {"a 10 MB line", std::string(10 * MiB, 'y') + "\r\n"},
      {"a 10 MB line ended by LF alone", std::string(10 * MiB, '7') + "\n"},
      {"NUL bytes", std::string(4096, '\0') + "\r\n"},
      {"random bytes on a line",
       [] {
         std::string bytes = RandomBytes(64 * 1024, 3);
         for (char& b : bytes) {
           if (b == '\n' || b == '\x1a') b = 'q';
         }
         return bytes + "\r\n";
       }()},
      {"a line of 40 tokens",
       [] {
         std::string line;
         for (int i = 0; i < 40; ++i) line += "hp1 ";
         return line + "\r\n";
       }()},
  };
  Settings::TLineTable preset;
  preset.Row(1).Enabled = true;
  preset.Row(1).Interval = 10;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TempFolder folder("after");
    ASSERT_TRUE(
        WriteFileBytes(folder.Path() / "JWC_TEMP.TXT", c.Before + "lg3\r\nly4\r\n" + LPath));
    EXPECT_TRUE(Robust::DrawsRecords(RunUnattended(folder.Path(), preset),
                                     {"lg3", "ly4", "lc1", "lt1"},
                                     {{0, 10, 90, 10}, {90, 10, 90, 100}}));
  }
}

// Each point number is given about a thousand times; the last one counts.
TEST(HostileExchangeFile, HundredThousandPickedPointsKeepTheLastOfEachNumber) {
  TempFolder folder("points");
  ASSERT_TRUE(WriteFileBytes(folder.Path() / "JWC_TEMP.TXT", ManyPickedPoints(100000)));
  Settings::TLineTable preset;
  preset.Row(1).Enabled = true;
  preset.Row(1).Interval = 1;
  OutputSummary summary;
  ASSERT_TRUE(SaneOutput(RunUnattended(folder.Path(), preset), &summary));
  EXPECT_EQ(ZizAvodi::Exchange.PickedCount, 100000);
  // 99 points, 98 segments; a chamfer of 0 adds no visible line.
  EXPECT_EQ(summary.LineRecords, 98);
}

// Non-numbers read as 0, so the path is made of the numbers that did read.
TEST(HostileExchangeFile, UnreadableCoordinatesCountAsZero) {
  TempFolder folder("zero");
  ASSERT_TRUE(WriteFileBytes(folder.Path() / "JWC_TEMP.TXT",
                             "hp1 1e400 nan\r\nhp2 100 inf\r\nhp3 100 100\r\n"));
  Settings::TLineTable preset;
  preset.Row(1).Enabled = true;
  preset.Row(1).Interval = 10;
  EXPECT_TRUE(Robust::DrawsRecords(RunUnattended(folder.Path(), preset),
                                   {"lg0", "ly0", "lc1", "lt1"},
                                   {{0, 10, 90, 10}, {90, 10, 90, 100}}));
}

// The largest doubles write, with 15 digits, as 1.79769313486232E308, which
// lies above the largest double: read back, that is infinite (or 0 with the
// tolerant reading), so such a number must not reach the host.
TEST(HostileExchangeFile, NoNumberBeyondTheLargestDoubleIsWritten) {
  const struct {
    const char* Name;
    std::string Bytes;
  } cases[] = {
      {"picked point at the largest double", "hp1 1.7976931348623157e308 0\r\nhp2 0 0\r\n"},
      {"picked points at the limits",
       "hp1 1.7976931348623157e308 -1.7976931348623157e308\r\n"
       "hp2 -1.7976931348623157e308 1.7976931348623157e308\r\n"},
  };
  Settings::TLineTable preset;
  preset.Row(1).Enabled = true;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TempFolder folder("limit");
    ASSERT_TRUE(WriteFileBytes(folder.Path() / "JWC_TEMP.TXT", c.Bytes));
    EXPECT_TRUE(SaneOutput(RunUnattended(folder.Path(), preset), nullptr));
  }
}

} // namespace
