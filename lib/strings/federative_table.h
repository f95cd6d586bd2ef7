// The table of the 27 Brazilian federative units: the abbreviation, the numeric
// code the statistics institute gives each (the code inside electronic-invoice
// access keys) and the lengths its state registration numbers may have. TmUF
// answers from it; the access key reads the codes here too.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "mConst.h"

namespace zelmor {

// One row of the table. `Tamanho`'s first length is the one used for padding.
struct TUnidadeFederativa {
  std::u16string Sigla;
  std::int32_t IBGE = 0;
  TzelArrayInteger Tamanho;
};

namespace federative {

// Every unit, in the order lookups go through them (by abbreviation).
std::span<const TUnidadeFederativa> Units();
// The unit with exactly this abbreviation ("sp" is not one), or nullptr.
const TUnidadeFederativa* Find(std::u16string_view sigla);
// The unit with this code, or nullptr.
const TUnidadeFederativa* FindByCode(std::int32_t ibge);

}  // namespace federative
}  // namespace zelmor
