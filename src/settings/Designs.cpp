#include "settings/Designs.h"

#include <array>

namespace settings {
namespace {

struct Design
{
    std::string_view name;
    util::DesignPalette palette;
    PagerStyle pagerStyle;
};

// Colours are 0xRRGGBB. Designs 0 and 2 differ only in the check-box and radio
// backgrounds, which match the page background of their pager style.
constexpr std::array<Design, kDesignCount> kDesigns = {{
    {"Office 2003 Blue",
     {0xC4DAFA, 0x8DB2E3, 0xDAEAFD, 0xE3EEFD, 0xD5E6FC, 0x92B6E8, 0xE3EEFD, 0xD2E4FC, 0xCFE2FC, 0xC6DAFA,
      0xC6DAFA, 0xDAEAFD},
     PagerStyle::psOffice2003Blue},
    {"Office 2003 Silver",
     {0xEBEBF2, 0xA3A3A3, 0xEAEAF2, 0xCBCDCF, 0xE1E3E3, 0xB3B5B7, 0xCBCDCF, 0xE9E9F1, 0xE6E6EF, 0xD8D8E6,
      0xD8D8E6, 0xB8BEC8},
     PagerStyle::psOffice2003Silver},
    {"Office 2007 Luna",
     {0xC4DAFA, 0x8DB2E3, 0xDAEAFD, 0xE3EEFD, 0xD5E6FC, 0x92B6E8, 0xE3EEFD, 0xDCE8F5, 0xD7E4F4, 0xD0DFF2,
      0xD5E3F5, 0xDAEAFD},
     PagerStyle::psOffice2007Luna},
    {"Office 2007 Obsidian",
     {0xBFC4CD, 0x787878, 0xBDC3CC, 0xCBCDCF, 0xE1E3E3, 0x989B9F, 0xCBCDCF, 0xBCC2CB, 0xBBC1CA, 0xC1C8D0,
      0xC8CFD5, 0xB8BEC8},
     PagerStyle::psOffice2007Obsidian},
}};

const Design* Find(int index)
{
    if (index < 0 || index >= kDesignCount)
        return nullptr;
    return &kDesigns[static_cast<std::size_t>(index)];
}

} // namespace

std::string_view DesignName(int index)
{
    const Design* d = Find(index);
    return d ? d->name : std::string_view();
}

std::optional<util::DesignPalette> DesignPaletteOf(int index)
{
    const Design* d = Find(index);
    if (!d)
        return std::nullopt;
    return d->palette;
}

std::optional<PagerStyle> PagerStyleOf(int index)
{
    const Design* d = Find(index);
    if (!d)
        return std::nullopt;
    return d->pagerStyle;
}

} // namespace settings
