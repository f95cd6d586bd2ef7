// The smallest Qt window that shows two lines of text: what the display program's first
// paint is compared with (tools/bench/compare_startup.sh).
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QLabel label(QStringLiteral("ZELMOR\nQUINDEL"));
  label.show();
  return QApplication::exec();
}
