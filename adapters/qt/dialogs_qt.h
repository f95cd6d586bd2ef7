// The dialog service of the GUI: the message window, the standard dialog and the
// wait window as Qt widgets, the folder dialog, the busy cursor, the window alert
// for the taskbar and the system beep. The windows' own classes are below, so the
// display program and the tests can reach them.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

#include "adapters/qt/controls_qt.h"
#include "platform/dialogs.h"

class QLabel;
class QPushButton;
class QProgressBar;
class QToolButton;
class QPlainTextEdit;
class QScrollArea;
class QTimer;

namespace zelmor::adapters {

// The icon of a message type: the desktop theme's, else the style's built-in one.
QIcon DialogIcon(platform::DialogKind kind);

// The message window (the library's TmDialogForm): component names as objectName
// ("mDialogForm", "OkBtn", "CancelarBtn", "DetalhesBtn", "btPause", "MensLabel",
// "BodyLabel", "DetalhesMemo", "SalvarBtn", ...).
class MessageWindowQt final : public QDialog {
  Q_OBJECT
 public:
  explicit MessageWindowQt(const platform::MessageWindow& window, QWidget* owner = nullptr);
  bool Ok() const { return FOk; }
  bool Expanded() const { return FExpanded; }
  QSize NormalSize() const { return FNormalSize; }
  QSize ExpandedSize() const { return FExpandedSize; }
  // Where the details are saved; the save-file dialog by default.
  std::function<QString()> AskFileName;

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void SizeWindow();
  void Relayout();
  void Tick();
  void StopCountdown();
  void ToggleDetails();
  void SaveDetails();
  void CopyMessage();

  platform::MessageWindow FSpec;
  QWidget* FMainPanel;
  QLabel* FIcon;
  QLabel* FHeadline;
  QLabel* FBody;
  QScrollArea* FBodyArea;
  QWidget* FLine;
  QToolButton* FPause;
  QWidget* FButtonBar;
  QPushButton* FOkBtn;
  QPushButton* FCancelBtn;
  QPushButton* FDetailsBtn;
  QWidget* FDetailsPanel;
  QPlainTextEdit* FMemo;
  QPushButton* FSaveBtn;
  QTimer* FTimer;
  bool FExpanded = false;
  bool FOk = false;
  bool FSized = false;
  int FMaxTempo = 0;
  QSize FNormalSize, FExpandedSize, FBodySize;
};

// The standard dialog: the text, the type's icon and a row of buttons.
class StandardDialogQt final : public QDialog {
  Q_OBJECT
 public:
  explicit StandardDialogQt(const platform::StandardDialog& dialog, QWidget* owner = nullptr);
  QList<QPushButton*> Buttons() const { return FButtons; }

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Press(int index);
  void Tick();

  platform::StandardDialog FSpec;
  QList<QPushButton*> FButtons;
  QTimer* FTimer = nullptr;
};

// The please-wait window ("dbxAguardeForm"): "PrincLabel", "InfoLabel",
// "pgbSituacao", "CancelarBtn", "lblTempo".
class WaitWindowQt final : public QWidget {
  Q_OBJECT
 public:
  explicit WaitWindowQt(bool closable);
  void Update(const platform::WaitWindow& window);
  bool Cancelled() const { return FCancelled; }
  bool Closable() const { return FClosable; }
  void SetPosition(int position);
  int Position() const;
  void CalculateTime();
  std::function<void()> OnCancelClick;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void Cancel();
  void RepaintTexts();

  bool FClosable;
  bool FCancelled = false;
  bool FRepaintNow = true;
  std::uint32_t FStarted = 0;
  QLabel* FMain;
  QLabel* FInfo;
  QProgressBar* FBar;
  QPushButton* FCancel;
  QLabel* FTime;
};

// The open-file dialog's filter as Qt writes it: «XML|*.xml|Todos|*.*» gives
// "XML (*.xml);;Todos (*)" ("*.*" is every file, as on Windows; ";" between patterns
// becomes a blank). A text without "|" is one pattern list.
QString QtFileFilter(std::u16string_view filter);

class QtDialogs final : public platform::Dialogs, public platform::BusyCursor {
 public:
  QtDialogs();
  ~QtDialogs() override;

  void ShowMessage(std::u16string_view text) override;
  bool SelectFolder(std::u16string_view title, std::u16string_view initial, bool centred,
                    std::u16string& chosen) override;
  bool SelectFile(std::u16string_view title, std::u16string_view filter, std::u16string_view folder,
                  std::u16string_view selected, std::u16string& chosen) override;
  bool ShowMessageWindow(const platform::MessageWindow& window) override;
  int ShowStandardDialog(const platform::StandardDialog& dialog) override;
  void ShowWaitWindow(const platform::WaitWindow& window) override;
  bool CloseWaitWindow() override;
  bool WaitWindowOpen() const override { return !FWait.isNull(); }
  bool WaitCancelled() const override;
  void SetWaitPosition(int position) override;
  int WaitPosition() const override;
  void UpdateWaitTime() override;
  void SetWaitCancelHandler(std::function<void()> handler) override;
  void SetAttention(platform::Attention state) override;
  void PlaySystemSound(platform::DialogKind kind) override;
  void Begin() override;
  void End() override;

  // The open wait window, if any (for tests and the display program).
  WaitWindowQt* Wait() const { return FWait.data(); }
  platform::Attention AttentionState() const { return FAttention; }

 private:
  QPointer<WaitWindowQt> FWait;
  platform::Attention FAttention = platform::Attention::None;
};

// Installs the GUI's dialogs (and busy cursor) for the life of the process, over the
// headless ones. Call once, after the application object is created.
QtDialogs& InstallQtDialogs();

}  // namespace zelmor::adapters
