// Menu paths, for captions and for the permissions kept per menu item.
#include "controls/controls.h"
#include "system/system.h"

namespace zelmor {
namespace {

std::u16string WithoutAccelerators(std::u16string text) {
  std::erase(text, u'&');
  return text;
}

// The bar's root and a pop-up menu's root carry no caption: they end a path.
bool HasCaptionedParent(const TMenuItem* item) { return item->Parent() && !item->Parent()->Caption().empty(); }

}  // namespace

TMenuItem* TmRot::MenuPai(TMenuItem* aoMenu) {
  if (!aoMenu) return nullptr;
  TMenuItem* item = aoMenu;
  while (HasCaptionedParent(item)) item = item->Parent();
  return item;
}

std::u16string TmRot::CaminhoMenu(TMenuItem* aoMenu, std::u16string_view abPrefixo) {
  if (!aoMenu) return {};
  std::u16string own = WithoutAccelerators(aoMenu->Caption());
  if (!HasCaptionedParent(aoMenu)) return own;
  return CaminhoMenu(aoMenu->Parent(), abPrefixo).append(abPrefixo).append(own);
}

std::u16string TmRot::CaminhoMenuPai(TMenuItem* aoMenu) {
  TMenuItem* top = MenuPai(aoMenu);
  return top ? WithoutAccelerators(top->Caption()) : std::u16string();
}

bool TmRot::MenuVisible(TMenuItem* aoMenu) {
  if (!aoMenu) return false;
  for (const TMenuItem* item = aoMenu; item; item = item->Parent())
    if (!item->Visible()) return false;
  return true;
}

bool TmRot::MenuEnabled(TMenuItem* aoMenu) {
  if (!aoMenu) return false;
  for (const TMenuItem* item = aoMenu; item; item = item->Parent())
    if (!item->Enabled()) return false;
  return true;
}

}  // namespace zelmor
