// The arithmetic every check-digit rule of the library shares: how a character
// is valued in a weighted sum, the sums themselves, and the common ways a sum
// becomes a digit. Kept in one place so a new valuation (letters in a document
// number) or a new state rule changes one function, not every routine.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace zelmor::checkdigit {

// The value a character carries in a check-digit sum: '0'–'9' are 0–9.
// Anything else has no value (-1); each caller decides whether that is an error,
// a zero or a false answer.
constexpr int DigitValue(char16_t c) { return c >= u'0' && c <= u'9' ? c - u'0' : -1; }

constexpr bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Σ value(s[i]) × weights[i] over the first weights.size() characters of `s`
// (which must be at least that long). Characters without a value count as 0.
inline int WeightedSum(std::u16string_view s, std::span<const int> weights) {
  int sum = 0;
  for (std::size_t i = 0; i < weights.size(); ++i) {
    const int v = DigitValue(s[i]);
    if (v > 0) sum += v * weights[i];
  }
  return sum;
}

// r = Σ mod 11; 0 when r is 0 or 1, otherwise 11 − r (CNPJ, PIS and most states).
constexpr int Mod11ZeroBelow2(int sum) {
  const int r = sum % 11;
  return r < 2 ? 0 : 11 - r;
}

// r = (Σ × 10) mod 11, with 10 becoming 0 (CPF and some states).
constexpr int Mod11Times10(int sum) {
  const int r = (sum * 10) % 11;
  return r == 10 ? 0 : r;
}

// 0 when Σ mod 10 is 0, otherwise 10 − (Σ mod 10).
constexpr int Mod10Complement(int sum) {
  const int r = sum % 10;
  return r == 0 ? 0 : 10 - r;
}

}  // namespace zelmor::checkdigit
