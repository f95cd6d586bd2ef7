// TmINI: one-call access to configuration files (the same operations as
// TConfigStatic, some under other names). TmReg: one-call access to single values
// of the current user's settings hive (see platform/registry_store.h).
#pragma once

#include <string>
#include <string_view>

#include "config/mConfigStaticUnit.h"
#include "core/types.h"

namespace zelmor {

class TmINI {
 public:
  TmINI() = delete;

  // Every operation forwards to the TConfigStatic operation of the same name
  // (LerInt to Ler, Limpa to LimparSecao); see there. An empty `Arquivo` is the
  // executable's path with ".ini".
  static std::u16string Ler(std::u16string_view Chave, std::u16string_view Item, std::u16string_view Padrao,
                            std::u16string_view Arquivo = {});
  static std::u16string Ler(std::u16string_view Chave, std::u16string_view Item, const char16_t* Padrao,
                            std::u16string_view Arquivo = {});
  static int Ler(std::u16string_view Chave, std::u16string_view Item, int Padrao, std::u16string_view Arquivo = {});
  static bool Ler(std::u16string_view Chave, std::u16string_view Item, bool Padrao, std::u16string_view Arquivo = {});
  // The same as Ler with an integer default.
  static int LerInt(std::u16string_view Chave, std::u16string_view Item, int Padrao, std::u16string_view Arquivo = {});
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
  // TConfigStatic::LimparSecao.
  static void Limpa(std::u16string_view Chave, std::u16string_view Arquivo = {});
  static void Excluir(std::u16string_view Chave, std::u16string_view Item, std::u16string_view Arquivo = {});
};

class TmReg {
 public:
  TmReg() = delete;

  // `Path` is a key path from the root of the current user's hive (a leading "\"
  // is allowed); `Variavel` the value's name. Every operation opens the key and
  // creates it (with any missing keys above it) when missing, also to read.
  //
  // Reads return `ValorDefault` when the value does not exist. A value stored with
  // another type raises ERegistryError "Invalid data type for 'Variavel'": text
  // reads take REG_SZ / REG_EXPAND_SZ, integer and Boolean reads REG_DWORD (any
  // non-zero number is True), double reads an 8-byte REG_BINARY (little-endian).
  //   Gravar(u"Software\\Loja", u"Caixa", 3); Ler(u"Software\\Loja", u"Caixa", 0) == 3
  static std::u16string Ler(std::u16string_view Path, std::u16string_view Variavel, std::u16string_view ValorDefault);
  static std::u16string Ler(std::u16string_view Path, std::u16string_view Variavel, const char16_t* ValorDefault);
  static int Ler(std::u16string_view Path, std::u16string_view Variavel, int ValorDefault);
  static double Ler(std::u16string_view Path, std::u16string_view Variavel, double ValorDefault);
  static bool Ler(std::u16string_view Path, std::u16string_view Variavel, bool ValorDefault);

  // Writes the value with the type its reader expects, replacing any value of the
  // same name whatever its type. A Boolean is written as the number 1 or 0; a double
  // as its 8 bytes (2.5 → 00 00 00 00 00 00 04 40).
  static void Gravar(std::u16string_view Path, std::u16string_view Variavel, std::u16string_view Valor);
  static void Gravar(std::u16string_view Path, std::u16string_view Variavel, const char16_t* Valor);
  static void Gravar(std::u16string_view Path, std::u16string_view Variavel, int Valor);
  static void Gravar(std::u16string_view Path, std::u16string_view Variavel, double Valor);
  static void Gravar(std::u16string_view Path, std::u16string_view Variavel, bool Valor);

  // Deletes the value; a missing value is not an error.
  static void Excluir(std::u16string_view Path, std::u16string_view Variavel);

  // Writes the Brazilian conventions into "\Control Panel\International" (decimal
  // comma, thousands point, dd/MM/yyyy, HH:mm:ss) and sets the library's regional
  // copies to match. When that key does not exist nothing at all happens.
  static void SetPadraoBrasil();
};

}  // namespace zelmor
