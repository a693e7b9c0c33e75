// A small text description of the preset table, turned into the tool's own
// settings file and options file by Settings::SaveSettingsAndOptions.
//
// Grammar (one record a line; "#" starts a comment line):
//   current <p>       the current preset, 1..20 (default 1)
//   window <x> <y>    the dialog's screen position (default 100 100)
//   preset <p>        the following comment and rows describe preset p
//                     (before the first "preset" line: preset 1)
//   comment <text>    the preset's comment, UTF-8 (stored as Shift-JIS)
//   row <r> key=value ...
//                     row r (1..10) is drawn; keys, each optional:
//                     interval=<mm> chamfer=<mm> paper=0|1 (paper mm)
//                     color=<n> type=<n> (positions in the dialog's lists,
//                     0 = the host's current one) width=<n> (-1 = current)
//                     enabled=0|1 (default 1: a described row is drawn)
//   options key=value ...
//                     the preset's drawing options, each key optional:
//                     startcap=0|1 endcap=0|1 round=0|1 (round corners)
//                     overhang=<mm> (>= 0) paper=0|1 (overhang in paper mm)
//                     and the caps' color=<n> type=<n> width=<n>, as a row's
// Rows, options and presets not described keep the tool's defaults.
#pragma once

#include <string>
#include <string_view>

#include "settings/Presets.h"

namespace JwHost {

bool ParsePresetDescription(std::string_view text, Settings::PresetTable& table,
                            std::string& error);

} // namespace JwHost
