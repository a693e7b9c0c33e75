#include "walls/Walls.h"

#include "walls/Chains.h"
#include "walls/Junctions.h"

namespace Walls {

std::vector<MyFunc::Segment> SelectedSegments(const ZizAvodi::ExchangeState& state) {
  std::vector<MyFunc::Segment> segments;
  segments.reserve(static_cast<std::size_t>(state.Lines.Count()));
  for (std::int32_t i = 0; i < state.Lines.Count(); ++i) {
    const ZizAvodi::TJwwEntLine& line = state.Lines[i];
    segments.push_back({{line.X1, line.Y1}, {line.X2, line.Y2}});
  }
  return segments;
}

bool DrawWalls(const std::vector<MyFunc::Segment>& segments, const Settings::TLineTable& preset,
               double scale, MultiLine::ILineSink& sink) {
  const std::vector<Chain> chains = ChainSegments(segments);
  if (chains.empty()) return false;
  ClippingSink clipped(BandQuads(chains, preset, scale), sink);
  // One copy whose caps follow each chain's free ends.
  Settings::TLineTable drawn = preset;
  for (std::size_t i = 0; i < chains.size(); ++i) {
    const Chain& chain = chains[i];
    drawn.Options.StartCap = preset.Options.StartCap && chain.FreeStart;
    drawn.Options.EndCap = preset.Options.EndCap && chain.FreeEnd;
    clipped.SetChain(static_cast<int>(i));
    MultiLine::BuildRows(chain.Points, drawn, scale, clipped);
  }
  return true;
}

} // namespace Walls
