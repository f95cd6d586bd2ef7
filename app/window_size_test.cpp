// The display window's size on a 96 dpi screen: 40 columns in the LCD typeface must fit the 800- and
// 1024-pixel-wide monitors found at tills, without the text getting small.
//
// The screenshot in docs/ comes from this test:
//   QUINDEL_SCREENSHOT=docs/images/quindel.png build/tests/app_test --gtest_filter='WindowSizeTest.*'
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QRawFont>
#include <QScreen>
#include <QTemporaryDir>
#include <cstdio>

#include "app/QuindelUnit.h"
#include "app/lcd_font.h"
#include "testing/fixtures.h"

namespace quindel {
namespace {

constexpr int kMinWidth = 600;
constexpr int kMaxWidth = 760;
// Capitals about 6 mm tall at 96 dpi: read from across the counter.
constexpr int kMinCapitalHeight = 24;
// A quarter of an 800 x 600 screen: the display is a strip, the rest of the screen stays free.
constexpr int kMaxHeight = 150;

bool Ink(QRgb pixel) { return qGray(pixel) < 128; }

// Rows of `image` inside `area` that hold ink, as [first, last]; {-1, -1} when there is none.
std::pair<int, int> InkRows(const QImage& image, const QRect& area) {
  int first = -1, last = -1;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (Ink(image.pixel(x, y))) {
        if (first < 0) first = y;
        last = y;
        break;
      }
  return {first, last};
}

int InkColumnsFrom(const QImage& image, int left) {
  int n = 0;
  for (int x = left; x < image.width(); ++x)
    for (int y = 0; y < image.height(); ++y)
      if (Ink(image.pixel(x, y))) {
        ++n;
        break;
      }
  return n;
}

class WindowSizeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(QGuiApplication::primaryScreen(), nullptr);
    // Every figure below is for 96 dpi (QT_FONT_DPI would change it).
    ASSERT_EQ(QGuiApplication::primaryScreen()->logicalDotsPerInchY(), 96.0);
    // A fresh folder: a font file left next to the test program by an older build would be used as it is.
    ASSERT_TRUE(dir.isValid());
    exe = std::make_unique<zelmor::testing::FixedProcessInfo>(dir.filePath(QStringLiteral("quindel")).toStdU16String());
    form = TQuindelForm::Create(0);  // any free port
    ASSERT_TRUE(form->FontRegistered());
    ASSERT_EQ(QFontInfo(form->lbLinha1()->font()).family(), QString::fromLatin1(kFontFamily));
    ASSERT_NE(form->ServidorSocket(), nullptr);  // start-up ran to the end
  }
  void TearDown() override {
    if (form) delete form->ServidorSocket();  // owned by the application object, which outlives the test
    form.reset();
  }

  QImage Grab() { return form->grab().toImage(); }

  QTemporaryDir dir;
  std::unique_ptr<zelmor::testing::FixedProcessInfo> exe;
  std::unique_ptr<TQuindelForm> form;
};

TEST_F(WindowSizeTest, FitsCustomerScreensAt96Dpi) {
  const QSize client = form->size();
  std::printf("client size at 96 dpi: %d x %d\n", client.width(), client.height());
  RecordProperty("client_width", client.width());
  RecordProperty("client_height", client.height());
  EXPECT_GE(client.width(), kMinWidth);
  EXPECT_LE(client.width(), kMaxWidth);
  // Two whole lines of the typeface, accents and descenders included.
  const QFontMetrics fm(form->lbLinha1()->font());
  EXPECT_GE(client.height(), 2 * (fm.ascent() + fm.descent()));
  EXPECT_LE(client.height(), kMaxHeight);
}

TEST_F(WindowSizeTest, HoldsFortyColumnsOfAnyCharacter) {
  // Fixed pitch: 40 of the widest character the typeface has are no wider than the ruler, so no text of 40
  // columns is cut and texts centred with spaces look centred.
  const QFontMetrics fm(form->lbLinha1()->font());
  const QRawFont lcd = QRawFont::fromFont(form->lbLinha1()->font());  // without the fallback typefaces
  const int ruler = fm.horizontalAdvance(QString::fromLatin1(kRuler));
  int checked = 0;
  for (char32_t c = 0x20; c <= 0xFF; ++c) {
    if (!lcd.supportsCharacter(c)) continue;
    if (c == 0xAD) continue;  // Qt's text layout gives a soft hyphen no width, whatever the font draws
    ++checked;
    const QString line(40, QChar(c));
    EXPECT_EQ(fm.horizontalAdvance(line), ruler) << "U+" << std::hex << unsigned(c);
  }
  EXPECT_GT(checked, 95);  // printable ASCII and more

  // On screen: the ink of the 40th column is inside the window.
  const QString line(40, QChar(u'W'));
  form->SetLines(line, line);
  const int cell = fm.horizontalAdvance(QChar(u'W'));
  EXPECT_GT(InkColumnsFrom(Grab(), form->width() - cell), cell / 2);
}

TEST_F(WindowSizeTest, TextStaysLargeAndWhole) {
  form->SetLines(QStringLiteral("HHHHHHHHHH"), QString());
  const auto [top, bottom] = InkRows(Grab(), form->lbLinha1()->geometry());
  ASSERT_GE(top, 0);
  EXPECT_GE(bottom - top + 1, kMinCapitalHeight);

  // Accents above and descenders below: each line shows as much of them as a label with room to spare.
  const QString text = QString::fromUtf8("ÁÉÍÓÚ ÃÕ Ç gjpqy ;,");
  QLabel roomy;
  roomy.setFont(form->lbLinha1()->font());
  roomy.setText(text);
  roomy.setAlignment(Qt::AlignCenter);
  roomy.setFixedSize(form->width(), 3 * form->lbLinha1()->height());
  const QImage free = roomy.grab().toImage();
  const auto [freeTop, freeBottom] = InkRows(free, free.rect());
  ASSERT_GE(freeTop, 0);
  form->SetLines(text, text);
  const QImage shown = Grab();
  for (const QLabel* lbl : {form->lbLinha1(), form->lbLinha2()}) {
    const auto [t, b] = InkRows(shown, lbl->geometry() & shown.rect());
    EXPECT_EQ(b - t, freeBottom - freeTop) << lbl->objectName().toStdString();
  }
}

// A monitor narrower than the window (a high scale factor, a small screen): the cell
// gets smaller and all 40 columns stay inside; filling a monitor makes it larger.
TEST_F(WindowSizeTest, TheCellFitsTheMonitorWithoutCuttingColumns) {
  const QString line(40, QChar(u'W'));
  const struct {
    QSize box;
    bool fill;
  } cases[] = {{{512, 384}, false}, {{300, 200}, false}, {{1280, 1024}, true}, {{1024, 768}, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.box.width() << "x" << c.box.height() << (c.fill ? " filled" : ""));
    form->FitCell(c.box, c.fill);
    if (c.fill) {
      EXPECT_EQ(form->size(), c.box);
      EXPECT_GT(form->lbLinha1()->font().pointSizeF(), 34);
    } else {
      EXPECT_LE(form->width(), c.box.width());
      EXPECT_LE(form->height(), c.box.height());
      EXPECT_GT(form->width(), c.box.width() * 9 / 10) << "no smaller than it must be";
    }
    // The two lines one under the other, inside the window.
    EXPECT_EQ(form->lbLinha2()->y(), form->lbLinha1()->y() + form->lbLinha1()->height());
    EXPECT_LE(form->lbLinha2()->y() + form->lbLinha2()->height(), form->height());
    const QFontMetrics fm(form->lbLinha1()->font());
    EXPECT_LE(form->lbLinha1()->x() + fm.horizontalAdvance(QString::fromLatin1(kRuler)), form->width());
    form->SetLines(line, line);
    const int cell = fm.horizontalAdvance(QChar(u'W'));
    const int lastCell = form->lbLinha1()->x() + fm.horizontalAdvance(line) - cell;
    EXPECT_GT(InkColumnsFrom(Grab(), lastCell), cell / 2) << "the 40th column is drawn";
  }
}

// A customer display draws what it is sent: "M&M", "A&B Ltda". A label would hide a
// single "&" and underline the next letter; these draw every ampersand.
TEST_F(WindowSizeTest, AmpersandsAreDrawnAsSent) {
  const auto ink = [this](const QString& text) {
    form->SetLines(text, QString());
    return InkColumnsFrom(Grab(), 0);
  };
  // Columns holding ink: an accelerator would draw nothing for "&", one "&" for "&&",
  // and only "AB" (B underlined, in B's own columns) for "A&B". The dots of a glyph
  // can fall on a column more or less at another place, so the counts are compared
  // with half a glyph to spare.
  const int one = ink(QStringLiteral("&"));
  EXPECT_GT(one, 4);
  EXPECT_GE(ink(QStringLiteral("&&")), one + one / 2);
  EXPECT_GE(ink(QStringLiteral("A&B")), ink(QStringLiteral("AB")) + one / 2);
  EXPECT_EQ(form->lbLinha1()->text(), QStringLiteral("A&B"));
}

TEST_F(WindowSizeTest, Screenshot) {
  const QImage image = Grab();
  ASSERT_EQ(image.size(), form->size());
  EXPECT_EQ(image.pixelColor(0, 0), QColor(193, 255, 193));
  EXPECT_EQ(image.pixelColor(image.width() - 1, image.height() - 1), QColor(193, 255, 193));
  EXPECT_GT(InkRows(image, form->lbLinha1()->geometry()).first, 0);
  EXPECT_GT(InkRows(image, form->lbLinha2()->geometry()).first, 0);
  const QByteArray path = qgetenv("QUINDEL_SCREENSHOT");
  if (!path.isEmpty()) {
    EXPECT_TRUE(image.save(QString::fromLocal8Bit(path)));
  }
}

}  // namespace
}  // namespace quindel
