#include "tools/zelmor/json_values.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "calendar/calendar.h"
#include "core/text.h"

namespace zelmor::cli {

std::string Dump(const Json& v) { return v.dump(-1, ' ', false, Json::error_handler_t::replace); }

namespace {

// Text the compact JSON form writes as it is: printable ASCII other than the quote and
// the backslash. Anything else goes through the library's own escaping.
bool PlainText(std::string_view s) {
  for (const char ch : s) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c > 0x7E || c == '"' || c == '\\') return false;
  }
  return true;
}

// Dump's text, written in pieces of a few tens of kilobytes.
class JsonWriter {
 public:
  explicit JsonWriter(std::FILE* out) : FOut(out) { FBuf.reserve(kPiece + 4096); }
  ~JsonWriter() { Flush(); }
  JsonWriter(const JsonWriter&) = delete;
  JsonWriter& operator=(const JsonWriter&) = delete;

  void Value(const Json& v) {
    switch (v.type()) {
      case Json::value_t::object: {
        FBuf += '{';
        bool first = true;
        for (auto it = v.begin(); it != v.end(); ++it) {
          if (!first) FBuf += ',';
          first = false;
          Text(it.key());
          FBuf += ':';
          Value(it.value());
        }
        FBuf += '}';
        break;
      }
      case Json::value_t::array: {
        FBuf += '[';
        bool first = true;
        for (const Json& item : v) {
          if (!first) FBuf += ',';
          first = false;
          Value(item);
        }
        FBuf += ']';
        break;
      }
      case Json::value_t::string: Text(v.get_ref<const std::string&>()); break;
      default: FBuf += Dump(v);
    }
    if (FBuf.size() >= kPiece) Flush();
  }

 private:
  static constexpr std::size_t kPiece = 1 << 16;

  void Text(const std::string& s) {
    if (PlainText(s)) {
      FBuf += '"';
      FBuf += s;
      FBuf += '"';
    } else {
      FBuf += Dump(Json(s));
    }
  }
  void Flush() {
    std::fwrite(FBuf.data(), 1, FBuf.size(), FOut);
    FBuf.clear();
  }

  std::FILE* FOut;
  std::string FBuf;
};

}  // namespace

void WriteJson(const Json& v, std::FILE* out) { JsonWriter(out).Value(v); }

const char* ArgTypeName(ArgType t) {
  switch (t) {
    case ArgType::Text: return "text";
    case ArgType::Char: return "char";
    case ArgType::Int: return "int";
    case ArgType::Int64: return "int64";
    case ArgType::Double: return "double";
    case ArgType::Currency: return "currency";
    case ArgType::Bool: return "bool";
    case ArgType::DateTime: return "datetime";
    case ArgType::StringList: return "stringlist";
    case ArgType::ArrayString: return "string[]";
    case ArgType::ArrayInteger: return "int[]";
    case ArgType::Variant: return "variant";
    case ArgType::ArrayVariant: return "variant[]";
    case ArgType::Periods: return "period[]";
    case ArgType::Record: return "record";
    case ArgType::Enum: return "enum";
  }
  return "?";
}

std::u16string JsonText(const Json& v) {
  if (!v.is_string()) throw ArgumentError("expected a text, got " + v.dump());
  // File names are bytes: what is not UTF-8 (from the command line) travels escaped.
  return Utf8ToU16(v.get<std::string>(), Utf8Invalid::Escape);
}

// Escaped bytes go back out as they came; a JSON answer shows them as U+FFFD (Dump).
Json JsonOf<std::u16string>::To(const std::u16string& v) { return U16ToUtf8(v, Utf8Invalid::Escape); }

char16_t JsonOf<char16_t>::From(const Json& v) {
  std::u16string s = JsonText(v);
  if (s.size() != 1) throw ArgumentError("expected one character, got " + v.dump());
  return s[0];
}
Json JsonOf<char16_t>::To(char16_t v) { return U16ToUtf8(std::u16string(1, v)); }

namespace {

bool IsIntegral(const Json& v) {
  if (v.is_number_integer()) return true;
  if (v.is_number_float()) {
    double d = v.get<double>();
    return std::isfinite(d) && d == std::trunc(d) && std::fabs(d) < 9.2e18;
  }
  return false;
}

std::int64_t AsInt64(const Json& v) {
  if (v.is_number_unsigned()) {
    auto u = v.get<std::uint64_t>();
    if (u > static_cast<std::uint64_t>(INT64_MAX)) throw ArgumentError("integer out of range: " + v.dump());
    return static_cast<std::int64_t>(u);
  }
  if (v.is_number_integer()) return v.get<std::int64_t>();
  if (IsIntegral(v)) return static_cast<std::int64_t>(v.get<double>());
  throw ArgumentError("expected an integer, got " + v.dump());
}

}  // namespace

int JsonOf<int>::From(const Json& v) {
  std::int64_t i = AsInt64(v);
  if (i < INT32_MIN || i > INT32_MAX) throw ArgumentError("integer out of 32-bit range: " + v.dump());
  return static_cast<int>(i);
}

std::int64_t JsonOf<std::int64_t>::From(const Json& v) { return AsInt64(v); }

std::int16_t JsonOf<std::int16_t>::From(const Json& v) {
  std::int64_t i = AsInt64(v);
  if (i < INT16_MIN || i > INT16_MAX) throw ArgumentError("integer out of 16-bit range: " + v.dump());
  return static_cast<std::int16_t>(i);
}

std::uint16_t JsonOf<std::uint16_t>::From(const Json& v) {
  std::int64_t i = AsInt64(v);
  if (i < 0 || i > UINT16_MAX) throw ArgumentError("integer out of unsigned 16-bit range: " + v.dump());
  return static_cast<std::uint16_t>(i);
}

std::uint32_t JsonOf<std::uint32_t>::From(const Json& v) {
  std::int64_t i = AsInt64(v);
  if (i < 0 || i > UINT32_MAX) throw ArgumentError("integer out of unsigned 32-bit range: " + v.dump());
  return static_cast<std::uint32_t>(i);
}

double JsonOf<double>::From(const Json& v) {
  if (!v.is_number()) throw ArgumentError("expected a number, got " + v.dump());
  return v.get<double>();
}
Json JsonOf<double>::To(double v) {
  if (!std::isfinite(v)) return nullptr;  // JSON has no NaN or infinity
  if (v == std::trunc(v) && std::fabs(v) < 9e15) return static_cast<std::int64_t>(v);
  return v;
}

// A currency holds ±922337203685477.5807: anything beyond is refused, never wrapped.
Currency JsonOf<Currency>::From(const Json& v) {
  constexpr std::int64_t kMostUnits = INT64_MAX / Currency::Scale;
  auto outOfRange = [&] {
    return ArgumentError("currency out of range (at most 922337203685477.5807 either way): " + v.dump());
  };
  if (v.is_number_integer()) {
    if (v.is_number_unsigned() && v.get<std::uint64_t>() > static_cast<std::uint64_t>(kMostUnits)) throw outOfRange();
    const std::int64_t units = AsInt64(v);
    if (units > kMostUnits || units < -kMostUnits) throw outOfRange();
    return Currency::FromRaw(units * Currency::Scale);
  }
  if (!v.is_number()) throw ArgumentError("expected a number, got " + v.dump());
  const double d = v.get<double>();
  // 2^63 / 10^4 as a double; the comparison also refuses NaN.
  if (!(std::fabs(d) < 922337203685477.0)) throw outOfRange();
  return Currency::FromDouble(d);
}
Json JsonOf<Currency>::To(Currency v) {
  if (v.Raw % Currency::Scale == 0) return v.Raw / Currency::Scale;
  return v.ToDouble();
}

bool JsonOf<bool>::From(const Json& v) {
  if (!v.is_boolean()) throw ArgumentError("expected true or false, got " + v.dump());
  return v.get<bool>();
}

TDateTime JsonOf<TDateTime>::From(const Json& v) {
  if (v.is_string()) return IsoToDateTime(v.get<std::string>());
  if (v.is_number()) return v.get<double>();  // a raw serial is accepted too
  throw ArgumentError("expected a date-time text, got " + v.dump());
}

TStringList JsonOf<TStringList>::From(const Json& v) {
  TStringList l;
  if (v.is_null()) return l;
  if (!v.is_array()) throw ArgumentError("expected an array of texts, got " + v.dump());
  for (const auto& e : v) l.Add(JsonText(e));
  return l;
}
Json JsonOf<TStringList>::To(const TStringList& v) {
  Json a = Json::array();
  a.get_ref<Json::array_t&>().reserve(v.Items.size());
  for (const auto& s : v.Items) a.push_back(JsonOf<std::u16string>::To(s));
  return a;
}

TzelArrayString JsonOf<TzelArrayString>::From(const Json& v) { return JsonOf<TStringList>::From(v).Items; }
Json JsonOf<TzelArrayString>::To(const TzelArrayString& v) {
  Json a = Json::array();
  a.get_ref<Json::array_t&>().reserve(v.size());
  for (const auto& s : v) a.push_back(JsonOf<std::u16string>::To(s));
  return a;
}

TzelArrayInteger JsonOf<TzelArrayInteger>::From(const Json& v) {
  TzelArrayInteger r;
  if (v.is_null()) return r;
  if (!v.is_array()) throw ArgumentError("expected an array of integers, got " + v.dump());
  for (const auto& e : v) r.push_back(JsonOf<int>::From(e));
  return r;
}
Json JsonOf<TzelArrayInteger>::To(const TzelArrayInteger& v) {
  Json a = Json::array();
  for (int i : v) a.push_back(i);
  return a;
}

Variant JsonOf<Variant>::From(const Json& v) {
  if (v.is_null()) return std::monostate{};
  if (v.is_boolean()) return v.get<bool>();
  if (v.is_number_integer()) return AsInt64(v);
  if (v.is_number()) return v.get<double>();
  if (v.is_string()) return Utf8ToU16(v.get<std::string>());
  throw ArgumentError("expected a plain value, got " + v.dump());
}
Json JsonOf<Variant>::To(const Variant& v) {
  return std::visit(
      [](const auto& x) -> Json {
        using T = std::decay_t<decltype(x)>;
        if constexpr (std::is_same_v<T, std::monostate>)
          return nullptr;
        else
          return JsonOf<T>::To(x);
      },
      v);
}

TzelArrayVariant JsonOf<TzelArrayVariant>::From(const Json& v) {
  TzelArrayVariant r;
  if (v.is_null()) return r;
  if (!v.is_array()) throw ArgumentError("expected an array, got " + v.dump());
  for (const auto& e : v) r.push_back(JsonOf<Variant>::From(e));
  return r;
}
Json JsonOf<TzelArrayVariant>::To(const TzelArrayVariant& v) {
  Json a = Json::array();
  for (const auto& e : v) a.push_back(JsonOf<Variant>::To(e));
  return a;
}

TAPeriodo JsonOf<TAPeriodo>::From(const Json& v) {
  TAPeriodo r;
  if (v.is_null()) return r;
  if (!v.is_array()) throw ArgumentError("expected an array of periods, got " + v.dump());
  for (const auto& e : v) {
    if (!e.is_object() || !e.contains("DtInicial") || !e.contains("DtFinal"))
      throw ArgumentError("expected a period {\"DtInicial\":…,\"DtFinal\":…}, got " + e.dump());
    r.push_back({JsonOf<TDateTime>::From(e["DtInicial"]), JsonOf<TDateTime>::From(e["DtFinal"])});
  }
  return r;
}
Json JsonOf<TAPeriodo>::To(const TAPeriodo& v) {
  Json a = Json::array();
  for (const auto& p : v)
    a.push_back(Json{{"DtInicial", DateTimeToIso(p.DtInicial)}, {"DtFinal", DateTimeToIso(p.DtFinal)}});
  return a;
}

std::int64_t EnumFromJson(const Json& v, std::span<const char* const> names) {
  auto list = [&] {
    std::string all;
    for (std::size_t i = 0; i < names.size(); ++i) all += (i ? ", " : "") + std::string(names[i]);
    return all;
  };
  if (v.is_string()) {
    const std::string name = v.get<std::string>();
    for (std::size_t i = 0; i < names.size(); ++i)
      if (name == names[i]) return static_cast<std::int64_t>(i);
    if (names.empty()) throw ArgumentError("expected the number of a value, got " + v.dump());
    throw ArgumentError("unknown value " + v.dump() + " (" + list() + ")");
  }
  const std::int64_t i = AsInt64(v);
  if (!names.empty() && (i < 0 || i >= static_cast<std::int64_t>(names.size())))
    throw ArgumentError("no value numbered " + v.dump() + " (" + list() + ")");
  if (i < INT32_MIN || i > INT32_MAX) throw ArgumentError("integer out of 32-bit range: " + v.dump());
  return i;
}

Json EnumToJson(std::int64_t v, std::span<const char* const> names) {
  if (v >= 0 && v < static_cast<std::int64_t>(names.size())) return names[static_cast<std::size_t>(v)];
  return v;
}

void EnumIntoJson(std::int64_t v, std::span<const char* const> names, Json& out) { out = EnumToJson(v, names); }

// The conversions the routines' registrations call (arg_types.h), once for every type there.
#define ZELMOR_CONVERSIONS(T)            \
  template T FromJson<T>(const Json& v); \
  template void IntoJson<T>(const T& v, Json& out)
ZELMOR_CONVERSIONS(std::u16string);
ZELMOR_CONVERSIONS(char16_t);
ZELMOR_CONVERSIONS(int);
ZELMOR_CONVERSIONS(std::int64_t);
ZELMOR_CONVERSIONS(double);
ZELMOR_CONVERSIONS(Currency);
ZELMOR_CONVERSIONS(bool);
ZELMOR_CONVERSIONS(TDateTime);
ZELMOR_CONVERSIONS(TStringList);
ZELMOR_CONVERSIONS(TzelArrayString);
ZELMOR_CONVERSIONS(TArrayStr);
ZELMOR_CONVERSIONS(TzelArrayInteger);
ZELMOR_CONVERSIONS(Variant);
ZELMOR_CONVERSIONS(TzelArrayVariant);
ZELMOR_CONVERSIONS(std::int16_t);
ZELMOR_CONVERSIONS(std::uint16_t);
ZELMOR_CONVERSIONS(std::uint32_t);
ZELMOR_CONVERSIONS(TAPeriodo);
#undef ZELMOR_CONVERSIONS

std::string DateTimeToIso(TDateTime v) {
  DateParts d = DecodeDate(v);
  TimeParts t = DecodeTime(v);
  char buf[40];
  if (t.Hour == 0 && t.Min == 0 && t.Sec == 0 && t.MSec == 0)
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.Year, d.Month, d.Day);
  else if (t.MSec == 0)
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d", d.Year, d.Month, d.Day, t.Hour, t.Min, t.Sec);
  else
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d.%03d", d.Year, d.Month, d.Day, t.Hour, t.Min, t.Sec,
                  t.MSec);
  return buf;
}

TDateTime IsoToDateTime(const std::string& s) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, se = 0, ms = 0;
  auto num = [&](std::size_t pos, std::size_t len, int& out) {
    if (pos + len > s.size()) return false;
    auto r = std::from_chars(s.data() + pos, s.data() + pos + len, out);
    return r.ec == std::errc() && r.ptr == s.data() + pos + len;
  };
  bool ok = s.size() >= 10 && num(0, 4, y) && s[4] == '-' && num(5, 2, mo) && s[7] == '-' && num(8, 2, d);
  if (ok && s.size() > 10) {
    ok = (s[10] == 'T' || s[10] == ' ') && s.size() >= 16 && num(11, 2, h) && s[13] == ':' && num(14, 2, mi);
    std::size_t p = 16;
    if (ok && s.size() > p) ok = s[p] == ':' && num(p + 1, 2, se), p += 3;
    if (ok && s.size() > p) {
      ok = s[p] == '.' && s.size() > p + 1 && s.size() <= p + 4 && num(p + 1, s.size() - p - 1, ms);
      if (ok)
        for (std::size_t k = s.size() - p - 1; k < 3; ++k) ms *= 10;
    }
  }
  TDateTime date, time;
  if (!ok || !TryEncodeDate(y, mo, d, date) || !TryEncodeTime(h, mi, se, ms, time))
    throw ArgumentError("expected an ISO 8601 date-time (2026-12-09 or 2026-12-09T14:05:09.123), got \"" + s + "\"");
  return date >= 0 ? date + time : date - time;
}

bool JsonFits(const Json& v, ArgType t) {
  switch (t) {
    case ArgType::Text: return v.is_string();
    case ArgType::Char: return v.is_string() && Utf8ToU16(v.get<std::string>()).size() == 1;
    case ArgType::Int:
    case ArgType::Int64: return IsIntegral(v);
    case ArgType::Double:
    case ArgType::Currency: return v.is_number();
    case ArgType::Bool: return v.is_boolean();
    case ArgType::DateTime:
      if (v.is_number()) return true;
      if (!v.is_string()) return false;
      try {
        IsoToDateTime(v.get<std::string>());
        return true;
      } catch (const ArgumentError&) {
        return false;
      }
    case ArgType::StringList:
    case ArgType::ArrayString:
      if (!v.is_array()) return false;
      for (const auto& e : v)
        if (!e.is_string()) return false;
      return true;
    case ArgType::ArrayInteger:
      if (!v.is_array()) return false;
      for (const auto& e : v)
        if (!IsIntegral(e)) return false;
      return true;
    case ArgType::Variant: return !v.is_array() && !v.is_object();
    case ArgType::ArrayVariant: return v.is_array();
    case ArgType::Periods:
      if (!v.is_array()) return false;
      for (const auto& e : v)
        if (!e.is_object()) return false;
      return true;
    case ArgType::Record: return v.is_object();
    case ArgType::Enum: return v.is_string() || IsIntegral(v);
  }
  return false;
}

Json TextToJson(const std::string& text, ArgType t) {
  switch (t) {
    case ArgType::Text:
    case ArgType::Char:
    case ArgType::DateTime: return text;
    case ArgType::Enum: {
      std::int64_t v = 0;
      auto r = std::from_chars(text.data(), text.data() + text.size(), v);
      if (r.ec == std::errc() && r.ptr == text.data() + text.size() && !text.empty()) return v;
      return text;  // a name
    }
    case ArgType::Int:
    case ArgType::Int64: {
      std::int64_t v = 0;
      auto r = std::from_chars(text.data(), text.data() + text.size(), v);
      if (r.ec != std::errc() || r.ptr != text.data() + text.size() || text.empty())
        throw ArgumentError("expected an integer, got \"" + text + "\"");
      return v;
    }
    case ArgType::Double:
    case ArgType::Currency: {
      double v = 0;
      auto r = std::from_chars(text.data(), text.data() + text.size(), v);
      if (r.ec != std::errc() || r.ptr != text.data() + text.size() || text.empty())
        throw ArgumentError("expected a number (with a decimal point), got \"" + text + "\"");
      return v;
    }
    case ArgType::Bool:
      if (text == "true") return true;
      if (text == "false") return false;
      throw ArgumentError("expected true or false, got \"" + text + "\"");
    case ArgType::StringList:
    case ArgType::ArrayString:
    case ArgType::ArrayInteger:
    case ArgType::ArrayVariant:
    case ArgType::Periods: {
      Json v = Json::parse(text, nullptr, false);
      if (v.is_discarded() || !v.is_array()) throw ArgumentError("expected a JSON array, got \"" + text + "\"");
      return v;
    }
    case ArgType::Variant: {
      Json v = Json::parse(text, nullptr, false);
      if (v.is_discarded() || v.is_array() || v.is_object()) return text;
      return v;
    }
    case ArgType::Record: {
      Json v = Json::parse(text, nullptr, false);
      if (v.is_discarded() || !v.is_object()) throw ArgumentError("expected a JSON object, got \"" + text + "\"");
      return v;
    }
  }
  return text;
}

}  // namespace zelmor::cli
