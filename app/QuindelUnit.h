// The customer display window: two 40-column lines in the LCD typeface on a
// light green background, fed by any number of TCP clients on port 2200.
// A message is line 1, byte 0xBF, line 2 (Windows-1252); F5 shows date and time.
#pragma once

#include <QLabel>
#include <QPointer>
#include <QString>
#include <QMessageBox>
#include <QWidget>
#include <functional>
#include <string>

#include "adapters/qt/socket_server.h"
#include "app/message_rule.h"
#include "forms/FormPosition.h"


namespace quindel {

inline constexpr quint16 kDisplayPort = 2200;
inline constexpr const char* kRuler = "1234567890123456789012345678901234567890";

// Where the display's own lines for the operator go ("quindel: " + message): standard
// error by default; the program points it at a writer that never holds up the window.
void SetDiagnosticSink(std::function<void(const std::string& line)> sink);
void Diagnose(const QString& message);

// Shows errors one box at a time: while a box is open, later errors go only to
// standard error, marked "(not shown: an error box is open already)", so a burst of
// failures never stacks boxes or stalls the display.
class ErrorReporter {
 public:
  explicit ErrorReporter(QWidget* parent) : FParent(parent) {}
  void Show(const QString& message);
  bool BoxOpen() const { return !FBox.isNull(); }
  int Shown() const { return FShown; }
  int Logged() const { return FLogged; }
  QMessageBox* Box() const { return FBox; }

 private:
  QWidget* FParent;
  QPointer<QMessageBox> FBox;
  int FShown = 0;
  int FLogged = 0;
};

class TQuindelForm : public QWidget {
  Q_OBJECT
 public:
  explicit TQuindelForm(quint16 port = kDisplayPort, QWidget* parent = nullptr);

  QLabel* lbLinha1;
  // Brings the window back where the user left it (position only: the window sizes itself).
  zelmor::TFormPosition* FormPosition1;
  QLabel* lbLinha2;
  zelmor::adapters::SocketServer* ServidorSocket = nullptr;  // owned by the application object
  QString ArquivoFonte;

  // Window creation: unpack and register the font, size the lines, open the
  // listener, write the start-up texts. Stops at the first failing step.
  void FormCreate(QObject* Sender);
  // F5 (key code 116), with any modifiers, shows the date and the time.
  void FormKeyDown(QObject* Sender, quint16& Key, Qt::KeyboardModifiers Shift);
  // Data readable on `Socket`: everything pending is one message.
  void ServidorSocketClientRead(QObject* Sender, zelmor::adapters::ClientConnection* Socket);

  // The message rule: empty blanks both lines, otherwise fields 1 and 2 at 0xBF.
  void ShowMessage(const std::u16string& text);
  void SetLines(const QString& line1, const QString& line2);

  bool FontRegistered() const { return FFontRegistered; }
  ErrorReporter& Errors() { return FErrors; }

 signals:
  void LinesChanged(const QString& line1, const QString& line2);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  quint16 FPort;
  bool FFontRegistered = false;
  ErrorReporter FErrors;
};

}  // namespace quindel
