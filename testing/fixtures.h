// Stand-ins for platform services, for tests and tools: a fixed clock, fixed
// regional settings, a chosen executable path. Each installs itself on
// construction and puts back the service it replaced on destruction.
#pragma once

#include <string>

#include "platform/clock.h"
#include "platform/executable_info.h"
#include "platform/regional_settings.h"

namespace zelmor::testing {

class FixedClock final : public platform::Clock {
 public:
  explicit FixedClock(platform::LocalDateTime now, int biasMinutes = 180) : FNow(now), FBias(biasMinutes) {}
  platform::LocalDateTime Now() override { return FNow; }
  int BiasMinutes() override { return FBias; }
  void Set(platform::LocalDateTime now) { FNow = now; }

 private:
  platform::LocalDateTime FNow;
  int FBias;
  platform::Service<platform::Clock>::ScopedOverride FInstalled{this};
};

// Installs `settings` as the platform's regional settings, the live format
// settings and the library's regional copies; puts all three back on destruction.
class FixedRegionalSettings final : public platform::RegionalSettingsSource {
 public:
  explicit FixedRegionalSettings(RegionalSettings settings = RegionalSettings::Brazilian());
  ~FixedRegionalSettings() override;
  FixedRegionalSettings(const FixedRegionalSettings&) = delete;
  FixedRegionalSettings& operator=(const FixedRegionalSettings&) = delete;
  RegionalSettings Read() override { return FSettings; }

 private:
  RegionalSettings FSettings;
  platform::RegionalSettingsSource* FReplaced;
};

class FixedProcessInfo final : public platform::ProcessInfo {
 public:
  explicit FixedProcessInfo(std::u16string exePath) : FPath(std::move(exePath)) {}
  std::u16string ExecutablePath() override { return FPath; }
  // The other processes are the machine's.
  std::vector<std::u16string> RunningExecutableNames() override { return FSystem.RunningExecutableNames(); }

 private:
  std::u16string FPath;
  platform::ProcessInfo& FSystem = platform::Service<platform::ProcessInfo>::Get();
  platform::Service<platform::ProcessInfo>::ScopedOverride FInstalled{this};
};

}  // namespace zelmor::testing
