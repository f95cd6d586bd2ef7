// TmUF: the table of the 27 Brazilian federative units, with the numeric code the
// statistics institute gives each (the code inside electronic-invoice access keys)
// and the lengths its state registration numbers may have.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "strings/federative_table.h"

namespace zelmor {

class TmUF {
 public:
  TmUF() = delete;

  // The row of `aiUF` (compared exactly: "sp" is not found), or an empty row
  // (no Sigla, IBGE 0, no lengths).
  //   Dados(u"BA").Tamanho == {8, 9}
  static TUnidadeFederativa Dados(std::u16string_view aiUF);
  // The unit's numeric code, or 0 when `aiUF` is not an abbreviation of the table.
  //   IBGE(u"SP") == 35; IBGE(u"sp") == 0
  static std::int32_t IBGE(std::u16string_view aiUF);
  // The abbreviation of the unit with that code, or an empty text.
  //   Sigla(53) == u"DF"; Sigla(99) == u""
  static std::u16string Sigla(std::int32_t aiIBGE);
  // `asIE`, trimmed, brought to a length the unit accepts: kept when its length is one
  // of the unit's, otherwise zero-filled on the left (or cut, keeping the rightmost
  // digits) to the unit's first length. Unknown units get the trimmed text.
  //   GetIEValidada(u"12345678", u"SP") == u"000012345678"
  static std::u16string GetIEValidada(std::u16string_view asIE, std::u16string_view asUF);
};

}  // namespace zelmor
