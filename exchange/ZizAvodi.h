// The exchange with the host CAD program: the drawing environment read from
// JWC_TEMP.TXT, the element store, and the output commands written back.
// One module-level instance of each, reset at the start of a run.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "exchange/BlockList.h"

namespace ZizAvodi {

// Text held inline with a fixed capacity of 255 bytes (longer texts are cut).
struct InlineText {
  std::uint8_t Length = 0;
  char Bytes[255] = {};

  std::string_view View() const { return {Bytes, Length}; }
  void Assign(std::string_view text);
};

struct TTextSize {
  double Width = 3.0;
  double Height = 3.0;
  double Spacing = 0.0;
  std::int32_t Color = 2;
};

struct TPickedPoint {
  bool IsSet = false;
  double X = 0.0;
  double Y = 0.0;
  std::int32_t Suffix = 0; // 0 none, 1 "-", 2 "ln", 3 "ci", 4 "ch"
};

struct TJwwEntAttr {
  std::int32_t HhpNo = 0;
  std::int32_t LayerGroup = 0;
  std::int32_t Layer = 0;
  std::int32_t Color = 0;
  std::int32_t LineType = 0;
  std::int32_t LineWidth = 0;
  std::int32_t ZFlags = 0;
};

struct TJwwEntLine {
  TJwwEntAttr Attr;
  std::int32_t PolylineNo = 0;
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
};

struct TJwwEntCircle {
  TJwwEntAttr Attr;
  double N1 = 0, N2 = 0, N3 = 0;
};

struct TJwwEntArc {
  TJwwEntAttr Attr;
  double N1 = 0, N2 = 0, N3 = 0, N4 = 0, N5 = 0, N6 = 0, N7 = 0;
};

struct TJwwEntText {
  TJwwEntAttr Attr;
  std::int32_t TextKind = 0;
  std::int32_t TextColor = 0;
  std::int32_t SizeNo = 0;
  double Width = 0, Height = 0, Spacing = 0;
  double X = 0, Y = 0, Dx = 0, Dy = 0;
  InlineText FontName;
  InlineText Text;
};

struct TJwwEntPoint {
  TJwwEntAttr Attr;
  double N1 = 0, N2 = 0;
};

struct TJwwEntPointEx {
  TJwwEntAttr Attr;
  double N1 = 0, N2 = 0, N3 = 0, N4 = 0;
  std::int32_t N5 = 0;
};

struct TJwwEntMsgText {
  TJwwEntAttr Attr;
  TJwwEntLine Line;
  TJwwEntText Text;
};

struct TJwwEntBlk {
  TJwwEntAttr Attr;
  double N1 = 0, N2 = 0;
  std::string Name; // the one heap-held element field
};

struct TJwwEntSolid2 {
  TJwwEntAttr Attr;
  std::int32_t Color10 = 0;
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
};

struct TJwwEntSolid3 {
  TJwwEntAttr Attr;
  std::int32_t Color10 = 0;
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0, X3 = 0, Y3 = 0;
};

struct TJwwEntSolid4 {
  TJwwEntAttr Attr;
  std::int32_t Color10 = 0;
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0, X3 = 0, Y3 = 0, X4 = 0, Y4 = 0;
};

// "sc" and "se" elements.
struct TJwwEntSc {
  TJwwEntAttr Attr;
  std::int32_t Color10 = 0;
  double N1 = 0, N2 = 0, N3 = 0, N4 = 0, N5 = 0, N6 = 0, N7 = 0;
  std::int32_t N8 = 0;
};
using TJwwEntSe = TJwwEntSc;

// "so" and "sg" elements.
struct TJwwEntSo {
  TJwwEntAttr Attr;
  std::int32_t Color10 = 0;
  double N1 = 0, N2 = 0, N3 = 0, N4 = 0, N5 = 0, N6 = 0, N7 = 0, N8 = 0;
};
using TJwwEntSg = TJwwEntSo;

struct TJwwEntRef {
  std::int32_t Kind = 0;  // kind code 1..15
  std::int32_t Index = 0; // 0-based position in the list of that kind
};

// Kind codes of EntityOrder.
enum EntityKind : std::int32_t {
  KindLine = 1,
  KindCircle = 2,
  KindArc = 3,
  KindText = 4,
  KindPoint = 5,
  KindPointEx = 6,
  KindMsgText = 7,
  KindBlock = 8,
  KindSolid2 = 9,
  KindSolid3 = 10,
  KindSolid4 = 11,
  KindSc = 12,
  KindSe = 13,
  KindSo = 14,
  KindSg = 15,
};

constexpr int LayerGroupCount = 16;
constexpr int LayerCount = 256;       // group * 16 + layer
constexpr int PickedPointSlots = 100; // entries 0..99; 0 is never set

struct ExchangeState {
  // Drawing header.
  std::string DrawingFileName;
  double HkValue = 0.0;
  std::array<double, LayerGroupCount> LayerGroupScales{};
  double PaperWidth = 1189.0;
  double PaperHeight = 841.0;
  std::array<TTextSize, 11> TextSizeTable{}; // entries 1..10 used
  bool BzFlag = false;
  std::array<double, 5> HnValues{}; // entries 1..4 used

  // The host's settings: the first record of each kind.
  std::int32_t InitialLayerGroup = 0;
  std::int32_t InitialLayer = 0;
  std::int32_t InitialLineColor = 1;
  std::int32_t InitialLineType = 1;
  std::int32_t InitialLineWidth = 0;
  std::int32_t InitialTextSizeNo = 1;
  double InitialTextWidth = 2.0;
  double InitialTextHeight = 2.0;
  double InitialTextSpacing = 0.0;
  std::int32_t InitialTextSizeColor = 1;
  std::string InitialFontName;

  // Layer tables.
  std::array<std::int32_t, LayerGroupCount> LayerGroupValues{};
  std::array<std::string, LayerGroupCount> LayerGroupNames{};
  std::array<std::int32_t, LayerCount> LayerValues{};
  std::array<std::string, LayerCount> LayerNames{};

  // Picked points.
  std::array<TPickedPoint, PickedPointSlots> PickedPoints{};
  std::int32_t PickedCount = 0;

  // Flags. The six pending flags serve the reader (first record of a kind)
  // and, after ResetOutputState, the writer (command due whatever the cache).
  bool LineWidthSeen = false;
  bool LgPending = true;
  bool LyPending = true;
  bool LcPending = true;
  bool LtPending = true;
  bool LwPending = true;
  bool CnPending = true;
  bool CcPending = false;
  bool FontPending = false;

  // Current attributes: while reading, the latest record of each kind;
  // after ResetOutputState, what the writer emitted last. Both resets set
  // them through ResetCurrentAttributes.
  std::int32_t CurLayerGroup = 0;
  std::int32_t CurLayer = 0;
  std::int32_t CurLineColor = 0;
  std::int32_t CurLineType = 0;
  std::int32_t CurLineWidth = 0;
  std::int32_t CurTextSizeNo = 0;
  double CurTextWidth = 0.0;
  double CurTextHeight = 0.0;
  double CurTextSpacing = 0.0;
  std::int32_t CurTextSizeColor = 0;
  std::int32_t CurTextColor = 0;
  std::string CurFontName;
  std::int32_t CurPointColor = 1;
  std::int32_t CurColor10Value = 0;

  // Reading modes.
  std::int32_t HhpNo = 0;
  std::int32_t ZFlags = 0;
  std::int32_t PolylineCount = 0;
  bool InPolyline = false;
  bool InMessage = false;
  TJwwEntLine HeldLine;

  // Element store.
  BlockList<TJwwEntLine> Lines;
  BlockList<TJwwEntCircle> Circles;
  BlockList<TJwwEntArc> Arcs;
  BlockList<TJwwEntText> Texts;
  BlockList<TJwwEntPoint> Points;
  BlockList<TJwwEntPointEx> PointsEx;
  BlockList<TJwwEntMsgText> MsgTexts;
  BlockList<TJwwEntBlk> Blocks;
  BlockList<TJwwEntSolid2> Solids2;
  BlockList<TJwwEntSolid3> Solids3;
  BlockList<TJwwEntSolid4> Solids4;
  BlockList<TJwwEntSc> ScList;
  BlockList<TJwwEntSe> SeList;
  BlockList<TJwwEntSo> SoList;
  BlockList<TJwwEntSg> SgList;
  BlockList<TJwwEntRef> EntityOrder;
};

// One command line: at most 255 bytes, held in a fixed slot.
struct OutputLine {
  std::uint8_t Length = 0;
  char Bytes[255] = {};

  std::string_view View() const { return {Bytes, Length}; }
};
using OutputBufferList = BlockList<OutputLine>;

// The module-level state. Must go through ResetExchangeState before use.
extern ExchangeState Exchange;
extern OutputBufferList OutputBuffer;

// ---- Drawing environment and element store --------------------------------
void ResetExchangeState();
// The host's default pen, text size and font as the current attributes.
void ResetCurrentAttributes(ExchangeState& s);
void FreeExchangeState();
void AppendEntityOrder(std::int32_t kind, std::int32_t index);
void CaptureAttributes(TJwwEntAttr& head);

// ---- Reader ----------------------------------------------------------------
constexpr int TokenSlots = 32;

struct TokenizedLine {
  std::array<std::string_view, TokenSlots> Slots{}; // views into the line or its scratch
  std::int32_t SlotCount = 0;
};
// Splits line into tokens; views in result point into line itself or into
// scratch (resized as needed); both must outlive the result's use.
void TokenizeExchangeLine(std::string_view line, std::string& scratch, TokenizedLine& result);
void ParseExchangeLine(std::string_view line);
// Reads a whole file; false when it is missing or reading failed part way
// (what was read before stays).
bool ReadExchangeFile(const std::filesystem::path& path);
// The same walk over bytes in memory (tests, fuzzing); never fails.
void ReadExchangeBytes(std::string_view bytes);

// ---- Writer ----------------------------------------------------------------
void AppendOutputLine(std::string_view line);
void ResetOutputState();
void EmitLayerGroup(std::int32_t group);
void EmitLayer(std::int32_t layer);
void EmitLineColor(std::int32_t color, std::int32_t mode);
void EmitLineType(std::int32_t lineType, std::int32_t mode);
void EmitLineWidth(std::int32_t width);
void EmitTextSize(std::int32_t sizeNo, std::int32_t color, std::int32_t mode, double width,
                  double height, double spacing);
void EmitTextColor(std::int32_t color);
void EmitTextFont(std::string_view name);
void EmitLine(double x1, double y1, double x2, double y2);
// False for what EmitLine drops: a line of no length or with a coordinate
// that is not a finite number.
bool LineIsDrawn(double x1, double y1, double x2, double y2);
// A circular arc as the host draws it: "ci cx cy r start end 1 0", angles in
// degrees, counter-clockwise from start to end. Dropped when a number is not
// finite, the radius has no extent, or both angles would be written alike
// (the host would draw a whole circle).
void EmitArc(double cx, double cy, double radius, double startDegrees, double endDegrees);
// A notice the host shows to the user ("h#" and the Shift-JIS text).
void EmitNotice(std::string_view text);
void EmitText(std::int32_t kind, std::string_view text, double x, double y, double dx, double dy);
std::int32_t MapColorIndex(std::int32_t index);
std::int32_t MapLineTypeIndex(std::int32_t index);
// The width an "lw" command carries for a row's width: -1 the host's current
// width, anything outside 0..30000 becomes 0.
std::int32_t MapLineWidth(std::int32_t width);
// The bytes WriteExchangeFile writes for the present buffer.
std::string RenderExchangeFile();
bool WriteExchangeFile(const std::filesystem::path& path);

// Command word of a TextKind 0..9 ("ch" for any other value); shared by
// reader and writer.
std::string_view TextKindCommand(std::int32_t kind);

} // namespace ZizAvodi
