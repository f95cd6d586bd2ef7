// The live regional settings: what number and date-time formatting read. Taken
// from the platform once, on first use (the user's locale on Linux), and held for
// the life of the process like the runtime's own copy. Tests and tools may replace
// them; the library's own start-up copies are a separate thing.
#pragma once

#include "core/regional_settings.h"

namespace zelmor {

using TFormatSettings = RegionalSettings;

// The live settings. The first call reads them from the platform.
const TFormatSettings& FormatSettings();
// Replaces the live settings (tests, tools, and `--locale`-style options).
void SetFormatSettings(const TFormatSettings& settings);
// Reads them again from the platform.
void ReloadFormatSettings();

}  // namespace zelmor
