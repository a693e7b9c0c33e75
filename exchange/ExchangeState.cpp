#include <algorithm>
#include <cstring>

#include "exchange/ZizAvodi.h"

namespace ZizAvodi {

ExchangeState Exchange;
OutputBufferList OutputBuffer;

namespace {

// "<ＭＳ ゴシック>" in Shift-JIS: the host's default font.
constexpr std::string_view DefaultFontName = "<\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e>";

// A held line before any message-mode line: a unit line along +x in the
// host's default pen.
TJwwEntLine DefaultHeldLine() {
  TJwwEntLine line;
  line.Attr.Color = 1;
  line.Attr.LineType = 1;
  line.X2 = 1.0;
  return line;
}

// Frees a text's heap buffer, which assigning "" would keep.
void ReleaseText(std::string& text) { std::string().swap(text); }

void ReleaseElementLists(ExchangeState& s) {
  s.EntityOrder.ReleaseStorage();
  s.Lines.ReleaseStorage();
  s.Circles.ReleaseStorage();
  s.Arcs.ReleaseStorage();
  s.Texts.ReleaseStorage();
  s.Points.ReleaseStorage();
  s.PointsEx.ReleaseStorage();
  s.MsgTexts.ReleaseStorage();
  s.Blocks.ReleaseStorage();
  s.Solids2.ReleaseStorage();
  s.Solids3.ReleaseStorage();
  s.Solids4.ReleaseStorage();
  s.ScList.ReleaseStorage();
  s.SeList.ReleaseStorage();
  s.SoList.ReleaseStorage();
  s.SgList.ReleaseStorage();
}

} // namespace

void InlineText::Assign(std::string_view text) {
  const std::size_t n = std::min(text.size(), sizeof(Bytes));
  if (n != 0) std::memcpy(Bytes, text.data(), n);
  Length = static_cast<std::uint8_t>(n);
}

void ResetExchangeState() {
  // The writer owns these two; a reset of the drawing environment keeps them.
  const bool ccPending = Exchange.CcPending;
  const bool fontPending = Exchange.FontPending;

  // The member initialisers hold most defaults; the assignment also empties
  // every list and table.
  Exchange = ExchangeState{};
  Exchange.LayerGroupScales.fill(1.0);
  ResetCurrentAttributes(Exchange);
  Exchange.HeldLine = DefaultHeldLine();
  Exchange.CcPending = ccPending;
  Exchange.FontPending = fontPending;

  OutputBuffer.Clear();
}

void ResetCurrentAttributes(ExchangeState& s) {
  s.CurLayerGroup = 0;
  s.CurLayer = 0;
  s.CurLineColor = 1;
  s.CurLineType = 1;
  s.CurLineWidth = 0;
  s.CurTextSizeNo = 1;
  s.CurTextWidth = 2.0;
  s.CurTextHeight = 2.0;
  s.CurTextSpacing = 0.0;
  s.CurTextSizeColor = 1;
  s.CurTextColor = 0;
  s.CurFontName = DefaultFontName;
}

void FreeExchangeState() {
  ExchangeState& s = Exchange;
  s.LayerGroupValues.fill(0);
  for (std::string& name : s.LayerGroupNames) ReleaseText(name);
  s.LayerValues.fill(0);
  for (std::string& name : s.LayerNames) ReleaseText(name);
  s.PickedPoints.fill(TPickedPoint{});
  ReleaseElementLists(s);
  OutputBuffer.ReleaseStorage();
}

void AppendEntityOrder(std::int32_t kind, std::int32_t index) {
  TJwwEntRef& ref = Exchange.EntityOrder.Append();
  ref.Kind = kind;
  ref.Index = index;
}

void CaptureAttributes(TJwwEntAttr& head) {
  const ExchangeState& s = Exchange;
  head.HhpNo = s.HhpNo;
  head.LayerGroup = s.CurLayerGroup;
  head.Layer = s.CurLayer;
  head.Color = s.CurLineColor;
  head.LineType = s.CurLineType;
  head.LineWidth = s.CurLineWidth;
  head.ZFlags = s.ZFlags;
}

} // namespace ZizAvodi
