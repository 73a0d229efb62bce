#include "settings/SettingsPage.h"

#include "settings/Settings.h"

#include <charconv>

namespace settings {

int IntervalHoursFromText(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int hours = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), hours);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return kMinIntervalHours;
    return ClampIntervalHours(hours);
}

void SaveSettingsPage(ini::TLMDIniCtrl& ini, const SettingsPageValues& values)
{
    ini.WriteBool(kSectionAllgemein, key::CheckBoxStart, values.compareAtStart);
    ini.WriteBool(kSectionAllgemein, key::CheckBoxInterval, values.intervalEnabled);
    ini.WriteInteger(kSectionAllgemein, key::RxSpinEditInterval, values.intervalHours);
    ini.WriteBool(kSectionAllgemein, key::CheckFlage, values.german);
    ini.WriteInteger(kSectionAllgemein, key::ComboBoxDesign, values.designIndex);
}

} // namespace settings
