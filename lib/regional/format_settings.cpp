#include "format/format_settings.h"

#include "core/snapshot.h"
#include "platform/services.h"

namespace zelmor {
namespace {

Snapshot<TFormatSettings>& Live() {
  static Snapshot<TFormatSettings> live([] { return platform::GetRegionalSettingsSource().Read(); });
  return live;
}

}  // namespace

const TFormatSettings& FormatSettings() { return Live().Get(); }
void SetFormatSettings(const TFormatSettings& settings) { Live().Set(settings); }
void ReloadFormatSettings() { Live().Reload(); }

}  // namespace zelmor
