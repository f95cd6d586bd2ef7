// Regional settings from the user's locale. The categories are resolved the way
// the C library resolves them (LC_ALL, then LC_NUMERIC / LC_TIME, then LANG), but
// without touching the process's own locale. Brazilian Portuguese is carried here
// so a machine without the generated locale still gets the Brazilian conventions,
// with the weekday names Brazilian users see ("quarta-feira").
#include <langinfo.h>
#include <locale.h>

#include <cstdlib>
#include <string>

#include "adapters/linux/system_services.h"
#include "core/text.h"

namespace zelmor::adapters {
namespace {

std::string EnvLocale(const char* category) {
  for (const char* name : {"LC_ALL", category, "LANG"}) {
    const char* v = std::getenv(name);
    if (v && *v) return v;
  }
  return "C";
}

bool IsBrazilian(const std::string& name) { return name.rfind("pt_BR", 0) == 0; }
bool IsPlain(const std::string& name) { return name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0; }

std::u16string Info(locale_t loc, nl_item item) { return Utf8ToU16(nl_langinfo_l(item, loc)); }

// strftime date/time pattern → the library's pattern language. Every conversion
// the C library's locales use in their date and time formats is translated; the
// composite ones (%r, %c, %x, %X) through the locale's own formats (en_US has
// "%r" as its time format). Time-zone conversions have no counterpart and go,
// with the blank in front of them.
std::u16string FromStrftime(std::u16string_view f, locale_t loc, int depth = 0) {
  std::u16string out;
  auto nested = [&](nl_item item) {
    if (depth < 3 && loc) out += FromStrftime(Info(loc, item), loc, depth + 1);
  };
  for (std::size_t i = 0; i < f.size(); ++i) {
    if (f[i] != u'%' || i + 1 >= f.size()) {
      out += f[i];
      continue;
    }
    char16_t c = f[++i];
    bool unpadded = false;
    // Flags and the alternative-era / alternative-digit modifiers: the plain conversion.
    while ((c == u'E' || c == u'O' || c == u'-' || c == u'_' || c == u'0' || c == u'^' || c == u'#') &&
           i + 1 < f.size()) {
      unpadded = unpadded || c == u'-';
      c = f[++i];
    }
    switch (c) {
      case u'd': out += unpadded ? u"d" : u"dd"; break;
      case u'e': out += u"d"; break;
      case u'm': out += unpadded ? u"M" : u"MM"; break;
      case u'Y': out += u"yyyy"; break;
      case u'y': out += u"yy"; break;
      case u'C': out += u"yy"; break;  // only ever before %y in the locales: the full year
      case u'b':
      case u'h': out += u"MMM"; break;
      case u'B': out += u"MMMM"; break;
      case u'a': out += u"ddd"; break;
      case u'A': out += u"dddd"; break;
      case u'H': out += unpadded ? u"h" : u"hh"; break;
      case u'k': out += u"h"; break;
      case u'I': out += unpadded ? u"h" : u"hh"; break;
      case u'l': out += u"h"; break;
      case u'M': out += unpadded ? u"n" : u"nn"; break;
      case u'S': out += unpadded ? u"s" : u"ss"; break;
      case u'p':
      case u'P': out += u"AMPM"; break;
      case u'T': out += u"hh:nn:ss"; break;
      case u'R': out += u"hh:nn"; break;
      case u'D': out += u"MM/dd/yy"; break;
      case u'F': out += u"yyyy-MM-dd"; break;
      case u'r': nested(T_FMT_AMPM); break;
      case u'X': nested(T_FMT); break;
      case u'x': nested(D_FMT); break;
      case u'c': nested(D_T_FMT); break;
      case u'n': out += u' '; break;
      case u't': out += u' '; break;
      case u'%': out += u'%'; break;
      default:  // %Z, %z and the like
        while (!out.empty() && out.back() == u' ') out.pop_back();
        break;
    }
  }
  return out;
}

char16_t FirstSeparator(std::u16string_view pattern, char16_t fallback) {
  for (char16_t c : pattern) {
    if (c == u'\'' || c == u'"') break;
    bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
    if (!letter && c != u' ') return c;
  }
  return fallback;
}

class LinuxRegionalSettings final : public platform::RegionalSettingsSource {
 public:
  RegionalSettings Read() override {
    std::string numeric = EnvLocale("LC_NUMERIC");
    std::string time = EnvLocale("LC_TIME");
    std::string monetary = EnvLocale("LC_MONETARY");

    RegionalSettings r = TimePart(time);
    RegionalSettings n = NumericPart(numeric);
    r.DecimalSeparator = n.DecimalSeparator;
    r.ThousandSeparator = n.ThousandSeparator;
    RegionalSettings m = NumericPart(monetary);
    r.CurrencyString = m.CurrencyString;
    r.CurrencyDecimals = m.CurrencyDecimals;
    return r;
  }

 private:
  static RegionalSettings Known(const std::string& name) {
    if (IsBrazilian(name)) return RegionalSettings::Brazilian();
    if (name.rfind("en_US", 0) == 0) return RegionalSettings::UnitedStates();
    return RegionalSettings::Plain();
  }

  // Locales the system does not have fall back to what we carry.
  static locale_t Open(const std::string& name) {
    if (IsBrazilian(name) || IsPlain(name)) return nullptr;
    return newlocale(LC_ALL_MASK, name.c_str(), static_cast<locale_t>(nullptr));
  }

  static RegionalSettings NumericPart(const std::string& name) {
    RegionalSettings r = Known(name);
    locale_t loc = Open(name);
    if (!loc) return r;
    std::u16string dec = Info(loc, RADIXCHAR);
    std::u16string thou = Info(loc, THOUSEP);
    if (dec.size() == 1) r.DecimalSeparator = dec[0];
    // Some locales group with a narrow no-break space or nothing; keep one code unit.
    r.ThousandSeparator = thou.size() == 1 ? thou[0] : (thou.empty() ? r.ThousandSeparator : u'\u00A0');
    std::u16string cur = Info(loc, CRNCYSTR);
    if (!cur.empty() && (cur[0] == u'-' || cur[0] == u'+' || cur[0] == u'.')) cur.erase(0, 1);
    r.CurrencyString = cur;
    freelocale(loc);
    return r;
  }

  static RegionalSettings TimePart(const std::string& name) {
    RegionalSettings r = Known(name);
    locale_t loc = Open(name);
    if (!loc) return r;
    r.ShortDateFormat = FromStrftime(Info(loc, D_FMT), loc);
    r.LongTimeFormat = FromStrftime(Info(loc, T_FMT), loc);
    r.DateSeparator = FirstSeparator(r.ShortDateFormat, u'/');
    r.TimeSeparator = FirstSeparator(r.LongTimeFormat, u':');
    r.TimeAMString = Info(loc, AM_STR);
    r.TimePMString = Info(loc, PM_STR);
    for (int i = 0; i < 7; ++i) {
      r.ShortDayNames[static_cast<std::size_t>(i)] = Info(loc, static_cast<nl_item>(ABDAY_1 + i));
      r.LongDayNames[static_cast<std::size_t>(i)] = Info(loc, static_cast<nl_item>(DAY_1 + i));
    }
    for (int i = 0; i < 12; ++i) {
      r.ShortMonthNames[static_cast<std::size_t>(i)] = Info(loc, static_cast<nl_item>(ABMON_1 + i));
      r.LongMonthNames[static_cast<std::size_t>(i)] = Info(loc, static_cast<nl_item>(MON_1 + i));
    }
    freelocale(loc);
    return r;
  }
};

}  // namespace

bool PlainTimeLocale() { return IsPlain(EnvLocale("LC_TIME")); }

platform::RegionalSettingsSource& SystemRegionalSettings() {
  static LinuxRegionalSettings source;
  return source;
}

}  // namespace zelmor::adapters
