// TmINI: one-call access to configuration files (the same operations as
// TConfigStatic, some under other names). TmReg: one-call access to single values
// of the current user's settings hive (see platform/registry_store.h).
#pragma once

#include <string>
#include <string_view>

#include "config/mConfigStaticUnit.h"
#include "core/types.h"

namespace zelmor {

// Every operation is the TConfigStatic one of the same name (see there), plus two
// other names: LerInt (Ler with an integer default) and Limpa (LimparSecao).
// An empty `Arquivo` is the executable's path with ".ini".
class TmINI : private TConfigStatic {
 public:
  TmINI() = delete;

  using TConfigStatic::Ler;
  using TConfigStatic::LerFloat;
  using TConfigStatic::LerCurr;
  using TConfigStatic::LerDate;
  using TConfigStatic::LerDateTime;
  using TConfigStatic::LerConfig;
  using TConfigStatic::LerFloatConfig;
  using TConfigStatic::LerCurrConfig;
  using TConfigStatic::LerDateConfig;
  using TConfigStatic::LerDateTimeConfig;
  using TConfigStatic::Gravar;
  using TConfigStatic::GravarFloat;
  using TConfigStatic::GravarCurr;
  using TConfigStatic::GravarDate;
  using TConfigStatic::GravarDateTime;
  using TConfigStatic::GravarConfig;
  using TConfigStatic::GravarFloatConfig;
  using TConfigStatic::GravarCurrConfig;
  using TConfigStatic::GravarDateConfig;
  using TConfigStatic::LerSecoes;
  using TConfigStatic::LerSecao;
  using TConfigStatic::LerSecaoValues;
  using TConfigStatic::Excluir;

  // The same as Ler with an integer default.
  static int LerInt(std::u16string_view Chave, std::u16string_view Item, int Padrao, std::u16string_view Arquivo = {});
  // TConfigStatic::LimparSecao.
  static void Limpa(std::u16string_view Chave, std::u16string_view Arquivo = {});
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
