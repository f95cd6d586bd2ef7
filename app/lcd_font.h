// The display's LCD typeface: unpacked next to the executable when missing and
// registered with the font system so labels can choose it by family name.
#pragma once

#include <QByteArray>
#include <QString>

namespace quindel {

inline constexpr const char* kFontFileName = "jd_lcd_rounded.ttf";
inline constexpr const char* kFontFamily = "JD LCD Rounded";

// Writes the embedded font to `path` unless a file already exists there (an
// existing file is used as it is). Throws std::runtime_error when it cannot write.
void UnpackFont(const QString& path);

// The embedded font file's bytes (what UnpackFont writes). Throws std::runtime_error
// when the resource is missing.
QByteArray EmbeddedFont();

// Registers the font file; false when the font system rejected it.
bool RegisterFont(const QString& path);

}  // namespace quindel
