#include "testing/fixtures.h"

#include "regional/format_settings.h"
#include "regional/regional_copies.h"

namespace zelmor::testing {

FixedRegionalSettings::FixedRegionalSettings(RegionalSettings settings)
    : FSettings(std::move(settings)), FReplaced(platform::Service<platform::RegionalSettingsSource>::Set(this)) {
  SetFormatSettings(FSettings);
  TakeRegionalCopies();
}

FixedRegionalSettings::~FixedRegionalSettings() {
  // The source goes back first: the live settings and the copies are read from it again.
  platform::Service<platform::RegionalSettingsSource>::Set(FReplaced);
  ReloadFormatSettings();
  TakeRegionalCopies();
}

}  // namespace zelmor::testing
