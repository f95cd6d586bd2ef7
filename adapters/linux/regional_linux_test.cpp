#include <gtest/gtest.h>
#include <locale.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "adapters/linux/system_services.h"
#include "calendar/calendar.h"
#include "core/text.h"
#include "format/format_datetime.h"

namespace zelmor::adapters {
namespace {

// Sets the locale variables for one test and restores them after.
class LocaleEnv {
 public:
  LocaleEnv(const char* lcAll, const char* lang) {
    for (const char* v : {"LC_ALL", "LC_NUMERIC", "LC_TIME", "LC_MONETARY", "LANG"}) {
      const char* old = std::getenv(v);
      FSaved.emplace_back(v, old ? std::optional<std::string>(old) : std::nullopt);
      unsetenv(v);
    }
    if (lcAll) setenv("LC_ALL", lcAll, 1);
    if (lang) setenv("LANG", lang, 1);
  }
  ~LocaleEnv() {
    for (auto& [name, value] : FSaved) {
      if (value)
        setenv(name.c_str(), value->c_str(), 1);
      else
        unsetenv(name.c_str());
    }
  }

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> FSaved;
};

TEST(LinuxRegionalSettings, BrazilianLocaleGivesBrazilianConventions) {
  for (const char* name : {"pt_BR.UTF-8", "pt_BR.utf8", "pt_BR"}) {
    LocaleEnv env(nullptr, name);
    RegionalSettings r = SystemRegionalSettings().Read();
    EXPECT_EQ(r.DecimalSeparator, u',') << name;
    EXPECT_EQ(r.ThousandSeparator, u'.');
    EXPECT_EQ(r.DateSeparator, u'/');
    EXPECT_EQ(r.TimeSeparator, u':');
    EXPECT_EQ(r.ShortDateFormat, u"dd/MM/yyyy");
    EXPECT_EQ(r.LongDayNames[3], u"quarta-feira");
    EXPECT_EQ(r.LongMonthNames[11], u"dezembro");
    EXPECT_EQ(r.CurrencyString, u"R$");
  }
}

TEST(LinuxRegionalSettings, PlainLocale) {
  LocaleEnv env("C", nullptr);
  RegionalSettings r = SystemRegionalSettings().Read();
  EXPECT_EQ(r.DecimalSeparator, u'.');
  EXPECT_EQ(r.LongDayNames[0], u"Sunday");
  EXPECT_EQ(r.LongMonthNames[0], u"January");
}

TEST(LinuxRegionalSettings, CategoriesResolveLikeTheCLibrary) {
  // LC_ALL wins over everything; LC_NUMERIC over LANG for the separators only.
  {
    LocaleEnv env("pt_BR.UTF-8", "C");
    EXPECT_EQ(SystemRegionalSettings().Read().DecimalSeparator, u',');
  }
  {
    LocaleEnv env(nullptr, "C");
    setenv("LC_NUMERIC", "pt_BR.UTF-8", 1);
    RegionalSettings r = SystemRegionalSettings().Read();
    EXPECT_EQ(r.DecimalSeparator, u',');
    EXPECT_EQ(r.LongMonthNames[0], u"January");
  }
  {
    LocaleEnv env(nullptr, nullptr);  // nothing set: the C locale
    EXPECT_EQ(SystemRegionalSettings().Read().DecimalSeparator, u'.');
  }
}

// Locales the C library generated: their time and date formats are translated
// whole, so the library writes a time and a date as the C library itself does
// (en_US's time format is "%r", which once gave an empty time).
struct GeneratedLocale {
  const char* Name;
  const char16_t* LongTime;
  const char16_t* ShortDate;
};

class GeneratedLocales : public ::testing::TestWithParam<GeneratedLocale> {};

std::string CFormat(locale_t loc, const char* format, const std::tm& tm) {
  char buf[128];
  const std::size_t n = strftime_l(buf, sizeof buf, format, &tm, loc);
  return std::string(buf, n);
}

TEST_P(GeneratedLocales, TimeAndDateFormatsMatchTheCLibrary) {
  const GeneratedLocale& c = GetParam();
  locale_t loc = newlocale(LC_ALL_MASK, c.Name, static_cast<locale_t>(nullptr));
  if (!loc) GTEST_SKIP() << "the locale " << c.Name << " is not generated here (tools/setup-deps.sh generates it)";
  LocaleEnv env(c.Name, nullptr);
  const RegionalSettings r = SystemRegionalSettings().Read();
  EXPECT_EQ(U16ToUtf8(r.LongTimeFormat), U16ToUtf8(c.LongTime));
  EXPECT_EQ(U16ToUtf8(r.ShortDateFormat), U16ToUtf8(c.ShortDate));
  std::tm tm{};
  tm.tm_year = 2026 - 1900;
  tm.tm_mon = 11;
  tm.tm_mday = 9;
  tm.tm_wday = 3;
  for (int hour : {0, 9, 14, 23}) {
    tm.tm_hour = hour;
    tm.tm_min = 5;
    tm.tm_sec = 9;
    EXPECT_EQ(U16ToUtf8(FormatDateTime(r.LongTimeFormat, EncodeTime(hour, 5, 9, 0), r)), CFormat(loc, "%X", tm))
        << c.Name << " " << hour;
  }
  EXPECT_EQ(U16ToUtf8(FormatDateTime(r.ShortDateFormat, EncodeDate(2026, 12, 9), r)), CFormat(loc, "%x", tm));
  freelocale(loc);
}

INSTANTIATE_TEST_SUITE_P(LinuxRegionalSettings, GeneratedLocales,
                         ::testing::Values(GeneratedLocale{"en_US.UTF-8", u"hh:nn:ss AMPM", u"MM/dd/yyyy"},
                                           GeneratedLocale{"de_DE.UTF-8", u"hh:nn:ss", u"dd.MM.yyyy"},
                                           GeneratedLocale{"pt_PT.UTF-8", u"hh:nn:ss", u"dd/MM/yyyy"}),
                         [](const auto& info) { return std::string(info.param.Name).substr(0, 5); });

TEST(LinuxRegionalSettings, UnknownLocaleFallsBackToPlain) {
  LocaleEnv env("xx_YY.UTF-8", nullptr);
  EXPECT_EQ(SystemRegionalSettings().Read().DecimalSeparator, u'.');
}

}  // namespace
}  // namespace zelmor::adapters
