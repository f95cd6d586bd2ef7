// TmRot's generic helpers: choices, defaults for null, parallel-array lookups,
// variant conversions and the SQL text of a query.
#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "core/text.h"
#include "datetime/mConvert.h"
#include "datetime/mDataHora.h"
#include "dialogs/mMensagem.h"
#include "format/format_datetime.h"
#include "format/format_number.h"
#include "helpers/helpers.h"
#include "helpers/query.h"
#include "helpers/variant_values.h"
#include "parsing/conversions.h"

namespace zelmor {

const TzelParam* TzelQuery::FindParam(std::u16string_view Nome) const {
  for (const auto& p : Params)
    if (SameText(p.Nome, Nome)) return &p;
  return nullptr;
}

void TzelQuery::SetParam(std::u16string_view Nome, TzelFieldType Tipo, Variant Valor) {
  for (auto& p : Params)
    if (SameText(p.Nome, Nome)) {
      p.Tipo = Tipo;
      p.Valor = std::move(Valor);
      return;
    }
  Params.push_back({std::u16string(Nome), Tipo, std::move(Valor)});
}

std::u16string TmRot::IfThen(bool c, std::u16string_view t, std::u16string_view f) { return std::u16string(c ? t : f); }
std::int32_t TmRot::IfThen(bool c, std::int32_t t, std::int32_t f) { return c ? t : f; }
bool TmRot::IfThen(bool c, bool t, bool f) { return c ? t : f; }
char16_t TmRot::IfThen(bool c, char16_t t, char16_t f) { return c ? t : f; }
Variant TmRot::IfThen(bool c, const Variant& t, const Variant& f) { return c ? t : f; }
double TmRot::IfThenFloat(bool c, double t, double f) { return c ? t : f; }
double TmRot::IfFloat(bool c, double t, double f) { return c ? t : f; }
TDateTime TmRot::IfThenDate(bool c, TDateTime t, TDateTime f) { return c ? t : f; }

std::u16string TmRot::IfVazio(std::u16string_view Variavel, std::u16string_view RespSeVazio) {
  const bool blank = std::all_of(Variavel.begin(), Variavel.end(), [](char16_t ch) { return ch <= u' '; });
  return std::u16string(blank ? RespSeVazio : Variavel);
}

std::u16string TmRot::VarToStr(const Variant& V) {
  struct Visitor {
    std::u16string operator()(std::monostate) const { return {}; }
    std::u16string operator()(bool b) const { return b ? u"True" : u"False"; }
    std::u16string operator()(std::int64_t i) const { return IntToStr(i); }
    std::u16string operator()(double d) const { return FloatToStr(d); }
    std::u16string operator()(Currency c) const { return CurrToStr(c); }
    std::u16string operator()(TDateTime d) const { return DateTimeToStr(d); }
    std::u16string operator()(const std::u16string& s) const { return s; }
  };
  return std::visit(Visitor{}, V);
}

namespace helpers {
double VariantDouble(const Variant& V) {
  if (auto d = std::get_if<double>(&V)) return *d;
  if (auto i = std::get_if<std::int64_t>(&V)) return static_cast<double>(*i);
  if (auto c = std::get_if<Currency>(&V)) return c->ToDouble();
  if (auto t = std::get_if<TDateTime>(&V)) return static_cast<double>(*t);
  if (auto b = std::get_if<bool>(&V)) return *b ? -1.0 : 0.0;
  double r = 0;
  if (auto s = std::get_if<std::u16string>(&V); s && TryStrToFloat(*s, r)) return r;
  return 0;
}

std::int32_t VariantInt(const Variant& V) {
  if (auto i = std::get_if<std::int64_t>(&V)) return static_cast<std::int32_t>(*i);
  if (auto b = std::get_if<bool>(&V)) return *b ? -1 : 0;
  if (std::holds_alternative<double>(V) || std::holds_alternative<Currency>(V) || std::holds_alternative<TDateTime>(V))
    return static_cast<std::int32_t>(std::llround(VariantDouble(V)));
  int r = 0;
  if (auto s = std::get_if<std::u16string>(&V); s && TryStrToInt(*s, r)) return r;
  return 0;
}
}  // namespace helpers

namespace {
bool IsNull(const Variant& V) { return std::holds_alternative<std::monostate>(V); }
using helpers::VariantDouble;
using helpers::VariantInt;
}  // namespace

double TmRot::IfNull(const Variant& V, double ValueIfNull) { return IsNull(V) ? ValueIfNull : VariantDouble(V); }
std::u16string TmRot::IfNull(const Variant& V, std::u16string_view ValueIfNull) {
  return IsNull(V) ? std::u16string(ValueIfNull) : VarToStr(V);
}
bool TmRot::IfNull(const Variant& V, bool ValueIfNull) {
  if (IsNull(V)) return ValueIfNull;
  if (auto b = std::get_if<bool>(&V)) return *b;
  if (auto s = std::get_if<std::u16string>(&V)) return SameText(*s, u"True") || *s == u"-1" || *s == u"1";
  return VariantDouble(V) != 0;
}
Variant TmRot::IfNull(const Variant& V, const Variant& ValueIfNull) { return IsNull(V) ? ValueIfNull : V; }
std::int32_t TmRot::IfIntNull(const Variant& V, std::int32_t ValueIfNull) {
  return IsNull(V) ? ValueIfNull : VariantInt(V);
}
TDateTime TmRot::IfDateNull(const Variant& V, TDateTime ValueIfNull) {
  if (IsNull(V)) return ValueIfNull;
  if (auto t = std::get_if<TDateTime>(&V)) return *t;
  return TDateTime(VariantDouble(V));
}
Variant TmRot::NullIf(const Variant& aoValue, const Variant& aoNullValue) {
  return aoValue == aoNullValue ? Variant{} : aoValue;
}

namespace {

// The text paired with the first value equal to `valor`; lists of different lengths
// abort through the user's message.
template <typename Value, typename Values>
std::u16string CaseOf(const Value& valor, const Values& comparaCom, const TzelArrayString& retornos,
                      std::u16string_view padrao) {
  TmDlg::InformaAbort(comparaCom.size() != retornos.size(), u"CaseDo: Quantidade de parâmetros incorretas", nullptr);
  for (std::size_t i = 0; i < comparaCom.size(); ++i)
    if (comparaCom[i] == valor) return retornos[i];
  return std::u16string(padrao);
}

}  // namespace

std::u16string TmRot::CaseDo(std::u16string_view Valor, const TzelArrayString& ComparaCom,
                             const TzelArrayString& Retornos, std::u16string_view Default) {
  return CaseOf(Valor, ComparaCom, Retornos, Default);
}
std::u16string TmRot::CaseDoInt(std::int32_t Valor, const TzelArrayInteger& ComparaCom, const TzelArrayString& Retornos,
                                std::u16string_view Default) {
  return CaseOf(Valor, ComparaCom, Retornos, Default);
}
std::int32_t TmRot::CaseDoInteger(std::int32_t aiValor, const TzelArrayInteger& aiResultado,
                                  const TzelArrayInteger& aiRetorno, std::int32_t aiDefault) {
  const std::size_t n = std::min(aiResultado.size(), aiRetorno.size());
  for (std::size_t i = 0; i < n; ++i)
    if (aiResultado[i] == aiValor) return aiRetorno[i];
  return aiDefault;
}
bool TmRot::ContemInt(std::int32_t v, const TzelArrayInteger& a) { return std::find(a.begin(), a.end(), v) != a.end(); }
bool TmRot::ContemStr(std::u16string_view v, const TzelArrayString& a) {
  return std::find(a.begin(), a.end(), v) != a.end();
}
void TmRot::AddArrayInt(TzelArrayInteger& a, std::int32_t v) { a.push_back(v); }
void TmRot::AddArrayStr(TzelArrayString& a, std::u16string_view v) { a.emplace_back(v); }
void TmRot::ClearArrayInt(TzelArrayInteger& a) { a.clear(); }
void TmRot::ClearArrayStr(TzelArrayString& a) { a.clear(); }

TzelArrayInteger TmRot::ArrayVarToInt(const TzelArrayVariant& aaVar) {
  TzelArrayInteger r;
  r.reserve(aaVar.size());
  for (const auto& v : aaVar) {
    int n = 0;
    r.push_back(TryStrToInt(VarToStr(v), n) ? n : 0);
  }
  return r;
}
TzelArrayString TmRot::ArrayVarToStr(const TzelArrayVariant& aaVar) {
  TzelArrayString r;
  r.reserve(aaVar.size());
  for (const auto& v : aaVar) r.push_back(VarToStr(v));
  return r;
}
double TmRot::VarToFloat(const Variant& avValue) {
  double r = 0;
  return TryStrToFloat(VarToStr(avValue), r) ? r : 0;
}
Variant TmRot::GetVariantValueDouble(double v, bool nullIfZero) {
  return nullIfZero && v == 0 ? Variant{} : Variant{v};
}
Variant TmRot::GetVariantValueInt(std::int32_t v, bool nullIfZero) {
  return nullIfZero && v == 0 ? Variant{} : Variant{std::int64_t{v}};
}
Variant TmRot::GetVariantValueString(std::u16string_view v, bool nullIfEmpty) {
  return nullIfEmpty && v.empty() ? Variant{} : Variant{std::u16string(v)};
}
std::u16string TmRot::BoolToStr(bool abValue) { return abValue ? u"Sim" : u"Não"; }

std::u16string TmRot::ByteArrayToString(const std::vector<std::uint8_t>& arBytes, std::int32_t aiSize) {
  const std::size_t n = std::min(arBytes.size(), static_cast<std::size_t>(std::max(aiSize, 0)));
  return std::u16string(arBytes.begin(), arBytes.begin() + static_cast<std::ptrdiff_t>(n));
}

namespace {
bool EndsName(char16_t c) { return c == 8 || c == u'\n' || c == u'\r' || c == u' ' || c == u')' || c == u','; }

std::u16string Literal(const TzelParam& p) {
  if (IsNull(p.Valor)) return u"null";
  switch (p.Tipo) {
    case TzelFieldType::Texto: {
      std::u16string r = u"'";
      for (char16_t c : TmRot::VarToStr(p.Valor)) {
        r += c;
        if (c == u'\'') r += c;
      }
      return r + u"'";
    }
    case TzelFieldType::Inteiro: return IntToStr(VariantInt(p.Valor));
    case TzelFieldType::Flutuante: return TmConv::FloatToAnsi(VariantDouble(p.Valor));
    case TzelFieldType::Data: return TmDt::Data2Ansi(TDateTime(VariantDouble(p.Valor)), u"YYYY-MM-DD", true);
    default:
      throw EArgumentError(u"Tipo de dados do parâmetro \"" + p.Nome + u"\" não tratado para transofrmar em SQL");
  }
}
}  // namespace

// One forward pass: a literal is copied out and never read again, so a value holding
// ":x" or "10:30" can neither loop nor be taken for a parameter.
std::u16string TmRot::QueryToSQL(const TzelQuery& aoQuery) {
  const std::u16string sql = aoQuery.SQL.Text();
  std::u16string out;
  out.reserve(sql.size());
  std::size_t i = 0;
  while (i < sql.size()) {
    const std::size_t colon = sql.find(u':', i);
    if (colon == std::u16string::npos) {
      out.append(sql, i);
      break;
    }
    out.append(sql, i, colon - i);
    std::size_t end = colon + 1;
    while (end < sql.size() && !EndsName(sql[end])) ++end;
    const std::u16string name = sql.substr(colon + 1, end - colon - 1);
    const TzelParam* p = aoQuery.FindParam(name);
    if (!p) throw EArgumentError(u"Parâmetro \"" + name + u"\" não localizado!");
    out += Literal(*p);
    i = end;
  }
  return out;
}

double TmRot::CubagemM3(double a, double l, double p) { return (a / 100) * (l / 100) * (p / 100); }

void TmRot::StringListDistinct(TStringList& aoList) {
  std::unordered_set<std::u16string> seen;
  seen.reserve(aoList.Items.size());
  std::vector<std::u16string> kept;
  kept.reserve(aoList.Items.size());
  for (auto& s : aoList.Items) {
    std::u16string key(s.size(), u'\0');
    std::transform(s.begin(), s.end(), key.begin(), UpperChar);  // the same folding SameText uses
    if (seen.insert(std::move(key)).second) kept.push_back(std::move(s));
  }
  aoList.Items = std::move(kept);
}

Currency TmRot::Max(Currency a, Currency b) { return b > a ? b : a; }
std::int32_t TmRot::MaxInt(std::int32_t a, std::int32_t b) { return b > a ? b : a; }

}  // namespace zelmor
