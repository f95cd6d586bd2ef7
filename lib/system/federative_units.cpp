// TmUF: the lookups over the table of federative units.
#include "system/federative_units.h"

#include "core/text_kit.h"
#include "strings/federative_table.h"
#include "strings/mString.h"

namespace zelmor {

TUnidadeFederativa TmUF::Dados(std::u16string_view aiUF) {
  const TUnidadeFederativa* u = federative::Find(aiUF);
  return u ? *u : TUnidadeFederativa();
}

std::int32_t TmUF::IBGE(std::u16string_view aiUF) {
  const TUnidadeFederativa* u = federative::Find(aiUF);
  return u ? u->IBGE : 0;
}

std::u16string TmUF::Sigla(std::int32_t aiIBGE) {
  const TUnidadeFederativa* u = federative::FindByCode(aiIBGE);
  return u ? u->Sigla : std::u16string();
}

std::u16string TmUF::GetIEValidada(std::u16string_view asIE, std::u16string_view asUF) {
  const std::u16string_view ie = textkit::Trim(asIE);
  const TUnidadeFederativa* u = federative::Find(asUF);
  if (!u) return std::u16string(ie);
  for (std::int32_t t : u->Tamanho)
    if (static_cast<std::size_t>(t) == ie.size()) return std::u16string(ie);
  return TmStr::PadRight(ie, u->Tamanho[0], u'0', true);
}

}  // namespace zelmor
