// Whole exchange files through the reader, as a run reads them. Besides
// crashes and sanitizer reports it checks what later code relies on: the
// layer numbers index the scale and layer tables, and EntityOrder must point
// at stored elements, in order. The same bytes read as a file that arrives
// in small pieces must give the same state (line ends, CRs and Ctrl-Z
// falling on a piece boundary), and the tokenizer is compared with a plain
// walk of its grammar.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/FileLayer.h"
#include "common/MyFunc.h"
#include "exchange/ZizAvodi.h"
#include "fuzz/FuzzChecks.h"
#include "tests/support/MemoryFileLayer.h"

namespace {

using namespace ZizAvodi;

std::int32_t ListCount(const ExchangeState& s, std::int32_t kind) {
  switch (kind) {
    case KindLine:
      return s.Lines.Count();
    case KindCircle:
      return s.Circles.Count();
    case KindArc:
      return s.Arcs.Count();
    case KindText:
      return s.Texts.Count();
    case KindPoint:
      return s.Points.Count();
    case KindPointEx:
      return s.PointsEx.Count();
    case KindMsgText:
      return s.MsgTexts.Count();
    case KindBlock:
      return s.Blocks.Count();
    case KindSolid2:
      return s.Solids2.Count();
    case KindSolid3:
      return s.Solids3.Count();
    case KindSolid4:
      return s.Solids4.Count();
    case KindSc:
      return s.ScList.Count();
    case KindSe:
      return s.SeList.Count();
    case KindSo:
      return s.SoList.Count();
    case KindSg:
      return s.SgList.Count();
    default:
      return -1;
  }
}

void CheckState(const ExchangeState& s) {
  FUZZ_CHECK(s.InitialLayerGroup >= 0 && s.InitialLayerGroup < LayerGroupCount, "%d",
             s.InitialLayerGroup);
  FUZZ_CHECK(s.InitialLayer >= 0 && s.InitialLayer < 16, "%d", s.InitialLayer);
  FUZZ_CHECK(s.CurLayerGroup >= 0 && s.CurLayerGroup < LayerGroupCount, "%d", s.CurLayerGroup);
  FUZZ_CHECK(s.CurLayer >= 0 && s.CurLayer < 16, "%d", s.CurLayer);
  FUZZ_CHECK(s.CurTextColor >= 0 && s.CurTextColor <= 8, "%d", s.CurTextColor);
  FUZZ_CHECK(!s.PickedPoints[0].IsSet, "entry 0 is never written");

  // Each element appears once in EntityOrder, and the indices of one kind
  // count up from 0 in file order.
  std::array<std::int32_t, 16> seen{};
  const std::int32_t orderCount = s.EntityOrder.Count();
  for (std::int32_t i = 0; i < orderCount; ++i) {
    const TJwwEntRef& ref = s.EntityOrder[i];
    FUZZ_CHECK(ref.Kind >= KindLine && ref.Kind <= KindSg, "entry %d kind %d", i, ref.Kind);
    const auto kind = static_cast<std::size_t>(ref.Kind);
    FUZZ_CHECK(ref.Index == seen[kind], "entry %d kind %d index %d, expected %d", i, ref.Kind,
               ref.Index, seen[kind]);
    ++seen[kind];
  }
  for (std::int32_t kind = KindLine; kind <= KindSg; ++kind) {
    FUZZ_CHECK(seen[static_cast<std::size_t>(kind)] == ListCount(s, kind),
               "kind %d: %d in EntityOrder, %d stored", kind, seen[static_cast<std::size_t>(kind)],
               ListCount(s, kind));
  }
}

// The tokenizer's grammar walked byte by byte, the plain way, to compare
// with the reader's faster walk.
std::vector<std::string> ReferenceTokens(std::string_view line) {
  std::vector<std::string> slots(1);
  bool outsideQuotes = true;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const auto b = static_cast<unsigned char>(line[i]);
    if (MyFunc::IsLeadByte(b)) {
      if (i + 1 == line.size()) break;
      slots.back() += line.substr(i, 2);
      ++i;
    } else if (b == '"' && outsideQuotes) {
      outsideQuotes = false;
    } else if (b == '=' && outsideQuotes) {
      slots.back() += '=';
      outsideQuotes = false;
    } else if ((b == ' ' || b == '\t') && outsideQuotes) {
      if (slots.back().empty()) continue;
      if (slots.size() == TokenSlots) break; // further tokens are dropped
      slots.emplace_back();
    } else if (b >= 0x20 && b <= 0xFD) {
      slots.back() += static_cast<char>(b);
    }
  }
  return slots;
}

void CheckTokenizer(std::string_view line) {
  std::string scratch;
  TokenizedLine tokens;
  TokenizeExchangeLine(line, scratch, tokens);
  FUZZ_CHECK(tokens.SlotCount >= 1 && tokens.SlotCount <= TokenSlots, "SlotCount %d",
             tokens.SlotCount);
  // A slot views either the line itself or the scratch, never anything else.
  const auto inside = [](std::string_view slot, std::string_view within) {
    return slot.data() >= within.data() &&
           slot.data() + slot.size() <= within.data() + within.size();
  };
  for (const std::string_view slot : tokens.Slots) {
    if (slot.empty()) continue;
    FUZZ_CHECK(inside(slot, line) || inside(slot, scratch),
               "a slot points outside line and scratch");
  }
  const std::vector<std::string> expected = ReferenceTokens(line);
  FUZZ_CHECK(tokens.SlotCount == static_cast<std::int32_t>(expected.size()),
             "SlotCount %d, expected %zu", tokens.SlotCount, expected.size());
  for (std::size_t k = 0; k < expected.size(); ++k) {
    FUZZ_CHECK(tokens.Slots[k] == expected[k], "slot %zu is %s, expected %s", k,
               FuzzChecks::Printable(tokens.Slots[k]).c_str(),
               FuzzChecks::Printable(expected[k]).c_str());
  }
}

template <typename T>
void Put(std::string& out, const T& value) {
  out.append(reinterpret_cast<const char*>(&value), sizeof(value));
}

void PutText(std::string& out, std::string_view text) {
  Put(out, text.size());
  out.append(text);
}

// What a read leaves that the rest of a run or the element store shows.
std::string Digest(const ExchangeState& s) {
  std::string d;
  PutText(d, s.DrawingFileName);
  Put(d, s.HkValue);
  Put(d, s.LayerGroupScales);
  Put(d, s.PaperWidth);
  Put(d, s.PaperHeight);
  for (const TTextSize& t : s.TextSizeTable) {
    Put(d, t.Width);
    Put(d, t.Height);
    Put(d, t.Spacing);
    Put(d, t.Color);
  }
  for (std::int32_t v : {s.InitialLayerGroup, s.InitialLayer, s.InitialLineColor, s.InitialLineType,
                         s.InitialLineWidth, s.InitialTextSizeNo, s.CurLayerGroup, s.CurLayer,
                         s.CurLineColor, s.CurLineType, s.CurLineWidth, s.CurTextSizeNo,
                         s.CurTextColor, s.PickedCount, s.HhpNo, s.ZFlags, s.PolylineCount}) {
    Put(d, v);
  }
  PutText(d, s.InitialFontName);
  PutText(d, s.CurFontName);
  for (const std::string& name : s.LayerGroupNames) PutText(d, name);
  for (const std::string& name : s.LayerNames) PutText(d, name);
  for (const TPickedPoint& p : s.PickedPoints) {
    Put(d, p.IsSet);
    Put(d, p.X);
    Put(d, p.Y);
    Put(d, p.Suffix);
  }
  Put(d, s.InPolyline);
  Put(d, s.InMessage);
  Put(d, s.LineWidthSeen);
  for (std::int32_t kind = KindLine; kind <= KindSg; ++kind) Put(d, ListCount(s, kind));
  for (std::int32_t i = 0; i < s.Lines.Count(); ++i) {
    const TJwwEntLine& l = s.Lines[i];
    Put(d, l.PolylineNo);
    for (double v : {l.X1, l.Y1, l.X2, l.Y2}) Put(d, v);
  }
  for (std::int32_t i = 0; i < s.Texts.Count(); ++i) PutText(d, s.Texts[i].Text.View());
  for (std::int32_t i = 0; i < s.Blocks.Count(); ++i) PutText(d, s.Blocks[i].Name);
  return d;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ResetExchangeState();
  ReadExchangeBytes(bytes);
  CheckState(Exchange);
  // Reading a file costs a large buffer, so only every fourth input (by its
  // first byte) is also read in pieces.
  if (size != 0 && data[0] % 4 == 0) {
    const std::string whole = Digest(Exchange);
    ResetExchangeState();
    // Reads that return a few bytes at a time, as a pipe or a network drive may.
    TestFiles::MemoryFileLayer pieces;
    pieces.Put("JWC_TEMP.TXT", std::string(bytes));
    const std::size_t seed = data[0] / 4;
    pieces.ChunkOf = [seed](std::size_t read) { return 1 + (seed + 7 * read) % 13; };
    Files::FileLayer* const before = Files::Install(&pieces);
    const bool read = ReadExchangeFile("JWC_TEMP.TXT");
    Files::Install(before);
    FUZZ_CHECK(read, "reading the file failed");
    FUZZ_CHECK(Digest(Exchange) == whole, "read in pieces, the file gives another state");
  }
  // The same bytes as one line: the tokenizer must stay within its 32 slots
  // whatever a line holds.
  CheckTokenizer(bytes);
  return 0;
}
