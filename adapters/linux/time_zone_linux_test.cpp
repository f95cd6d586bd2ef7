#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "adapters/linux/system_services.h"

namespace zelmor::adapters {
namespace {

// Sets TZ for one test and restores it after. POSIX rule strings need no zone database.
class TzEnv {
 public:
  explicit TzEnv(const char* tz) {
    if (const char* old = std::getenv("TZ")) FSaved = old;
    setenv("TZ", tz, 1);
  }
  ~TzEnv() {
    if (FSaved)
      setenv("TZ", FSaved->c_str(), 1);
    else
      unsetenv("TZ");
  }

 private:
  std::optional<std::string> FSaved;
};

// The standard offset, whatever the season: zones with daylight time in either
// hemisphere give the same bias all year.
TEST(LinuxTimeZone, StandardBiasIgnoresDaylightTime) {
  struct {
    const char* tz;
    int bias;
  } cases[] = {
      {"BRT3", 180},  // Brasília, no daylight time
      {"UTC0", 0},
      {"CET-1CEST,M3.5.0,M10.5.0/3", -60},     // Central Europe: daylight time in July
      {"AEST-10AEDT,M10.1.0,M4.1.0/3", -600},  // southern hemisphere: daylight time in January
      {"IST-5:30", -330},                      // half-hour zone
      {"NST3:30NDT,M3.2.0,M11.1.0", 210},
  };
  for (const auto& c : cases) {
    TzEnv env(c.tz);
    EXPECT_EQ(SystemTimeZone().StandardBias(), c.bias) << c.tz;
  }
}

}  // namespace
}  // namespace zelmor::adapters
