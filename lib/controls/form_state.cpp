// What the user typed into a form, kept in a configuration file between sessions.
#include <exception>

#include "config/mIniReg.h"
#include "controls/controls.h"
#include "system/system.h"

namespace zelmor {

void TmRot::SalvarEstadoForm(TForm* aoForm, std::u16string_view asIniFile) {
  if (!aoForm) return;
  const std::u16string section = aoForm->Name();
  // A text the file cannot hold (a line break) is reported once every other control
  // has been saved, so one memo does not cost the rest of the form.
  std::exception_ptr refused;
  for (const TWinControl* c : aoForm->Components()) {
    // A nameless control has no key it could be read back from.
    if (c->Kind() != platform::ControlKind::Edit || c->Name().empty()) continue;
    try {
      TmINI::Gravar(section, c->Name(), c->Text(), asIniFile);
    } catch (const EArgumentError&) {
      if (!refused) refused = std::current_exception();
    }
  }
  if (refused) std::rethrow_exception(refused);
}

void TmRot::CarregarEstadoForm(TForm* aoForm, std::u16string_view asIniFile) {
  if (!aoForm) return;
  const std::u16string section = aoForm->Name();
  for (TWinControl* c : aoForm->Components())
    if (c->Kind() == platform::ControlKind::Edit && !c->Name().empty())
      c->SetText(TmINI::Ler(section, c->Name(), c->Text(), asIniFile));
}

}  // namespace zelmor
