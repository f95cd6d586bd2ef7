// The application's forms: made once, listed as shown; and the display mode switch.
#include "controls/controls.h"
#include "core/errors.h"
#include "platform/service.h"
#include "strings/mString.h"
#include "system/system.h"

namespace zelmor {

TForm* TmRot::CreateForm(const TFormClass& aoClass, TWinControl* aoOwner) {
  platform::Forms& forms = platform::Service<platform::Forms>::Get();
  for (TForm* form : forms.ApplicationForms())
    if (form->ClassName() == aoClass.Name) return form;
  if (!aoClass.Create) throw EArgumentError(u"CreateForm: the form class cannot make forms");
  TForm* form = aoClass.Create(aoOwner);
  if (form && !aoOwner) forms.Adopt(form);
  return form;
}

std::u16string TmRot::GetFormAtual() {
  std::u16string text;
  for (const TForm* form : platform::Service<platform::Forms>::Get().ScreenForms()) {
    const std::u16string name = form->Name();
    if (TmStr::Contem(name, {u"SobreOmbrixForm", u"MainVerticalForm", u"dbxAguardeForm"})) continue;
    TmStr::ConcatenaInicio(text, name, u" -> ");
  }
  return text;
}

bool TmRot::ForceForegroundWindow(TWinControl* hwnd) {
  return hwnd != nullptr && platform::Service<platform::Forms>::Get().BringToFront(hwnd);
}

bool TmRot::MudarPara800x600() {
  platform::Display& display = platform::Service<platform::Display>::Get();
  for (const platform::DisplayMode& mode : display.Modes())
    if (mode.Width == 800 && mode.Height == 600 && mode.BitsPerPixel >= 16) return display.SetMode(mode);
  return false;
}

}  // namespace zelmor
