// `zelmor extenso VALUE`: an amount in words (reais), or broken into two print lines.
// Exit code 0 written, 1 cannot be written (out of range, or does not fit the lines),
// 2 usage or a value that is not an amount.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "core/text.h"
#include "strings/mString.h"
#include "tools/zelmor/commands.h"

namespace zelmor::cli {
namespace {

// An amount typed the Brazilian way ("1.234,56": comma decimal, points grouping) or,
// without a comma, with a decimal point ("1234.56"). Exact: no binary rounding.
std::optional<Currency> ParseAmount(const std::string& s) {
  const bool virgula = s.find(',') != std::string::npos;
  const char decimal = virgula ? ',' : '.';
  std::size_t i = 0;
  bool negativo = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negativo = s[i++] == '-';
  std::int64_t inteiro = 0, fracao = 0;
  int casas = 0;
  bool digitos = false, naFracao = false, arredonda = false;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    if (c >= '0' && c <= '9') {
      digitos = true;
      if (!naFracao) {
        if (inteiro >= 10000000000000) return std::nullopt;  // keeps the value well inside a currency
        inteiro = inteiro * 10 + (c - '0');
      } else if (casas < 4) {
        fracao = fracao * 10 + (c - '0');
        ++casas;
      } else if (casas == 4) {
        arredonda = c >= '5';  // the fifth decimal rounds half away from zero
        ++casas;
      }
    } else if (c == decimal && !naFracao) {
      naFracao = true;
    } else if (virgula && c == '.' && !naFracao) {
      continue;  // thousands point
    } else {
      return std::nullopt;
    }
  }
  if (!digitos) return std::nullopt;
  for (int k = std::min(casas, 4); k < 4; ++k) fracao *= 10;
  std::int64_t raw = inteiro * Currency::Scale + fracao + (arredonda ? 1 : 0);
  return Currency::FromRaw(negativo ? -raw : raw);
}

int Run(const std::vector<std::string>& args) {
  const char* usage = "usage: zelmor extenso VALUE [--lines WIDTH1 WIDTH2]";
  std::optional<std::pair<int, int>> linhas;
  std::vector<std::string> pos;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--lines" && i + 2 < args.size()) {
      try {
        linhas = {std::stoi(args[i + 1]), std::stoi(args[i + 2])};
      } catch (const std::exception&) {
        PrintError(usage);
        return 2;
      }
      i += 2;
    } else {
      pos.push_back(args[i]);
    }
  }
  if (pos.size() != 1) {
    PrintError(usage);
    return 2;
  }
  const std::optional<Currency> valor = ParseAmount(pos[0]);
  if (!valor) {
    PrintError("zelmor: '" + pos[0] + "' is not an amount (1.234,56 or 1234.56)");
    return 2;
  }
  if (linhas) {
    const std::u16string r = TmStr::QuebraExtenso(valor->ToDouble(), linhas->first, linhas->second);
    if (r.empty()) {
      PrintError("zelmor: the words do not fit in lines of " + std::to_string(linhas->first) + " and " +
                 std::to_string(linhas->second));
      return 1;
    }
    PrintLine(U16ToUtf8(r));
    return 0;
  }
  const std::u16string r = TmStr::Extenso(*valor, u"Real", u"Reais", u"Centavo", u"Centavos");
  if (r.empty()) {
    PrintError("zelmor: amounts of a trillion or more cannot be written in words");
    return 1;
  }
  PrintLine(U16ToUtf8(r));
  return 0;
}

ZELMOR_COMMAND("extenso", "extenso VALUE [--lines WIDTH1 WIDTH2]   (an amount in words, in reais)", Run);

}  // namespace
}  // namespace zelmor::cli
