// The text forms of dates and times in configuration files.
#pragma once

#include <string>

#include "core/types.h"
#include "regional/format_settings.h"

namespace zelmor::config_text {

// "DD/MM/YYYY", always day first, with the regional date separator.
std::u16string DateText(TDateTime v, const TFormatSettings& fs);
// "HH:NN:SS" with the regional time separator; milliseconds are dropped.
std::u16string TimeText(TDateTime v, const TFormatSettings& fs);

}  // namespace zelmor::config_text
