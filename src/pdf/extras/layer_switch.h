// The script behind a "layer:" link: switches optional-content layers on,
// off or over when the link is clicked.
#pragma once

#include <string>
#include <string_view>

namespace pdf {

// `groups` holds "ON(a,b)", "OFF(c)" and "TOGGLE(d)" in any order (blanks
// ignored; only the first group of each kind counts). The script visits
// every layer of the document and sets the named ones, ON names first, then
// OFF, then TOGGLE. Names are compared in upper case on both sides, so a
// layer is found whatever the case it was created or named with.
std::string layer_switch_script(std::string_view groups);

}  // namespace pdf
