// The query object the SQL helpers read: SQL lines with named, typed parameters.
// The database layer fills and runs it; QueryToSQL only writes it out.
#pragma once

#include <string>
#include <vector>

#include "mConst.h"

namespace zelmor {

enum class TzelFieldType { Texto, Inteiro, Flutuante, Data, Booleano, Desconhecido };

struct TzelParam {
  std::u16string Nome;
  TzelFieldType Tipo = TzelFieldType::Texto;
  Variant Valor;  // std::monostate is the database null
};

struct TzelQuery {
  TStringList SQL;
  std::vector<TzelParam> Params;

  // The parameter of that name (case ignored, as the SQL text's spelling may differ), or null.
  const TzelParam* FindParam(std::u16string_view Nome) const;
  // Sets (adding when missing) a parameter's type and value.
  void SetParam(std::u16string_view Nome, TzelFieldType Tipo, Variant Valor);
};

}  // namespace zelmor
