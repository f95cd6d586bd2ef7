// The wait window's operations over the dialog service, and its time estimate.
#include <cmath>

#include "core/text.h"
#include "dialogs/dbxAguardeUnit.h"
#include "platform/dialogs.h"

namespace zelmor {
namespace {

platform::Dialogs& Service() { return platform::Service<platform::Dialogs>::Get(); }

// A duration as hh:nn:ss; a day or more wraps around.
std::u16string Clock(std::int64_t ms) {
  const std::int64_t s = (ms / 1000) % 86400;
  const auto two = [](std::int64_t v) { return std::u16string{char16_t(u'0' + v / 10), char16_t(u'0' + v % 10)}; };
  return two(s / 3600) + u":" + two(s / 60 % 60) + u":" + two(s % 60);
}

}  // namespace

void ShowWaitWindow(std::u16string_view InfoText, std::u16string_view MainText, int GaugeMax, bool RepaintNow,
                    bool AllowCancel, bool AllowClose) {
  platform::WaitWindow w;
  w.Info = InfoText;
  w.Main = MainText;
  w.GaugeMax = GaugeMax;
  w.RepaintNow = RepaintNow;
  w.AllowCancel = AllowCancel;
  w.AllowClose = AllowClose;
  Service().ShowWaitWindow(w);
  Service().SetAttention(platform::Attention::Indeterminate);
}

void CloseWaitWindow() {
  Service().CloseWaitWindow();
  Service().SetAttention(platform::Attention::None);
}

bool TdbxAguardeForm::Existe() { return Service().WaitWindowOpen(); }
bool TdbxAguardeForm::Cancelou() { return Service().WaitCancelled(); }
int TdbxAguardeForm::Posicao() { return Service().WaitPosition(); }
void TdbxAguardeForm::SetPosicao(int Value) { Service().SetWaitPosition(Value); }
void TdbxAguardeForm::ppCalculaTempo() { Service().UpdateWaitTime(); }
void TdbxAguardeForm::SetOnCancelClick(std::function<void()> Handler) {
  Service().SetWaitCancelHandler(std::move(Handler));
}

std::u16string TdbxAguardeForm::TextoTempo(int Posicao, int Maximo, std::uint32_t DecorridoMs) {
  std::u16string t = IntToStr(Posicao) + u"/" + IntToStr(Maximo);
  if (Posicao == 0) return t;  // nothing to estimate from
  // In 64 bits (and a double for the quotient): an hour-long run of a large maximum
  // overflows a 32-bit product.
  const std::int64_t left = static_cast<std::int64_t>(Maximo) - Posicao;
  const double remaining = std::nearbyint(static_cast<double>(left) * DecorridoMs / Posicao);
  if (!std::isfinite(remaining) || remaining < 0) return t;
  return t + u" - Percorrido " + Clock(DecorridoMs) + u" - Restante " + Clock(static_cast<std::int64_t>(remaining));
}

}  // namespace zelmor
