#include "app/display_env.h"

#include <QGuiApplication>
#include <QtGlobal>
#include <cstring>

namespace quindel {
namespace {

constexpr const char* kLastResort = "offscreen";

bool gFallbackSet = false;
QtMessageHandler gPrevious = nullptr;

// While the application object starts: the platform plugins' own complaints about
// servers they could not reach (category "qt.qpa.*") are dropped; the program says
// what happened in its own words. Everything else goes on as before.
void HoldBackPlatformMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (context.category && std::strncmp(context.category, "qt.qpa", 6) == 0) return;
  gPrevious(type, context, message);  // Qt hands out its default handler when none was installed
}

}  // namespace

void PrepareDisplayPlatform() {
  if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) return;  // the user's choice stands
  // A server the session does not name is not tried: its plugin would only load to fail.
  QByteArray platforms;
  if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) platforms += "wayland;";
  if (!qEnvironmentVariableIsEmpty("DISPLAY")) platforms += "xcb;";
  platforms += kLastResort;
  qputenv("QT_QPA_PLATFORM", platforms);
  gFallbackSet = true;
  gPrevious = qInstallMessageHandler(HoldBackPlatformMessages);
}

bool StartedHeadless() {
  if (!gFallbackSet) return false;
  qInstallMessageHandler(gPrevious);
  gFallbackSet = false;
  return QGuiApplication::platformName() == QLatin1String(kLastResort);
}

}  // namespace quindel
