#include "regional/format_settings.h"

#include "core/snapshot.h"
#include "platform/regional_settings.h"

namespace zelmor {
namespace {

Snapshot<TFormatSettings>& Live() {
  static Snapshot<TFormatSettings> live(
      [] { return platform::Service<platform::RegionalSettingsSource>::Get().Read(); });
  return live;
}

}  // namespace

const TFormatSettings& FormatSettings() { return Live().Get(); }
void SetFormatSettings(const TFormatSettings& settings) { Live().Set(settings); }
void ReloadFormatSettings() { Live().Reload(); }

}  // namespace zelmor
