// Keeping a window on the screens there are: the placement rule on made-up monitor
// layouts, and a real window (offscreen platform) whose remembered place is off screen.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "adapters/qt/form_window_qt.h"
#include "config/mIniReg.h"
#include "forms/FormPosition.h"
#include "testing/temp_store.h"

namespace zelmor::adapters {
namespace {

TEST(KeepOnScreens, MovesOnlyWhatNoScreenShows) {
  const QRect left(0, 0, 1024, 768), right(1024, 0, 800, 600);
  const QList<QRect> two{left, right};
  struct Case {
    const char* what;
    QRect frame;
    QList<QRect> screens;
    QPoint expected;
  } cases[] = {
      {"inside one screen", {100, 100, 700, 100}, two, {100, 100}},
      {"across both screens, all shown", {900, 100, 300, 100}, two, {900, 100}},
      {"below the shorter screen: pushed up on the one it overlaps most", {1100, 550, 300, 100}, two, {1100, 500}},
      {"off to the left", {-500, 100, 700, 100}, two, {0, 100}},
      {"past the right edge", {1700, 20, 300, 100}, two, {1524, 20}},
      {"far away: the nearest screen", {5000, 5000, 300, 100}, two, {1524, 500}},
      {"above everything", {10, -3000, 300, 100}, two, {10, 0}},
      {"a monitor that is gone (was left of the primary)", {-1500, 200, 717, 100}, {left}, {0, 200}},
      {"wider than the screen: its left edge on the screen", {-50, 10, 1100, 100}, {left}, {0, 10}},
      {"no screens: left alone", {-500, -500, 100, 100}, {}, {-500, -500}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(KeepOnScreens(c.frame, c.screens), c.expected) << c.what;
  }
}

TEST(KeepOnScreens, ARememberedPlaceOffEveryScreenComesBackOnTheScreen) {
  testing::TemporaryRegistry registry;
  ClearFormPositionSettings();
  const std::u16string key = u"SOFTWARE\\Zelmor\\Forms\\JanelaLonge";
  TmReg::Gravar(key, u"Left", -4000);
  TmReg::Gravar(key, u"Top", -3000);

  QWidget w;
  w.setObjectName(QStringLiteral("JanelaLonge"));
  w.resize(300, 120);
  TFormPosition* fp = AttachFormPosition(&w);
  fp->SetRestore({TRestore::Position});
  fp->Loaded();
  w.show();
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_TRUE(screen.contains(w.frameGeometry())) << w.frameGeometry().x() << "," << w.frameGeometry().y();
  w.hide();
}

}  // namespace
}  // namespace zelmor::adapters
