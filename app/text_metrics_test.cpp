// The toolkit's text measurement behind the library's pixel wrapping.
#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QString>

#include "adapters/qt/text_metrics_qt.h"
#include "strings/mString.h"

namespace {

namespace TmStr = zelmor::TmStr;
using zelmor::adapters::QtTextMetrics;

QString Q(std::u16string_view s) {
  return QString(reinterpret_cast<const QChar*>(s.data()), static_cast<qsizetype>(s.size()));
}

TEST(QtTextMetricsTest, MeasuresWithTheFontMetrics) {
  QFont font = QGuiApplication::font();
  font.setPointSize(14);
  const QtTextMetrics m(font);
  const QFontMetrics fm(font);
  for (std::u16string_view s : {u"", u"A", u"Ação à vista", u"WWWW", u"iiii", u"\U0001F600 ok"})
    EXPECT_EQ(m.TextWidth(s), fm.horizontalAdvance(Q(s))) << Q(s).toStdString();
  EXPECT_EQ(m.TextWidth(u""), 0);
  EXPECT_GT(m.TextWidth(u"abc abc"), m.TextWidth(u"abc"));
  EXPECT_EQ(m.TextHeight(u"A"), fm.height());
  EXPECT_GT(m.TextHeight(u"A"), 0);
  ASSERT_NE(QGuiApplication::primaryScreen(), nullptr);
  EXPECT_EQ(m.ScreenWidth(), QGuiApplication::primaryScreen()->geometry().width());
  // A bigger font measures wider.
  QFont maior = font;
  maior.setPointSize(28);
  EXPECT_GT(QtTextMetrics(maior).TextWidth(u"Ação"), m.TextWidth(u"Ação"));
}

TEST(QtTextMetricsTest, InstalledForTheLibrary) {
  zelmor::adapters::InstallQtTextMetrics();
  const QFontMetrics fm(QGuiApplication::font());
  EXPECT_EQ(zelmor::platform::Service<zelmor::platform::TextMetrics>::Get().TextWidth(u"Mensagem"),
            fm.horizontalAdvance(QStringLiteral("Mensagem")));

  // Wrapped with the real font, no line with more than one word passes the width.
  const std::u16string texto =
      u"O arquivo de configuração não foi encontrado na pasta do programa. Verifique a instalação e tente de novo.\r\n"
      u"Detalhes: C:\\Programas\\Zelmor\\zelmor.ini";
  const int largura = fm.horizontalAdvance(QStringLiteral("O arquivo de configuração"));
  const TmStr::TStringInfo info =
      TmStr::GetStringInfo(texto, zelmor::platform::Service<zelmor::platform::TextMetrics>::Get(), largura);
  const QStringList linhas = Q(info.ScreenText).split(QStringLiteral("\r\n"));
  EXPECT_EQ(info.LineCount, linhas.size());
  EXPECT_GT(info.LineCount, 4);
  int maior = 0;
  for (const QString& l : linhas) {
    maior = std::max(maior, fm.horizontalAdvance(l));
    if (l.trimmed().contains(u' ')) {
      EXPECT_LE(fm.horizontalAdvance(l), largura) << l.toStdString();
    }
  }
  EXPECT_EQ(info.MaxLineWidth, maior);
  EXPECT_EQ(info.TextHeight, fm.height() * info.LineCount);
  zelmor::platform::Service<zelmor::platform::TextMetrics>::Set(nullptr);
}

}  // namespace
