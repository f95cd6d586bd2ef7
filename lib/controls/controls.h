// TmRot's form and control rules over the control tree of platform/controls.h: form
// state, focus and enabling of groups, menu paths, pop-up positions, colours, forms
// made once, printing lines, desktop launchers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/types.h"
#include "forms/colors.h"
#include "mConst.h"
#include "system/system.h"

namespace zelmor {

// Where ShowPopMenu opens a menu: below the control or to its right.
enum class TPosPopup : std::uint8_t { ppAbaixo, ppDireita };

namespace TmRot {

// ---- Forms, controls, menus, printing and shortcuts (controls/) ----

// True when any of the controls (or the one control) has the focus.
bool Focused(const std::vector<TWinControl*>& aoControles);
bool Focused(TWinControl* aoControle);
// Brings the page holding a control to the front; the program has no tab pages, so
// there is nothing to do.
void SetPageControl(TWinControl* pControle);
// The first and the last of the control's children in tab order (both nullptr when it
// has none); true when there is any.
bool GetFirstAndLastControl(TWinControl* aoControle, TWinControl*& aoPrimeiro, TWinControl*& aoUltimo);

// Writes the text of every edit control the form owns to `asIniFile`: section = the
// form's name, key = the control's name.
void SalvarEstadoForm(TForm* aoForm, std::u16string_view asIniFile);
// Reads those texts back; a control without a name or without a key keeps its text.
void CarregarEstadoForm(TForm* aoForm, std::u16string_view asIniFile);

// Sets Enabled on every direct child; a panel keeps its own state and its children
// are set instead.
void HabilitaControles(TWinControl* aoComponente, bool aoEnabled);
// Sets Enabled on every direct child and, with `abRecursive`, on their children too.
void AlterarHabilitacaoFilhos(TWinControl* aoParent, bool abEnabled, bool abRecursive);

// The top-level item above `aoMenu` (the highest whose parent has no caption).
TMenuItem* MenuPai(TMenuItem* aoMenu);
// The captions from the top-level item down to `aoMenu`, without "&", joined by
// `abPrefixo`.  CaminhoMenu(Abrir, u" > ") == u"Arquivo > Abrir"
std::u16string CaminhoMenu(TMenuItem* aoMenu, std::u16string_view abPrefixo);
// The caption of MenuPai without "&".
std::u16string CaminhoMenuPai(TMenuItem* aoMenu);
// True when the item and every item above it are visible / enabled.
bool MenuVisible(TMenuItem* aoMenu);
bool MenuEnabled(TMenuItem* aoMenu);

// The control's left and top plus those of every parent, the top plus the system's
// menu-bar height; (0, 0) for no control.
TPoint GetAbsolutePos(TWinControl* aoControl);
// GetAbsolutePos with the control's height added to Y: where a menu below it opens.
TPoint GetPopupPos(TWinControl* aoControl);
// Opens `aoPopMenu` below the control or to its right.
void ShowPopMenu(TWinControl* aoControle, TPopupMenu* aoPopMenu, TPosPopup aePosicao);

// The captions from the top (or from below the form, with `abIgnoraForm`) down to
// the control, joined by `asSeparador`; empty captions add nothing.
//   GetCaptionRecursivo(label, false, u" - ") == u"Clientes - Dados - Nome"
std::u16string GetCaptionRecursivo(TWinControl* aoComp, bool abIgnoraForm, std::u16string_view asSeparador);

// The colour's name or its "$" text (ColorToString); with `abSomenteHexadecimal`,
// "$00" and the blue, green and red bytes.  ColorToStr(0x0080FF, true) == u"$000080FF"
std::u16string ColorToStr(TColor aoCor, bool abSomenteHexadecimal);
// A text colour readable on `aoCor`: black on light colours (bytes adding up to more
// than 384), on the button face and on the default colour; white otherwise.
TColor InverteCor(TColor aoCor);

// The application's form of exactly this class when there is one; else a new one,
// owned by `aoOwner`, or by the application when that is nullptr.
TForm* CreateForm(const TFormClass& aoClass, TWinControl* aoOwner);
// The names of the forms on screen, last first, joined by " -> " (the about box, the
// main vertical form and the wait window are left out).
std::u16string GetFormAtual();
// Brings the form to the front: restored when minimized, raised and made the active
// window. Whether it is the active window afterwards (a window manager may refuse);
// false for no form.
bool ForceForegroundWindow(TWinControl* hwnd);

// Prints the lines on the default printer in `aoFont`, from the top-left corner down;
// a line that would not fit on the page starts a new one.
void PrintStrings(const TzelArrayString& aoStrings, const TFont& aoFont);

// Sets the first 800 x 600 mode of at least 16 bits per pixel the display lists;
// false when there is none (always, on Linux: see platform::Display).
bool MudarPara800x600();

// A launcher `Nome`.desktop on the user's desktop starting `CaminhoCompleto` in its
// folder; one of that name is replaced. True when the launcher exists afterwards.
bool CriaAtalhoDesktop(std::u16string_view Nome, std::u16string_view CaminhoCompleto);
// Deletes the launcher `Nome`.desktop from the desktop; false when there is none.
bool DeletaAtalhoDesktop(std::u16string_view Nome);

}  // namespace TmRot

}  // namespace zelmor
