// The query object on the platform's database layer, and the helpers that make and
// count queries: CreateQuery, RecordCount, QueryRecordCount.
#include <algorithm>
#include <cmath>
#include <limits>

#include "calendar/calendar.h"
#include "core/text.h"
#include "helpers/helpers.h"
#include "helpers/query.h"
#include "helpers/variant_values.h"
#include "parsing/conversions.h"

namespace zelmor {
namespace {

std::u16string TwoDigits(int v) { return std::u16string{char16_t(u'0' + v / 10 % 10), char16_t(u'0' + v % 10)}; }

// "2026-12-11", with " 14:05:09" and ".123" only where the value has them.
std::u16string IsoText(TDateTime v) {
  CheckDateRange(v);
  const DateParts d = DecodeDate(v);
  const TimeParts t = DecodeTime(v);
  std::u16string r = TwoDigits(d.Year / 100) + TwoDigits(d.Year) + u'-' + TwoDigits(d.Month) + u'-' + TwoDigits(d.Day);
  if (t.Hour || t.Min || t.Sec || t.MSec) {
    r += u' ' + TwoDigits(t.Hour) + u':' + TwoDigits(t.Min) + u':' + TwoDigits(t.Sec);
    if (t.MSec) r += u'.' + std::u16string(1, char16_t(u'0' + t.MSec / 100)) + TwoDigits(t.MSec);
  }
  return r;
}

// Reads `n` digits at `i`; false when they are not all there.
bool Digits(std::u16string_view s, std::size_t& i, std::size_t n, int& out) {
  if (i + n > s.size()) return false;
  out = 0;
  for (std::size_t k = 0; k < n; ++k, ++i) {
    if (s[i] < u'0' || s[i] > u'9') return false;
    out = out * 10 + (s[i] - u'0');
  }
  return true;
}

// "YYYY-MM-DD", then optionally " HH:MM[:SS[.fff]]" (or "T" before the time).
bool TryIsoDate(std::u16string_view s, TDateTime& out) {
  std::size_t i = 0;
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, se = 0, ms = 0;
  if (!Digits(s, i, 4, y) || i >= s.size() || s[i++] != u'-' || !Digits(s, i, 2, mo) || i >= s.size() ||
      s[i++] != u'-' || !Digits(s, i, 2, d))
    return false;
  if (i < s.size()) {
    if (s[i] != u' ' && s[i] != u'T') return false;
    ++i;
    if (!Digits(s, i, 2, h) || i >= s.size() || s[i++] != u':' || !Digits(s, i, 2, mi)) return false;
    if (i < s.size() && s[i] == u':') {
      ++i;
      if (!Digits(s, i, 2, se)) return false;
      if (i < s.size() && s[i] == u'.') {
        ++i;
        std::size_t start = i;
        int frac = 0;
        while (i < s.size() && i - start < 3 && s[i] >= u'0' && s[i] <= u'9') frac = frac * 10 + (s[i++] - u'0');
        if (i == start) return false;
        for (std::size_t k = i - start; k < 3; ++k) frac *= 10;
        ms = frac;
        while (i < s.size() && s[i] >= u'0' && s[i] <= u'9') ++i;  // finer than milliseconds
      }
    }
    if (i != s.size()) return false;
  }
  TDateTime date, time;
  if (!TryEncodeDate(y, mo, d, date) || !TryEncodeTime(h, mi, se, ms, time)) return false;
  out = TDateTime(date.Value + time.Value);
  return true;
}

bool IsNull(const Variant& V) { return std::holds_alternative<std::monostate>(V); }

std::int64_t WholeNumber(const Variant& V) {
  if (auto i = std::get_if<std::int64_t>(&V)) return *i;
  if (auto s = std::get_if<std::u16string>(&V)) {
    std::int64_t r = 0;
    return TryStrToInt64(*s, r) ? r : 0;
  }
  if (std::holds_alternative<bool>(V)) return helpers::VariantInt(V);
  return std::llround(helpers::VariantDouble(V));
}

platform::DbValue ToDb(const TzelParam& p) {
  if (IsNull(p.Valor)) return {};
  switch (p.Tipo) {
    case TzelFieldType::Texto: return TmRot::VarToStr(p.Valor);
    case TzelFieldType::Inteiro: return WholeNumber(p.Valor);
    case TzelFieldType::Flutuante: return helpers::VariantDouble(p.Valor);
    // A text is taken as the caller wrote it ("2026-12-11"); anything else is a date-time.
    case TzelFieldType::Data:
      if (auto s = std::get_if<std::u16string>(&p.Valor)) return *s;
      return IsoText(TDateTime(helpers::VariantDouble(p.Valor)));
    case TzelFieldType::Booleano: return TmRot::IfNull(p.Valor, false);
    default:
      throw EArgumentError(u"Tipo de dados do parâmetro \"" + p.Nome + u"\" não tratado para transofrmar em SQL");
  }
}

Variant FromDb(platform::DbValue v, platform::DbFieldKind kind) {
  if (kind == platform::DbFieldKind::Date)
    if (auto s = std::get_if<std::u16string>(&v)) {
      TDateTime d;
      if (TryIsoDate(*s, d)) return d;
    }
  return std::visit([](auto&& x) -> Variant { return Variant(std::move(x)); }, std::move(v));
}

// Runs `step`; a database error comes out with the database's message, a line break
// and the statement as QueryToSQL writes it (as written when that fails), for the log.
template <class Step>
auto Guarded(const TzelQuery& q, Step step) -> decltype(step()) {
  try {
    return step();
  } catch (const EDatabaseError& e) {
    std::u16string sql;
    try {
      sql = TmRot::QueryToSQL(q);
    } catch (const EZelmorError&) {
      sql = q.SQL.Text();
    }
    while (!sql.empty() && (sql.back() == u'\n' || sql.back() == u'\r')) sql.pop_back();
    throw EDatabaseError(e.Message() + u"\r\n" + sql);
  }
}

}  // namespace

std::vector<platform::DbParam> TzelQuery::BoundParams() const {
  std::vector<platform::DbParam> r;
  r.reserve(Params.size());
  for (const auto& p : Params) r.push_back({p.Nome, ToDb(p)});
  return r;
}

void TzelQuery::Open() {
  if (!FConnection) throw EArgumentError(u"Consulta sem conexão com o banco de dados");
  Close();
  const auto params = BoundParams();
  FCursor = Guarded(*this, [&] { return FConnection->Open(SQL.Text(), params); });
}

std::int64_t TzelQuery::ExecSQL() {
  if (!FConnection) throw EArgumentError(u"Consulta sem conexão com o banco de dados");
  Close();
  const auto params = BoundParams();
  return Guarded(*this, [&] { return FConnection->Execute(SQL.Text(), params); });
}

const platform::DbCursor& TzelQuery::Cursor() const {
  if (!FCursor) throw EArgumentError(u"Consulta fechada");
  return *FCursor;
}

void TzelQuery::First() {
  if (FCursor) Guarded(*this, [&] { FCursor->First(); });
}
void TzelQuery::Next() {
  if (FCursor) Guarded(*this, [&] { FCursor->Next(); });
}
bool TzelQuery::Eof() const { return !FCursor || FCursor->Eof(); }

int TzelQuery::FieldCount() const { return FCursor ? FCursor->FieldCount() : 0; }
std::u16string TzelQuery::FieldName(int Index) const { return Cursor().FieldName(Index); }
Variant TzelQuery::Fields(int Index) const {
  const auto& c = Cursor();
  return FromDb(c.Field(Index), c.FieldKind(Index));
}
Variant TzelQuery::FieldByName(std::u16string_view Nome) const {
  const auto& c = Cursor();
  for (int i = 0; i < c.FieldCount(); ++i)
    if (SameText(c.FieldName(i), Nome)) return FromDb(c.Field(i), c.FieldKind(i));
  throw EArgumentError(u"Campo " + std::u16string(Nome) + u" não encontrado");
}

std::unique_ptr<TzelQuery> TmRot::CreateQuery(platform::DbConnection& aoConnetion) {
  return std::make_unique<TzelQuery>(aoConnetion);
}

namespace {
std::int32_t CountToEnd(TzelDataSet& d) {
  std::int64_t n = 0;
  for (d.First(); !d.Eof(); d.Next()) ++n;  // ends with the data set
  return static_cast<std::int32_t>(std::min<std::int64_t>(n, std::numeric_limits<std::int32_t>::max()));
}
}  // namespace

std::int32_t TmRot::RecordCount(TzelDataSet& aoDataSet) {
  aoDataSet.DisableControls();
  std::int32_t n = 0;
  try {
    n = CountToEnd(aoDataSet);
    aoDataSet.First();
  } catch (...) {
    // Back to the start if the data set still can; the first failure is the one reported.
    try {
      aoDataSet.First();
    } catch (...) {
    }
    aoDataSet.EnableControls();
    throw;
  }
  aoDataSet.EnableControls();
  return n;
}

std::int32_t TmRot::QueryRecordCount(TzelQuery& aoQuery) {
  const std::int32_t n = CountToEnd(aoQuery);
  aoQuery.First();
  return n;
}

}  // namespace zelmor
