#include "core/settings_keys.h"

#include <charconv>
#include <cmath>
#include <string>

namespace zt {

bool SettingFlag(std::string_view value) { return value.find("TRUE") != std::string_view::npos; }

double SettingReal(std::string_view value)
{
    while (!value.empty() && value.front() == ' ')
        value.remove_prefix(1);
    while (!value.empty() && value.back() == ' ')
        value.remove_suffix(1);
    if (!value.empty() && value.front() == '+')
        value.remove_prefix(1);
    double v = 0;
    auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), v);
    if (ec != std::errc() || end != value.data() + value.size() || !std::isfinite(v))
        return 0;
    return v;
}

long long SettingInteger(std::string_view value)
{
    if (!value.empty() && value.front() == '$') {
        unsigned long long v = 0;
        auto [end, ec] = std::from_chars(value.data() + 1, value.data() + value.size(), v, 16);
        if (ec != std::errc() || v > 0xFFFFFFFFull)
            return 0;
        return static_cast<long long>(v);
    }
    double r = SettingReal(value);
    if (std::fabs(r) >= 2147483647.0)
        return 0;
    return std::llround(r);
}

bool ApplyWorksheetSetting(WorksheetSettings& s, std::string_view line)
{
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return false;
    std::string_view key = line.substr(0, eq + 1);
    std::string_view value = line.substr(eq + 1);
    auto colour = [&](std::uint32_t& field) { field = static_cast<std::uint32_t>(SettingInteger(value)); };
    // An empty value keeps the character it had.
    auto character = [&](char& field) {
        if (!value.empty())
            field = value[0];
    };

    if (key == "PRO=") s.Protect = SettingFlag(value);
    else if (key == "NEG=") s.NegColor = SettingFlag(value);
    else if (key == "ZERO=") s.ZeroSuppress = SettingFlag(value);
    else if (key == "BAND=") s.Band = SettingFlag(value);
    else if (key == "MCALC=") s.ManualCalc = SettingFlag(value);
    else if (key == "3DON=") s.ThreeD = SettingFlag(value);
    else if (key == "DIST=") s.DistLow = SettingFlag(value);
    else if (key == "USDATE=") s.UsDate = SettingFlag(value);
    else if (key == "UNDO=") s.Undo = SettingFlag(value);
    else if (key == "PREFIX=") character(s.Prefix);
    else if (key == "CURR=") s.CurrPrefix = std::string(value.substr(0, 2));
    else if (key == "CURS=") s.CurrSuffix = std::string(value.substr(0, 2));
    else if (key == "SEP=") character(s.Sep);
    else if (key == "COMMA=") character(s.Comma);
    else if (key == "PERIOD=") character(s.Period);
    else if (key == "BKCLR=") colour(s.BackColor);
    else if (key == "BDCLR=") colour(s.BandColor);
    else if (key == "VALCLR=") colour(s.ValueColor);
    else if (key == "NEGCLR=") colour(s.NegValueColor);
    else if (key == "LBLCLR=") colour(s.LabelColor);
    else if (key == "PROCLR=") colour(s.UnlockedColor);
    else if (key == "CURCLR=") colour(s.CursorColor);
    else return false;
    return true;
}

}  // namespace zt
