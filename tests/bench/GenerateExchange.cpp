#include "GenerateExchange.h"

#include <array>
#include <cmath>
#include <string_view>
#include <utility>
#include <vector>

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

namespace {

// A selected line as the host writes it: four numbers and the line end.
void AppendLineRecord(std::string& out, const MyFunc::Point& a, const MyFunc::Point& b) {
  MyFunc::AppendReal(out, a.X);
  out += ' ';
  MyFunc::AppendReal(out, a.Y);
  out += ' ';
  MyFunc::AppendReal(out, b.X);
  out += ' ';
  MyFunc::AppendReal(out, b.Y);
  out += LineEnd;
}

// Room widths of a timber-frame plan (multiples of 910 and 455), one of
// them off the half-millimetre grid as a computed point would be.
constexpr std::array<double, 5> RoomWidths = {2730.0, 3640.0, 4550.0, 1820.0, 3185.25};

class PlanGenerator {
 public:
  PlanGenerator(std::int64_t segments, std::uint32_t seed) : random_(seed), left_(segments) {
    // About two walls per room; a few more rooms than that make up for the
    // missing walls, and the writing stops at the count anyway.
    const double rooms = static_cast<double>(segments) / 1.6;
    side_ = static_cast<int>(std::sqrt(rooms)) + 2;
    xs_ = Positions();
    ys_ = Positions();
  }

  void Write(std::string& out) {
    out += "hk 0";
    out += LineEnd;
    out += "hs";
    for (int i = 0; i < 16; ++i) out += " 100";
    out += LineEnd;
    for (std::string_view record : {"lg2", "ly5", "lc2", "lt1", "lw0"}) {
      out += record;
      out += LineEnd;
    }
    // Row by row: the walls along grid line j, then those across to line
    // j + 1, so that a file cut short still holds whole rooms.
    for (int j = 0; j <= side_ && left_ > 0; ++j) {
      GridLine(out, j, true);
      if (j < side_) GridLine(out, j, false);
    }
  }

 private:
  std::vector<double> Positions() {
    std::vector<double> v{0.0};
    for (int i = 0; i < side_; ++i) v.push_back(v.back() + RoomWidths[random_.Below(5)]);
    return v;
  }

  // The wall between grid points (i, j) and (i + 1, j) when along, else
  // between (j, i) and (j, i + 1) in (column, row) terms. Walls on the
  // outline are always there; inside, a twelfth are left out.
  bool Present(int i, int j, bool along) {
    const bool outline = along ? (j == 0 || j == side_) : (i == 0 || i == side_);
    return outline || random_.Below(12) != 0;
  }

  MyFunc::Point At(int i, int j, bool along, double t) const {
    // along: i runs over columns on row j; across: i is a column, j a row.
    if (along) return {xs_[i] + t * (xs_[i + 1] - xs_[i]), ys_[j]};
    return {xs_[i], ys_[j] + t * (ys_[j + 1] - ys_[j])};
  }

  void Segment(std::string& out, MyFunc::Point a, MyFunc::Point b) {
    if (left_ <= 0) return;
    if (random_.Below(5) == 0) std::swap(a, b);
    AppendLineRecord(out, a, b);
    --left_;
  }

  // One grid line's walls: along row j (columns 0..side-1), or across from
  // row j to j + 1 at every column.
  void GridLine(std::string& out, int j, bool along) {
    if (random_.Below(8) == 0) {
      out += "lc";
      MyFunc::AppendInt(out, 1 + random_.Below(9));
      out += LineEnd;
    }
    const int count = along ? side_ : side_ + 1;
    int run = 0; // walls still to draw as one line with the current one
    MyFunc::Point start{};
    MyFunc::Point end{};
    for (int col = 0; col < count && left_ > 0; ++col) {
      if (!Present(col, j, along)) {
        if (run > 0) Segment(out, start, end);
        run = 0;
        continue;
      }
      const MyFunc::Point a = along ? At(col, j, true, 0.0) : At(col, j, false, 0.0);
      const MyFunc::Point b = along ? At(col, j, true, 1.0) : At(col, j, false, 1.0);
      if (along && run > 0) {
        // A wall drawn whole across several rooms: the walls across it meet
        // it in its middle.
        end = b;
        if (--run == 0) Segment(out, start, b);
        continue;
      }
      if (along && random_.Below(4) == 0) {
        start = a;
        end = b;
        run = static_cast<int>(random_.Below(4));
        if (run == 0) Segment(out, a, b);
        continue;
      }
      if (random_.Below(16) == 0) {
        // Drawn as two lines, with a short wall from the joint into a room.
        const MyFunc::Point m = along ? At(col, j, true, 0.5) : At(col, j, false, 0.5);
        Segment(out, a, m);
        Segment(out, m, b);
        const double reach = 0.4 * (along ? ys_[std::min(j + 1, side_)] - ys_[j]
                                          : xs_[std::min(col + 1, side_)] - xs_[col]);
        if (reach > 0.0) {
          Segment(out, m,
                  along ? MyFunc::Point{m.X, m.Y + reach} : MyFunc::Point{m.X + reach, m.Y});
        }
      } else {
        Segment(out, a, b);
      }
      if (!along && col < side_ && random_.Below(40) == 0) Room(out, col, j);
    }
    if (run > 0) Segment(out, start, end);
  }

  // The room with its lower left corner at grid point (i, j) traced again
  // clockwise as a closed polyline over its walls.
  void Room(std::string& out, int i, int j) {
    if (left_ <= 0) return;
    out += "pl";
    out += LineEnd;
    const MyFunc::Point p[] = {
        {xs_[i], ys_[j]}, {xs_[i], ys_[j + 1]}, {xs_[i + 1], ys_[j + 1]}, {xs_[i + 1], ys_[j]}};
    for (int k = 0; k < 4 && left_ > 0; ++k) {
      const MyFunc::Point& a = p[k];
      const MyFunc::Point& b = p[(k + 1) % 4];
      AppendLineRecord(out, a, b);
      --left_;
    }
    out += "#";
    out += LineEnd;
  }

  Random random_;
  std::int64_t left_;
  int side_ = 0;
  std::vector<double> xs_;
  std::vector<double> ys_;
};

} // namespace

std::string PlanExchange(std::int64_t segments, std::uint32_t seed) {
  std::string out;
  PlanGenerator(segments, seed).Write(out);
  return out;
}

} // namespace ExchangeBench
