// The customer display window: two 40-column lines in the LCD typeface on a
// light green background, fed by any number of TCP clients on port 2200.
// A message is line 1, byte 0xBF, line 2 (Windows-1252); F5 shows date and time.
#pragma once

#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
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

// How start-up went: the step that failed, if one did, and what was shown for it. The
// window is whole either way (it opens and runs, as a failed start-up always did); the
// program decides whether a display that cannot listen is worth keeping.
struct StartupReport {
  enum class Step { None, FontFile, Listener };
  Step FailedAt = Step::None;
  QString Message;
  bool Ok() const { return FailedAt == Step::None; }
};

class TQuindelForm : public QWidget {
  Q_OBJECT
 public:
  // Builds the window and runs its start-up (FormCreate): unpack and register the font,
  // size the lines, open the listener on `port` (0: any free port), write the start-up
  // texts. A failing step is shown in the error box, ends start-up there and is
  // reported in `report`.
  static std::unique_ptr<TQuindelForm> Create(quint16 port = kDisplayPort, StartupReport* report = nullptr);

  // The two lines as last set, whole (the window draws what fits). Every change is also
  // announced by LinesChanged, which is what the echo and the pole display listen to.
  const QString& Line1() const { return FLine1; }
  const QString& Line2() const { return FLine2; }

  // The window's parts, read-only: the window alone changes them.
  const QLabel* lbLinha1() const { return FLinha1; }
  const QLabel* lbLinha2() const { return FLinha2; }
  // Brings the window back where the user left it (position only: the window sizes itself).
  zelmor::TFormPosition* FormPosition1() const { return FFormPosition; }
  // The listener, once start-up reached it (nullptr before); owned by the application object.
  zelmor::adapters::SocketServer* ServidorSocket() const { return FServidorSocket; }
  const QString& ArquivoFonte() const { return FArquivoFonte; }
  bool Listening() const { return FServidorSocket && FServidorSocket->Active(); }

  // F5 (key code 116), with any modifiers, shows the date and the time.
  void FormKeyDown(QObject* Sender, quint16& Key, Qt::KeyboardModifiers Shift);
  // Data readable on `Socket`: everything pending is one message.
  void ServidorSocketClientRead(QObject* Sender, zelmor::adapters::ClientConnection* Socket);

  // The message rule: empty blanks both lines, otherwise fields 1 and 2 at 0xBF.
  void ShowMessage(const std::u16string& text);
  void SetLines(const QString& line1, const QString& line2);

  bool FontRegistered() const { return FFontRegistered; }
  ErrorReporter& Errors() { return FErrors; }

  // Sizes the character cell so that the 2x40 grid fits `box` (columns are never cut):
  // smaller than designed only when the window would not fit; with `fill`, as large as
  // fits, the window `box` big and the lines centred in it. The window's size follows.
  void FitCell(const QSize& box, bool fill);

 signals:
  // The two lines changed (whole, as Line1() and Line2() now answer).
  void LinesChanged(const QString& line1, const QString& line2);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // The window as designed: ruler text in the design font, design size, the position
  // component hooked. Start-up is Create's.
  explicit TQuindelForm(quint16 port);
  // Window creation: stops at the first failing step and says which.
  StartupReport FormCreate(QObject* Sender);

  QLabel* FLinha1;
  zelmor::TFormPosition* FFormPosition;
  QLabel* FLinha2;
  zelmor::adapters::SocketServer* FServidorSocket = nullptr;
  QString FArquivoFonte;
  QString FLine1;
  QString FLine2;
  quint16 FPort;
  bool FFontRegistered = false;
  ErrorReporter FErrors;
};

// Shows the window: where its position component puts it, or on `screen` when one was
// chosen (kept where it was stored if the whole window lies on that monitor, else
// centred on it), or filling that monitor (`fullScreen`, the primary one when none was
// chosen). A window wider or taller than its monitor's work area gets a smaller
// character cell, so all 40 columns stay visible.
void Place(TQuindelForm& form, QScreen* screen, bool fullScreen);

// The monitor that holds the middle of `window` (the window's own screen when none does).
QScreen* ScreenOf(const QWidget& window);

}  // namespace quindel
