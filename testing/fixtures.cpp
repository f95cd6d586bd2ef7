#include "platform/testing/fixtures.h"

#include "format/format_settings.h"
#include "startup/regional_copies.h"

namespace zelmor::testing {

FixedClock::FixedClock(platform::LocalDateTime now, int biasMinutes) : FNow(now), FBias(biasMinutes) {
  platform::SetClock(this);
}
FixedClock::~FixedClock() { platform::SetClock(nullptr); }

FixedRegionalSettings::FixedRegionalSettings(platform::RegionalSettings settings) : FSettings(std::move(settings)) {
  platform::SetRegionalSettingsSource(this);
  SetFormatSettings(FSettings);
  TakeRegionalCopies();
}
FixedRegionalSettings::~FixedRegionalSettings() {
  platform::SetRegionalSettingsSource(nullptr);
  ReloadFormatSettings();
  TakeRegionalCopies();
}

FixedProcessInfo::FixedProcessInfo(std::u16string exePath) : FPath(std::move(exePath)) {
  platform::SetProcessInfo(this);
}
FixedProcessInfo::~FixedProcessInfo() { platform::SetProcessInfo(nullptr); }

}  // namespace zelmor::testing
