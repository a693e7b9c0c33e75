/*
 * Reader of JWC_TEMP.TXT as the host writes it.
 *
 * The file is Shift-JIS text, one record per line:
 *
 *   file      := line* [ Ctrl-Z anything ]
 *   line      := byte* ( LF | CR LF | end of file )
 *
 * A CR anywhere else in a line is dropped and the line goes on; a Ctrl-Z
 * (0x1A) where a line would begin ends the file; lines have no length limit.
 *
 * A line splits into at most 32 tokens t0..t31. Walking its bytes:
 *   - a lead byte (0x80-0x9F, 0xE0-0xFD) and the byte after it join the
 *     token as a pair, whatever that byte is; a lead byte ending the line is
 *     dropped;
 *   - the first '"' is dropped and opens quotes, which never close: from there
 *     on blanks are part of the token and a later '"' is an ordinary byte;
 *   - '=' joins the token and opens quotes as '"' does ("file=C:\a b.jww"
 *     stays one token);
 *   - outside quotes, blanks and tabs separate tokens (a run counts once);
 *   - other bytes 0x20-0xFD join the token; control bytes (tabs inside
 *     quotes among them), 0xFE and 0xFF are dropped.
 * A separator after a non-empty token opens the next slot, so a line ending
 * in blanks has an empty last token, and that token counts. Tokens past the
 * 32nd are dropped: no record reads beyond t16.
 *
 * t0 alone chooses the record, by the first row of the rule table below whose
 * keyword test (equals, starts, contains) and token count both hold. A row
 * whose keyword matches but whose count does not lets the search go on, so
 * "hs 1 2 3" ends as a plain line from (0, 1) to (2, 3). Records:
 *
 *   file=PATH                    drawing file name
 *   hk R | hs R*16 | hzs W H     header: scale value, layer group scales, paper
 *   hcw|hch|hcd R*10, hcc I*10   text size table columns
 *   bz | hn R*4                  header flag and values
 *   lgnNAME | lynNAME            name of the current layer group / layer
 *   lgX [I] | lyX [I]            layer group / layer, X one hex digit
 *   lcI [I] | ltI | lwI          pen colour (colour 10 with a value), type, width
 *   cn$FONT | cnI [W H S C]      font; text size (free size when I is 0)
 *   ccD                          text colour 0-8
 *   z1..z5 | hhpN[ln|ci|ch]      flags and number for the next element
 *   pnI | pl | msg | #           point colour; polyline, message mode, end
 *   hpN[-|ln|ci|ch] X Y          picked point 1-99
 *   ci X Y R | ci R*7            circle, arc
 *   ch|cv|cs|cr|co|cp|ct|ck|cz|c2 X Y DX DY "TEXT
 *   pt X Y | pt R*4 I            point, point with values
 *   BL X Y NAME                  block
 *   sl R*4 | sl R*6 | sl R*8     solid of 2, 3 or 4 points (coinciding corners
 *                                reduce it)
 *   sc|se R*7 I | so|sg R*8      elements of seven reals and an integer, or eight reals
 *   X1 Y1 X2 Y2                  plain line (any t0 no other row took)
 *
 * Numbers are read tolerantly: anything that is not one complete number is 0.
 * Nothing is rejected; a line that no row takes is skipped.
 */
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <exception>
#include <memory>
#include <vector>

#include "common/FileLayer.h"
#include "common/MyFunc.h"
#include "common/Tolerances.h"
#include "exchange/ZizAvodi.h"

namespace ZizAvodi {

namespace {

// ---- Tokenizer ---------------------------------------------------------------

enum ByteClass : std::uint8_t {
  ByteKeep,
  ByteLead,
  ByteQuote,
  ByteEquals,
  ByteSpace,
  ByteTab,
  ByteDrop
};

constexpr std::array<std::uint8_t, 256> MakeByteClasses() {
  std::array<std::uint8_t, 256> classes{};
  for (int b = 0; b < 256; ++b) {
    std::uint8_t c = ByteKeep;
    if (MyFunc::IsLeadByte(static_cast<unsigned char>(b))) {
      c = ByteLead;
    } else if (b == '"') {
      c = ByteQuote;
    } else if (b == '=') {
      c = ByteEquals;
    } else if (b == ' ') {
      c = ByteSpace;
    } else if (b == '\t') {
      c = ByteTab;
    } else if (b < 0x20 || b > 0xFD) {
      c = ByteDrop;
    }
    classes[static_cast<std::size_t>(b)] = c;
  }
  return classes;
}

constexpr std::array<std::uint8_t, 256> ByteClasses = MakeByteClasses();

// Returns the first position from i on whose byte is not plain ASCII
// (0x21-0x7E other than '"' and '='), or n. Eight bytes at a time: numbers
// and keywords, most of every file, are such runs.
std::size_t PlainRunEnd(const unsigned char* in, std::size_t i, std::size_t n) {
  if constexpr (std::endian::native == std::endian::little) {
    constexpr std::uint64_t Ones = 0x0101010101010101ull;
    constexpr std::uint64_t High = 0x8080808080808080ull;
    while (n - i >= 8) {
      std::uint64_t x;
      std::memcpy(&x, in + i, 8);
      // Each term flags at least the lowest byte of its kind correctly,
      // which is all the count of trailing zeros below needs.
      const std::uint64_t control = (x - Ones * 0x21) & ~x;
      const std::uint64_t upper = (x + Ones) | x;
      const std::uint64_t quote = x ^ (Ones * '"');
      const std::uint64_t equals = x ^ (Ones * '=');
      const std::uint64_t stop =
          (control | upper | ((quote - Ones) & ~quote) | ((equals - Ones) & ~equals)) & High;
      if (stop != 0) return i + static_cast<std::size_t>(std::countr_zero(stop) / 8);
      i += 8;
    }
  }
  while (i < n && in[i] > 0x20 && in[i] < 0x7F && in[i] != '"' && in[i] != '=') ++i;
  return i;
}

// ---- Values of a line ----------------------------------------------------------

std::string_view Slot(const TokenizedLine& line, int i) {
  return line.Slots[static_cast<std::size_t>(i)];
}
// Exact doubles: every power of ten up to 1e22.
constexpr double PowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                  1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr std::uint64_t LargestExactInteger = std::uint64_t{1} << 53;

// Appends the decimal digits from p on to value; returns how many there were.
// Past 19 digits value wraps, which the caller checks by the count.
int ReadDigits(const char*& p, const char* end, std::uint64_t& value) {
  int count = 0;
  for (; p != end && *p >= '0' && *p <= '9'; ++p, ++count) {
    value = value * 10 + static_cast<std::uint64_t>(*p - '0');
  }
  return count;
}

// Reals as the host writes them, "[-]digits[.digits]", without the general
// conversion's cost. When the digits read as a whole number are at most 2^53
// and there are at most 22 decimals, both numbers are exact doubles and one
// division rounds correctly, so the value is the one TextToFloatSafe gives.
// Every other text goes to TextToFloatSafe.
double ReadReal(std::string_view text) {
  const char* p = text.data();
  const char* const end = p + text.size();
  bool negative = false;
  if (p != end && (*p == '-' || *p == '+')) {
    negative = *p == '-';
    ++p;
  }
  std::uint64_t digits = 0;
  const int wholeCount = ReadDigits(p, end, digits);
  int decimals = 0;
  bool point = false;
  if (p != end && *p == '.') {
    point = true;
    ++p;
    decimals = ReadDigits(p, end, digits);
  }
  // ".5", "5." and exponents are left to the general rules.
  const bool plain = p == end && wholeCount > 0 && (!point || decimals > 0) &&
                     wholeCount + decimals <= 19 && digits <= LargestExactInteger &&
                     decimals < static_cast<int>(std::size(PowersOfTen));
  if (!plain) return MyFunc::TextToFloatSafe(text);
  const double value =
      static_cast<double>(digits) / PowersOfTen[static_cast<std::size_t>(decimals)];
  return negative ? -value : value;
}

double Real(const TokenizedLine& line, int i) { return ReadReal(Slot(line, i)); }
std::int32_t Int(const TokenizedLine& line, int i) { return MyFunc::TextToIntSafe(Slot(line, i)); }

// t0 after its keyword.
std::string_view Rest(const TokenizedLine& line, std::size_t keywordLength) {
  const std::string_view t0 = Slot(line, 0);
  return t0.substr(std::min(keywordLength, t0.size()));
}

// The one character after a two-letter keyword as a hexadecimal digit; 0 when
// there is none or it is no digit.
std::int32_t HexCharAfterKeyword(const TokenizedLine& line) {
  const std::string_view rest = Rest(line, 2);
  if (rest.empty()) return 0;
  const char c = rest[0];
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 0;
}

// ---- Header and attribute records --------------------------------------------

void SetDrawingFileName(const TokenizedLine& line, std::int32_t) {
  Exchange.DrawingFileName.assign(Rest(line, 5));
}

void SetHkValue(const TokenizedLine& line, std::int32_t) { Exchange.HkValue = Real(line, 1); }

void SetLayerGroupScales(const TokenizedLine& line, std::int32_t) {
  for (int g = 0; g < LayerGroupCount; ++g) {
    Exchange.LayerGroupScales[static_cast<std::size_t>(g)] = Real(line, g + 1);
  }
}

void SetPaperSize(const TokenizedLine& line, std::int32_t) {
  Exchange.PaperWidth = Real(line, 1);
  Exchange.PaperHeight = Real(line, 2);
}

enum TextSizeColumn : std::int32_t { ColumnWidth, ColumnHeight, ColumnSpacing, ColumnColor };

void SetTextSizeColumn(const TokenizedLine& line, std::int32_t column) {
  for (int i = 1; i <= 10; ++i) {
    TTextSize& size = Exchange.TextSizeTable[static_cast<std::size_t>(i)];
    switch (column) {
      case ColumnWidth:
        size.Width = Real(line, i);
        break;
      case ColumnHeight:
        size.Height = Real(line, i);
        break;
      case ColumnSpacing:
        size.Spacing = Real(line, i);
        break;
      default:
        size.Color = Int(line, i);
        break;
    }
  }
}

void SetBzFlag(const TokenizedLine&, std::int32_t) { Exchange.BzFlag = true; }

void SetHnValues(const TokenizedLine& line, std::int32_t) {
  for (int i = 1; i <= 4; ++i) Exchange.HnValues[static_cast<std::size_t>(i)] = Real(line, i);
}

// Layer indexes come from the reader's own records and are always in range;
// the checks keep a hand-set state from writing outside the tables.
bool IsLayerNumber(std::int32_t n) { return n >= 0 && n < LayerGroupCount; }

void SetLayerGroupName(const TokenizedLine& line, std::int32_t) {
  const std::int32_t group = Exchange.CurLayerGroup;
  if (!IsLayerNumber(group)) return;
  Exchange.LayerGroupNames[static_cast<std::size_t>(group)].assign(Rest(line, 3));
}

// Index of a layer in the tables of all 256 layers; both numbers in 0..15.
std::size_t LayerIndex(std::int32_t group, std::int32_t layer) {
  return static_cast<std::size_t>(group) * 16 + static_cast<std::size_t>(layer);
}

void SetLayerName(const TokenizedLine& line, std::int32_t) {
  const std::int32_t group = Exchange.CurLayerGroup;
  const std::int32_t layer = Exchange.CurLayer;
  if (!IsLayerNumber(group) || !IsLayerNumber(layer)) return;
  Exchange.LayerNames[LayerIndex(group, layer)].assign(Rest(line, 3));
}

// The first record of an attribute kind is the host's own setting.
template <typename T>
void TakeInitial(bool& pending, T& initial, const T& value) {
  if (!pending) return;
  initial = value;
  pending = false;
}

void SetLayerGroup(const TokenizedLine& line, std::int32_t) {
  ExchangeState& s = Exchange;
  const std::int32_t group = HexCharAfterKeyword(line);
  TakeInitial(s.LgPending, s.InitialLayerGroup, group);
  s.CurLayerGroup = group;
  if (line.SlotCount >= 2) s.LayerGroupValues[static_cast<std::size_t>(group)] = Int(line, 1);
  s.InPolyline = false;
}

void SetLayer(const TokenizedLine& line, std::int32_t) {
  ExchangeState& s = Exchange;
  const std::int32_t layer = HexCharAfterKeyword(line);
  TakeInitial(s.LyPending, s.InitialLayer, layer);
  s.CurLayer = layer;
  if (line.SlotCount >= 2 && IsLayerNumber(s.CurLayerGroup)) {
    s.LayerValues[LayerIndex(s.CurLayerGroup, layer)] = Int(line, 1);
  }
  s.InPolyline = false;
}

// Solids take the value that stands beside the pen colour 10.
constexpr std::int32_t SolidColorNumber = 10;

void SetLineColor(const TokenizedLine& line, std::int32_t) {
  ExchangeState& s = Exchange;
  const std::int32_t color = MyFunc::TextToIntSafe(Rest(line, 2));
  TakeInitial(s.LcPending, s.InitialLineColor, color);
  s.CurLineColor = color;
  if (color == SolidColorNumber && line.SlotCount >= 2) s.CurColor10Value = Int(line, 1);
  s.InPolyline = false;
}

void SetLineType(const TokenizedLine& line, std::int32_t) {
  ExchangeState& s = Exchange;
  const std::int32_t lineType = MyFunc::TextToIntSafe(Rest(line, 2));
  TakeInitial(s.LtPending, s.InitialLineType, lineType);
  s.CurLineType = lineType;
  s.InPolyline = false;
}

void SetLineWidth(const TokenizedLine& line, std::int32_t) {
  ExchangeState& s = Exchange;
  const std::int32_t width = MyFunc::TextToIntSafe(Rest(line, 2));
  TakeInitial(s.LwPending, s.InitialLineWidth, width);
  s.CurLineWidth = width;
  s.LineWidthSeen = true;
  s.InPolyline = false;
}

void SetFont(const TokenizedLine& line, std::int32_t) {
  ExchangeState& s = Exchange;
  const std::string_view name = Rest(line, 3);
  // No pending flag: the first record that names a font counts.
  if (s.InitialFontName.empty()) s.InitialFontName.assign(name);
  s.CurFontName.assign(name);
  s.InPolyline = false;
}

void SetTextSize(const TokenizedLine& line, std::int32_t) {
  ExchangeState& s = Exchange;
  const std::int32_t sizeNo = MyFunc::TextToIntSafe(Rest(line, 2));
  // Size 0 is a free size whose values follow the keyword.
  const bool freeSize = sizeNo == 0 && line.SlotCount >= 5;
  if (s.CnPending) {
    s.InitialTextSizeNo = sizeNo;
    if (freeSize) {
      s.InitialTextWidth = Real(line, 1);
      s.InitialTextHeight = Real(line, 2);
      s.InitialTextSpacing = Real(line, 3);
      s.InitialTextSizeColor = Int(line, 4);
    }
    s.CnPending = false;
  }
  s.CurTextSizeNo = sizeNo;
  if (freeSize) {
    s.CurTextWidth = Real(line, 1);
    s.CurTextHeight = Real(line, 2);
    s.CurTextSpacing = Real(line, 3);
    s.CurTextSizeColor = Int(line, 4);
  }
  s.InPolyline = false;
}

void SetTextColor(const TokenizedLine& line, std::int32_t) {
  const std::string_view rest = Rest(line, 2);
  std::int32_t color = 0;
  if (!rest.empty() && rest[0] >= '0' && rest[0] <= '8') color = rest[0] - '0';
  Exchange.CurTextColor = color;
  Exchange.InPolyline = false;
}

void SetZFlag(const TokenizedLine&, std::int32_t bit) { Exchange.ZFlags |= bit; }

void SetPointColor(const TokenizedLine& line, std::int32_t) {
  Exchange.CurPointColor = MyFunc::TextToIntSafe(Rest(line, 2));
  Exchange.InPolyline = false;
}

void StartPolyline(const TokenizedLine&, std::int32_t) {
  Exchange.PolylineCount += 1;
  Exchange.InPolyline = true;
  Exchange.InMessage = false;
}

void StartMessage(const TokenizedLine&, std::int32_t) {
  Exchange.InMessage = true;
  Exchange.InPolyline = false;
}

void EndModes(const TokenizedLine&, std::int32_t) {
  Exchange.InPolyline = false;
  Exchange.InMessage = false;
}

// ---- Picked points -------------------------------------------------------------

struct SuffixMark {
  std::string_view Text;
  std::int32_t Code;
};
// In this order: when a token holds several, the last found decides.
constexpr std::array<SuffixMark, 4> PointSuffixes = {{{"-", 1}, {"ln", 2}, {"ci", 3}, {"ch", 4}}};

void SetPickedPoint(const TokenizedLine& line, std::int32_t) {
  const std::string_view t0 = Slot(line, 0);
  std::string_view number = t0.substr(2);
  std::int32_t suffix = 0;
  for (const SuffixMark& mark : PointSuffixes) {
    const std::size_t at = t0.find(mark.Text);
    if (at == std::string_view::npos || at < 2) continue;
    number = t0.substr(2, at - 2);
    suffix = mark.Code;
  }
  const std::int32_t n = MyFunc::TextToIntSafe(number);
  if (n < 1 || n >= PickedPointSlots) return;
  TPickedPoint& point = Exchange.PickedPoints[static_cast<std::size_t>(n)];
  point.IsSet = true;
  point.X = Real(line, 1);
  point.Y = Real(line, 2);
  point.Suffix = suffix;
  Exchange.PickedCount += 1;
}

void SetHhpNo(const TokenizedLine& line, std::int32_t) {
  const std::string_view t0 = Slot(line, 0);
  std::string_view number = t0.substr(3);
  for (std::size_t i = 1; i < PointSuffixes.size(); ++i) {
    const std::size_t at = t0.find(PointSuffixes[i].Text);
    if (at != std::string_view::npos && at > 3) number = t0.substr(3, at - 3);
  }
  Exchange.HhpNo = MyFunc::TextToIntSafe(number);
}

// ---- Elements ------------------------------------------------------------------

// After an element the collected flags and number are used up, and polyline
// and message mode end.
void EndElement() {
  Exchange.ZFlags = 0;
  Exchange.HhpNo = 0;
  Exchange.InPolyline = false;
  Exchange.InMessage = false;
}

// Appends one element with the current attributes in its head, lets fill set
// its fields, then lists it in EntityOrder. The element is complete before it
// is listed: should the order list fail to grow, no entry points at an
// element that is not there.
template <typename T, typename Fill>
void StoreElement(BlockList<T>& list, EntityKind kind, Fill&& fill) {
  const std::int32_t index = list.Count();
  T& element = list.Append();
  CaptureAttributes(element.Attr);
  fill(element);
  AppendEntityOrder(kind, index);
  EndElement();
}

void StoreCircle(const TokenizedLine& line, std::int32_t) {
  StoreElement(Exchange.Circles, KindCircle, [&](TJwwEntCircle& e) {
    e.N1 = Real(line, 1);
    e.N2 = Real(line, 2);
    e.N3 = Real(line, 3);
  });
}

void StoreArc(const TokenizedLine& line, std::int32_t) {
  StoreElement(Exchange.Arcs, KindArc, [&](TJwwEntArc& e) {
    double* const values[] = {&e.N1, &e.N2, &e.N3, &e.N4, &e.N5, &e.N6, &e.N7};
    for (int i = 0; i < 7; ++i) *values[i] = Real(line, i + 1);
  });
}

// Fills a text element after its head: the size comes from the size table
// when the current size number names an entry, else from the free size.
void FillText(TJwwEntText& text, const TokenizedLine& line, std::int32_t textKind) {
  const ExchangeState& s = Exchange;
  text.TextKind = textKind;
  text.TextColor = s.CurTextColor;
  text.SizeNo = s.CurTextSizeNo;
  if (text.SizeNo >= 1 && text.SizeNo <= 10) {
    const TTextSize& size = s.TextSizeTable[static_cast<std::size_t>(text.SizeNo)];
    text.Width = size.Width;
    text.Height = size.Height;
    text.Spacing = size.Spacing;
    text.Attr.Color = size.Color;
  } else {
    text.Width = s.CurTextWidth;
    text.Height = s.CurTextHeight;
    text.Spacing = s.CurTextSpacing;
    text.Attr.Color = s.CurTextSizeColor;
  }
  text.X = Real(line, 1);
  text.Y = Real(line, 2);
  text.Dx = Real(line, 3);
  text.Dy = Real(line, 4);
  text.FontName.Assign(s.CurFontName);
  text.Text.Assign(Slot(line, 5));
}

// The text kind of "cs", which in message mode labels the held line.
constexpr std::int32_t MessageTextKind = 2;

void StoreText(const TokenizedLine& line, std::int32_t textKind) {
  if (Exchange.InMessage && textKind == MessageTextKind) {
    StoreElement(Exchange.MsgTexts, KindMsgText, [&](TJwwEntMsgText& e) {
      e.Line = Exchange.HeldLine;
      e.Line.PolylineNo = 0;
      CaptureAttributes(e.Text.Attr);
      FillText(e.Text, line, MessageTextKind);
    });
    return;
  }
  StoreElement(Exchange.Texts, KindText, [&](TJwwEntText& e) { FillText(e, line, textKind); });
}

void StorePoint(const TokenizedLine& line, std::int32_t) {
  StoreElement(Exchange.Points, KindPoint, [&](TJwwEntPoint& e) {
    e.Attr.Color = Exchange.CurPointColor;
    e.N1 = Real(line, 1);
    e.N2 = Real(line, 2);
  });
}

void StorePointEx(const TokenizedLine& line, std::int32_t) {
  StoreElement(Exchange.PointsEx, KindPointEx, [&](TJwwEntPointEx& e) {
    e.Attr.Color = Exchange.CurPointColor;
    e.N1 = Real(line, 1);
    e.N2 = Real(line, 2);
    e.N3 = Real(line, 3);
    e.N4 = Real(line, 4);
    e.N5 = Int(line, 5);
  });
}

void StoreBlock(const TokenizedLine& line, std::int32_t) {
  StoreElement(Exchange.Blocks, KindBlock, [&](TJwwEntBlk& e) {
    e.N1 = Real(line, 1);
    e.N2 = Real(line, 2);
    e.Name.assign(Slot(line, 3));
  });
}

// ---- Solids --------------------------------------------------------------------

struct Corner {
  double X = 0.0;
  double Y = 0.0;
};

bool SameCorner(const Corner& a, const Corner& b) {
  return std::fabs(a.X - b.X) <= MyFunc::SolidCornerTolerance &&
         std::fabs(a.Y - b.Y) <= MyFunc::SolidCornerTolerance;
}

Corner ReadCorner(const TokenizedLine& line, int n) {
  return {Real(line, 2 * n - 1), Real(line, 2 * n)};
}

void StoreSolid(const Corner& p1, const Corner& p2) {
  StoreElement(Exchange.Solids2, KindSolid2, [&](TJwwEntSolid2& e) {
    e.Color10 = Exchange.CurColor10Value;
    e.X1 = p1.X;
    e.Y1 = p1.Y;
    e.X2 = p2.X;
    e.Y2 = p2.Y;
  });
}

void StoreSolid(const Corner& p1, const Corner& p2, const Corner& p3) {
  StoreElement(Exchange.Solids3, KindSolid3, [&](TJwwEntSolid3& e) {
    e.Color10 = Exchange.CurColor10Value;
    e.X1 = p1.X;
    e.Y1 = p1.Y;
    e.X2 = p2.X;
    e.Y2 = p2.Y;
    e.X3 = p3.X;
    e.Y3 = p3.Y;
  });
}

void StoreSolid(const Corner& p1, const Corner& p2, const Corner& p3, const Corner& p4) {
  StoreElement(Exchange.Solids4, KindSolid4, [&](TJwwEntSolid4& e) {
    e.Color10 = Exchange.CurColor10Value;
    e.X1 = p1.X;
    e.Y1 = p1.Y;
    e.X2 = p2.X;
    e.Y2 = p2.Y;
    e.X3 = p3.X;
    e.Y3 = p3.Y;
    e.X4 = p4.X;
    e.Y4 = p4.Y;
  });
}

void StoreSolid2(const TokenizedLine& line, std::int32_t) {
  StoreSolid(ReadCorner(line, 1), ReadCorner(line, 2));
}

// Coinciding corners are dropped; the first case that fits decides.
void StoreSolid3(const TokenizedLine& line, std::int32_t) {
  const Corner p1 = ReadCorner(line, 1), p2 = ReadCorner(line, 2), p3 = ReadCorner(line, 3);
  if (SameCorner(p1, p2)) {
    StoreSolid(p1, p3);
  } else if (SameCorner(p2, p3)) {
    StoreSolid(p1, p2);
  } else {
    StoreSolid(p1, p2, p3);
  }
}

void StoreSolid4(const TokenizedLine& line, std::int32_t) {
  const Corner p1 = ReadCorner(line, 1), p2 = ReadCorner(line, 2), p3 = ReadCorner(line, 3),
               p4 = ReadCorner(line, 4);
  const bool s12 = SameCorner(p1, p2), s13 = SameCorner(p1, p3), s14 = SameCorner(p1, p4);
  const bool s23 = SameCorner(p2, p3), s24 = SameCorner(p2, p4), s34 = SameCorner(p3, p4);
  if (s12 && s13) {
    StoreSolid(p1, p4);
  } else if (s23 && s24) {
    StoreSolid(p1, p2);
  } else if (s12 && s34) {
    StoreSolid(p1, p3);
  } else if (s14 || s24 || s34) {
    StoreSolid(p1, p2, p3);
  } else if (s13 || s23) {
    StoreSolid(p1, p2, p4);
  } else if (s12) {
    StoreSolid(p1, p3, p4);
  } else {
    StoreSolid(p1, p2, p3, p4);
  }
}

// "sc" and "se" share their layout; kind tells the list.
void StoreScSe(const TokenizedLine& line, std::int32_t kind) {
  BlockList<TJwwEntSc>& list = kind == KindSc ? Exchange.ScList : Exchange.SeList;
  StoreElement(list, static_cast<EntityKind>(kind), [&](TJwwEntSc& e) {
    e.Color10 = Exchange.CurColor10Value;
    double* const values[] = {&e.N1, &e.N2, &e.N3, &e.N4, &e.N5, &e.N6, &e.N7};
    for (int i = 0; i < 7; ++i) *values[i] = Real(line, i + 1);
    e.N8 = Int(line, 8);
  });
}

// "so" and "sg" likewise.
void StoreSoSg(const TokenizedLine& line, std::int32_t kind) {
  BlockList<TJwwEntSo>& list = kind == KindSo ? Exchange.SoList : Exchange.SgList;
  StoreElement(list, static_cast<EntityKind>(kind), [&](TJwwEntSo& e) {
    e.Color10 = Exchange.CurColor10Value;
    double* const values[] = {&e.N1, &e.N2, &e.N3, &e.N4, &e.N5, &e.N6, &e.N7, &e.N8};
    for (int i = 0; i < 8; ++i) *values[i] = Real(line, i + 1);
  });
}

// Four numbers and no keyword. In message mode the line is held for the
// message text that follows instead of being stored. Polyline and message
// mode go on across plain lines.
void StorePlainLine(const TokenizedLine& line, std::int32_t) {
  ExchangeState& s = Exchange;
  const auto fill = [&](TJwwEntLine& e) {
    e.X1 = Real(line, 0);
    e.Y1 = Real(line, 1);
    e.X2 = Real(line, 2);
    e.Y2 = Real(line, 3);
  };
  if (s.InMessage) {
    CaptureAttributes(s.HeldLine.Attr);
    s.HeldLine.PolylineNo = 0;
    fill(s.HeldLine);
  } else {
    const std::int32_t index = s.Lines.Count();
    TJwwEntLine& e = s.Lines.Append();
    CaptureAttributes(e.Attr);
    e.PolylineNo = s.InPolyline ? s.PolylineCount : 0;
    fill(e);
    AppendEntityOrder(KindLine, index);
  }
  s.ZFlags = 0;
  s.HhpNo = 0;
}

// ---- Rule table ------------------------------------------------------------------

enum class Match : std::uint8_t { Equals, Starts, Contains, Anything };

// Accepted token counts, both bounds inclusive.
struct SlotRange {
  std::int32_t Min;
  std::int32_t Max;
};
constexpr SlotRange AnySlots{1, TokenSlots};
constexpr SlotRange AtLeast(std::int32_t n) { return {n, TokenSlots}; }
constexpr SlotRange Exactly(std::int32_t n) { return {n, n}; }

using Action = void (*)(const TokenizedLine& line, std::int32_t arg);

struct Rule {
  std::string_view Keyword;
  Match Test;
  SlotRange Slots;
  Action Apply;
  std::int32_t Arg = 0;
};

using enum Match;

// Tried in this order; overlapping keywords rely on it ("lgn" before "lg",
// "cn$" before "cn", every keyword before the plain line).
constexpr Rule Rules[] = {
    {"file=", Contains, AnySlots, SetDrawingFileName},
    {"hk", Equals, AtLeast(2), SetHkValue},
    {"hs", Equals, AtLeast(17), SetLayerGroupScales},
    {"hzs", Equals, AtLeast(3), SetPaperSize},
    {"hcw", Equals, AtLeast(11), SetTextSizeColumn, ColumnWidth},
    {"hch", Equals, AtLeast(11), SetTextSizeColumn, ColumnHeight},
    {"hcd", Equals, AtLeast(11), SetTextSizeColumn, ColumnSpacing},
    {"hcc", Equals, AtLeast(11), SetTextSizeColumn, ColumnColor},
    {"bz", Equals, AnySlots, SetBzFlag},
    {"hn", Equals, AtLeast(5), SetHnValues},
    {"lgn", Starts, AnySlots, SetLayerGroupName},
    {"lyn", Starts, AnySlots, SetLayerName},
    {"lg", Starts, AnySlots, SetLayerGroup},
    {"ly", Starts, AnySlots, SetLayer},
    {"lc", Starts, AnySlots, SetLineColor},
    {"lt", Starts, AnySlots, SetLineType},
    {"lw", Starts, AnySlots, SetLineWidth},
    {"cn$", Starts, AnySlots, SetFont},
    {"cn", Starts, AnySlots, SetTextSize},
    {"cc", Starts, AnySlots, SetTextColor},
    {"z1", Equals, AnySlots, SetZFlag, 1},
    {"z2", Equals, AnySlots, SetZFlag, 2},
    {"z3", Equals, AnySlots, SetZFlag, 4},
    {"z4", Equals, AnySlots, SetZFlag, 8},
    {"z5", Equals, AnySlots, SetZFlag, 16},
    {"pn", Starts, AnySlots, SetPointColor},
    {"pl", Equals, AnySlots, StartPolyline},
    {"msg", Equals, AnySlots, StartMessage},
    {"#", Equals, AnySlots, EndModes},
    {"hp", Starts, AtLeast(3), SetPickedPoint},
    {"hhp", Starts, AnySlots, SetHhpNo},
    {"ci", Equals, Exactly(4), StoreCircle},
    {"ci", Equals, AtLeast(8), StoreArc},
    // The text kinds, numbered as the writer numbers them.
    {"ch", Equals, AtLeast(6), StoreText, 0},
    {"cv", Equals, AtLeast(6), StoreText, 1},
    {"cs", Equals, AtLeast(6), StoreText, 2},
    {"cr", Equals, AtLeast(6), StoreText, 3},
    {"co", Equals, AtLeast(6), StoreText, 4},
    {"cp", Equals, AtLeast(6), StoreText, 5},
    {"ct", Equals, AtLeast(6), StoreText, 6},
    {"ck", Equals, AtLeast(6), StoreText, 7},
    {"cz", Equals, AtLeast(6), StoreText, 8},
    {"c2", Equals, AtLeast(6), StoreText, 9},
    {"pt", Equals, Exactly(3), StorePoint},
    {"pt", Equals, AtLeast(6), StorePointEx},
    {"BL", Equals, AtLeast(4), StoreBlock},
    {"sl", Equals, Exactly(5), StoreSolid2},
    {"sl", Equals, Exactly(7), StoreSolid3},
    {"sl", Equals, AtLeast(9), StoreSolid4},
    {"sc", Equals, AtLeast(9), StoreScSe, KindSc},
    {"se", Equals, AtLeast(9), StoreScSe, KindSe},
    {"so", Equals, AtLeast(9), StoreSoSg, KindSo},
    {"sg", Equals, AtLeast(9), StoreSoSg, KindSg},
    {"", Anything, Exactly(4), StorePlainLine},
};

constexpr std::size_t RuleCount = std::size(Rules);
static_assert(RuleCount < 256);

// Most lines could only match a few rows. Grouping the rows by the first byte
// their keyword demands, in table order, spares every line the full walk;
// "contains" and catch-all rows belong to every group.
constexpr std::size_t MaxRulesPerByte = 24;

struct RuleIndex {
  std::array<std::array<std::uint8_t, MaxRulesPerByte>, 256> Rows{};
  std::array<std::uint8_t, 256> Counts{};
};

constexpr RuleIndex BuildRuleIndex() {
  RuleIndex index;
  for (std::size_t b = 0; b < 256; ++b) {
    for (std::size_t r = 0; r < RuleCount; ++r) {
      const Rule& rule = Rules[r];
      const bool anyFirstByte = rule.Test == Contains || rule.Test == Anything;
      if (!anyFirstByte && static_cast<unsigned char>(rule.Keyword[0]) != b) continue;
      if (index.Counts[b] == MaxRulesPerByte) throw "MaxRulesPerByte is too small";
      index.Rows[b][index.Counts[b]++] = static_cast<std::uint8_t>(r);
    }
  }
  return index;
}

constexpr RuleIndex RulesByFirstByte = BuildRuleIndex();

bool KeywordMatches(const Rule& rule, std::string_view t0) {
  switch (rule.Test) {
    case Equals:
      return t0 == rule.Keyword;
    case Starts:
      return t0.starts_with(rule.Keyword);
    case Contains:
      return t0.find(rule.Keyword) != std::string_view::npos;
    case Anything:
      return true;
  }
  return false;
}

void ApplyRules(const TokenizedLine& line) {
  const std::string_view t0 = Slot(line, 0);
  if (t0.empty()) return; // a blank line: an empty t0 has no tokens after it
  const auto first = static_cast<unsigned char>(t0[0]);
  const std::uint8_t count = RulesByFirstByte.Counts[first];
  for (std::uint8_t i = 0; i < count; ++i) {
    const Rule& rule = Rules[RulesByFirstByte.Rows[first][i]];
    if (line.SlotCount < rule.Slots.Min || line.SlotCount > rule.Slots.Max) continue;
    if (!KeywordMatches(rule, t0)) continue;
    rule.Apply(line, rule.Arg);
    return;
  }
}

// ---- Copying walk of the tokenizer -------------------------------------------

// Tokenizes line from byte i on, outside quotes, into slot k onwards; the
// tokens are copied into scratch. Returns the last slot in use.
std::size_t TokenizeRest(std::string_view line, std::size_t i, std::size_t k, std::string& scratch,
                         TokenizedLine& result) {
  // Tokens never hold more bytes than the line, so one size check serves the
  // whole walk and the views below stay valid.
  const std::size_t n = line.size();
  if (scratch.size() < n - i) scratch.resize(n - i);
  char* const out = scratch.data();
  const auto* const in = reinterpret_cast<const unsigned char*>(line.data());

  std::size_t length = 0;     // bytes written to out
  std::size_t tokenStart = 0; // where slot k begins in out
  bool outsideQuotes = true;
  while (i < n) {
    const unsigned char b = in[i];
    switch (ByteClasses[b]) {
      case ByteKeep:
        out[length++] = static_cast<char>(b);
        ++i;
        break;
      case ByteLead:
        if (i + 1 == n) { // half a character: dropped
          i = n;
          break;
        }
        out[length++] = static_cast<char>(b);
        out[length++] = static_cast<char>(in[i + 1]);
        i += 2;
        break;
      case ByteQuote:
        if (outsideQuotes) {
          outsideQuotes = false;
        } else {
          out[length++] = '"';
        }
        ++i;
        break;
      case ByteEquals:
        out[length++] = '=';
        outsideQuotes = false;
        ++i;
        break;
      case ByteSpace:
      case ByteTab:
        if (outsideQuotes) {
          if (length > tokenStart) {
            if (k + 1 == TokenSlots) { // the slots are full: the rest is dropped
              i = n;
              break;
            }
            result.Slots[k++] = {out + tokenStart, length - tokenStart};
            tokenStart = length;
          }
        } else if (b == ' ') {
          out[length++] = ' ';
        }
        ++i;
        break;
      default: // control bytes, 0xFE, 0xFF
        ++i;
        break;
    }
  }
  result.Slots[k] = {out + tokenStart, length - tokenStart};
  return k;
}

// ---- Lines of a byte stream -------------------------------------------------------

constexpr char LineFeed = '\n';
constexpr char CarriageReturn = '\r';
constexpr char EndOfFileMark = '\x1A';

// Cuts a byte stream, fed in chunks of any size, into lines and parses each.
// The buffers live as long as the reader, so a line costs no allocation.
class LineSplitter {
 public:
  // False once a Ctrl-Z at the start of a line has ended the input.
  bool Feed(std::string_view bytes) {
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    while (p < end) {
      // A partial line is never empty, so without one we stand at a line start.
      if (partial_.empty() && *p == EndOfFileMark) return false;
      const auto* lf =
          static_cast<const char*>(std::memchr(p, LineFeed, static_cast<std::size_t>(end - p)));
      if (lf == nullptr) {
        partial_.append(p, end);
        break;
      }
      if (partial_.empty()) {
        Line({p, static_cast<std::size_t>(lf - p)});
      } else {
        partial_.append(p, lf);
        Line(partial_);
        partial_.clear();
      }
      p = lf + 1;
    }
    return true;
  }

  // The last line, when the input does not end with a line feed.
  void Finish() {
    if (!partial_.empty()) Line(partial_);
    partial_.clear();
  }

 private:
  void Line(std::string_view line) {
    // The CR of a CR LF ends the line; any other CR is dropped.
    if (!line.empty() && line.back() == CarriageReturn) line.remove_suffix(1);
    if (!line.empty() && std::memchr(line.data(), CarriageReturn, line.size()) != nullptr) {
      withoutCr_.clear();
      for (char c : line) {
        if (c != CarriageReturn) withoutCr_.push_back(c);
      }
      line = withoutCr_;
    }
    TokenizeExchangeLine(line, scratch_, tokens_);
    ApplyRules(tokens_);
  }

  std::string partial_;
  std::string withoutCr_;
  std::string scratch_;
  TokenizedLine tokens_;
};

// Large enough to make the per-read cost vanish, small enough that the
// reader's own memory stays a fixed, modest amount.
constexpr std::size_t ReadChunkSize = std::size_t{1} << 20;

} // namespace

void TokenizeExchangeLine(std::string_view line, std::string& scratch, TokenizedLine& result) {
  const auto* const in = reinterpret_cast<const unsigned char*>(line.data());
  const std::size_t n = line.size();
  std::size_t k = 0;
  std::size_t i = 0;
  // Most tokens are runs of ordinary bytes between separators; their slots
  // view the line itself. The first token that holds anything else (quotes,
  // "=", dropped bytes) hands the rest of the line to the copying walk.
  for (;;) {
    while (i < n && (in[i] == ' ' || in[i] == '\t')) ++i;
    const std::size_t start = i;
    std::size_t tokenEnd = n;
    while ((i = PlainRunEnd(in, i, n)) < n) {
      const std::uint8_t c = ByteClasses[in[i]];
      if (c == ByteKeep) {
        ++i;
      } else if (c == ByteLead) {
        if (i + 1 == n) { // half a character at the end: dropped
          tokenEnd = i;
          i = n;
          break;
        }
        i += 2;
      } else {
        break;
      }
    }
    if (i < n && in[i] != ' ' && in[i] != '\t') {
      k = TokenizeRest(line, start, k, scratch, result);
      break;
    }
    result.Slots[k] = line.substr(start, std::min(i, tokenEnd) - start);
    // A separator after the token opens the next slot, even at the line end.
    if (i == n || k + 1 == TokenSlots) break;
    ++k;
  }

  // Empty the slots the previous line used beyond this one's.
  const auto previous = static_cast<std::size_t>(std::clamp(result.SlotCount, 0, TokenSlots));
  for (std::size_t j = k + 1; j < previous; ++j) result.Slots[j] = {};
  result.SlotCount = static_cast<std::int32_t>(k + 1);
}

void ParseExchangeLine(std::string_view line) {
  std::string scratch;
  TokenizedLine tokens;
  TokenizeExchangeLine(line, scratch, tokens);
  ApplyRules(tokens);
}

bool ReadExchangeFile(const std::filesystem::path& path) {
  Files::FileLayer& files = Files::Current();
  if (!files.Exists(path)) return false;
  // Whatever fails part way, the lines parsed before it stay; a line cut
  // short by the failure is not parsed.
  try {
    const std::unique_ptr<Files::InFile> file = files.OpenRead(path);
    if (file == nullptr) return false;
    // Not zero-filled: a small file touches only the pages it fills.
    const auto chunk = std::make_unique_for_overwrite<char[]>(ReadChunkSize);
    LineSplitter lines;
    for (;;) {
      const long long got = file->Read(chunk.get(), ReadChunkSize);
      if (got < 0 || static_cast<unsigned long long>(got) > ReadChunkSize) return false;
      if (got == 0) break;
      if (!lines.Feed({chunk.get(), static_cast<std::size_t>(got)})) return true;
    }
    lines.Finish();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void ReadExchangeBytes(std::string_view bytes) {
  try {
    LineSplitter lines;
    if (lines.Feed(bytes)) lines.Finish();
  } catch (const std::exception&) {
    // Out of memory: what was read stays, as with a file.
  }
}

} // namespace ZizAvodi
