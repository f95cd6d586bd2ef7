// Where the user's regional settings come from: the platform reports them as the
// value core/regional_settings.h describes.
#pragma once

#include "core/regional_settings.h"
#include "platform/service.h"

namespace zelmor::platform {

// Where the regional settings come from. The Linux implementation reads the
// user's locale (LC_ALL, LC_NUMERIC, LC_TIME, LANG).
class RegionalSettingsSource {
 public:
  static constexpr const char* kServiceName = "regional settings";
  virtual ~RegionalSettingsSource() = default;
  virtual RegionalSettings Read() = 0;
};

}  // namespace zelmor::platform
