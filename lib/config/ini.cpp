// TmINI: the TConfigStatic operations, two of them under other names.
#include "config/mIniReg.h"

namespace zelmor {

int TmINI::LerInt(std::u16string_view Chave, std::u16string_view Item, int Padrao, std::u16string_view Arquivo) {
  return TConfigStatic::Ler(Chave, Item, Padrao, Arquivo);
}

void TmINI::Limpa(std::u16string_view Chave, std::u16string_view Arquivo) {
  TConfigStatic::LimparSecao(Chave, Arquivo);
}

}  // namespace zelmor
