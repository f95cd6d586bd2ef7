// Stand-ins for platform services, for tests and tools: a fixed clock, fixed
// regional settings, a chosen executable path. Each installs itself on
// construction and restores the real service on destruction.
#pragma once

#include <string>

#include "platform/services.h"

namespace zelmor::testing {

class FixedClock final : public platform::Clock {
 public:
  explicit FixedClock(platform::LocalDateTime now, int biasMinutes = 180);
  ~FixedClock() override;
  platform::LocalDateTime Now() override { return FNow; }
  int BiasMinutes() override { return FBias; }
  void Set(platform::LocalDateTime now) { FNow = now; }

 private:
  platform::LocalDateTime FNow;
  int FBias;
};

// Installs `settings` as the platform's regional settings, the live format
// settings and the library's regional copies; restores all three on destruction.
class FixedRegionalSettings final : public platform::RegionalSettingsSource {
 public:
  explicit FixedRegionalSettings(platform::RegionalSettings settings = platform::RegionalSettings::Brazilian());
  ~FixedRegionalSettings() override;
  platform::RegionalSettings Read() override { return FSettings; }

 private:
  platform::RegionalSettings FSettings;
};

class FixedProcessInfo final : public platform::ProcessInfo {
 public:
  explicit FixedProcessInfo(std::u16string exePath);
  ~FixedProcessInfo() override;
  std::u16string ExecutablePath() override { return FPath; }
  std::vector<std::u16string> RunningExecutableNames() override {
    return platform::SystemProcessInfo().RunningExecutableNames();
  }

 private:
  std::u16string FPath;
};

}  // namespace zelmor::testing
