// TFormPosition's rules on a window stand-in (the Qt window is tested in app/),
// with the real registry store and configuration files in a temporary folder.
#include "forms/FormPosition.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "config/mConfigUnit.h"
#include "config/mIniReg.h"
#include "core/errors.h"
#include "core/text.h"
#include "forms/memory_window.h"
#include "platform/registry_store.h"
#include "testing/fixtures.h"
#include "testing/temp_store.h"

namespace zelmor {
namespace {

using platform::RegValue;

// The test's window: a memory window with the test form's name and bounds.
class FakeWindow : public TMemoryFormWindow {
 public:
  FakeWindow() {
    FName = u"TesteForm";
    FWidth = 401;
    FHeight = 101;
  }
};

const std::u16string kKey = u"SOFTWARE\\Zelmor\\Forms\\TesteForm";

class FormPositionTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearFormPositionSettings(); }
  void TearDown() override { ClearFormPositionSettings(); }
  platform::RegistryStore& Store() { return registry.Store(); }
  std::vector<std::u16string> StoredNames() {
    std::vector<std::u16string> names;
    if (auto l = Store().ListKey(kKey))
      for (const auto& v : l->Values) names.push_back(v.first);
    return names;
  }

  testing::TemporaryRegistry registry;
  FakeWindow form;
};

TEST_F(FormPositionTest, FirstRunIsCentredAndACloseStoresThePosition) {
  TFormPosition fp(&form);
  fp.Loaded();
  form.Show();
  EXPECT_EQ(form.FTop, 1080 / 2 - 101 / 2);   // 490: halves truncated
  EXPECT_EQ(form.FLeft, 1920 / 2 - 401 / 2);  // 760
  EXPECT_EQ(form.FWidth, 401);
  form.FLeft = 30;
  form.FTop = 40;
  form.FWidth = 500;
  EXPECT_TRUE(form.Close());
  EXPECT_EQ(StoredNames(), (std::vector<std::u16string>{u"Top", u"Left", u"Width", u"Height"}));
  EXPECT_EQ(Store().ReadValue(kKey, u"Top"), RegValue::OfDWord(40));
  EXPECT_EQ(Store().ReadValue(kKey, u"Width"), RegValue::OfDWord(500));

  FakeWindow again;
  TFormPosition fp2(&again);
  fp2.Loaded();
  again.Show();
  EXPECT_EQ(again.FLeft, 30);
  EXPECT_EQ(again.FTop, 40);
  EXPECT_EQ(again.FWidth, 500);
  EXPECT_TRUE(again.Errors.empty());
}

TEST_F(FormPositionTest, RegistryPlacementsPastTheEdgeReturnToTheDefaultsAsAWhole) {
  const struct {
    int top, left, defTop, defLeft;
    int wantTop, wantLeft;
  } cases[] = {
      {1080 - 101 + 1, 10, 0, 0, 490, 760},  // one pixel past the bottom: both go back, left too
      {10, 1920 - 401 + 1, 0, 0, 490, 760},
      {1080 - 101, 1920 - 401, 0, 0, 979, 1519},  // exactly at the edge stays
      {20, -300, 0, 0, 20, -300},                 // a monitor to the left: kept
      {2000, 5, 100, 0, 100, 760},                // DefTop replaces the centred top
      // Values no desktop has: the edge test must not wrap round, the window goes home.
      {2147483647, 10, 0, 0, 490, 760},
      {10, 2147483600, 0, 0, 490, 760},
      {-2147483647 - 1, 10, 0, 0, 490, 760},
      {10, -40000, 0, 0, 490, 760},
  };
  for (const auto& c : cases) {
    TmReg::Gravar(kKey, u"Top", c.top);
    TmReg::Gravar(kKey, u"Left", c.left);
    TFormPosition fp(&form);
    fp.SetRestore({TRestore::Position});
    fp.SetDefTop(c.defTop);
    fp.SetDefLeft(c.defLeft);
    fp.RestauraPadroesForm();
    EXPECT_EQ(form.FTop, c.wantTop) << c.top << "," << c.left;
    EXPECT_EQ(form.FLeft, c.wantLeft) << c.top << "," << c.left;
  }
  Store().DeleteKey(kKey);
  TFormPosition fp(&form);
  fp.SetDefTop(100);
  fp.RestauraPadroesForm();
  EXPECT_EQ(form.FTop, 100);
  EXPECT_EQ(form.FLeft, 760);
}

// A customer display on the monitor right of the cashier's: a place wholly on any
// monitor is kept, in every store; one on no monitor still follows the edge rules.
TEST_F(FormPositionTest, APlaceWhollyOnAnyMonitorIsKept) {
  form.FMonitors = {{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}, {-1024, 200, 1024, 768}};
  testing::TemporaryFolder dir;
  const std::u16string folder = Utf8ToU16(dir.Path() + "/");
  const struct {
    int top, left;
    int wantRegistryTop, wantRegistryLeft;  // registry: back to the centre as a whole
    int wantFolderTop, wantFolderLeft;      // folder: each axis pulled back to the edge
  } cases[] = {
      {150, 2000, 150, 2000, 150, 2000},               // on the second monitor
      {1024 - 101, 3200 - 401, 923, 2799, 923, 2799},  // its bottom-right corner, exactly
      {150, 3200 - 400, 490, 760, 150, 1920 - 401},    // one pixel past it: on no monitor
      {1000, 2000, 490, 760, 1080 - 101, 1920 - 401},  // below the second one's bottom
      {300, -1000, 300, -1000, 300, -1000},            // on the monitor to the left
      {100, 1800, 490, 760, 100, 1920 - 401},          // across two monitors: on neither wholly
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.top << "," << c.left);
    ClearFormPositionSettings();
    TmReg::Gravar(kKey, u"Top", c.top);
    TmReg::Gravar(kKey, u"Left", c.left);
    TFormPosition fp(&form);
    fp.SetRestore({TRestore::Position});
    fp.RestauraPadroesForm();
    EXPECT_EQ(form.FTop, c.wantRegistryTop);
    EXPECT_EQ(form.FLeft, c.wantRegistryLeft);

    SetFormPositionFolder(folder);
    {
      TmConfig ini(folder + u"FormPosition.ini", true);
      ini.WriteInteger(u"TesteForm", u"Top", c.top);
      ini.WriteInteger(u"TesteForm", u"Left", c.left);
    }
    fp.RestauraPadroesForm();
    EXPECT_EQ(form.FTop, c.wantFolderTop);
    EXPECT_EQ(form.FLeft, c.wantFolderLeft);
  }
  TFormPlacement stored{2000, 150, 401, 101, TWindowState::wsNormal};
  SetFormPositionCallback([&](TFormPosition&, TFormWindow&, TFormPlacement& p, bool save) {
    if (!save) p = stored;
  });
  TFormPosition fp(&form);
  fp.SetRestore({TRestore::Position});
  fp.RestauraPadroesForm();
  EXPECT_EQ(form.FLeft, 2000);
  EXPECT_EQ(form.FTop, 150);
  EXPECT_TRUE(form.Errors.empty());
}

TEST_F(FormPositionTest, PositionOnlyNeitherReadsNorWritesTheRest) {
  Store().WriteValue(kKey, u"Width", RegValue::OfString(u"not a number"));  // would be an error if read
  Store().WriteValue(kKey, u"State", RegValue::OfString(u"Max"));
  TFormPosition fp(&form);
  fp.SetRestore({TRestore::Position});
  fp.Loaded();
  form.Show();
  EXPECT_TRUE(form.Errors.empty());
  EXPECT_EQ(form.FState, TWindowState::wsNormal);
  form.FState = TWindowState::wsMaximized;
  form.Close();
  EXPECT_EQ(StoredNames(), (std::vector<std::u16string>{u"Width", u"State", u"Top", u"Left"}));
  EXPECT_EQ(Store().ReadValue(kKey, u"State"), RegValue::OfString(u"Max"));
}

TEST_F(FormPositionTest, WindowStateAndTransparency) {
  TFormPosition fp(&form);
  fp.SetRestore({TRestore::WindowState});
  form.FState = TWindowState::wsMaximized;
  form.FTransparent = true;
  form.FColour = 12713921;
  fp.SalvaPadroesForm();
  EXPECT_EQ(Store().ReadValue(kKey, u"State"), RegValue::OfString(u"Max"));
  EXPECT_EQ(Store().ReadValue(kKey, u"TransparentColor"), RegValue::OfDWord(1));
  EXPECT_EQ(Store().ReadValue(kKey, u"TransparentColorValue"), RegValue::OfString(u"$00C1FFC1"));
  form.FState = TWindowState::wsMinimized;
  form.FTransparent = false;
  form.FColour = clCream;
  fp.SalvaPadroesForm();
  EXPECT_EQ(Store().ReadValue(kKey, u"State"), RegValue::OfString(u"Max"));  // minimised: kept
  EXPECT_EQ(Store().ReadValue(kKey, u"TransparentColor"), RegValue::OfDWord(0));
  EXPECT_EQ(Store().ReadValue(kKey, u"TransparentColorValue"), RegValue::OfString(u"clCream"));

  FakeWindow other;
  TFormPosition restore(&other);
  restore.SetRestore({TRestore::WindowState});
  TmReg::Gravar(kKey, u"TransparentColor", true);
  TmReg::Gravar(kKey, u"TransparentColorValue", u"$00C1FFC1");
  restore.RestauraPadroesForm();
  EXPECT_EQ(other.FState, TWindowState::wsMaximized);
  EXPECT_TRUE(other.FTransparent);
  EXPECT_EQ(other.FColour, 12713921);
  TmReg::Gravar(kKey, u"State", u"max");  // case matters
  other.FState = TWindowState::wsNormal;
  restore.RestauraPadroesForm();
  EXPECT_EQ(other.FState, TWindowState::wsNormal);
}

TEST_F(FormPositionTest, ErrorsAreShownAndTheWindowShowsAndClosesAnyway) {
  TmReg::Gravar(kKey, u"Width", 640);
  Store().WriteValue(kKey, u"Top", RegValue::OfString(u"12"));
  TFormPosition fp(&form);
  bool ownShowRan = false;
  form.OnShow = [&] { ownShowRan = true; };
  fp.Loaded();
  form.Show();
  ASSERT_EQ(form.Errors.size(), 1u);
  EXPECT_EQ(form.Errors[0], "Invalid data type for 'Top'");
  EXPECT_EQ(form.FWidth, 640);  // the step before the error took effect
  EXPECT_TRUE(ownShowRan);      // and the window's own handler still ran, after

  TmReg::Gravar(kKey, u"Top", 5);
  TmReg::Gravar(kKey, u"TransparentColorValue", u"verdinho");
  fp.SetRestore({TRestore::Position, TRestore::WindowState});
  fp.RestauraPadroesForm();
  ASSERT_EQ(form.Errors.size(), 2u);
  EXPECT_EQ(form.Errors[1], "'verdinho' não é um valor inteiro válido");
  EXPECT_EQ(form.FTop, 5);
}

TEST_F(FormPositionTest, TheKeptCloseQueryHandlerDecides) {
  TFormPosition fp(&form);
  bool allow = false;
  int kind = 0;
  form.OnCloseQuery = [&](bool& canClose) {
    if (kind == 1) throw EConvertError(u"'x' não é um valor inteiro válido");
    if (kind == 2) throw EFileError(u"disco cheio");
    canClose = allow;
  };
  fp.Loaded();
  EXPECT_FALSE(form.Close());
  EXPECT_TRUE(StoredNames().empty()) << "refused close: nothing saved";
  kind = 1;  // a conversion error is ignored and the close goes on
  EXPECT_TRUE(form.Close());
  EXPECT_FALSE(StoredNames().empty());
  Store().DeleteKey(kKey);
  kind = 2;  // any other error stops the close
  EXPECT_THROW(form.Close(), EFileError);
  EXPECT_TRUE(StoredNames().empty());
  kind = 0;
  allow = true;
  form.FHandle = false;  // no live window: nothing to save
  EXPECT_TRUE(form.Close());
  EXPECT_TRUE(StoredNames().empty());
}

TEST_F(FormPositionTest, InactiveDoesNothing) {
  TmReg::Gravar(kKey, u"Top", 5);
  TFormPosition fp(&form);
  fp.SetActive(false);
  fp.Loaded();
  form.FTop = 77;
  form.Show();
  EXPECT_EQ(form.FTop, 77);
  form.FTop = 88;
  form.Close();
  EXPECT_EQ(TmReg::Ler(kKey, u"Top", 0), 5);
}

TEST_F(FormPositionTest, WithoutLoadedNothingIsHookedAndHooksGoAwayWithTheComponent) {
  {
    TFormPosition fp(&form);
    form.Show();
    EXPECT_EQ(form.FTop, 0);
    fp.Loaded();
    fp.Loaded();  // twice is once
    form.Show();
    EXPECT_EQ(form.FTop, 490);
  }
  EXPECT_FALSE(form.OnShow);
  EXPECT_FALSE(form.OnCloseQuery);

  TFormPosition inCode(nullptr);  // not owned by a window: names the window itself
  FakeWindow other;
  other.FName = u"Outra";
  inCode.SetFormPadrao(&other);
  inCode.RestauraPadroesForm();
  EXPECT_EQ(other.FTop, 490);
  other.FTop = 3;
  inCode.SalvaPadroesForm();
  EXPECT_EQ(TmReg::Ler(u"SOFTWARE\\Zelmor\\Forms\\Outra", u"Top", 0), 3);
}

TEST_F(FormPositionTest, TheFolderStore) {
  testing::TemporaryFolder dir;
  const std::string folder = dir.Path() + "/sub/forms/";
  SetFormPositionFolder(Utf8ToU16(folder));
  TFormPosition fp(&form);
  fp.SetRestore({TRestore::Position});
  form.FTop = 10;
  form.FLeft = 20;
  form.FState = TWindowState::wsMaximized;
  fp.SalvaPadroesForm();
  std::ifstream in(folder + "FormPosition.ini", std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  EXPECT_EQ(ss.str(), "[TesteForm]\r\nTop=10\r\nLeft=20\r\nMaximizado=1\r\n");  // always written
  EXPECT_TRUE(StoredNames().empty()) << "the registry is not used";

  FakeWindow other;
  TFormPosition restore(&other);
  restore.SetRestore({TRestore::Position});
  restore.RestauraPadroesForm();
  EXPECT_EQ(other.FTop, 10);
  EXPECT_EQ(other.FState, TWindowState::wsNormal);  // read only with WindowState
  restore.SetRestore({TRestore::Position, TRestore::WindowState});
  restore.RestauraPadroesForm();
  EXPECT_EQ(other.FState, TWindowState::wsMaximized);

  {
    TmConfig c(Utf8ToU16(folder + "FormPosition.ini"), true);
    c.WriteInteger(u"TesteForm", u"Top", 1000);  // past the bottom: pulled back to the edge
    c.WriteInteger(u"TesteForm", u"Left", 15);   // the other axis is kept
  }
  restore.RestauraPadroesForm();
  EXPECT_EQ(other.FTop, 1080 - 101);
  EXPECT_EQ(other.FLeft, 15);

  {
    TmConfig c(Utf8ToU16(folder + "FormPosition.ini"), true);
    c.WriteInteger(u"TesteForm", u"Top", 2147483647);  // would wrap round in 32 bits
  }
  restore.RestauraPadroesForm();
  EXPECT_EQ(other.FTop, 490);
  EXPECT_EQ(other.FLeft, 760);
  EXPECT_TRUE(other.Errors.empty());

  // A position that cannot be saved is reported, not lost in silence.
  std::filesystem::permissions(folder + "FormPosition.ini", std::filesystem::perms::owner_read);
  form.FTop = 33;
  fp.SalvaPadroesForm();
  ASSERT_EQ(form.Errors.size(), 1u);
  EXPECT_NE(form.Errors[0].find("FormPosition.ini"), std::string::npos) << form.Errors[0];
  EXPECT_NE(form.Errors[0].find("somente leitura"), std::string::npos) << form.Errors[0];
}

TEST_F(FormPositionTest, TheCallbackReplacesBothStores) {
  TFormPlacement stored{-50, 2000, 300, 200, TWindowState::wsMaximized};
  bool lastSave = false;
  SetFormPositionCallback([&](TFormPosition&, TFormWindow& f, TFormPlacement& p, bool save) {
    EXPECT_EQ(&f, &form);
    lastSave = save;
    if (save)
      stored = p;
    else
      p = stored;
  });
  SetFormPositionFolder(u"/nonexistent/");  // the callback wins
  TFormPosition fp(&form);
  fp.SetRestore({TRestore::Size, TRestore::Position, TRestore::WindowState});
  fp.RestauraPadroesForm();
  EXPECT_FALSE(lastSave);
  EXPECT_EQ(form.FWidth, 300);
  EXPECT_EQ(form.FLeft, 0);          // negative: 0
  EXPECT_EQ(form.FTop, 1040 - 200);  // pulled back inside the work area
  EXPECT_EQ(form.FState, TWindowState::wsMaximized);

  form.FLeft = 1;
  form.FTop = 2;
  form.FState = TWindowState::wsMinimized;
  fp.SalvaPadroesForm();
  EXPECT_TRUE(lastSave);
  EXPECT_EQ(stored.Left, 1);
  EXPECT_EQ(stored.Top, 2);
  EXPECT_EQ(stored.Width, 300);
  EXPECT_EQ(stored.State, TWindowState::wsMinimized);
  EXPECT_TRUE(StoredNames().empty());

  stored.Top = 2147483647;  // the edge test in wide arithmetic: pulled back, not wrapped
  stored.Left = 2147483600;
  fp.RestauraPadroesForm();
  EXPECT_EQ(form.FTop, 1040 - 200);
  EXPECT_EQ(form.FLeft, 1920 - 300);

  SetFormPositionCallback([](TFormPosition&, TFormWindow&, TFormPlacement&, bool) { throw EAbort(u""); });
  fp.RestauraPadroesForm();
  EXPECT_TRUE(form.Errors.empty()) << "the silent abort is not shown";
}

TEST(Colors, NamesAndNumbers) {
  EXPECT_EQ(ColorToString(clCream), u"clCream");
  EXPECT_EQ(ColorToString(12713921), u"$00C1FFC1");
  EXPECT_EQ(ColorToString(static_cast<TColor>(0xFF000005)), u"clWindow");
  EXPECT_EQ(ColorToString(-2), u"$FFFFFFFE");
  EXPECT_EQ(StringToColor(u"CLCREAM"), clCream);
  EXPECT_EQ(StringToColor(u"$00C1FFC1"), 12713921);
  EXPECT_EQ(StringToColor(u"12713921"), 12713921);
  EXPECT_THROW(StringToColor(u"verde"), EConvertError);
}

}  // namespace
}  // namespace zelmor
