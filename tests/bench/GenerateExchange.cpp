#include "GenerateExchange.h"

#include <array>
#include <string_view>

#include "common/FileLayer.h"
#include "common/MyFunc.h"
#include "tests/support/SplitMix.h"

namespace ExchangeBench {

namespace {

// Japanese words in Shift-JIS as they turn up in drawings: plan, section,
// wall centre, stairs, dimension, grid line, half-width katakana.
constexpr std::array<std::string_view, 8> Words = {
    "\x95\xbd\x96\xca\x90\x7d", "\x92\x66\x96\xca\x90\x7d", "\x95\xc7\x90\x53",
    "\x8a\x4b\x92\x69",         "\x90\xa1\x96\x40",         "\x92\xca\x82\xe8\x90\x53",
    "\xb6\xb2\xc0\xde\xdd",     "\x81\x40\x87\x40"};

constexpr std::string_view TextKinds[] = {"ch", "ch", "ch", "cv", "cs", "cr", "c2"};

constexpr std::string_view LineEnd = "\r\n";

using Random = TestSupport::SplitMix;

class Generator {
 public:
  explicit Generator(std::uint32_t seed) : random_(seed) {}

  void Header(std::string& out) {
    out += "file=C:\\jww\\";
    out += Words[0];
    out += " 1F.jww";
    out += LineEnd;
    out += "hk 0";
    out += LineEnd;
    out += "hs";
    for (int i = 0; i < 16; ++i) out += i < 8 ? " 100" : " 50";
    out += LineEnd;
    out += "hzs 841 594";
    out += LineEnd;
    for (std::string_view key : {"hcw", "hch", "hcd", "hcc"}) {
      out += key;
      for (int i = 1; i <= 10; ++i) {
        out += ' ';
        MyFunc::AppendInt(out, key == "hcd" ? 0 : i + 1);
      }
      out += LineEnd;
    }
    for (int g = 0; g < 16; ++g) {
      Attribute(out, "lg", "0123456789abcdef"[g]);
      out += "lgn";
      out += Words[static_cast<std::size_t>(g) % Words.size()];
      out += LineEnd;
    }
    out += "cn\"$<\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e>";
    out += LineEnd;
    for (int i = 1; i <= 3; ++i) {
      out += "hp";
      MyFunc::AppendInt(out, i);
      out += ' ';
      Coordinate(out);
      out += ' ';
      Coordinate(out);
      out += LineEnd;
    }
  }

  // One record; the mix follows what a drawing of walls, fittings and
  // annotations gives.
  void Record(std::string& out) {
    const std::uint32_t pick = random_.Below(100);
    if (pick < 55) {
      Numbers(out, "", 4);
    } else if (pick < 63) {
      Numbers(out, "ci", 3);
    } else if (pick < 65) {
      Numbers(out, "ci", 7);
    } else if (pick < 75) {
      Text(out);
    } else if (pick < 80) {
      Attribute(out, "lg", "0123456789abcdef"[random_.Below(16)]);
    } else if (pick < 85) {
      Attribute(out, "ly", "0123456789abcdef"[random_.Below(16)]);
    } else if (pick < 89) {
      Attribute(out, "lc", static_cast<char>('1' + random_.Below(9)));
    } else if (pick < 92) {
      Attribute(out, "lt", static_cast<char>('1' + random_.Below(9)));
    } else if (pick < 94) {
      Attribute(out, "lw", static_cast<char>('0' + random_.Below(4)));
    } else if (pick < 95) {
      Numbers(out, "pt", 2);
    } else if (pick < 96) {
      Numbers(out, "sl", 8);
    } else if (pick < 97) {
      out += random_.Below(2) == 0 ? "pl" : "#";
      out += LineEnd;
    } else if (pick < 98) {
      out += "z1";
      out += LineEnd;
    } else if (pick < 99) {
      out += "cn";
      MyFunc::AppendInt(out, random_.Below(11));
      out += LineEnd;
    } else {
      out += "BL ";
      Coordinate(out);
      out += ' ';
      Coordinate(out);
      out += " block";
      MyFunc::AppendInt(out, random_.Below(50));
      out += LineEnd;
    }
  }

 private:
  // Drawing coordinates in millimetres: snapped points with three decimals,
  // and computed ones (intersections, offsets) at full precision.
  void Coordinate(std::string& out) {
    const double snapped = static_cast<double>(random_.Below(60000000)) / 1000.0 - 30000.0;
    if (random_.Below(3) == 0) {
      MyFunc::AppendReal(out, snapped);
    } else {
      MyFunc::AppendReal(out, snapped + static_cast<double>(random_.Below(1000000)) / 1.0e9);
    }
  }

  void Numbers(std::string& out, std::string_view keyword, int count) {
    out += keyword;
    for (int i = 0; i < count; ++i) {
      if (i > 0 || !keyword.empty()) out += ' ';
      Coordinate(out);
    }
    out += LineEnd;
  }

  void Attribute(std::string& out, std::string_view keyword, char value) {
    out += keyword;
    out += value;
    out += LineEnd;
  }

  void Text(std::string& out) {
    out += TextKinds[random_.Below(std::size(TextKinds))];
    out += ' ';
    Coordinate(out);
    out += ' ';
    Coordinate(out);
    out += random_.Below(4) == 0 ? " 0 1 \"" : " 1 0 \"";
    const std::uint32_t words = 1 + random_.Below(3);
    for (std::uint32_t i = 0; i < words; ++i) {
      if (i > 0) out += ' ';
      out += Words[random_.Below(Words.size())];
    }
    if (random_.Below(2) == 0) {
      out += " S=1:";
      MyFunc::AppendInt(out, 50 * (1 + random_.Below(4)));
    }
    out += LineEnd;
  }

  Random random_;
};

// Pieces written at a time: the generator's memory stays this small.
constexpr std::size_t FlushSize = std::size_t{1} << 20;

} // namespace

GeneratedFile AppendExchangeRecords(std::string& out, std::uint64_t targetBytes,
                                    std::uint32_t seed) {
  Generator generator(seed);
  const std::size_t start = out.size();
  GeneratedFile result;
  generator.Header(out);
  while (out.size() - start < targetBytes) {
    generator.Record(out);
    ++result.Records;
  }
  result.Bytes = out.size() - start;
  return result;
}

bool GenerateExchangeFile(const std::filesystem::path& path, std::uint64_t targetBytes,
                          std::uint32_t seed, GeneratedFile& result) {
  result = {};
  const std::unique_ptr<Files::OutFile> file = Files::Current().Create(path);
  if (file == nullptr) return false;
  Generator generator(seed);
  std::string piece;
  piece.reserve(FlushSize + 4096);
  generator.Header(piece);
  while (result.Bytes + piece.size() < targetBytes) {
    generator.Record(piece);
    ++result.Records;
    if (piece.size() >= FlushSize) {
      if (!file->Write(piece.data(), piece.size())) return false;
      result.Bytes += piece.size();
      piece.clear();
    }
  }
  if (!file->Write(piece.data(), piece.size())) return false;
  result.Bytes += piece.size();
  return file->Close();
}

} // namespace ExchangeBench
