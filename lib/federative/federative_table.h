// The table of the 27 Brazilian federative units: the abbreviation, the numeric
// code the statistics institute gives each (the code inside electronic-invoice
// access keys) and the lengths its state registration numbers may have. TmUF
// answers from it; the access key reads the codes here too.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace zelmor::federative {

struct Unit {
  std::u16string_view Sigla;
  std::int32_t IBGE;
  // The registration lengths, the one used for padding first; 0 = unused.
  std::array<std::int32_t, 2> Tamanho;
};

// Every unit, in the order lookups go through them (by abbreviation).
std::span<const Unit> Units();
// The unit with exactly this abbreviation ("sp" is not one), or nullptr.
const Unit* Find(std::u16string_view sigla);
// The unit with this code, or nullptr.
const Unit* FindByCode(std::int32_t ibge);

}  // namespace zelmor::federative
