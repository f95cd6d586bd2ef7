// Rules over the control tree: focus of groups, enabling groups, screen positions
// and the chain of captions.
#include "controls/controls.h"
#include "platform/service.h"
#include "system/system.h"

namespace zelmor {

bool TmRot::Focused(const std::vector<TWinControl*>& aoControles) {
  for (const TWinControl* c : aoControles)
    if (c && c->Focused()) return true;
  return false;
}

bool TmRot::Focused(TWinControl* aoControle) { return aoControle && aoControle->Focused(); }

void TmRot::SetPageControl(TWinControl*) {}

bool TmRot::GetFirstAndLastControl(TWinControl* aoControle, TWinControl*& aoPrimeiro, TWinControl*& aoUltimo) {
  std::vector<TWinControl*> list;
  const bool any = GetListaOrdenadaWinControl(aoControle, list);
  aoPrimeiro = any ? list.front() : nullptr;
  aoUltimo = any ? list.back() : nullptr;
  return any;
}

void TmRot::HabilitaControles(TWinControl* aoComponente, bool aoEnabled) {
  if (!aoComponente) return;
  for (TWinControl* child : aoComponente->Children()) {
    if (child->IsPanel())
      HabilitaControles(child, aoEnabled);
    else
      child->SetEnabled(aoEnabled);
  }
}

void TmRot::AlterarHabilitacaoFilhos(TWinControl* aoParent, bool abEnabled, bool abRecursive) {
  if (!aoParent) return;
  for (TWinControl* child : aoParent->Children()) {
    child->SetEnabled(abEnabled);
    if (abRecursive) AlterarHabilitacaoFilhos(child, abEnabled, true);
  }
}

TPoint TmRot::GetAbsolutePos(TWinControl* aoControl) {
  if (!aoControl) return {};
  TPoint p;
  for (const TWinControl* c = aoControl; c; c = c->Parent()) {
    p.X += c->Left();
    p.Y += c->Top();
  }
  p.Y += platform::Service<platform::Forms>::Get().MenuBarHeight();
  return p;
}

TPoint TmRot::GetPopupPos(TWinControl* aoControl) {
  TPoint p = GetAbsolutePos(aoControl);
  if (aoControl) p.Y += aoControl->Height();
  return p;
}

void TmRot::ShowPopMenu(TWinControl* aoControle, TPopupMenu* aoPopMenu, TPosPopup aePosicao) {
  if (!aoControle || !aoPopMenu) return;
  TPoint p = aePosicao == TPosPopup::ppAbaixo ? TPoint{aoControle->Left(), aoControle->Top() + aoControle->Height()}
                                              : TPoint{aoControle->Left() + aoControle->Width(), aoControle->Top()};
  // A form's own position is already on the screen.
  if (const TWinControl* parent = aoControle->Parent()) p = parent->ClientToScreen(p);
  aoPopMenu->Popup(p);
}

std::u16string TmRot::GetCaptionRecursivo(TWinControl* aoComp, bool abIgnoraForm, std::u16string_view asSeparador) {
  if (!aoComp) return {};
  std::u16string own = aoComp->Caption();
  TWinControl* parent = aoComp->Parent();
  if (!parent || (abIgnoraForm && parent->Kind() == platform::ControlKind::Form)) return own;
  std::u16string above = GetCaptionRecursivo(parent, abIgnoraForm, asSeparador);
  if (above.empty()) return own;
  if (!own.empty()) above.append(asSeparador).append(own);
  return above;
}

}  // namespace zelmor
