// TmDialogForm: the system's own message window: the type's icon, a coloured
// headline, a word-wrapped body, OK (or Yes) and Cancel (or No), a fold-out details
// pane that can be saved, a countdown that presses OK, and Ctrl+C that copies the
// message. These operations decide what the window shows; the window itself belongs
// to the installed dialog service (the GUI's, or the headless one of tools and tests).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/dialogs.h"

namespace zelmor {

// The message types, in this order.
enum TMsgDlgType : std::uint8_t { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

class TmDialogForm {
 public:
  TmDialogForm() = delete;

  // Shows the message window for `Tipo` with the headline `Titulo`, the body `Mensagem`
  // and the fold-out `Detalhes` (none when blank). A confirmation without countdown
  // asks Sim / Não, with `FocoNao` starting on Não; other types show OK alone.
  // `aiTempoOK` > 0 presses OK after that many seconds (the button reads OK[5], OK[4] ...).
  // True for OK / Sim or the end of the countdown; false for Cancel / Não, Esc or the
  // close box.
  //   Executar(u"Falha", u"Sem papel", u"", mtWarning, false, 3, false, false): OK[3] ... true
  static bool Executar(std::u16string_view Titulo, std::u16string_view Mensagem, std::u16string_view Detalhes,
                       TMsgDlgType Tipo, bool FocoNao = false, int aiTempoOK = 0, bool abMonoEspacada = false,
                       bool CentralizarNoOwner = false);
  // A two-button question with free captions: the caption and the headline are
  // `asTitulo`, the information icon, no countdown. True for `asCapOk`.
  static bool ExecutarOpcao(std::u16string_view asTitulo, std::u16string_view asMensagem,
                            std::u16string_view asDetalhes, std::u16string_view asCapOk,
                            std::u16string_view asCapCancelar);

  // The window as Executar describes it, without showing it.
  static platform::MessageWindow Descricao(std::u16string_view Titulo, std::u16string_view Mensagem,
                                           std::u16string_view Detalhes, TMsgDlgType Tipo, bool FocoNao, int aiTempoOK,
                                           bool abMonoEspacada, bool CentralizarNoOwner);
  // The details as the pane shows them: runs of blanks made one, and every line break
  // (CR LF, LF, CR) and every "¿" made CR LF. Blank details give "".
  //   TextoDetalhes(u"a   b¿c") == u"a b\r\nc"
  static std::u16string TextoDetalhes(std::u16string_view Detalhes);
  // What Ctrl+C copies: the headline, two CR LF, the body with its line breaks as CR LF.
  //   TextoCopia(u"Falha", u"linha 1\nlinha 2") == u"Falha\r\n\r\nlinha 1\r\nlinha 2"
  static std::u16string TextoCopia(std::u16string_view Titulo, std::u16string_view Corpo);
};

// The service's kind for a message type.
platform::DialogKind DialogKindOf(TMsgDlgType Tipo);

}  // namespace zelmor
