#include "format/format_datetime.h"

#include <algorithm>
#include <cmath>

#include "calendar/calendar.h"
#include "core/integer_text.h"
#include "core/text.h"
#include "core/text_kit.h"
#include "format/pattern_text.h"

namespace zelmor {
namespace {

// The calendar's range, 0001-01-01 .. 9999-12-31 (exclusive bounds).
constexpr double kFirstDay = -693594.0;
constexpr double kPastLastDay = 2958466.0;

// Patterns reached through c, ddddd, dddddd, t, tt may expand once more; deeper
// expansions are dropped so a pattern that names itself cannot recurse forever.
constexpr int kMaxDepth = 1;

// Parts are never negative here (an invalid value prints zeros).
void AppendNumber(std::u16string& out, int v, int minDigits) {
  AppendUnsigned(out, static_cast<std::uint64_t>(v < 0 ? 0 : v), minDigits);
}

using pattern::AppendQuoted;

bool StartsWithNoCase(std::u16string_view f, std::size_t i, std::u16string_view upper) {
  if (f.size() - i < upper.size()) return false;
  for (std::size_t k = 0; k < upper.size(); ++k)
    if (AsciiUpper(f[i + k]) != upper[k]) return false;
  return true;
}

// Length of the am/pm code at f[i] ("AM/PM", "A/P", "AMPM"), or 0.
std::size_t AmPmCodeAt(std::u16string_view f, std::size_t i) {
  if (StartsWithNoCase(f, i, u"AM/PM")) return 5;
  if (StartsWithNoCase(f, i, u"A/P")) return 3;
  if (StartsWithNoCase(f, i, u"AMPM")) return 4;
  return 0;
}

bool HasAmPmCode(std::u16string_view f) {
  for (std::size_t i = 0; i < f.size();) {
    char16_t c = f[i];
    if (c == u'\'' || c == u'"') {
      i = textkit::ScanQuoted(f, i).End;
      continue;
    }
    if ((c == u'a' || c == u'A') && AmPmCodeAt(f, i) != 0) return true;
    ++i;
  }
  return false;
}

class Writer {
 public:
  Writer(TDateTime value, const TFormatSettings& fs, std::u16string& out) : FValue(value), FFs(fs), FOut(out) {
    const double v = value.Value;
    FValid = std::isfinite(v) && v > kFirstDay && v < kPastLastDay;
  }

  void Append(std::u16string_view f, int depth) {
    if (depth > kMaxDepth) return;
    int twelveHour = -1;  // found on the first h code
    char16_t last = 0;
    const std::size_t n = f.size();
    for (std::size_t i = 0; i < n;) {
      const char16_t c = f[i];
      const char16_t up = AsciiUpper(c);
      if (c == u'\'' || c == u'"') {
        i = AppendQuoted(FOut, f, i);
        continue;
      }
      if (up < u'A' || up > u'Z') {
        FOut.push_back(c == u'/' ? FFs.DateSeparator : c == u':' ? FFs.TimeSeparator : c);
        ++i;
        continue;
      }
      std::size_t count = 1;
      while (i + count < n && AsciiUpper(f[i + count]) == up) ++count;
      char16_t token = up;
      if (token == u'M' && last == u'H' && count <= 2) token = u'N';
      last = token;
      const int cnt = static_cast<int>(std::min<std::size_t>(count, 8));
      switch (token) {
        case u'Y':
          NeedDate();
          if (cnt <= 2)
            AppendNumber(FOut, FDate.Year % 100, 2);
          else
            AppendNumber(FOut, FDate.Year, 4);
          break;
        case u'M':
          NeedDate();
          if (cnt <= 2)
            AppendNumber(FOut, FDate.Month, cnt);
          else if (FDate.Month >= 1 && FDate.Month <= 12)
            FOut.append(cnt == 3 ? FFs.ShortMonthNames[FDate.Month - 1] : FFs.LongMonthNames[FDate.Month - 1]);
          break;
        case u'D':
          NeedDate();
          if (cnt <= 2)
            AppendNumber(FOut, FDate.Day, cnt);
          else if (cnt <= 4) {
            if (FDayOfWeek >= 1)
              FOut.append(cnt == 3 ? FFs.ShortDayNames[FDayOfWeek - 1] : FFs.LongDayNames[FDayOfWeek - 1]);
          } else
            Append(cnt == 5 ? FFs.ShortDateFormat : FFs.LongDateFormat, depth + 1);
          break;
        case u'H': {
          NeedTime();
          if (twelveHour < 0) twelveHour = HasAmPmCode(f) ? 1 : 0;
          int h = FTime.Hour;
          if (twelveHour == 1) h = h == 0 ? 12 : h > 12 ? h - 12 : h;
          AppendNumber(FOut, h, std::min(cnt, 2));
          break;
        }
        case u'N':
          NeedTime();
          AppendNumber(FOut, FTime.Min, std::min(cnt, 2));
          break;
        case u'S':
          NeedTime();
          AppendNumber(FOut, FTime.Sec, std::min(cnt, 2));
          break;
        case u'Z':
          NeedTime();
          AppendNumber(FOut, FTime.MSec, std::min(cnt, 3));
          break;
        case u'T': Append(cnt == 1 ? FFs.ShortTimeFormat : FFs.LongTimeFormat, depth + 1); break;
        case u'C': AppendC(depth); break;
        case u'A': {
          const std::size_t len = AmPmCodeAt(f, i);
          if (len == 0) {
            FOut.push_back(c);
            ++i;
            continue;
          }
          NeedTime();
          const bool pm = FTime.Hour >= 12;
          if (len == 5)
            FOut.append(f.substr(pm ? i + 3 : i, 2));
          else if (len == 3)
            FOut.push_back(f[pm ? i + 2 : i]);
          else
            FOut.append(pm ? FFs.TimePMString : FFs.TimeAMString);
          i += len;
          continue;
        }
        default:
          // Not a code: the letter itself, one at a time.
          FOut.push_back(c);
          ++i;
          continue;
      }
      i += count;
    }
  }

  void AppendC(int depth) {
    Append(FFs.ShortDateFormat, depth + 1);
    NeedTime();
    if (FTime.Hour != 0 || FTime.Min != 0 || FTime.Sec != 0) {
      FOut.push_back(u' ');
      Append(FFs.LongTimeFormat, depth + 1);
    }
  }

 private:
  void NeedDate() {
    if (FHaveDate) return;
    FHaveDate = true;
    if (!FValid) return;
    DateParts p = DecodeDate(FValue);
    if (p.Year < 1 || p.Year > 9999) return;
    FDate = p;
    FDayOfWeek = DayOfWeek(FValue);
  }
  void NeedTime() {
    if (FHaveTime) return;
    FHaveTime = true;
    if (FValid) FTime = DecodeTime(FValue);
  }

  TDateTime FValue;
  const TFormatSettings& FFs;
  std::u16string& FOut;
  bool FValid = false, FHaveDate = false, FHaveTime = false;
  DateParts FDate;
  TimeParts FTime;
  int FDayOfWeek = 0;
};

std::u16string Run(std::u16string_view f, TDateTime value, const TFormatSettings& fs) {
  std::u16string out;
  out.reserve(f.size() + 24);
  Writer w(value, fs, out);
  w.Append(f, 0);
  return out;
}

}  // namespace

std::u16string FormatDateTime(std::u16string_view Format, TDateTime Value, const TFormatSettings& fs) {
  return Run(Format.empty() ? std::u16string_view(u"c") : Format, Value, fs);
}

std::u16string DateToStr(TDateTime Value, const TFormatSettings& fs) { return Run(fs.ShortDateFormat, Value, fs); }

std::u16string TimeToStr(TDateTime Value, const TFormatSettings& fs) { return Run(fs.LongTimeFormat, Value, fs); }

std::u16string DateTimeToStr(TDateTime Value, const TFormatSettings& fs) { return Run(u"c", Value, fs); }

}  // namespace zelmor
