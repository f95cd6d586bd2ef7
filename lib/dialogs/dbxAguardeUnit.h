// The please-wait window that long operations show while they work: a main line, an
// information line, an optional progress bar with a time estimate, an optional
// Cancel. One per process: ShowWaitWindow opens it or updates the open one,
// CloseWaitWindow closes it. The window belongs to the installed dialog service.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace zelmor {

// Opens the wait window or updates the open one. Empty texts leave their lines as
// they are; `GaugeMax` > 0 shows the progress bar from 0 and the time line (0 or less
// hides the time line, a bar shown before stays). The close box exists only when
// `AllowCancel` or `AllowClose` was given at opening; closing with it counts as cancelling.
//   ShowWaitWindow(u"Aguarde...", u"Atualizando arquivos", 0, true, false, false)
void ShowWaitWindow(std::u16string_view InfoText, std::u16string_view MainText, int GaugeMax = 0,
                    bool RepaintNow = true, bool AllowCancel = false, bool AllowClose = false);
// Closes the wait window when one is open; the taskbar shows nothing afterwards either way.
void CloseWaitWindow();

// The open wait window, for the code that works under it.
class TdbxAguardeForm {
 public:
  TdbxAguardeForm() = delete;

  // Whether a wait window is open.
  static bool Existe();
  // Whether the user pressed Cancel (or closed the window); the window stays until
  // the working code closes it.
  static bool Cancelou();
  // The progress bar's position; set it, then call ppCalculaTempo.
  static int Posicao();
  static void SetPosicao(int Value);
  // Rewrites the time line from the position and the time since the bar was started.
  static void ppCalculaTempo();
  // Run when Cancel is pressed, after the window marked itself cancelled.
  static void SetOnCancelClick(std::function<void()> Handler);

  // The time line for `Posicao` of `Maximo` after `DecorridoMs` milliseconds: the count,
  // the elapsed and the estimated remaining time (hh:nn:ss, wrapping after a day);
  // the count alone when nothing can be estimated (position 0).
  //   TextoTempo(25, 100, 5000) == u"25/100 - Percorrido 00:00:05 - Restante 00:00:15"
  static std::u16string TextoTempo(int Posicao, int Maximo, std::uint32_t DecorridoMs);
};

}  // namespace zelmor
