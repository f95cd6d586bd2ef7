#include "format/format_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "core/text.h"
#include "parsing/conversions.h"
#include "testing/fixtures.h"

namespace zelmor {
namespace {

const RegionalSettings kBr = RegionalSettings::Brazilian();
const RegionalSettings kPlain = RegionalSettings::Plain();
const RegionalSettings kUs = RegionalSettings::UnitedStates();

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

std::string Ff(const char* pattern, double v, const RegionalSettings& fs = kBr) {
  return U16ToUtf8(FormatFloat(Utf8ToU16(pattern), v, fs));
}

struct FloatCase {
  const char* pattern;
  double value;
  const char* expected;
};

void CheckTable(const FloatCase* cases, std::size_t count, const RegionalSettings& fs) {
  for (std::size_t i = 0; i < count; ++i) {
    const FloatCase& c = cases[i];
    EXPECT_EQ(Ff(c.pattern, c.value, fs), c.expected) << "pattern \"" << c.pattern << "\" value " << c.value;
  }
}

TEST(FormatFloatTest, DigitPlaceholders) {
  const FloatCase cases[] = {
      {"0", 5, "5"},
      {"0", 0, "0"},
      {"000", 5, "005"},
      {"00", 1234, "1234"},  // integer digits past the pattern's are all shown
      {"#", 0, ""},
      {"#", 0.4, ""},
      {"#", 5, "5"},
      {"#0#", 5, "05"},  // places from the first '0' on are forced
      {"0.00", 5, "5,00"},
      {"0.##", 1, "1"},  // no decimal separator without decimals
      {"0.##", 1.5, "1,5"},
      {"0.##", 1.25, "1,25"},
      {"0.#0", 1.5, "1,50"},  // decimals up to the last '0' are forced
      {"0.0#", 1, "1,0"},
      {"#.##", 0, ""},
      {"#.##", 0.5, ",5"},
      {"0.#", 0.5, "0,5"},
      {".00", 12.5, "12,50"},
      {".00", 0.5, ",50"},
      {"0.", 1.5, "2"},
      {"0.00.00", 1.234, "1,2340"},  // a second '.' is ignored
      {"0.00", 1234567.891, "1234567,89"},
      {"0.00000000000000000000", 1.0 / 3, "0,33333333333333300000"},  // 15 significant digits
      {"0.0000000000000000", 0.1 + 0.2, "0,3000000000000000"},
      {"0", 123456789012345678.0 / 10, "12345678901234600"},
  };
  CheckTable(cases, std::size(cases), kBr);
}

TEST(FormatFloatTest, RoundsHalfAwayFromZeroOnFifteenDigits) {
  const FloatCase cases[] = {
      {"0.00", 0.285, "0,29"},  // 0.28499999999999998 is 0.285 to 15 digits
      {"0.00", 1.005, "1,01"},
      {"0.00", 2.675, "2,68"},
      {"0.00", 0.115, "0,12"},
      {"0.00", 0.125, "0,13"},
      {"0.00", -0.125, "-0,13"},
      {"0.0", 1.45, "1,5"},
      {"0.0", 0.05, "0,1"},
      {"0", 0.5, "1"},
      {"0", 1.5, "2"},
      {"0", 2.5, "3"},
      {"0", -2.5, "-3"},
      {"0", 0.49999999999999994, "1"},  // 0.500000000000000 to 15 digits
      {"0.00", 0.004999, "0,00"},
      {"0.00", 0.005, "0,01"},
      {"0.00", 999.995, "1000,00"},
      {"#,##0.00", 999999.995, "1.000.000,00"},
      {"#,##0.00", 9.999, "10,00"},
      {"0.00", 1e-10, "0,00"},
      {"0.###", 1e-300, "0"},
      {"0.00", 5e-324, "0,00"},
      // 2^53 - 1 has 16 digits: taken to 15 it is 9007199254740990.
      {"0", 9007199254740991.0, "9007199254740990"},
      // 1234567890123455 is a double exactly: a true tie at the 15th digit.
      {"0", 1234567890123455.0, "1234567890123460"},
      {"0", 1234567890123454.0, "1234567890123450"},
      {"0.0", 12345678901234.25, "12345678901234,3"},
  };
  CheckTable(cases, std::size(cases), kBr);
}

TEST(FormatFloatTest, NegativeValuesAndNegativeZero) {
  const FloatCase cases[] = {
      {"0.00", -5, "-5,00"},
      {"0.00", -0.001, "0,00"},  // never "-0,00"
      {"0.00", -0.0, "0,00"},
      {"#,##0.00", -0.004, "0,00"},
      {"0.00", -0.005, "-0,01"},
      {"0", -0.4, "0"},
      {"#", -0.4, ""},
      {"R$ #,##0.00", -1234.5, "-R$ 1.234,50"},  // the minus goes first
      {"#,##0.00", -1234567.891, "-1.234.567,89"},
  };
  CheckTable(cases, std::size(cases), kBr);
}

TEST(FormatFloatTest, Sections) {
  const FloatCase cases[] = {
      {"0.00;(0.00)", 5, "5,00"},
      {"0.00;(0.00)", -5, "(5,00)"},  // no automatic minus with a negative section
      {"0.00;(0.00)", 0, "0,00"},
      {"0.00;(0.00);'zero'", 0, "zero"},
      {"0.00;(0.00);'zero'", -0.0, "zero"},
      {"0.00;(0.00);'zero'", 0.001, "zero"},  // rounds to zero under its section
      {"0.00;(0.00);'zero'", -0.001, "zero"},
      {"0.00;(0.00)", -0.001, "0,00"},  // no zero section: the first one, unsigned
      {"0;-0;'zero'", 0.4, "zero"},
      {"0;-0;'zero'", 0.5, "1"},
      {"0.00;;'zero'", -5, "-5,00"},  // empty negative section: the positive one with '-'
      {"0.00;;'zero'", 0, "zero"},
      {"0.00;(0.00);", 0, "0,00"},          // empty zero section: the first one
      {"0.0;(0.000)", -1.2345, "(1,235)"},  // each section rounds with its own decimals
      {"0;0.00;0.000", 0, "0,000"},
      {"'pos';'neg';'zero';'ignored'", -1, "neg"},
      {"'pos';'neg';'zero';'ignored'", 0, "zero"},
      {"'a;b' 0;'x'", -2, "x"},  // ';' inside quotes does not split
      {"0.00E+00;(0.00E+00)", -12345, "(1,23E+04)"},
      {";", 5, ""},
      {"", -1.5, "-1,5"},  // empty pattern: the general format
  };
  CheckTable(cases, std::size(cases), kBr);
}

TEST(FormatFloatTest, LiteralsAndQuotes) {
  const FloatCase cases[] = {
      {"R$ #,##0.00", 1234.5, "R$ 1.234,50"},
      {"'R$' 0.00", 5, "R$ 5,00"},
      {"\"US$\" 0.00", 5, "US$ 5,00"},
      {"'#,0.E+0' 0", 5, "#,0.E+0 5"},  // codes inside quotes are text
      {"\"it's\" 0", 5, "it's 5"},
      {"0 'abc", 5, "5 abc"},  // an unterminated quote runs to the end
      {"'", 5, ""},
      {"0 %", 5, "5 %"},
      {"(00) 0000-0000", 1123456789, "(11) 2345-6789"},
      {"(##) ####-####", 123, "() -123"},
      {"0 E", 5, "5 E"},  // 'E' without a sign is text
      {"0,00.00 'kg'", 1234.5, "1.234,50 kg"},
      {"0.00 x 0", 1.5, "1,50 x 0"},  // a placeholder after text is still a decimal place
  };
  CheckTable(cases, std::size(cases), kBr);
}

TEST(FormatFloatTest, Grouping) {
  const FloatCase cases[] = {
      {"#,##0", 1234567, "1.234.567"},
      {"#,##0", 999, "999"},
      {"#,##0", 0, "0"},
      {"#,##0", 123456789012, "123.456.789.012"},
      {"#,#", 1234, "1.234"},
      {",0", 1000, "1.000"},
      {"0,000", 5, "0.005"},  // forced zeros are grouped too
      {"#,##0.00", 1000000, "1.000.000,00"},
      {"0.00,", 1234.5, "1234,50"},  // ',' among the decimals does nothing
      {"#,##0", 1e17, "100.000.000.000.000.000"},
  };
  CheckTable(cases, std::size(cases), kBr);
  const FloatCase plain[] = {
      {"#,##0.00", 1234.5, "1,234.50"},
      {"#,##0.00;(#,##0.00)", -1234.5, "(1,234.50)"},
      {"0.00", 0.285, "0.29"},
  };
  CheckTable(plain, std::size(plain), kPlain);
  CheckTable(plain, std::size(plain), kUs);
}

TEST(FormatFloatTest, Scientific) {
  const FloatCase cases[] = {
      {"0.00E+00", 12345, "1,23E+04"},
      {"0.00E-00", 12345, "1,23E04"},
      {"0.00E-00", 0.00012345, "1,23E-04"},
      {"0.00E+00", 0.00012345, "1,23E-04"},
      {"0.00e+0", 12345, "1,23e+4"},
      {"00.0E+0", 12345, "12,3E+3"},
      {"0.##E+0", 1, "1E+0"},
      {"0.00E+00", 0, "0,00E+00"},
      {"0E+0", 9.5, "1E+1"},
      {"0.00E+00", 9.995, "1,00E+01"},
      {"0.00E+00", -12345, "-1,23E+04"},
      {"0.0E+000", 1e-300, "1,0E-300"},
      {"0E+", 5, "5E+0"},
      {"0.0E+0 0 'kg'", 1234, "1,2E+3 0 kg"},  // after the exponent everything is text
      {"0.0000000000000000000E+00", 1.0 / 3, "3,3333333333333300000E-01"},
      {"#,##0.0E+0", 1234, "1234,0E+0"},  // no grouping in scientific form
  };
  CheckTable(cases, std::size(cases), kBr);
}

TEST(FormatFloatTest, HugeAndSpecialValuesUseTheGeneralFormat) {
  const FloatCase cases[] = {
      {"0.00", 1e18, "1E18"},       {"0.00", -1e18, "-1E18"},   {"#,##0", 999999999999999999.0, "1E18"},
      {"0.00", 1.5e300, "1,5E300"}, {"0.00", kNaN, "NAN"},      {"0.00", kInf, "INF"},
      {"0.00", -kInf, "-INF"},      {"0.00E+00", 1e20, "1E20"},
  };
  CheckTable(cases, std::size(cases), kBr);
}

TEST(FormatFloatTest, OddPatternsStayBounded) {
  const std::string zeros(500, '0');
  EXPECT_EQ(Ff(zeros.c_str(), 1), std::string(499, '0') + "1");
  EXPECT_EQ(Ff(("0." + zeros).c_str(), 0.5), "0,5" + std::string(499, '0'));
  EXPECT_EQ(Ff(("0E+" + zeros).c_str(), 5), "5E+" + std::string(499, '0') + "0");
  EXPECT_EQ(Ff(std::string(300, ',').append("0").c_str(), 1234), "1.234");
  EXPECT_EQ(Ff(std::string(1000, ';').c_str(), -1), "-");
  EXPECT_EQ(Ff(std::string(999, '\'').c_str(), 1), "");  // odd quote count: the last runs to the end
}

TEST(FormatFloatTest, DefaultsToTheLiveSettings) {
  testing::FixedRegionalSettings live(RegionalSettings::Brazilian());
  EXPECT_EQ(U16ToUtf8(FormatFloat(u"#,##0.00", 1234.5)), "1.234,50");
  EXPECT_EQ(U16ToUtf8(FloatToStr(1.5)), "1,5");
}

TEST(FloatToStrTest, GeneralFormat) {
  const struct {
    double value;
    const char* br;
    const char* plain;
  } cases[] = {
      {0, "0", "0"},
      {-0.0, "0", "0"},
      {1, "1", "1"},
      {-1.5, "-1,5", "-1.5"},
      {0.1, "0,1", "0.1"},
      {0.1 + 0.2, "0,3", "0.3"},
      {1.0 / 3, "0,333333333333333", "0.333333333333333"},
      {2.0 / 3, "0,666666666666667", "0.666666666666667"},
      {1234567.5, "1234567,5", "1234567.5"},
      {0.0001, "0,0001", "0.0001"},
      {0.00012, "0,00012", "0.00012"},
      {0.00009, "9E-5", "9E-5"},
      {1.5e-5, "1,5E-5", "1.5E-5"},
      {-1.5e-5, "-1,5E-5", "-1.5E-5"},
      {999999999999999.0, "999999999999999", "999999999999999"},
      {999999999999999.9, "1E15", "1E15"},  // rounds up to 10^15
      {1e15, "1E15", "1E15"},
      {123456789012345678.0, "1,23456789012346E17", "1.23456789012346E17"},
      {1e100, "1E100", "1E100"},
      {1.7976931348623157e308, "1,79769313486232E308", "1.79769313486232E308"},
      {5e-324, "4,94065645841247E-324", "4.94065645841247E-324"},
      {2.2250738585072014e-308, "2,2250738585072E-308", "2.2250738585072E-308"},
      {kNaN, "NAN", "NAN"},
      {kInf, "INF", "INF"},
      {-kInf, "-INF", "-INF"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(U16ToUtf8(FloatToStr(c.value, kBr)), c.br) << c.value;
    EXPECT_EQ(U16ToUtf8(FloatToStr(c.value, kPlain)), c.plain) << c.value;
  }
}

TEST(FloatToStrFTest, Styles) {
  const struct {
    double value;
    FloatFormat format;
    int precision, digits;
    const char* expected;
  } cases[] = {
      {1234.5, FloatFormat::General, 15, 0, "1234,5"},
      {1234.5, FloatFormat::General, 3, 0, "1,23E3"},
      {1234.5, FloatFormat::General, 4, 0, "1235"},
      {0.00001, FloatFormat::General, 15, 2, "1E-05"},
      {1234.5, FloatFormat::Exponent, 5, 3, "1,2345E+003"},
      {1234.5, FloatFormat::Exponent, 3, 0, "1,23E+3"},
      {-0.00012345, FloatFormat::Exponent, 4, 2, "-1,235E-04"},
      {0, FloatFormat::Exponent, 3, 2, "0,00E+00"},
      {9.9999, FloatFormat::Exponent, 2, 1, "1,0E+1"},
      {1, FloatFormat::Exponent, 1, 0, "1E+0"},
      {1234.5678, FloatFormat::Fixed, 15, 2, "1234,57"},
      {1234.5, FloatFormat::Fixed, 15, 0, "1235"},
      {0.5, FloatFormat::Fixed, 15, 0, "1"},
      {-0.001, FloatFormat::Fixed, 15, 2, "0,00"},
      {1.23456789, FloatFormat::Fixed, 4, 6, "1,235000"},  // precision limits first
      {1.249, FloatFormat::Fixed, 3, 1, "1,2"},            // one rounding, not two
      {123456, FloatFormat::Fixed, 3, 2, "1,23E5"},        // more integer digits than precision
      {999.96, FloatFormat::Fixed, 3, 1, "1E3"},
      {0.5, FloatFormat::Fixed, 30, 25, "0,500000000000000000"},  // digits capped at 18
      {1234567.891, FloatFormat::Number, 15, 2, "1.234.567,89"},
      {-1234567.891, FloatFormat::Number, 15, 0, "-1.234.568"},
      {0.125, FloatFormat::Number, 15, 2, "0,13"},
      {1234.5, FloatFormat::Currency, 15, 2, "R$ 1.234,50"},
      {-1234.5, FloatFormat::Currency, 15, 2, "-R$ 1.234,50"},
      {0, FloatFormat::Currency, 15, 2, "R$ 0,00"},
      {-0.001, FloatFormat::Currency, 15, 2, "R$ 0,00"},
      {kNaN, FloatFormat::Fixed, 15, 2, "NAN"},
      {-kInf, FloatFormat::Currency, 15, 2, "-INF"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(U16ToUtf8(FloatToStrF(c.value, c.format, c.precision, c.digits, kBr)), c.expected)
        << c.value << " format " << static_cast<int>(c.format) << " " << c.precision << "/" << c.digits;
  EXPECT_EQ(U16ToUtf8(FloatToStrF(1234.5, FloatFormat::Currency, 15, 2, kUs)), "$ 1,234.50");
  EXPECT_EQ(U16ToUtf8(FloatToStrF(1234.5, FloatFormat::Currency, 15, 2, kPlain)), "1,234.50");
}

TEST(FormatCurrTest, ExactOnTheFixedPoint) {
  const struct {
    const char* pattern;
    std::int64_t raw;
    const char* expected;
  } cases[] = {
      {"0.000", 5, "0,001"},  // 0.0005: a true tie, not 0.000499…
      {"0.000", 15, "0,002"},
      {"0.000", -5, "-0,001"},
      {"0.000", -4, "0,000"},
      {"0.0000", 5, "0,0005"},
      {"0.00", 12345, "1,23"},
      {"0.00", 12350, "1,24"},
      {"0.00", 10050, "1,01"},
      {"#,##0.00", 12345678900, "1.234.567,89"},
      {"0.0000", 999999999999999999, "99999999999999,9999"},  // 18 digits, all exact
      {"0.000", 999999999999999999, "100000000000000,000"},
      {"#,##0.0000", INT64_MAX, "922.337.203.685.477,5807"},
      {"#,##0.0000", INT64_MIN, "-922.337.203.685.477,5808"},
      {"0.000E+00", 12345678, "1,235E+03"},
      {"0.00;(0.00);'zero'", -40, "zero"},
      {"R$ #,##0.00;-R$ #,##0.00", -123456, "-R$ 12,35"},
      {"", 15000, "1,5"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(U16ToUtf8(FormatCurr(Utf8ToU16(c.pattern), Currency::FromRaw(c.raw), kBr)), c.expected)
        << c.pattern << " raw " << c.raw;
}

TEST(CurrToStrTest, UpToFourDecimals) {
  const struct {
    std::int64_t raw;
    const char* expected;
  } cases[] = {
      {0, "0"},
      {15000, "1,5"},
      {12345, "1,2345"},
      {-1, "-0,0001"},
      {-50000, "-5"},
      {10, "0,001"},
      {123450000, "12345"},
      {INT64_MAX, "922337203685477,5807"},
      {INT64_MIN, "-922337203685477,5808"},
  };
  for (const auto& c : cases) EXPECT_EQ(U16ToUtf8(CurrToStr(Currency::FromRaw(c.raw), kBr)), c.expected) << c.raw;
  EXPECT_EQ(U16ToUtf8(CurrToStr(Currency::FromRaw(15000), kPlain)), "1.5");
}

// ----- Properties against an independent decimal model --------------------

// The exact decimal digits of |v| and its exponent (v = 0.d1d2… × 10^exp), by printf.
void ExactDigits(double v, std::string& digits, int& exp) {
  char buf[1024];
  std::snprintf(buf, sizeof buf, "%.800e", std::fabs(v));
  digits.clear();
  const char* p = buf;
  for (; *p != 'e'; ++p)
    if (*p != '.') digits.push_back(*p);
  exp = std::atoi(p + 1) + 1;
}

// Keeps `keep` leading digits of a digit string, rounding half away from zero;
// a carry out of the front adds a digit and bumps `exp`.
void RoundDigits(std::string& digits, int& exp, int keep) {
  if (keep < 0) {
    digits = "0";
    return;
  }
  if (static_cast<std::size_t>(keep) >= digits.size()) return;
  const bool up = digits[keep] >= '5';
  digits.resize(keep);
  if (!up) return;
  int i = keep - 1;
  for (; i >= 0 && digits[i] == '9'; --i) digits[i] = '0';
  if (i < 0) {
    digits.insert(digits.begin(), '1');
    ++exp;
  } else {
    ++digits[i];
  }
}

// "0.00" in Brazilian settings: 15 significant digits, then two decimals, both half away.
std::string ReferenceTwoDecimals(double v) {
  std::string d;
  int exp;
  ExactDigits(v, d, exp);
  if (v == 0) return "0,00";
  RoundDigits(d, exp, 15);
  RoundDigits(d, exp, exp + 2);
  // Place the digits: integer part, then exactly two decimals.
  std::string intPart, frac;
  for (int p = std::max(exp - 1, 0); p >= -2; --p) {
    int i = exp - 1 - p;
    char c = (i >= 0 && i < static_cast<int>(d.size())) ? d[i] : '0';
    (p >= 0 ? intPart : frac).push_back(c);
  }
  std::size_t nz = intPart.find_first_not_of('0');
  intPart = nz == std::string::npos ? "0" : intPart.substr(nz);
  bool zero = intPart == "0" && frac == "00";
  return (v < 0 && !zero ? "-" : "") + intPart + "," + frac;
}

double RandomValue(std::mt19937_64& rng) {
  std::uniform_int_distribution<int> kind(0, 4);
  std::uniform_int_distribution<std::int64_t> cents(-10000000, 10000000);
  switch (kind(rng)) {
    case 0:  // near a cent boundary: x.xx5 and its neighbours
      return (static_cast<double>(cents(rng)) + 0.5) / 100 + std::uniform_int_distribution<int>(-2, 2)(rng) * 1e-12;
    case 1:  // a binary fraction, often a true decimal tie
      return static_cast<double>(cents(rng)) / 8;
    case 2:  // wide magnitudes up to 1e15
      return std::ldexp(std::uniform_real_distribution<double>(-1, 1)(rng),
                        std::uniform_int_distribution<int>(-40, 49)(rng));
    case 3: {  // exact 16-digit ties: n + 0.5 around 1e15
      std::int64_t n = std::uniform_int_distribution<std::int64_t>(100000000000000, 999999999999999)(rng);
      return static_cast<double>(n) + 0.5;
    }
    default: return std::uniform_real_distribution<double>(-1000, 1000)(rng);
  }
}

TEST(FormatFloatPropertyTest, TwoDecimalsMatchExactDecimalRounding) {
  std::mt19937_64 rng(20261209);
  for (int i = 0; i < 20000; ++i) {
    double v = RandomValue(rng);
    ASSERT_EQ(Ff("0.00", v), ReferenceTwoDecimals(v)) << std::hexfloat << v;
  }
}

// The double nearest to |v| taken to 15 significant digits (half away from zero).
double ReferenceFifteenDigits(double v) {
  std::string d;
  int exp;
  ExactDigits(v, d, exp);
  RoundDigits(d, exp, 15);
  std::string text = "0." + d + "e" + std::to_string(exp);
  return std::copysign(std::strtod(text.c_str(), nullptr), v);
}

TEST(FloatToStrPropertyTest, StrToFloatRoundTripsFifteenDigits) {
  std::mt19937_64 rng(4242);
  for (int i = 0; i < 20000; ++i) {
    double v;
    do {
      std::uint64_t bits = rng();
      std::memcpy(&v, &bits, sizeof v);
    } while (!std::isfinite(v));
    if (i % 4 == 0) v = RandomValue(rng);
    const RegionalSettings& fs = i % 2 ? kBr : kPlain;
    const std::u16string text = FloatToStr(v, fs);
    double back = 0;
    ASSERT_TRUE(TryStrToFloat(text, back, fs)) << U16ToUtf8(text);
    const double expected = v == 0 ? 0.0 : ReferenceFifteenDigits(v);
    ASSERT_EQ(back, expected) << std::hexfloat << v << " -> " << U16ToUtf8(text);
    // Fifteen digits survive the trip back (subnormals hold fewer).
    if (std::fabs(v) >= std::numeric_limits<double>::min()) {
      ASSERT_EQ(FloatToStr(back, fs), text);
    }
  }
}

}  // namespace
}  // namespace zelmor
