#pragma once

#include "util/z_global.h"

#include <optional>
#include <string_view>

// The four colour designs the user can choose on the settings page; a design's
// index is the position of its name in the design combo box.
namespace settings {

inline constexpr int kDesignCount = 4;

// Tab and page look of the pager that goes with a design.
enum class PagerStyle
{
    psOffice2003Blue,
    psOffice2003Silver,
    psOffice2007Luna,
    psOffice2007Obsidian,
};

// The combo box item of a design; empty outside 0..3.
std::string_view DesignName(int index);

// The twelve colours of a design; nothing outside 0..3, so that a stored index
// the program does not know changes no colour.
std::optional<util::DesignPalette> DesignPaletteOf(int index);

std::optional<PagerStyle> PagerStyleOf(int index);

} // namespace settings
