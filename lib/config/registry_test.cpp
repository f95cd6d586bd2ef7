// TmReg on a real store file in a temporary folder; the start-up regional copies.
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "config/mIniReg.h"
#include "core/errors.h"
#include "core/text.h"
#include "forms/FormPosition.h"
#include "forms/startup.h"
#include "mLib.h"
#include "platform/registry_store.h"
#include "regional/format_settings.h"
#include "regional/regional_copies.h"
#include "testing/fixtures.h"
#include "testing/temp_store.h"

namespace zelmor {
namespace {

using platform::RegType;
using platform::RegValue;

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

class RegTest : public ::testing::Test {
 protected:
  platform::RegistryStore& Store() { return registry.Store(); }
  testing::TemporaryRegistry registry;
};

TEST_F(RegTest, AMissingValueGivesTheDefaultAndLeavesAnEmptyKey) {
  EXPECT_EQ(TmReg::Ler(u"Software\\Loja", u"Nome", u"padrão"), u"padrão");
  EXPECT_EQ(TmReg::Ler(u"Software\\Loja\\Caixa", u"Numero", 7), 7);
  EXPECT_EQ(TmReg::Ler(u"Software\\Loja\\Caixa", u"Taxa", 1.25), 1.25);
  EXPECT_TRUE(TmReg::Ler(u"Software\\Loja\\Caixa", u"Ativo", true));
  auto listing = Store().ListKey(u"Software\\Loja\\Caixa");
  ASSERT_TRUE(listing.has_value());
  EXPECT_TRUE(listing->Values.empty());
}

TEST_F(RegTest, EachTypeIsStoredWithTheRegistryTypeItsReaderExpects) {
  const std::u16string key = u"\\Software\\Loja";  // a leading "\" is the same key
  TmReg::Gravar(key, u"Nome", u"Padaria São João");
  TmReg::Gravar(key, u"Caixa", -3);
  TmReg::Gravar(key, u"Taxa", 2.5);
  TmReg::Gravar(key, u"Ativo", true);
  TmReg::Gravar(key, u"Inativo", false);

  EXPECT_EQ(Store().ReadValue(u"software\\loja", u"nome"), RegValue::OfString(u"Padaria São João"));
  EXPECT_EQ(Store().ReadValue(u"Software\\Loja", u"Caixa"), RegValue::OfDWord(0xFFFFFFFDu));
  EXPECT_EQ(Store().ReadValue(u"Software\\Loja", u"Taxa"), RegValue::OfBinary(std::string("\0\0\0\0\0\0\x04\x40", 8)));
  EXPECT_EQ(Store().ReadValue(u"Software\\Loja", u"Ativo"), RegValue::OfDWord(1));
  EXPECT_EQ(Store().ReadValue(u"Software\\Loja", u"Inativo"), RegValue::OfDWord(0));
  EXPECT_NE(FileText(registry.FilePath()).find("\"Taxa\"=hex:00,00,00,00,00,00,04,40"), std::string::npos);

  EXPECT_EQ(TmReg::Ler(u"SOFTWARE\\LOJA", u"NOME", u""), u"Padaria São João");
  EXPECT_EQ(TmReg::Ler(u"Software\\Loja", u"Caixa", 0), -3);
  EXPECT_EQ(TmReg::Ler(u"Software\\Loja", u"Taxa", 0.0), 2.5);
  EXPECT_TRUE(TmReg::Ler(u"Software\\Loja", u"Ativo", false));
  EXPECT_EQ(TmReg::Ler(u"Software\\Loja", u"Ativo", 0), 1);  // True read as a number
  EXPECT_FALSE(TmReg::Ler(u"Software\\Loja", u"Inativo", true));

  Store().WriteValue(u"Software\\Loja", u"Outro", RegValue::OfDWord(42));
  EXPECT_TRUE(TmReg::Ler(u"Software\\Loja", u"Outro", false));  // any non-zero number is True
  Store().WriteValue(u"Software\\Loja", u"Caminho", RegValue::OfString(u"%HOME%", RegType::ExpandString));
  EXPECT_EQ(TmReg::Ler(u"Software\\Loja", u"Caminho", u""), u"%HOME%");
}

TEST_F(RegTest, AValueOfAnotherTypeIsAnError) {
  const std::u16string key = u"Software\\Tipos";
  Store().WriteValue(key, u"Texto", RegValue::OfString(u"12"));
  Store().WriteValue(key, u"Numero", RegValue::OfDWord(12));
  Store().WriteValue(key, u"Curto", RegValue::OfBinary("\x01\x02\x03\x04"));
  Store().WriteValue(key, u"Longo", RegValue::OfBinary(std::string(16, '\0')));
  Store().WriteValue(key, u"Grande", RegValue::OfQWord(12));
  Store().WriteValue(key, u"Lista", RegValue::OfMulti({u"a"}));
  const struct {
    std::u16string name;
    int reader;  // 0 text, 1 integer, 2 double, 3 Boolean
  } cases[] = {
      {u"Texto", 1}, {u"Texto", 2}, {u"Texto", 3},  {u"Numero", 0}, {u"Numero", 2},
      {u"Curto", 2}, {u"Longo", 2}, {u"Grande", 1}, {u"Lista", 0},  {u"Curto", 1},
  };
  for (const auto& c : cases) {
    try {
      switch (c.reader) {
        case 0: TmReg::Ler(key, c.name, u""); break;
        case 1: TmReg::Ler(key, c.name, 0); break;
        case 2: TmReg::Ler(key, c.name, 0.0); break;
        case 3: TmReg::Ler(key, c.name, false); break;
      }
      ADD_FAILURE() << "no error for reader " << c.reader;
    } catch (const ERegistryError& e) {
      EXPECT_EQ(e.Message(), u"Invalid data type for '" + c.name + u"'");
    }
  }
}

TEST_F(RegTest, WritingReplacesAnyTypeAndDeletingIsQuiet) {
  TmReg::Gravar(u"K", u"v", u"texto");
  TmReg::Gravar(u"K", u"V", 5);
  EXPECT_EQ(TmReg::Ler(u"K", u"v", 0), 5);
  EXPECT_EQ(Store().ListKey(u"K")->Values.size(), 1u);
  TmReg::Excluir(u"K", u"v");
  EXPECT_EQ(TmReg::Ler(u"K", u"v", 9), 9);
  EXPECT_NO_THROW(TmReg::Excluir(u"K", u"v"));
  EXPECT_NO_THROW(TmReg::Excluir(u"Nova\\Chave", u"v"));
  EXPECT_TRUE(Store().KeyExists(u"Nova\\Chave"));  // opened (created) like every other call

  try {
    TmReg::Gravar(u"K", std::u16string(16384, u'n'), 1);
    ADD_FAILURE();
  } catch (const ERegistryError& e) {
    EXPECT_EQ(e.Message().substr(0, 24), u"Failed to set data for '");
  }
}

TEST_F(RegTest, ADamagedStoreIsReportedNotOverwritten) {
  TmReg::Gravar(u"K", u"v", 1);
  { std::ofstream(registry.FilePath(), std::ios::app) << "garbage line\n"; }
  const std::string before = FileText(registry.FilePath());
  EXPECT_THROW(TmReg::Ler(u"K", u"v", 0), ERegistryError);
  EXPECT_THROW(TmReg::Gravar(u"K", u"w", 2), ERegistryError);
  EXPECT_EQ(FileText(registry.FilePath()), before);
}

TEST_F(RegTest, TheAliasIsTheSameClass) {
  mReg::Gravar(u"K", u"a", 3);
  EXPECT_EQ(TmReg::Ler(u"K", u"a", 0), 3);
}

// ---- SetPadraoBrasil and the regional copies ----

TEST_F(RegTest, SetPadraoBrasilWritesTheBrazilianValuesAndChangesOnlyTheCopies) {
  testing::FixedRegionalSettings us(RegionalSettings::UnitedStates());
  EXPECT_EQ(RegionalCopies().DecimalSeparator, u'.');
  EXPECT_EQ(RegionalCopies().ThousandSeparator, u',');

  TmReg::SetPadraoBrasil();

  const std::u16string key = u"Control Panel\\International";
  const std::pair<std::u16string, std::u16string> expected[] = {
      {u"sShortDate", u"dd/MM/yyyy"}, {u"sDecimal", u","},           {u"sThousand", u"."}, {u"sMonDecimalSep", u","},
      {u"sMonThousandSep", u"."},     {u"sTimeFormat", u"HH:mm:ss"}, {u"sTime", u":"},
  };
  for (const auto& [name, text] : expected)
    EXPECT_EQ(Store().ReadValue(key, name), RegValue::OfString(text)) << U16ToUtf8(name);
  EXPECT_EQ(RegionalCopies().DecimalSeparator, u',');
  EXPECT_EQ(RegionalCopies().ThousandSeparator, u'.');
  EXPECT_EQ(RegionalCopies().ShortDateFormat, u"dd/MM/yyyy");
  EXPECT_EQ(RegionalCopies().DateSeparator, u'/');  // not one of the three
  EXPECT_EQ(RegionalCopies().CurrencyString, u"$");
  EXPECT_EQ(FormatSettings().DecimalSeparator, u'.');  // the live settings stay
}

// The seven values are one change: the store file is replaced once (one rename
// into place, seen by inotify), not once per value.
TEST_F(RegTest, SetPadraoBrasilRewritesTheStoreOnce) {
  testing::FixedRegionalSettings us(RegionalSettings::UnitedStates());
  TmReg::Gravar(u"Software\\Loja", u"x", 1);  // the store's folder and file exist now
  const std::string folder = registry.FilePath().substr(0, registry.FilePath().rfind('/'));
  const int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  ASSERT_GE(fd, 0);
  ASSERT_GE(inotify_add_watch(fd, folder.c_str(), IN_MOVED_TO), 0);
  TmReg::SetPadraoBrasil();
  int renames = 0;
  alignas(inotify_event) char buf[8192];
  for (ssize_t n; (n = read(fd, buf, sizeof buf)) > 0;) {
    for (char* p = buf; p < buf + n;) {
      const auto* e = reinterpret_cast<const inotify_event*>(p);
      if (e->len > 0 && std::string(e->name) == "registry.reg") ++renames;
      p += sizeof(inotify_event) + e->len;
    }
  }
  close(fd);
  EXPECT_EQ(renames, 1);
  EXPECT_EQ(Store().ReadValue(u"Control Panel\\International", u"sTime"), RegValue::OfString(u":"));
}

TEST_F(RegTest, SetPadraoBrasilWithoutTheRegionalKeyDoesNothingAtAll) {
  testing::FixedRegionalSettings us(RegionalSettings::UnitedStates());
  ASSERT_TRUE(Store().DeleteKey(u"Control Panel"));
  TmReg::SetPadraoBrasil();
  EXPECT_FALSE(Store().KeyExists(u"Control Panel\\International"));
  EXPECT_EQ(RegionalCopies().DecimalSeparator, u'.');
  EXPECT_EQ(RegionalCopies().ShortDateFormat, u"M/d/yyyy");
}

TEST_F(RegTest, WithBrazilianSettingsTheCopiesAlreadyHoldTheBrazilianValues) {
  testing::FixedRegionalSettings br(RegionalSettings::Brazilian());
  const TRegionalCopies before = RegionalCopies();
  TmReg::SetPadraoBrasil();
  const TRegionalCopies& after = RegionalCopies();
  EXPECT_EQ(after.DecimalSeparator, before.DecimalSeparator);
  EXPECT_EQ(after.ThousandSeparator, before.ThousandSeparator);
  EXPECT_EQ(after.ShortDateFormat, before.ShortDateFormat);
  EXPECT_TRUE(Store().ReadValue(u"Control Panel\\International", u"sDecimal").has_value());  // still written
}

TEST(StartupState, TakesTheCopiesAndClearsTheFormPositionSettings) {
  testing::FixedRegionalSettings us(RegionalSettings::UnitedStates());
  SetFormPositionFolder(u"/tmp/somewhere/");
  SetFormPositionCallback([](TFormPosition&, TFormWindow&, TFormPlacement&, bool) {});
  SetBrazilianRegionalCopies();
  InitializeStartupState();
  EXPECT_EQ(FormPositionFolder(), u"");
  EXPECT_FALSE(FormPositionCallback());
  EXPECT_EQ(RegionalCopies().DecimalSeparator, u'.');
  EXPECT_EQ(RegionalCopies().LongMonthNames[0], u"January");
  EXPECT_EQ(RegionalCopies().ShortDayNames[0], u"Sun");
}

}  // namespace
}  // namespace zelmor
