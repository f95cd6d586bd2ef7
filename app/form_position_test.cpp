// Window positions on real Qt windows (offscreen platform) with the registry
// store in a temporary folder: a plain window, and the display window itself.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "adapters/qt/form_window_qt.h"
#include "app/QuindelUnit.h"
#include "config/mIniReg.h"
#include "forms/FormPosition.h"
#include "platform/registry_store.h"
#include "testing/temp_store.h"

namespace quindel {
namespace {

using zelmor::platform::RegValue;

QRect Screen() { return QGuiApplication::primaryScreen()->geometry(); }

// Where an unplaced window of that size goes: centred, halves truncated.
QPoint Centred(const QWidget& w) {
  return {Screen().width() / 2 - w.frameGeometry().width() / 2, Screen().height() / 2 - w.frameGeometry().height() / 2};
}

class FormPositionQt : public ::testing::Test {
 protected:
  void SetUp() override { zelmor::ClearFormPositionSettings(); }
  zelmor::platform::RegistryStore& Store() { return registry.Store(); }
  std::vector<std::u16string> StoredNames(const std::u16string& key) {
    std::vector<std::u16string> names;
    if (auto l = Store().ListKey(key))
      for (const auto& v : l->Values) names.push_back(v.first);
    return names;
  }

  zelmor::testing::TemporaryRegistry registry;
};

// A window carrying the component; `ownClose` is the window's own close-query
// handler, in place before the component hooks in.
std::unique_ptr<QWidget> PlainWindow(QStringList* errors = nullptr, std::function<void(bool&)> ownClose = nullptr) {
  auto w = std::make_unique<QWidget>();
  w->setObjectName(QStringLiteral("JanelaTeste"));
  w->resize(300, 120);
  zelmor::TFormPosition* fp = zelmor::adapters::AttachFormPosition(w.get(), [errors](const QString& m) {
    if (errors) errors->append(m);
  });
  w->findChild<zelmor::adapters::QtFormWindow*>()->OnCloseQuery = std::move(ownClose);
  fp->Loaded();
  return w;
}

TEST_F(FormPositionQt, APlainWindowComesBackWhereAndHowBigItWasLeft) {
  auto w = PlainWindow();
  w->show();
  EXPECT_EQ(w->frameGeometry().topLeft(), Centred(*w));
  w->move(40, 50);
  w->resize(320, 130);
  EXPECT_TRUE(w->close());
  const std::u16string key = u"SOFTWARE\\Zelmor\\Forms\\JanelaTeste";
  EXPECT_EQ(Store().ReadValue(key, u"Left"), RegValue::OfDWord(40));
  EXPECT_EQ(Store().ReadValue(key, u"Top"), RegValue::OfDWord(50));
  EXPECT_EQ(Store().ReadValue(key, u"Width"),
            RegValue::OfDWord(static_cast<std::uint32_t>(w->frameGeometry().width())));

  auto again = PlainWindow();
  again->show();
  EXPECT_EQ(again->frameGeometry().topLeft(), QPoint(40, 50));
  EXPECT_EQ(again->size(), QSize(320, 130));
  again->hide();
  again->show();  // every show restores
  EXPECT_EQ(again->frameGeometry().topLeft(), QPoint(40, 50));
}

TEST_F(FormPositionQt, ARefusedCloseSavesNothingAndErrorsAreShown) {
  QStringList errors;
  bool allow = false;
  auto w = PlainWindow(&errors, [&](bool& canClose) { canClose = allow; });
  w->show();
  EXPECT_FALSE(w->close());
  EXPECT_TRUE(w->isVisible());
  EXPECT_TRUE(StoredNames(u"SOFTWARE\\Zelmor\\Forms\\JanelaTeste").empty());
  allow = true;
  EXPECT_TRUE(w->close());
  EXPECT_FALSE(StoredNames(u"SOFTWARE\\Zelmor\\Forms\\JanelaTeste").empty());

  Store().WriteValue(u"SOFTWARE\\Zelmor\\Forms\\JanelaTeste", u"Top", RegValue::OfString(u"alto"));
  auto broken = PlainWindow(&errors);
  broken->show();
  EXPECT_TRUE(broken->isVisible());
  ASSERT_EQ(errors.size(), 1);
  EXPECT_EQ(errors[0], QStringLiteral("Invalid data type for 'Top'"));
}

TEST_F(FormPositionQt, TheDisplayWindowKeepsOnlyItsPosition) {
  const std::u16string key = u"SOFTWARE\\Zelmor\\Forms\\QuindelForm";
  QPoint target;
  {
    auto form = TQuindelForm::Create(0);
    ASSERT_NE(form->FormPosition1(), nullptr);
    EXPECT_EQ(form->FormPosition1()->Restore(), zelmor::TRestoreOptions{zelmor::TRestore::Position});
    form->show();
    EXPECT_EQ(form->frameGeometry().topLeft(), Centred(*form)) << "first run: centred on the primary monitor";
    EXPECT_TRUE(Store().KeyExists(key));
    // Ending 41 pixels short of the right edge: it starts left of the screen when the
    // window is wider than the (small, offscreen) screen, and negative places are kept.
    target = QPoint(Screen().width() - form->frameGeometry().width() - 41, 33);
    form->move(target);
    EXPECT_TRUE(form->close());
    EXPECT_EQ(StoredNames(key), (std::vector<std::u16string>{u"Top", u"Left"}));
    EXPECT_EQ(zelmor::TmReg::Ler(key, u"Left", 0), target.x());
    EXPECT_EQ(zelmor::TmReg::Ler(key, u"Top", 0), target.y());
    delete form->ServidorSocket();  // owned by the application object, which outlives the test
  }
  auto again = TQuindelForm::Create(0);
  again->show();
  EXPECT_EQ(again->frameGeometry().topLeft(), target);
  again->hide();
  delete again->ServidorSocket();
}

}  // namespace
}  // namespace quindel
