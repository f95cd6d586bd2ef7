// File times as the library's date-time values (local time).
#pragma once

#include "core/types.h"
#include "platform/file_system.h"

namespace zelmor::files {

// The local date and time of a file time, with milliseconds; 0 when it cannot be converted.
TDateTime FileTimeToDateTime(const platform::FileTime& time);
// The same, cut to the second (what listings show and compare).
TDateTime FileTimeToDateTimeSeconds(const platform::FileTime& time);

}  // namespace zelmor::files
