// TmRot's system routines, the ones this folder defines: the access-key check and
// instalments (fiscal.cpp), the Windows version and the environment, focus, and
// waiting while events are dispatched. The other folders open TmRot for their own
// routines (processes/, network/, helpers/, shell/, controls/); mRotinas.h gathers them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/errors.h"
#include "core/types.h"
#include "mConst.h"
#include "platform/dialogs.h"
#include "system/mVersaoWindows.h"

namespace zelmor {

// A windowed control of the program (the GUI adapter wraps its widgets).
using TWinControl = platform::Control;
// The program's forms, menus, pop-up menus, printer font and screen points (controls/).
using TForm = platform::Control;
using TFormClass = platform::FormClass;
using TMenuItem = platform::MenuItem;
using TPopupMenu = platform::PopupMenu;
using TFont = platform::Font;
using TPoint = platform::Point;

// A fiscal check that failed: an access key that disagrees with its data, an
// instalment or apportionment asked with impossible figures.
ZELMOR_DECLARE_ERROR(EFiscalError, "fiscal");

namespace TmRot {

// ---- Access-key check and instalments (fiscal.cpp) ----

// Checks the 44-character access key against the values it was built from, field by
// field; a parameter left blank is not checked, and a number may be given without its
// leading zeros. `asUF` is the unit's numeric code ("35") or its abbreviation ("SP").
// The issuer's CNPJ may have letters (compared as capitals, in either case typed).
// Raises EFiscalError naming the first field that disagrees; an empty key is not checked.
//   ValidaChaveAcesso(key, u"35", u"2405", u"", u"55", u"1", u"123", u"1", u"") passes for
//   a key of SP, May 2024, model 55, series 001, number 000000123, issue form 1.
void ValidaChaveAcesso(std::u16string_view asChaveAcesso, std::u16string_view asUF, std::u16string_view asAAMM,
                       std::u16string_view asCNPJ, std::u16string_view asMod, std::u16string_view asSerie,
                       std::u16string_view asNrNF, std::u16string_view asTpEmis, std::u16string_view asDV);
// Instalment `aiNrParcela` of `aiQtdParcelas`: the total divided and cut to cents, the
// remainder added to the first instalment (or to the last with `abAdicionarDifAoFinal`),
// so the instalments always add up to the total. Raises EFiscalError for a quantity
// below 1 or a number outside 1..quantity.
//   GetValorParcela(100.00, 3, 1, false) == 33.34; GetValorParcela(100.00, 3, 1, true) == 33.33
Currency GetValorParcela(Currency adValorTotal, int aiQtdParcelas, int aiNrParcela, bool abAdicionarDifAoFinal);
// One item's share of `adValorTotalRatear`, in proportion to its value, cut to cents; the
// last item takes what is left so the shares add up exactly. Raises EFiscalError when
// either total is zero.
//   10.00 over items of 1.00, 1.00, 1.00 gives 3.33, 3.33 and, for the last, 3.34
Currency GetValorRateioItem(Currency adValorTotal, Currency adValorTotalItem, Currency adValorTotalRatear,
                            Currency adTotalAcumuladoRateiro, bool abIsUtilmoItem);
// Clears `aoLista` and fills it with the program's fixed list of 100 CNPJs (14 digits
// each) in a fixed order; true.
bool GetListaCNPJBlocoXDezembro(TStringList& aoLista);

// ---- Windows version and environment (environment.cpp) ----

// "Windows " and the name of the Windows version the program runs on, from the
// system's version facts (WindowsVersionName, unit mVersaoWindows). A system that is
// not Windows has none: "Windows ?".
//   VersaoWindowsStr() == u"Windows 10" on Windows 10 and 11
std::u16string VersaoWindowsStr();
// The family of VersaoWindowsStr() (WindowsVersionFamily): vw10 on Windows 10 and 11,
// vwNT where nothing is known.
TVersaoWindows VersaoWindows();
// The version text of the executable `csExeName`: the "FileVersion" of a Windows
// executable's version resource, or the version our own Linux programs are stamped
// with. With `aiQtdNiveis` 1 to 3 only that many "."-separated parts remain (fewer
// when the text has fewer); then every "." becomes `asSeparador` unless it is ".".
// Empty for a missing file, a file without a version, or any failure.
//   GetFileVersao(u"app.exe", 2, u",") == u"1,2" for a version 1.2.3.4
std::u16string GetFileVersao(std::u16string_view csExeName, std::int32_t aiQtdNiveis, std::u16string_view asSeparador);
// The value of the process environment variable `EnVar` (whole, however long), empty
// when it is not set. TmTS::GetVariavelAmbiente is this same routine.
//   GetVariavelAmbiente(u"HOME") == u"/home/caixa"
std::u16string GetVariavelAmbiente(std::u16string_view EnVar);

// ---- Focus (focus.cpp) ----

// Gives `pControle` the focus. A panel hands it to the first of its windowed children,
// in tab order, that takes it; any other control takes it when CanFocus. False for none.
bool SetFocus(TWinControl* pControle);
// True when the control and every parent up the chain are enabled and visible.
bool CanFocus(TWinControl* pControle);
// Clears `aoLista` and fills it with the control's direct windowed children in
// ascending tab order; true when there is any.
bool GetListaOrdenadaWinControl(TWinControl* aoControle, std::vector<TWinControl*>& aoLista);

// ---- Waiting and message pumping (waiting.cpp) ----

// Waits `MSecs` milliseconds while the program's events go on being dispatched: the
// pending ones at once, then each as it arrives; between them the thread sleeps. The
// time is measured on the 32-bit tick counter, so its wrap does no harm. Handlers of
// the program may run re-entrantly meanwhile. Delay(0) dispatches what is pending once.
void Delay(std::uint32_t MSecs);
// Dispatches every pending event of the calling thread once. True when a request to
// end the program's event loop was met (the request stays in force, so the loop still
// ends); false otherwise, as on an empty queue.
bool DoEvents();

}  // namespace TmRot

}  // namespace zelmor
