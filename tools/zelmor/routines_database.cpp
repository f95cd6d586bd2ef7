// The query helpers, the remaining choice and null-default overloads, the array
// routines and ZelmorCript.
//
// A query crosses as {"SQL": ["line", ...] or "text", "Params": [{"Nome", "Tipo",
// "Valor"}, ...], "Banco": "file.db"}: Tipo is Texto, Inteiro, Flutuante, Data,
// Booleano or Desconhecido; a Data value is ISO 8601 text. The counting routines
// open "Banco" (an SQLite file, read only, never created) and run the query there,
// as a program would with CreateQuery on its connection.
#include "helpers/query.h"
#include "mRotinas.h"
#include "platform/service.h"
#include "tools/zelmor/json_values.h"
#include "tools/zelmor/registry.h"

namespace zelmor::cli {

ZELMOR_ENUM_NAMES(TzelFieldType, "Texto", "Inteiro", "Flutuante", "Data", "Booleano", "Desconhecido");

namespace {

// The query of a call: the query object and the database it names.
struct QueryCall {
  TzelQuery Query;
  std::u16string Banco;
};

}  // namespace

template <>
struct ArgTypeOf<QueryCall> {
  static constexpr ArgType Value = ArgType::Record;
};
template <>
struct JsonOf<QueryCall> {
  static QueryCall From(const Json& v) {
    if (!v.is_object()) throw ArgumentError("expected a query {\"SQL\":…,\"Params\":[…]}, got " + v.dump());
    QueryCall c;
    const Json sql = v.value("SQL", Json::array());
    if (sql.is_string()) {
      c.Query.SQL.Add(JsonText(sql));
    } else {
      c.Query.SQL = JsonOf<TStringList>::From(sql);
    }
    const Json params = v.value("Params", Json::array());
    if (!params.is_array()) throw ArgumentError("expected \"Params\" as an array, got " + params.dump());
    for (const auto& p : params) {
      if (!p.is_object() || !p.contains("Nome"))
        throw ArgumentError("expected a parameter {\"Nome\":…,\"Tipo\":…,\"Valor\":…}, got " + p.dump());
      const auto tipo = JsonOf<TzelFieldType>::From(p.value("Tipo", Json("Texto")));
      const Json valor = p.value("Valor", Json());
      Variant value = tipo == TzelFieldType::Data && valor.is_string() ? Variant(JsonOf<TDateTime>::From(valor))
                                                                       : JsonOf<Variant>::From(valor);
      c.Query.SetParam(JsonText(p["Nome"]), tipo, std::move(value));
    }
    if (v.contains("Banco")) c.Banco = JsonText(v["Banco"]);
    return c;
  }
  static Json To(const QueryCall& c) {
    Json params = Json::array();
    for (const auto& p : c.Query.Params)
      params.push_back({{"Nome", JsonOf<std::u16string>::To(p.Nome)},
                        {"Tipo", JsonOf<TzelFieldType>::To(p.Tipo)},
                        {"Valor", JsonOf<Variant>::To(p.Valor)}});
    return {{"SQL", JsonOf<TStringList>::To(c.Query.SQL)},
            {"Params", params},
            {"Banco", JsonOf<std::u16string>::To(c.Banco)}};
  }
};

// Bytes cross as an array of numbers 0 to 255.
template <>
struct ArgTypeOf<std::vector<std::uint8_t>> {
  static constexpr ArgType Value = ArgType::ArrayInteger;
};
template <>
struct JsonOf<std::vector<std::uint8_t>> {
  static std::vector<std::uint8_t> From(const Json& v) {
    std::vector<std::uint8_t> r;
    for (int b : JsonOf<TzelArrayInteger>::From(v)) {
      if (b < 0 || b > 255) throw ArgumentError("expected bytes 0 to 255, got " + std::to_string(b));
      r.push_back(static_cast<std::uint8_t>(b));
    }
    return r;
  }
  static Json To(const std::vector<std::uint8_t>& v) { return Json(v); }
};

namespace {

// Runs the query on its database and counts with `count`.
template <class Count>
std::int32_t CountOnDatabase(const QueryCall& c, Count count) {
  if (c.Banco.empty()) throw EArgumentError(u"Informe o banco de dados (\"Banco\") da consulta");
  auto db = platform::Service<platform::Databases>::Get().Connect(c.Banco, true);
  auto q = TmRot::CreateQuery(*db);
  q->SQL = c.Query.SQL;
  q->Params = c.Query.Params;
  q->Open();
  return count(*q);
}

}  // namespace

ZELMOR_ROUTINES(database) {
  Register("TmRot.QueryToSQL", +[](const QueryCall& c) { return TmRot::QueryToSQL(c.Query); }, {"aoQuery"});
  Register(
      "TmRot.QueryRecordCount",
      +[](const QueryCall& c) { return CountOnDatabase(c, [](TzelQuery& q) { return TmRot::QueryRecordCount(q); }); },
      {"aoQuery"});
  Register("TmRot.RecordCount",
           +[](const QueryCall& c) { return CountOnDatabase(c, [](TzelQuery& q) { return TmRot::RecordCount(q); }); },
           {"aoDataSet"});
  Register("TmRot.ZelmorCript", &TmRot::ZelmorCript, {"s"});

  // The text overloads of IfThen and IfNull, and IfIntNull, are in routines_helpers.cpp.
  Register("TmRot.IfThen", +[](bool c, std::int32_t t, std::int32_t f) { return TmRot::IfThen(c, t, f); },
           {"Condicao", "RTrue", "RFalse"});
  Register("TmRot.IfThen", +[](bool c, bool t, bool f) { return TmRot::IfThen(c, t, f); },
           {"Condicao", "RTrue", "RFalse"});
  Register("TmRot.IfThen", +[](bool c, char16_t t, char16_t f) { return TmRot::IfThen(c, t, f); },
           {"Condicao", "RTrue", "RFalse"});
  Register("TmRot.IfThen", +[](bool c, const Variant& t, const Variant& f) { return TmRot::IfThen(c, t, f); },
           {"Condicao", "RTrue", "RFalse"});
  Register("TmRot.IfFloat", &TmRot::IfFloat, {"Condicao", "RTrue", "RFalse"});
  Register("TmRot.IfThenDate", &TmRot::IfThenDate, {"Condicao", "RTrue", "RFalse"});
  Register("TmRot.IfNull", +[](const Variant& v, double d) { return TmRot::IfNull(v, d); }, {"V", "ValueIfNull"});
  Register("TmRot.IfNull", +[](const Variant& v, std::u16string_view d) { return TmRot::IfNull(v, d); },
           {"V", "ValueIfNull"});
  Register("TmRot.IfNull", +[](const Variant& v, bool d) { return TmRot::IfNull(v, d); }, {"V", "ValueIfNull"});
  Register("TmRot.IfDateNull", &TmRot::IfDateNull, {"V", "ValueIfNull"});

  Register("TmRot.AddArrayInt", &TmRot::AddArrayInt, {"aaInt", "aiInt"});
  Register("TmRot.AddArrayStr", &TmRot::AddArrayStr, {"aaStr", "asStr"});
  Register("TmRot.ClearArrayInt", &TmRot::ClearArrayInt, {"aaInt"});
  Register("TmRot.ClearArrayStr", &TmRot::ClearArrayStr, {"aaStr"});
  Register("TmRot.ByteArrayToString", &TmRot::ByteArrayToString, {"arBytes", "aiSize"});
}

}  // namespace zelmor::cli
