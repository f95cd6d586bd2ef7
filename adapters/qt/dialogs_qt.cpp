// The GUI's dialog service and the widget wrapper the library's focus and balloon
// routines work on.
#include "adapters/qt/dialogs_qt.h"

#include <QApplication>
#include <QFileDialog>
#include <QFrame>
#include <QStyle>
#include <QWidget>

#include "adapters/qt/qstring.h"

namespace zelmor::adapters {

// ---- Icons ----

QIcon DialogIcon(platform::DialogKind kind) {
  struct Choice {
    const char* Theme;
    QStyle::StandardPixmap BuiltIn;
  };
  static constexpr Choice kChoices[] = {
      {"dialog-warning", QStyle::SP_MessageBoxWarning},
      {"dialog-error", QStyle::SP_MessageBoxCritical},
      {"dialog-information", QStyle::SP_MessageBoxInformation},
      {"dialog-question", QStyle::SP_MessageBoxQuestion},
  };
  const auto k = static_cast<std::size_t>(kind);
  if (k >= std::size(kChoices)) return {};
  const QString name = QString::fromLatin1(kChoices[k].Theme);
  if (QIcon::hasThemeIcon(name)) return QIcon::fromTheme(name);
  return QApplication::style()->standardIcon(kChoices[k].BuiltIn);
}

// ---- The service ----

QtDialogs::QtDialogs() = default;

// A wait window still open at exit goes with the application's widgets.
QtDialogs::~QtDialogs() = default;

void QtDialogs::ShowMessage(std::u16string_view text) {
  platform::StandardDialog d;
  d.Kind = platform::DialogKind::Custom;
  d.Caption = FromQString(QApplication::applicationName());
  d.Text = text;
  d.Buttons.push_back({u"OK", 1, true, nullptr, false});
  ShowStandardDialog(d);
}

bool QtDialogs::SelectFolder(std::u16string_view title, std::u16string_view initial, bool, std::u16string& chosen) {
  // Qt's folder dialog is centred on the screen either way.
  const QString dir = QFileDialog::getExistingDirectory(nullptr, ToQString(title), ToQString(initial),
                                                        QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
  if (dir.isEmpty()) return false;
  chosen = FromQString(dir);
  return true;
}

QString QtFileFilter(std::u16string_view filter) {
  const QStringList parts = ToQString(filter).split(QLatin1Char('|'));
  auto patterns = [](const QString& list) {
    QStringList out;
    for (QString p : list.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      p = p.trimmed();
      out << (p == QLatin1String("*.*") ? QStringLiteral("*") : p);
    }
    return out.join(QLatin1Char(' '));
  };
  if (parts.size() == 1) return patterns(parts[0]);
  QStringList entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
    entries << parts[i].trimmed() + QStringLiteral(" (") + patterns(parts[i + 1]) + QLatin1Char(')');
  return entries.join(QStringLiteral(";;"));
}

bool QtDialogs::SelectFile(std::u16string_view title, std::u16string_view filter, std::u16string_view folder,
                           std::u16string_view selected, std::u16string& chosen) {
  QFileDialog dialog(nullptr, ToQString(title), ToQString(folder), QtFileFilter(filter));
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  if (!selected.empty()) dialog.selectFile(ToQString(selected));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  chosen = FromQString(dialog.selectedFiles().constFirst());
  return true;
}

bool QtDialogs::ShowMessageWindow(const platform::MessageWindow& window) {
  MessageWindowQt w(window);
  w.exec();
  return w.Ok();
}

int QtDialogs::ShowStandardDialog(const platform::StandardDialog& dialog) {
  StandardDialogQt d(dialog);
  return d.exec();
}

void QtDialogs::ShowWaitWindow(const platform::WaitWindow& window) {
  if (!FWait) {
    FWait = new WaitWindowQt(window.AllowCancel || window.AllowClose);
    FWait->show();
  }
  FWait->Update(window);
}

bool QtDialogs::CloseWaitWindow() {
  if (!FWait) return false;
  delete FWait.data();
  return true;
}

bool QtDialogs::WaitCancelled() const { return FWait && FWait->Cancelled(); }

void QtDialogs::SetWaitPosition(int position) {
  if (FWait) FWait->SetPosition(position);
}

int QtDialogs::WaitPosition() const { return FWait ? FWait->Position() : 0; }

void QtDialogs::UpdateWaitTime() {
  if (FWait) FWait->CalculateTime();
}

void QtDialogs::SetWaitCancelHandler(std::function<void()> handler) {
  if (FWait) FWait->OnCancelClick = std::move(handler);
}

void QtDialogs::SetAttention(platform::Attention state) {
  FAttention = state;
  // The desktop's standard means: the window asks for attention (a flashing entry).
  if (state == platform::Attention::Error || state == platform::Attention::Paused) {
    if (QWidget* w = QApplication::activeWindow()) QApplication::alert(w);
  }
}

void QtDialogs::PlaySystemSound(platform::DialogKind kind) {
  if (kind != platform::DialogKind::Custom) QApplication::beep();
}

void QtDialogs::Begin() { QApplication::setOverrideCursor(Qt::WaitCursor); }
void QtDialogs::End() { QApplication::restoreOverrideCursor(); }

QtDialogs& InstallQtDialogs() {
  static QtDialogs dialogs;
  platform::Service<platform::Dialogs>::Set(&dialogs);
  platform::Service<platform::BusyCursor>::Set(&dialogs);
  return dialogs;
}

}  // namespace zelmor::adapters
