#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/text.h"
#include "system/mTerminalService.h"
#include "system/system.h"
#include "testing/runtime_doubles.h"

namespace zelmor {
namespace {

// The process's own environment, through the installed system environment.
class Environment : public ::testing::Test {
 protected:
  void TearDown() override {
    unsetenv("ZELMOR_TEST_VAR");
    unsetenv("SESSIONNAME");
  }
};

TEST_F(Environment, VariablesAreReadWholeAndAsUtf8) {
  unsetenv("ZELMOR_TEST_VAR");
  EXPECT_EQ(TmRot::GetVariavelAmbiente(u"ZELMOR_TEST_VAR"), u"");
  setenv("ZELMOR_TEST_VAR", "", 1);
  EXPECT_EQ(TmRot::GetVariavelAmbiente(u"ZELMOR_TEST_VAR"), u"");
  setenv("ZELMOR_TEST_VAR", "São Paulo – caixa 3", 1);
  EXPECT_EQ(TmRot::GetVariavelAmbiente(u"ZELMOR_TEST_VAR"), u"São Paulo – caixa 3");
  const std::string longValue(5000, 'x');  // far beyond a first buffer of 256
  setenv("ZELMOR_TEST_VAR", longValue.c_str(), 1);
  EXPECT_EQ(TmRot::GetVariavelAmbiente(u"ZELMOR_TEST_VAR").size(), 5000u);
  EXPECT_EQ(TmTS::GetVariavelAmbiente(u"ZELMOR_TEST_VAR"), TmRot::GetVariavelAmbiente(u"ZELMOR_TEST_VAR"));
  // Names that cannot name a variable.
  EXPECT_EQ(TmRot::GetVariavelAmbiente(u""), u"");
  EXPECT_EQ(TmRot::GetVariavelAmbiente(u"ZELMOR_TEST_VAR=x"), u"");
  EXPECT_EQ(TmRot::GetVariavelAmbiente(std::u16string(u"ZELMOR_TEST_VAR\0", 16)), u"");
}

TEST_F(Environment, TheLogonNameIsSessionnameAndEmptyWithoutIt) {
  unsetenv("SESSIONNAME");
  EXPECT_EQ(TmTS::GetSecaoLogado(), u"");
  setenv("SESSIONNAME", "Console", 1);
  EXPECT_EQ(TmTS::GetSecaoLogado(), u"Console");
  setenv("SESSIONNAME", "RDP-Tcp#3", 1);
  EXPECT_EQ(TmTS::GetSecaoLogado(), u"RDP-Tcp#3");
}

TEST(GetSecaoLogado, ComesFromTheSystemEnvironmentService) {
  testing::FixedSystemEnvironment system({}, {{u"SESSIONNAME", u"Console"}});
  EXPECT_EQ(TmTS::GetSecaoLogado(), u"Console");
  EXPECT_EQ(TmRot::GetVariavelAmbiente(u"HOME"), u"");
}

TEST(IsTerminalService, IsWhatTheSessionServiceSays) {
  {
    testing::FixedSession local(false);
    EXPECT_FALSE(TmTS::IsTerminalService());
  }
  testing::FixedSession remote(true);
  EXPECT_TRUE(TmTS::IsTerminalService());
}

}  // namespace
}  // namespace zelmor
