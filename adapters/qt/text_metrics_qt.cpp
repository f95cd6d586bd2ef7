#include "platform/qt/text_metrics_qt.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QString>

namespace zelmor::platform {
namespace {

QString ToQString(std::u16string_view s) {
  return QString(reinterpret_cast<const QChar*>(s.data()), static_cast<qsizetype>(s.size()));
}

}  // namespace

QtTextMetrics::QtTextMetrics() : FMetrics(QGuiApplication::font()) {}
QtTextMetrics::QtTextMetrics(const QFont& font) : FMetrics(font) {}

int QtTextMetrics::TextWidth(std::u16string_view text) const { return FMetrics.horizontalAdvance(ToQString(text)); }

int QtTextMetrics::TextHeight(std::u16string_view) const { return FMetrics.height(); }

int QtTextMetrics::ScreenWidth() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  // Without a screen (a GUI application never shown anywhere) the estimate's width stands.
  return screen ? screen->geometry().width() : FixedPitchTextMetrics().ScreenWidth();
}

void InstallQtTextMetrics() {
  // Kept for the life of the process (a font's metrics must not be torn down after the
  // application object); once the application is gone the estimate answers again.
  static QtTextMetrics* metrics = new QtTextMetrics;
  SetTextMetrics(metrics);
  QObject::connect(QCoreApplication::instance(), &QObject::destroyed, [] { SetTextMetrics(nullptr); });
}

}  // namespace zelmor::platform
