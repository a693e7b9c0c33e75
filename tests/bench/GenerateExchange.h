// Writes exchange files as the host would for a large drawing, for timing
// the reader: mostly plain lines, then circles, arcs, texts with Shift-JIS
// bytes, and the attribute records that switch layers and pens between them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace ExchangeBench {

struct GeneratedFile {
  std::uint64_t Bytes = 0;
  std::int64_t Records = 0;
};

// Appends records to out until it has grown by at least targetBytes. The
// same seed gives the same bytes.
GeneratedFile AppendExchangeRecords(std::string& out, std::uint64_t targetBytes,
                                    std::uint32_t seed);

// Writes such a file of about targetBytes (CR LF line ends) in pieces, so
// that the generator itself needs little memory. False when writing fails.
bool GenerateExchangeFile(const std::filesystem::path& path, std::uint64_t targetBytes,
                          std::uint32_t seed, GeneratedFile& result);

// The file the host writes after a range selection of a plan's centre
// lines, for timing the select run: walls on a grid of rooms (T and X
// junctions, free ends where a wall stops), each wall drawn either split at
// every junction or whole across several rooms, some split between
// junctions, some reversed, and a few rooms traced again as polylines over
// walls already drawn. Stops after exactly `segments` line records (the
// polylines' lines included). The same seed gives the same bytes.
std::string PlanExchange(std::int64_t segments, std::uint32_t seed);

} // namespace ExchangeBench
