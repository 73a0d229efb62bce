#pragma once

#include "ini/LMDIniCtrl.h"

#include <string_view>

// What the settings page stores whenever one of its controls changes.
namespace settings {

struct SettingsPageValues
{
    bool compareAtStart = true;   // CheckBoxStart
    bool intervalEnabled = false; // CheckBoxInterval
    int intervalHours = 2;        // RxSpinEditInterval
    bool german = true;           // CheckFlage
    int designIndex = 0;          // ComboBoxDesign, -1 when none is selected
};

// The refresh period as the spin edit's text gives it: the whole number it shows,
// 1 when it shows no number, brought into 1..10 (while the user types, the text
// may for a moment read 0, which is no period the timer can run with).
int IntervalHoursFromText(std::string_view text);

// Writes the five keys of section Allgemein, one at a time and in this order:
// CheckBoxStart, CheckBoxInterval, RxSpinEditInterval, CheckFlage, ComboBoxDesign.
// A refused write throws IniWriteError; the keys before it stay written.
void SaveSettingsPage(ini::TLMDIniCtrl& ini, const SettingsPageValues& values);

} // namespace settings
