#include "strings/federative_table.h"

#include <vector>

namespace zelmor::federative {
namespace {

// Lookups go from the first row to the last. The registration lengths agree with
// the state registration rules: SE numbers have 9 digits and RO numbers 14 (the
// figures 10 and 9 once listed for them would pad a valid number into an invalid one,
// and cut a 14-digit RO number to its last 9 digits).
// Where a state has two forms, the first length is the one a number that lost its
// leading zeros belongs to. PE pads to its current 9-digit form: the old 14-digit form
// always starts with 18, so a number zero-filled to 14 could never be valid. BA pads to
// 8, which is safe because an 8-digit BA number with a 0 in front is the same number in
// the 9-digit form; RN numbers of both forms start with 20. Built once, on first use.
const std::vector<TUnidadeFederativa>& Unidades() {
  static const std::vector<TUnidadeFederativa> kUnidades{
      {u"AC", 12, {13}},     {u"AL", 27, {9}},     {u"AM", 13, {9}},  {u"AP", 16, {9}}, {u"BA", 29, {8, 9}},
      {u"CE", 23, {9}},      {u"DF", 53, {13}},    {u"ES", 32, {9}},  {u"GO", 52, {9}}, {u"MA", 21, {9}},
      {u"MG", 31, {13}},     {u"MS", 50, {9}},     {u"MT", 51, {11}}, {u"PA", 15, {9}}, {u"PB", 25, {9}},
      {u"PE", 26, {9, 14}},  {u"PI", 22, {9}},     {u"PR", 41, {10}}, {u"RJ", 33, {8}}, {u"RN", 24, {9, 10}},
      {u"RO", 11, {14}},     {u"RR", 14, {9}},     {u"RS", 43, {10}}, {u"SC", 42, {9}}, {u"SE", 28, {9}},
      {u"SP", 35, {12, 13}}, {u"TO", 17, {9, 11}},
  };
  return kUnidades;
}

}  // namespace

std::span<const TUnidadeFederativa> Units() { return Unidades(); }

const TUnidadeFederativa* Find(std::u16string_view sigla) {
  for (const TUnidadeFederativa& u : Unidades())
    if (u.Sigla == sigla) return &u;
  return nullptr;
}

const TUnidadeFederativa* FindByCode(std::int32_t ibge) {
  for (const TUnidadeFederativa& u : Unidades())
    if (u.IBGE == ibge) return &u;
  return nullptr;
}

}  // namespace zelmor::federative
