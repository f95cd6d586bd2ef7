// TConfigStatic: one-call access to a configuration file (see TmConfig for the
// format): each call opens the file, reads or changes one thing, and closes it.
#pragma once

#include <string>
#include <string_view>

#include "config/mConfigUnit.h"
#include "core/types.h"

namespace zelmor {

class TConfigStatic {
 public:
  TConfigStatic() = delete;

  // Every operation opens `Arquivo` with TmConfig (an existing file is loaded, a
  // missing one reads as empty), does one read or one change with the TmConfig
  // operation of the same kind, and releases it, which writes the file back when
  // something changed. An empty `Arquivo` is the executable's path with ".ini"
  // (TmConfig::GetFileNameDefault); any other is used as given.
  //
  // A file that exists but cannot be read raises EFileError. A change that cannot be
  // written back is lost without a report (the file then keeps its old content).
  // Operations ending in Config use section "Config".
  //   Gravar(u"Caixa", u"Numero", 3, u"loja.ini"); Ler(u"caixa", u"numero", 0, u"loja.ini") == 3
  static std::u16string Ler(std::u16string_view Chave, std::u16string_view Item, std::u16string_view Padrao,
                            std::u16string_view Arquivo = {});
  static std::u16string Ler(std::u16string_view Chave, std::u16string_view Item, const char16_t* Padrao,
                            std::u16string_view Arquivo = {});
  static int Ler(std::u16string_view Chave, std::u16string_view Item, int Padrao, std::u16string_view Arquivo = {});
  static bool Ler(std::u16string_view Chave, std::u16string_view Item, bool Padrao, std::u16string_view Arquivo = {});
  static double LerFloat(std::u16string_view Chave, std::u16string_view Item, double Padrao,
                         std::u16string_view Arquivo = {});
  static Currency LerCurr(std::u16string_view Chave, std::u16string_view Item, Currency Padrao,
                          std::u16string_view Arquivo = {});
  static TDateTime LerDate(std::u16string_view Chave, std::u16string_view Item, TDateTime Padrao,
                           std::u16string_view Arquivo = {});
  static TDateTime LerDateTime(std::u16string_view Chave, std::u16string_view Item, TDateTime Padrao,
                               std::u16string_view Arquivo = {});

  static std::u16string LerConfig(std::u16string_view Item, std::u16string_view Padrao,
                                  std::u16string_view Arquivo = {});
  static std::u16string LerConfig(std::u16string_view Item, const char16_t* Padrao, std::u16string_view Arquivo = {});
  static int LerConfig(std::u16string_view Item, int Padrao, std::u16string_view Arquivo = {});
  static bool LerConfig(std::u16string_view Item, bool Padrao, std::u16string_view Arquivo = {});
  static double LerFloatConfig(std::u16string_view Item, double Padrao, std::u16string_view Arquivo = {});
  static Currency LerCurrConfig(std::u16string_view Item, Currency Padrao, std::u16string_view Arquivo = {});
  static TDateTime LerDateConfig(std::u16string_view Item, TDateTime Padrao, std::u16string_view Arquivo = {});
  static TDateTime LerDateTimeConfig(std::u16string_view Item, TDateTime Padrao, std::u16string_view Arquivo = {});

  static void Gravar(std::u16string_view Chave, std::u16string_view Item, std::u16string_view Valor,
                     std::u16string_view Arquivo = {});
  static void Gravar(std::u16string_view Chave, std::u16string_view Item, const char16_t* Valor,
                     std::u16string_view Arquivo = {});
  static void Gravar(std::u16string_view Chave, std::u16string_view Item, int Valor, std::u16string_view Arquivo = {});
  static void Gravar(std::u16string_view Chave, std::u16string_view Item, bool Valor, std::u16string_view Arquivo = {});
  static void GravarFloat(std::u16string_view Chave, std::u16string_view Item, double Valor,
                          std::u16string_view Arquivo = {});
  static void GravarCurr(std::u16string_view Chave, std::u16string_view Item, Currency Valor,
                         std::u16string_view Arquivo = {});
  static void GravarDate(std::u16string_view Chave, std::u16string_view Item, TDateTime Valor,
                         std::u16string_view Arquivo = {});
  static void GravarDateTime(std::u16string_view Chave, std::u16string_view Item, TDateTime Valor,
                             std::u16string_view Arquivo = {});

  static void GravarConfig(std::u16string_view Item, std::u16string_view Valor, std::u16string_view Arquivo = {});
  static void GravarConfig(std::u16string_view Item, const char16_t* Valor, std::u16string_view Arquivo = {});
  static void GravarConfig(std::u16string_view Item, int Valor, std::u16string_view Arquivo = {});
  static void GravarConfig(std::u16string_view Item, bool Valor, std::u16string_view Arquivo = {});
  static void GravarFloatConfig(std::u16string_view Item, double Valor, std::u16string_view Arquivo = {});
  static void GravarCurrConfig(std::u16string_view Item, Currency Valor, std::u16string_view Arquivo = {});
  static void GravarDateConfig(std::u16string_view Item, TDateTime Valor, std::u16string_view Arquivo = {});

  static void LerSecoes(TStringList& Saida, std::u16string_view Arquivo = {});
  static void LerSecao(TStringList& Saida, std::u16string_view Secao, std::u16string_view Arquivo = {});
  static void LerSecaoValues(TStringList& Saida, std::u16string_view Secao, std::u16string_view Arquivo = {});
  // Deletes the section (header and lines up to the next "[" line); a missing
  // section leaves the file untouched.
  static void LimparSecao(std::u16string_view Secao, std::u16string_view Arquivo = {});
  static void Excluir(std::u16string_view Chave, std::u16string_view Item, std::u16string_view Arquivo = {});
};

}  // namespace zelmor
