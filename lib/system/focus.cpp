// Moving the focus into containers: a panel passes it to its first child that takes it.
#include <algorithm>

#include "system/system.h"

namespace zelmor {

bool TmRot::GetListaOrdenadaWinControl(TWinControl* aoControle, std::vector<TWinControl*>& aoLista) {
  aoLista.clear();
  if (!aoControle) return false;
  aoLista = aoControle->Children();
  std::stable_sort(aoLista.begin(), aoLista.end(),
                   [](const TWinControl* a, const TWinControl* b) { return a->TabOrder() < b->TabOrder(); });
  return !aoLista.empty();
}

bool TmRot::CanFocus(TWinControl* pControle) {
  if (!pControle) return false;
  // Bounded by the depth of the control tree; a parent chain never loops in a toolkit.
  for (const TWinControl* c = pControle; c; c = c->Parent())
    if (!c->Enabled() || !c->Visible()) return false;
  return true;
}

bool TmRot::SetFocus(TWinControl* pControle) {
  if (!pControle) return false;
  if (pControle->IsPanel()) {
    std::vector<TWinControl*> children;
    GetListaOrdenadaWinControl(pControle, children);
    for (TWinControl* child : children)
      if (SetFocus(child)) return true;
  }
  if (!CanFocus(pControle)) return false;
  pControle->TakeFocus();
  return true;
}

}  // namespace zelmor
