#include "adapters/qt/text_metrics_qt.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QString>

#include "adapters/qt/qstring.h"

namespace zelmor::adapters {

QtTextMetrics::QtTextMetrics() : FMetrics(QGuiApplication::font()) {}
QtTextMetrics::QtTextMetrics(const QFont& font) : FMetrics(font) {}

int QtTextMetrics::TextWidth(std::u16string_view text) const { return FMetrics.horizontalAdvance(ToQString(text)); }

int QtTextMetrics::TextHeight(std::u16string_view) const { return FMetrics.height(); }

int QtTextMetrics::ScreenWidth() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  // Without a screen (a GUI application never shown anywhere) the estimate's width stands.
  return screen ? screen->geometry().width() : platform::FixedPitchTextMetrics().ScreenWidth();
}

void InstallQtTextMetrics() {
  // Kept for the life of the process (a font's metrics must not be torn down after the
  // application object); once the application is gone the estimate answers again.
  static QtTextMetrics* metrics = new QtTextMetrics;
  platform::Service<platform::TextMetrics>::Set(metrics);
  QObject::connect(QCoreApplication::instance(), &QObject::destroyed,
                   [] { platform::Service<platform::TextMetrics>::Set(nullptr); });
}

}  // namespace zelmor::adapters
