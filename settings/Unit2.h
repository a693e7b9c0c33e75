// The row frame TFrame2: the item lists of its three combo boxes and its
// starting state. The same frame is laid out ten times in the dialog.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "settings/DialogView.h"

namespace Settings {

// Entries of the colour list (266), line-type list (51) and width
// suggestions (26), in Shift-JIS; a position is the value stored for it.
const std::vector<std::string>& ColorItems();
const std::vector<std::string>& LineTypeItems();
const std::vector<std::string>& WidthItems();
// The 28 lines of the help text, Shift-JIS.
const std::vector<std::string>& HelpLines();

// Names of the controls inside a row frame, in their declaration order.
inline constexpr std::string_view RowControlNames[] = {"CH1", "Edit1", "Edit2", "CH2",
                                                       "CB1", "CB2",   "CB3"};

// The controls of one row frame, found by their names.
struct RowControls {
  ControlId Ch1, Edit1, Edit2, Ch2, Cb1, Cb2, Cb3;
};
RowControls FindRowControls(IDialogView& view, ControlId frame);

// Unticks both check boxes, puts "0.0" into both edit boxes, fills the three
// lists and selects "current colour", "current line type" and width "-1".
void InitRowFrame(IDialogView& view, ControlId frame);

// The drawing options' controls, beside the dialog: named after the keys
// of the options file. A view without them edits no options.
inline constexpr std::string_view OptionControlNames[] = {
    "StartCap", "EndCap",      "CapOverhang",  "CapPaperUnit",
    "CapColor", "CapLineType", "CapLineWidth", "RoundCorners"};
struct OptionControls {
  ControlId StartCap, EndCap, CapOverhang, CapPaperUnit, CapColor, CapLineType, CapLineWidth,
      RoundCorners;
  bool Present() const;
};
OptionControls FindOptionControls(IDialogView& view);
// Fills the cap's three lists as a row's are filled.
void InitOptionControls(IDialogView& view, const OptionControls& c);

} // namespace Settings
