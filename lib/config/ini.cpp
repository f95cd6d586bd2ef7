// TmINI: every operation is the TConfigStatic one.
#include "config/mIniReg.h"

namespace zelmor {

std::u16string TmINI::Ler(std::u16string_view Chave, std::u16string_view Item, std::u16string_view Padrao,
                          std::u16string_view Arquivo) {
  return TConfigStatic::Ler(Chave, Item, Padrao, Arquivo);
}
std::u16string TmINI::Ler(std::u16string_view Chave, std::u16string_view Item, const char16_t* Padrao,
                          std::u16string_view Arquivo) {
  return TConfigStatic::Ler(Chave, Item, Padrao, Arquivo);
}
int TmINI::Ler(std::u16string_view Chave, std::u16string_view Item, int Padrao, std::u16string_view Arquivo) {
  return TConfigStatic::Ler(Chave, Item, Padrao, Arquivo);
}
bool TmINI::Ler(std::u16string_view Chave, std::u16string_view Item, bool Padrao, std::u16string_view Arquivo) {
  return TConfigStatic::Ler(Chave, Item, Padrao, Arquivo);
}
int TmINI::LerInt(std::u16string_view Chave, std::u16string_view Item, int Padrao, std::u16string_view Arquivo) {
  return TConfigStatic::Ler(Chave, Item, Padrao, Arquivo);
}
double TmINI::LerFloat(std::u16string_view Chave, std::u16string_view Item, double Padrao,
                       std::u16string_view Arquivo) {
  return TConfigStatic::LerFloat(Chave, Item, Padrao, Arquivo);
}
Currency TmINI::LerCurr(std::u16string_view Chave, std::u16string_view Item, Currency Padrao,
                        std::u16string_view Arquivo) {
  return TConfigStatic::LerCurr(Chave, Item, Padrao, Arquivo);
}
TDateTime TmINI::LerDate(std::u16string_view Chave, std::u16string_view Item, TDateTime Padrao,
                         std::u16string_view Arquivo) {
  return TConfigStatic::LerDate(Chave, Item, Padrao, Arquivo);
}
TDateTime TmINI::LerDateTime(std::u16string_view Chave, std::u16string_view Item, TDateTime Padrao,
                             std::u16string_view Arquivo) {
  return TConfigStatic::LerDateTime(Chave, Item, Padrao, Arquivo);
}
std::u16string TmINI::LerConfig(std::u16string_view Item, std::u16string_view Padrao, std::u16string_view Arquivo) {
  return TConfigStatic::LerConfig(Item, Padrao, Arquivo);
}
std::u16string TmINI::LerConfig(std::u16string_view Item, const char16_t* Padrao, std::u16string_view Arquivo) {
  return TConfigStatic::LerConfig(Item, Padrao, Arquivo);
}
int TmINI::LerConfig(std::u16string_view Item, int Padrao, std::u16string_view Arquivo) {
  return TConfigStatic::LerConfig(Item, Padrao, Arquivo);
}
bool TmINI::LerConfig(std::u16string_view Item, bool Padrao, std::u16string_view Arquivo) {
  return TConfigStatic::LerConfig(Item, Padrao, Arquivo);
}
double TmINI::LerFloatConfig(std::u16string_view Item, double Padrao, std::u16string_view Arquivo) {
  return TConfigStatic::LerFloatConfig(Item, Padrao, Arquivo);
}
Currency TmINI::LerCurrConfig(std::u16string_view Item, Currency Padrao, std::u16string_view Arquivo) {
  return TConfigStatic::LerCurrConfig(Item, Padrao, Arquivo);
}
TDateTime TmINI::LerDateConfig(std::u16string_view Item, TDateTime Padrao, std::u16string_view Arquivo) {
  return TConfigStatic::LerDateConfig(Item, Padrao, Arquivo);
}
TDateTime TmINI::LerDateTimeConfig(std::u16string_view Item, TDateTime Padrao, std::u16string_view Arquivo) {
  return TConfigStatic::LerDateTimeConfig(Item, Padrao, Arquivo);
}
void TmINI::Gravar(std::u16string_view Chave, std::u16string_view Item, std::u16string_view Valor,
                   std::u16string_view Arquivo) {
  TConfigStatic::Gravar(Chave, Item, Valor, Arquivo);
}
void TmINI::Gravar(std::u16string_view Chave, std::u16string_view Item, const char16_t* Valor,
                   std::u16string_view Arquivo) {
  TConfigStatic::Gravar(Chave, Item, Valor, Arquivo);
}
void TmINI::Gravar(std::u16string_view Chave, std::u16string_view Item, int Valor, std::u16string_view Arquivo) {
  TConfigStatic::Gravar(Chave, Item, Valor, Arquivo);
}
void TmINI::Gravar(std::u16string_view Chave, std::u16string_view Item, bool Valor, std::u16string_view Arquivo) {
  TConfigStatic::Gravar(Chave, Item, Valor, Arquivo);
}
void TmINI::GravarFloat(std::u16string_view Chave, std::u16string_view Item, double Valor,
                        std::u16string_view Arquivo) {
  TConfigStatic::GravarFloat(Chave, Item, Valor, Arquivo);
}
void TmINI::GravarCurr(std::u16string_view Chave, std::u16string_view Item, Currency Valor,
                       std::u16string_view Arquivo) {
  TConfigStatic::GravarCurr(Chave, Item, Valor, Arquivo);
}
void TmINI::GravarDate(std::u16string_view Chave, std::u16string_view Item, TDateTime Valor,
                       std::u16string_view Arquivo) {
  TConfigStatic::GravarDate(Chave, Item, Valor, Arquivo);
}
void TmINI::GravarDateTime(std::u16string_view Chave, std::u16string_view Item, TDateTime Valor,
                           std::u16string_view Arquivo) {
  TConfigStatic::GravarDateTime(Chave, Item, Valor, Arquivo);
}
void TmINI::GravarConfig(std::u16string_view Item, std::u16string_view Valor, std::u16string_view Arquivo) {
  TConfigStatic::GravarConfig(Item, Valor, Arquivo);
}
void TmINI::GravarConfig(std::u16string_view Item, const char16_t* Valor, std::u16string_view Arquivo) {
  TConfigStatic::GravarConfig(Item, Valor, Arquivo);
}
void TmINI::GravarConfig(std::u16string_view Item, int Valor, std::u16string_view Arquivo) {
  TConfigStatic::GravarConfig(Item, Valor, Arquivo);
}
void TmINI::GravarConfig(std::u16string_view Item, bool Valor, std::u16string_view Arquivo) {
  TConfigStatic::GravarConfig(Item, Valor, Arquivo);
}
void TmINI::GravarFloatConfig(std::u16string_view Item, double Valor, std::u16string_view Arquivo) {
  TConfigStatic::GravarFloatConfig(Item, Valor, Arquivo);
}
void TmINI::GravarCurrConfig(std::u16string_view Item, Currency Valor, std::u16string_view Arquivo) {
  TConfigStatic::GravarCurrConfig(Item, Valor, Arquivo);
}
void TmINI::GravarDateConfig(std::u16string_view Item, TDateTime Valor, std::u16string_view Arquivo) {
  TConfigStatic::GravarDateConfig(Item, Valor, Arquivo);
}
void TmINI::LerSecoes(TStringList& Saida, std::u16string_view Arquivo) { TConfigStatic::LerSecoes(Saida, Arquivo); }
void TmINI::LerSecao(TStringList& Saida, std::u16string_view Secao, std::u16string_view Arquivo) {
  TConfigStatic::LerSecao(Saida, Secao, Arquivo);
}
void TmINI::LerSecaoValues(TStringList& Saida, std::u16string_view Secao, std::u16string_view Arquivo) {
  TConfigStatic::LerSecaoValues(Saida, Secao, Arquivo);
}
void TmINI::Limpa(std::u16string_view Chave, std::u16string_view Arquivo) {
  TConfigStatic::LimparSecao(Chave, Arquivo);
}
void TmINI::Excluir(std::u16string_view Chave, std::u16string_view Item, std::u16string_view Arquivo) {
  TConfigStatic::Excluir(Chave, Item, Arquivo);
}

}  // namespace zelmor
