#pragma once
#include <string_view>

#include "core/settings.h"

namespace zt {

// One "KEY=value" line of the settings as it applies to a worksheet's
// settings record. Keys are compared exactly, case included. Returns false
// for a key that is not a worksheet setting or a line without "=".
bool ApplyWorksheetSetting(WorksheetSettings& s, std::string_view line);

// The three readings of a settings value.
bool SettingFlag(std::string_view value);
long long SettingInteger(std::string_view value);
double SettingReal(std::string_view value);

}  // namespace zt
