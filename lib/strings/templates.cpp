// Filling templates with numbered placeholders from a list of values, for people
// or as SQL literals, and turning separated value lists into SQL in-list bodies.
#include <cmath>
#include <string>
#include <type_traits>
#include <variant>

#include "core/errors.h"
#include "core/text.h"
#include "core/text_kit.h"
#include "format/format_datetime.h"
#include "format/format_number.h"
#include "regional/format_settings.h"
#include "strings/mString.h"

namespace zelmor {

namespace {

using Flags = TmStr::TFormatStFlags;

// A number in the general format made SQL-ready: no grouping, "." decimals.
std::u16string SqlNumber(std::u16string_view general, const TFormatSettings& fs) {
  std::u16string r;
  r.reserve(general.size());
  for (char16_t c : general) {
    if (c == fs.DecimalSeparator)
      r += u'.';
    else if (c != fs.ThousandSeparator)
      r += c;
  }
  return r;
}

std::u16string Quoted(std::u16string_view s) {
  std::u16string r;
  textkit::AppendQuoted(r, s);
  return r;
}

// A quoted SQL text; as an escape-string literal (E'…', backslashes doubled) when asked.
std::u16string SqlText(std::u16string_view s, Flags f) {
  std::u16string q = Quoted(s);
  if (!f.Contains(TmStr::flagSQL_ConverteStr)) return q;
  std::u16string r = u"E";
  for (char16_t c : q) {
    r += c;
    if (c == u'\\') r += u'\\';
  }
  return r;
}

std::u16string DateTimeText(TDateTime v, bool sql) {
  const TFormatSettings& fs = FormatSettings();
  const double whole = std::trunc(v.Value);
  const bool hasDate = whole != 0, hasTime = v.Value != whole;
  if (sql) {
    // SQL wants ':' between the time fields whatever the regional separator is.
    TFormatSettings iso = fs;
    iso.TimeSeparator = u':';
    if (!hasDate && hasTime) return Quoted(FormatDateTime(u"hh:nn:ss", v, iso));
    if (hasTime) return Quoted(FormatDateTime(u"yyyy-mm-dd hh:nn:ss", v, iso));
    return Quoted(FormatDateTime(u"yyyy-mm-dd", v, iso));
  }
  if (!hasDate && hasTime) return FormatDateTime(u"t", v, fs);
  if (hasTime) return DateTimeToStr(v, fs);
  return DateToStr(v, fs);
}

// One value as Fmt writes it. `inArray`: an element of an array value, where texts
// are always quoted.
std::u16string ValueText(const Variant& v, Flags f, bool inArray) {
  const bool sql = f.Contains(TmStr::flagSQL);
  return std::visit(
      [&](const auto& x) -> std::u16string {
        using T = std::decay_t<decltype(x)>;
        if constexpr (std::is_same_v<T, std::monostate>) {
          return sql ? u"null" : u"";
        } else if constexpr (std::is_same_v<T, bool>) {
          if (f.Contains(TmStr::flagBoolSN)) {
            const std::u16string sn = x ? u"S" : u"N";
            return sql ? Quoted(sn) : sn;
          }
          return x ? u"True" : u"False";
        } else if constexpr (std::is_same_v<T, std::int64_t>) {
          return IntToStr(x);
        } else if constexpr (std::is_same_v<T, double>) {
          const TFormatSettings& fs = FormatSettings();
          if (sql) return SqlNumber(FloatToStr(x, fs), fs);
          return f.Contains(TmStr::flagHuman) ? FormatFloat(u"#,##0.00", x, fs) : FloatToStr(x, fs);
        } else if constexpr (std::is_same_v<T, Currency>) {
          const TFormatSettings& fs = FormatSettings();
          if (sql) return SqlNumber(CurrToStr(x, fs), fs);
          return f.Contains(TmStr::flagHuman) ? FormatCurr(u"#,##0.00", x, fs) : CurrToStr(x, fs);
        } else if constexpr (std::is_same_v<T, TDateTime>) {
          return DateTimeText(x, sql);
        } else {
          static_assert(std::is_same_v<T, std::u16string>);
          if (inArray) return sql ? SqlText(x, f) : Quoted(x);
          if (!sql) return x;
          // "¿¿" marks an SQL expression to pass through as it is.
          if (x.find(u"\u00BF\u00BF") != std::u16string::npos) return TmStr::Replace(x, u"\u00BF\u00BF", u"");
          return SqlText(x, f);
        }
      },
      v);
}

std::u16string ParamText(const TmStr::TFmtParam& p, Flags f) {
  if (p.IsEmpty()) return {};
  if (!p.IsArray()) return ValueText(p.Valor(), f, false);
  std::u16string r;
  for (std::size_t i = 0; i < p.Lista().size(); ++i) {
    if (i > 0) r += u", ";
    r += ValueText(p.Lista()[i], f, true);
  }
  // In SQL the elements are ready for an in (...) list.
  return f.Contains(TmStr::flagSQL) ? r : u"[" + r + u"]";
}

}  // namespace

std::u16string TmStr::Fmt(std::u16string_view aString, const TFmtParams& aParam, TFormatStFlags FormatFlags) {
  std::u16string r(aString);
  for (std::size_t i = 0; i < aParam.size(); ++i) {
    const std::u16string marca = u"{" + IntToStr(static_cast<long long>(i)) + u"}";
    if (r.find(marca) == std::u16string::npos) throw EZelmorError(u"FormatSt. Posição " + marca + u" não localizada.");
    r = Replace(r, marca, ParamText(aParam[i], FormatFlags));
  }
  return Replace(r, u"{\\n}", u"\r");
}

std::u16string TmStr::FmtSql(std::u16string_view aString, const TFmtParams& aParam) {
  return Fmt(aString, aParam, {flagSQL});
}

std::u16string TmStr::GetStringFilterIn(std::u16string_view asLista, std::u16string_view asSeparador, bool abQuoted) {
  if (asSeparador.empty()) return ArrayConcatToStr({std::u16string(asLista)}, asSeparador, abQuoted);
  // The whole trailing separator goes (dropping only its last character would leave an
  // empty last field behind a longer separator).
  if (EndsWith(asLista, asSeparador)) asLista.remove_suffix(asSeparador.size());
  return ArrayConcatToStr(Split(asLista, asSeparador[0]), asSeparador, abQuoted);
}

std::u16string TmStr::QuotedList(std::u16string_view asLista, std::u16string_view asSeparador) {
  return GetStringFilterIn(asLista, asSeparador, true);
}

}  // namespace zelmor
