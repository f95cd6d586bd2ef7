// The stop requests a service manager or a terminal sends (SIGTERM, SIGINT, SIGHUP),
// turned into a call on the event loop: the handler only writes the signal's number
// into a pipe, and the loop reads it and closes the window the normal way (the
// position is saved, the program ends with 0).
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace quindel {

class StopSignals : public QObject {
  Q_OBJECT
 public:
  // Installs the handlers; `stop` runs on this object's thread once per signal received
  // (with the signal's number). One instance per process.
  explicit StopSignals(std::function<void(int signal)> stop, QObject* parent = nullptr);
  // Gives the signals back their default action.
  ~StopSignals() override;
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  // "SIGTERM" for 15, and so on.
  static const char* Name(int signal);

 private:
  void Drain();

  std::function<void(int)> FStop;
  int FRead = -1;
  std::unique_ptr<QSocketNotifier> FNotifier;
};

}  // namespace quindel
