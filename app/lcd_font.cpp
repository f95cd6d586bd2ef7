#include "app/lcd_font.h"

#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QSaveFile>
#include <stdexcept>

// The resources live in a static library: their registration must be pulled in by name.
static void InitResources() { Q_INIT_RESOURCE(quindel); }

namespace quindel {

QByteArray EmbeddedFont() {
  InitResources();
  QFile resource(QStringLiteral(":/LCD/FON"));
  if (!resource.open(QIODevice::ReadOnly)) throw std::runtime_error("embedded LCD font resource is missing");
  return resource.readAll();
}

void UnpackFont(const QString& path) {
  if (QFileInfo::exists(path)) return;
  const QByteArray bytes = EmbeddedFont();
  // Written beside and renamed, so a failed write never leaves a half font that
  // later runs would take as it is.
  QSaveFile out(path);
  if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
    throw std::runtime_error(
        QStringLiteral("Cannot create file \"%1\". %2").arg(path, out.errorString()).toStdString());
}

bool RegisterFont(const QString& path) { return QFontDatabase::addApplicationFont(path) != -1; }

}  // namespace quindel
