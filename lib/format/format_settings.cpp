#include "format/format_settings.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/services.h"

namespace zelmor {
namespace {

// Settings are replaced wholesale, never mutated, so readers take one atomic load
// and a reference handed out stays valid: earlier copies are kept until exit
// (they change a handful of times per run at most).
std::atomic<const TFormatSettings*> gCurrent{nullptr};
std::mutex gWriteMutex;
std::vector<std::unique_ptr<const TFormatSettings>>& Owned() {
  static std::vector<std::unique_ptr<const TFormatSettings>> owned;
  return owned;
}

const TFormatSettings* Store(TFormatSettings s) {
  Owned().push_back(std::make_unique<const TFormatSettings>(std::move(s)));
  const TFormatSettings* p = Owned().back().get();
  gCurrent.store(p, std::memory_order_release);
  return p;
}

}  // namespace

const TFormatSettings& FormatSettings() {
  if (const TFormatSettings* p = gCurrent.load(std::memory_order_acquire)) return *p;
  std::lock_guard lock(gWriteMutex);
  if (const TFormatSettings* p = gCurrent.load(std::memory_order_acquire)) return *p;
  return *Store(platform::GetRegionalSettingsSource().Read());
}

void SetFormatSettings(const TFormatSettings& settings) {
  std::lock_guard lock(gWriteMutex);
  Store(settings);
}

void ReloadFormatSettings() {
  std::lock_guard lock(gWriteMutex);
  Store(platform::GetRegionalSettingsSource().Read());
}

}  // namespace zelmor
