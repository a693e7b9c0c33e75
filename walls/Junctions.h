// Clean junctions: where walls meet, each wall's lines stop at the faces of
// the other walls. Every chain has a band, the area between its innermost
// and outermost row, made of one quadrilateral per segment between the
// rows' mitred corners. A line of one chain is cut where it crosses an edge
// of another chain's band and loses the pieces that lie inside that band;
// a line on a band's face (within ClipTolerance) is kept. A chain is never
// clipped by its own band.
//
// Degenerate cases: a preset whose rows span no width (one row, or all at
// one offset) has no bands and clips nothing; a segment whose corners are
// not finite gives no band; a line parallel to an edge is not cut by it.
#pragma once

#include <memory>
#include <vector>

#include "multiline/MultiLine.h"
#include "settings/Presets.h"
#include "walls/Chains.h"

namespace Walls {

struct BandQuad {
  // A and B on the innermost row, C and D on the outermost, B and C at the
  // segment's end: the polygon A B C D.
  MyFunc::Point A, B, C, D;
  int Chain = 0;
  // Faces no other quad of the band shares: A-B and C-D always, D-A at an
  // open chain's start, B-C at its end.
  bool OuterDA = false;
  bool OuterBC = false;
};

// The band quads of every chain, in chain and segment order.
std::vector<BandQuad> BandQuads(const std::vector<Chain>& chains,
                                const Settings::TLineTable& preset, double scale);

// True when p lies inside the quad (even-odd rule, or within ClipTolerance
// of an edge) and farther than ClipTolerance from each of its outer faces.
bool StrictlyInside(const MyFunc::Point& p, const BandQuad& quad);

// A receiver that clips each line and arc of the current chain by the bands
// of the others and hands on what is left, in order along it; the rows'
// pens pass through unchanged.
class ClippingSink final : public MultiLine::ILineSink {
 public:
  ClippingSink(std::vector<BandQuad> quads, MultiLine::ILineSink& out);
  ~ClippingSink() override;
  ClippingSink(const ClippingSink&) = delete;
  ClippingSink& operator=(const ClippingSink&) = delete;

  // The chain whose lines follow.
  void SetChain(int chain) { chain_ = chain; }

  void BeginRow(int row, const Settings::LineRow& line) override;
  void Line(const MyFunc::Point& from, const MyFunc::Point& to) override;
  void Arc(const MultiLine::CornerArc& arc) override;

 private:
  class Index;
  std::unique_ptr<Index> index_;
  MultiLine::ILineSink& out_;
  int chain_ = 0;
};

} // namespace Walls
