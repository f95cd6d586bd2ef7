#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "adapters/linux/system_services.h"

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

TEST(LinuxRegionalSettings, UnknownLocaleFallsBackToPlain) {
  LocaleEnv env("xx_YY.UTF-8", nullptr);
  EXPECT_EQ(SystemRegionalSettings().Read().DecimalSeparator, u'.');
}

}  // namespace
}  // namespace zelmor::adapters
