#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "format/format_number.h"
#include "mLib.h"
#include "parsing/conversions.h"
#include "testing/fixtures.h"

namespace zelmor {
namespace {

using testing::FixedRegionalSettings;

class RoundingTest : public ::testing::Test {
 protected:
  FixedRegionalSettings brazil{RegionalSettings::Brazilian()};
};

// The double nearest to mantissa × 10^-scale, as parsing that decimal text gives it.
double Dec(long long mantissa, int scale) {
  const std::string s = std::to_string(mantissa) + "e" + std::to_string(-scale);
  double v = 0;
  std::from_chars(s.data(), s.data() + s.size(), v);
  return v;
}

long long Pow10(int p) {
  long long r = 1;
  while (p-- > 0) r *= 10;
  return r;
}

struct Lcg {
  std::uint32_t seed;
  std::uint32_t Next() { return seed = seed * 1664525u + 1013904223u; }
  long long Below(long long n) {
    const unsigned long long wide = (static_cast<unsigned long long>(Next()) << 32) | Next();
    return static_cast<long long>(wide % static_cast<unsigned long long>(n));
  }
};

TEST_F(RoundingTest, TruncaCutsTheDecimalText) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double v;
    int d;
    double out;
  } cases[] = {
      {2.679, 2, 2.67},
      {-2.679, 2, -2.67},
      {0.29, 2, 0.29},  // 0.28999999999999998 in binary
      {1.5, 0, 1},
      {2.999, 0, 2},
      {3, 2, 3},
      {0.1 + 0.2, 2, 0.3},
      {1.005, 2, 1.0},
      {8.7, 1, 8.7},
      {2.675, -1, 2},  // negative decimals count as 0
      {123456.789, 1, 123456.7},
      // Exponent forms are cut as the numbers they stand for.
      {1.5e-5, 2, 0},
      {1.5e-5, 5, 0.00001},
      {1.23456e-5, 7, 0.0000123},
      {-1.23456e-5, 6, -0.000012},
      {1e-300, 400, 1e-300},
      {1234567890123456789.0, 2, 1234567890123460000.0},  // 15 significant digits
      {1e15 + 0.5, 0, 1e15},
      {inf, 2, inf},
      {-inf, 2, -inf},
  };
  for (const auto& c : cases) EXPECT_EQ(TmConv::Trunca(c.v, c.d), c.out) << c.v << " " << c.d;
  EXPECT_TRUE(std::isnan(TmConv::Trunca(nan, 2)));
  EXPECT_FALSE(std::signbit(TmConv::Trunca(-0.001, 2)));  // no "-0"
}

// Property: on generated decimals Trunca agrees with exact decimal truncation and
// never exceeds its input. Fixed seed, bounded loop.
TEST_F(RoundingTest, TruncaAgreesWithExactDecimalTruncation) {
  Lcg rng{2024};
  for (int round = 0; round < 20000; ++round) {
    const int digits = 1 + static_cast<int>(rng.Below(15));
    long long m = rng.Below(Pow10(digits));
    if (rng.Next() & 1) m = -m;
    const int scale = static_cast<int>(rng.Below(22)) - 4;  // also 1e15 and up, and below 0.0001
    const int d = static_cast<int>(rng.Below(12));
    const double v = scale >= 0 ? Dec(m, scale) : Dec(m * Pow10(-scale), 0);
    double expected = v;
    if (scale > d) expected = Dec(m / Pow10(scale - d), d);  // C++ division cuts toward zero
    const double r = TmConv::Trunca(v, d);
    ASSERT_EQ(r, expected) << m << "e-" << scale << " at " << d;
    ASSERT_LE(std::fabs(r), std::fabs(v));
  }
}

// Property on arbitrary doubles: the result never exceeds the value's 15-digit
// decimal form and is within 10^-d of it.
TEST_F(RoundingTest, TruncaStaysBelowTheFifteenDigitValue) {
  Lcg rng{77};
  for (int round = 0; round < 20000; ++round) {
    const double v = (static_cast<double>(rng.Next()) * 4294967296.0 + rng.Next()) /
                     std::ldexp(1.0, static_cast<int>(rng.Below(70)));
    const int d = static_cast<int>(rng.Below(10));
    const double fifteen = StrToFloat(FloatToStr(v));
    const double r = TmConv::Trunca(v, d);
    ASSERT_LE(r, fifteen) << v;
    ASSERT_GT(r, fifteen - std::pow(10.0, -d) * (1 + 1e-9) - std::fabs(fifteen) * 1e-15) << v << " " << d;
  }
}

TEST_F(RoundingTest, ArredondaRoundsTheDouble) {
  const struct {
    double v;
    int p;
    double out;
  } cases[] = {
      {0.125, 2, 0.12},
      {0.375, 2, 0.38},
      {2.5, 0, 2},
      {3.5, 0, 3},
      {2.6, 0, 3},
      {-2.6, 0, -3},
      {-0.125, 2, -0.12},
      {1.2345, -1, 1},
      {2.675, 2, 2.67},  // binary 2.67499…
      {1e300, 2, 1e300},
      {0.5, 0, 0},
      {1.45, 1, 1.4},
      {123.456, 400, 123.456},
      {123.456, 500, 123.456},
  };
  for (const auto& c : cases) EXPECT_EQ(TmConv::Arredonda(c.v, c.p), c.out) << c.v << " " << c.p;
}

// Property: a value already at the precision is unchanged, and a value one decimal
// past it whose last digit is not 5 rounds to the nearest decimal.
TEST_F(RoundingTest, ArredondaAgreesWithDecimalRoundingAwayFromTies) {
  Lcg rng{4242};
  for (int round = 0; round < 20000; ++round) {
    const int p = static_cast<int>(rng.Below(7));
    long long m = rng.Below(Pow10(std::min(12, 9 + p)));
    if (rng.Next() & 1) m = -m;
    ASSERT_EQ(TmConv::Arredonda(Dec(m, p), p), Dec(m, p)) << m << " " << p;
    if (std::llabs(m) % 10 == 5) continue;
    const long long q = m / 10 + (std::llabs(m % 10) > 5 ? (m < 0 ? -1 : 1) : 0);
    ASSERT_EQ(TmConv::Arredonda(Dec(m, p + 1), p), Dec(q, p)) << m << "e-" << p + 1;
  }
}

TEST_F(RoundingTest, TruncaArredondaAndComparison) {
  EXPECT_EQ(TmConv::TruncaArredonda(0.1251, 2), 0.12);
  EXPECT_EQ(TmConv::Arredonda(0.1251, 2), 0.13);
  EXPECT_EQ(TmConv::TruncaArredonda(0.126, 2), 0.13);
  EXPECT_EQ(TmConv::TruncaArredonda(2.7, -1), 3);  // a negative precision counts as 0
  EXPECT_EQ(TmConv::TruncaArredonda(2.7, std::numeric_limits<int>::max()), 2.7);
  EXPECT_EQ(TmConv::FloatComp(0.1251, 2), 0.12);
  EXPECT_TRUE(TmConv::FloatIgual(0.125, 0.1249, 2));
  EXPECT_FALSE(TmConv::FloatIgual(0.126, 0.1249, 2));
  EXPECT_TRUE(TmConv::FloatIgual(0.1 + 0.2, 0.3, 10));
  EXPECT_FALSE(TmConv::FloatIgual(1, -1, 2));
  EXPECT_TRUE(TmConv::FloatIgual(1.2, 1.2, 0));
  Lcg rng{8};
  for (int round = 0; round < 2000; ++round) {
    const double a = Dec(rng.Below(100000000) - 50000000, 4), b = Dec(rng.Below(100000000) - 50000000, 4);
    const int d = static_cast<int>(rng.Below(5));
    ASSERT_TRUE(TmConv::FloatIgual(a, a, d));
    ASSERT_EQ(TmConv::FloatIgual(a, b, d), TmConv::FloatIgual(b, a, d));
  }
}

TEST_F(RoundingTest, ArredondaAritmeticaTable) {
  const struct {
    double v;
    int n;
    bool round;
    double out;
  } cases[] = {
      {2.675, 2, true, 2.68},
      {2.665, 2, true, 2.66},
      {1.0096, 3, true, 1.01},
      {0.995, 2, true, 1},
      {2.679, 2, false, 2.67},
      {0.105, 2, true, 0.11},  // a kept 0 counts as odd
      {0.125, 2, true, 0.12},
      {0.1251, 2, true, 0.13},
      {0.135, 2, true, 0.14},
      {0.999, 2, true, 1},
      {7, 2, true, 7},
      {0.126, 2, true, 0.13},
      {0.124, 2, true, 0.12},
      {123456789.125, 2, true, 123456789.12},
      // Six places or more: nothing beyond the six-decimal writing.
      {0.1234567, 6, true, 0.123457},
      {0.1234567, 9, true, 0.123457},
      {0.12345649, 7, true, 0.123456},
      // A fraction that six decimals round up to 1 carries into the integer part.
      {1.9999996, 2, true, 2},
      {1.9999996, 2, false, 2},
      {1.9999994, 2, false, 1.99},
      // Negative values round as their magnitude.
      {-2.675, 2, true, -2.68},
      {-0.125, 2, true, -0.12},
      {-0.105, 2, true, -0.11},
      {-2.679, 2, false, -2.67},
      // No decimals: the units digit plays the kept digit.
      {2.5, 0, true, 2},
      {3.5, 0, true, 4},
      {10.5, 0, true, 11},
      {2.51, 0, true, 3},
      {2.4, 0, true, 2},
      {9.5, 0, true, 10},
      {9.9, 0, false, 9},
      {2.675, -3, true, 3},  // negative places count as 0
      // Values with no decimals left in 15 digits come back as they are.
      {1e15, 2, true, 1e15},
      {-3e20, 2, true, -3e20},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TmConv::ArredondaAritmetica(c.v, c.n, c.round), c.out) << c.v << " " << c.n << " " << c.round;
  EXPECT_FALSE(std::signbit(TmConv::ArredondaAritmetica(-0.001, 2, true)));
  EXPECT_TRUE(std::isnan(TmConv::ArredondaAritmetica(std::nan(""), 2, true)));
}

// Property: ArredondaAritmetica agrees with the rule worked out in integer decimal
// arithmetic on generated values of up to six decimals; away from a dropped 5 that
// is plain rounding to nearest. Fixed seed, bounded loop.
TEST_F(RoundingTest, ArredondaAritmeticaAgreesWithIntegerDecimalArithmetic) {
  Lcg rng{1999};
  for (int round = 0; round < 30000; ++round) {
    const int s = static_cast<int>(rng.Below(7));
    const long long m = rng.Below(Pow10(s + 1 + static_cast<int>(rng.Below(8))));
    const bool negative = rng.Next() & 1;
    const int n = static_cast<int>(rng.Below(8));
    const bool arredondar = rng.Below(4) != 0;

    long long whole = m / Pow10(s);
    const long long six = (m % Pow10(s)) * Pow10(6 - s);  // the six decimals
    const int k = std::min(n, 6);
    long long kept = six / Pow10(6 - k);
    if (arredondar && n < 6) {
      const long long c = six / Pow10(5 - n) % 10;
      const long long last = n > 0 ? kept % 10 : whole % 10;
      const bool later = six % Pow10(5 - n) != 0;
      const bool up = c >= 6 || (c == 5 && (last % 2 == 1 || last == 0 || later));
      if (up && ++kept == Pow10(n)) {
        kept = 0;
        ++whole;
      }
      if (c != 5) {  // plain rounding to nearest
        const long long scaled = m * Pow10(n) / Pow10(s) + ((m * Pow10(n)) % Pow10(s) * 2 > Pow10(s) ? 1 : 0);
        ASSERT_EQ(whole * Pow10(n) + kept, scaled) << m << "e-" << s << " to " << n;
      }
    }
    double expected = Dec(whole * Pow10(k) + kept, k);
    if (negative && expected != 0) expected = -expected;
    const double v = negative ? -Dec(m, s) : Dec(m, s);
    ASSERT_EQ(TmConv::ArredondaAritmetica(v, n, arredondar), expected)
        << (negative ? "-" : "") << m << "e-" << s << " to " << n << (arredondar ? " rounded" : " cut");
  }
}

TEST_F(RoundingTest, CentsDivisionAndZero) {
  EXPECT_EQ(TmConv::FormatCurrencyToCompare(Currency::FromRaw(123456)), 1234);
  EXPECT_EQ(TmConv::FormatCurrencyToCompare(Currency::FromRaw(-190)), -1);
  EXPECT_EQ(TmConv::FormatCurrencyToCompare(Currency::FromRaw(99)), 0);
  // The cents must fit the 32-bit result; beyond it the amount is refused, not clipped.
  EXPECT_EQ(TmConv::FormatCurrencyToCompare(Currency::FromRaw(214748364799)), INT32_MAX);
  EXPECT_EQ(TmConv::FormatCurrencyToCompare(Currency::FromRaw(-214748364899)), INT32_MIN);
  for (std::int64_t raw : {std::int64_t{214748364800}, std::int64_t{-214748364900}, INT64_MAX, INT64_MIN})
    EXPECT_THROW(TmConv::FormatCurrencyToCompare(Currency::FromRaw(raw)), EConvertError) << raw;

  EXPECT_EQ(TmConv::Divide(1, 4), 0.25);
  EXPECT_EQ(TmConv::Divide(1, 100000), 0);  // 1E-5 has an exponent
  EXPECT_EQ(TmConv::Divide(1, 10000), 0.0001);
  EXPECT_EQ(TmConv::Divide(0, 5), 0);
  EXPECT_EQ(TmConv::Divide(-3, 2), -1.5);
  EXPECT_EQ(TmConv::Divide(2e15, 1), 0);
  EXPECT_EQ(TmConv::Divide(999999999999999.9, 1), 0);  // 15 digits make it 1E15
  EXPECT_EQ(TmConv::Divide(999999999999999, 1), 999999999999999);
  EXPECT_EQ(TmConv::Divide(1e300, 1e-300), 0);
  EXPECT_EQ(TmConv::Divide(0.00009999999999999999, 1), 0.00009999999999999999);  // written 0,0001
  EXPECT_THROW(TmConv::Divide(1, 0), EZeroDivide);
  EXPECT_THROW(TmConv::Divide(0, 0), EInvalidOp);
  try {
    TmConv::Divide(-1, 0);
  } catch (const EZeroDivide& e) {
    EXPECT_EQ(e.Message(), u"Divisão de ponto flutuante por zero");
  }

  EXPECT_EQ(TmConv::ConfereBugZero(0.00009), 0);
  EXPECT_EQ(TmConv::ConfereBugZero(-5), 0);
  EXPECT_EQ(TmConv::ConfereBugZero(0.0001), 0.0001);
  EXPECT_EQ(TmConv::ConfereBugZero(12.5), 12.5);
}

}  // namespace
}  // namespace zelmor
