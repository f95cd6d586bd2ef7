// The fiscal routines against independent validators from the npm registry, run by
// node on the same inputs. The packages are installed by tools/setup-deps.sh (npm ci in
// tools/crosscheck); without them the test is skipped.
#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <random>
#include <regex>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "core/text.h"
#include "strings/mString.h"
#include "strings/testdata/ie_samples.h"
#include "tests/process_util.h"

namespace zelmor::testing {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

std::string FindNode() {
  const char* path = std::getenv("PATH");
  std::string p = path ? path : "/usr/bin:/bin";
  for (std::size_t start = 0; start <= p.size();) {
    std::size_t end = p.find(':', start);
    if (end == std::string::npos) end = p.size();
    const fs::path candidate = fs::path(p.substr(start, end - start)) / "node";
    if (!candidate.parent_path().empty() && fs::exists(candidate)) return candidate.string();
    start = end + 1;
  }
  return {};
}

class CrossCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    node = FindNode();
    if (node.empty()) GTEST_SKIP() << "node is not installed: run tools/setup-deps.sh";
    if (!fs::exists(fs::path(ZELMOR_CROSSCHECK_DIR) / "node_modules"))
      GTEST_SKIP() << "tools/crosscheck/node_modules is absent: run tools/setup-deps.sh to install the validators";
  }

  // One answer per query, from tools/crosscheck/check.js.
  std::vector<Json> Ask(const std::vector<Json>& queries) {
    std::string input;
    for (const Json& q : queries) input += q.dump() + "\n";
    ProcessResult r =
        RunProcess(node, {std::string(ZELMOR_CROSSCHECK_DIR) + "/check.js"}, input, std::chrono::seconds(60));
    EXPECT_EQ(r.ExitCode, 0) << r.Err;
    std::vector<Json> answers;
    std::size_t start = 0;
    for (std::size_t nl; (nl = r.Out.find('\n', start)) != std::string::npos; start = nl + 1)
      answers.push_back(Json::parse(r.Out.substr(start, nl - start)));
    EXPECT_EQ(answers.size(), queries.size());
    return answers;
  }

  std::string node;
};

std::u16string Compact(std::u16string_view s) {
  std::u16string r;
  for (char16_t c : s)
    if ((c >= u'0' && c <= u'9') || c == u'P') r += c;
  return r;
}

// Where a validator's rules differ from the library's for a state, numbers are compared
// only where the difference cannot show (nowhere, when it always can); docs/fiscal.md
// lists these differences.
struct Diferenca {
  const char* UF;
  const char* Validador;
  bool (*Comparavel)(std::u16string_view ie);
};
const Diferenca kRegrasDiferentes[] = {
    // Also demands a company-type third digit of 0, 3, 5, 7 or 8.
    {"AL", "brValidations",
     [](std::u16string_view ie) { return std::u16string_view(u"03578").find(ie[2]) != std::u16string_view::npos; }},
    // Does not demand the leading 29 and has no 9-digit form.
    {"TO", "brValidations", [](std::u16string_view ie) { return ie.size() == 11 && ie.starts_with(u"29"); }},
    // Does not demand the leading 29.
    {"TO", "inscricaoEstadual", [](std::u16string_view ie) { return ie.starts_with(u"29"); }},
    // Demands a leading 06.
    {"CE", "inscricaoEstadual", [](std::u16string_view ie) { return ie.starts_with(u"06"); }},
    // Knows only the 9-digit form, and checks its two digits at any length.
    {"PE", "inscricaoEstadual", [](std::u16string_view ie) { return ie.size() == 9; }},
    // 10 digits: checks the ninth digit (weighing itself) instead of the tenth.
    {"RN", "brValidations", [](std::u16string_view ie) { return ie.size() != 10; }},
    // Rejects every 11-digit number.
    {"MT", "inscricaoEstadual", [](std::u16string_view) { return false; }},
    // 14 digits: a remainder of 1 gives the digit 1 where the rule gives 0.
    {"RO", "inscricaoEstadual", [](std::u16string_view) { return false; }},
};

bool Comparavel(const std::string& uf, const std::string& validador, std::u16string_view ie) {
  for (const Diferenca& d : kRegrasDiferentes)
    if (uf == d.UF && validador == d.Validador) return d.Comparavel(ie);
  return true;
}

TEST_F(CrossCheck, StateRegistrationsAgreeWhereTheRulesCoincide) {
  // Every valid sample, and each with one digit changed at every place.
  std::vector<std::pair<std::u16string, std::u16string>> casos;
  for (const auto& table :
       {std::span<const testdata::IE>(testdata::kPublicadas), std::span<const testdata::IE>(testdata::kGeradas)})
    for (const testdata::IE& ie : table) {
      const std::u16string d = Compact(ie.Numero);
      casos.emplace_back(ie.UF, d);
      for (std::size_t i = 0; i < d.size(); ++i) {
        if (d[i] == u'P') continue;
        std::u16string m = d;
        m[i] = static_cast<char16_t>(u'0' + (m[i] - u'0' + 3) % 10);
        casos.emplace_back(ie.UF, m);
      }
    }
  std::vector<Json> queries;
  for (const auto& [uf, ie] : casos) queries.push_back({{"k", "ie"}, {"uf", U16ToUtf8(uf)}, {"v", U16ToUtf8(ie)}});
  const std::vector<Json> answers = Ask(queries);
  ASSERT_EQ(answers.size(), casos.size());

  std::map<std::string, int> comparados;
  for (std::size_t i = 0; i < casos.size(); ++i) {
    const std::string uf = U16ToUtf8(casos[i].first);
    const bool nosso = TmStr::isIEValido(casos[i].first, casos[i].second, u"");
    for (const char* validador : {"brValidations", "inscricaoEstadual"}) {
      if (!Comparavel(uf, validador, casos[i].second)) continue;
      ASSERT_TRUE(answers[i][validador].is_boolean()) << answers[i].dump();
      EXPECT_EQ(answers[i][validador].get<bool>(), nosso)
          << validador << " " << uf << " " << U16ToUtf8(casos[i].second);
      ++comparados[uf];
    }
  }
  EXPECT_EQ(comparados.size(), 27u) << "every state is compared with at least one validator";
}

// Numbers of the current BA, PE and RN forms with their check digits written out here
// from the published weights, each with one digit changed and with a digit too many or
// too few.
TEST_F(CrossCheck, CurrentStateRegistrationFormsAgree) {
  std::mt19937 gen(2024);
  std::uniform_int_distribution<int> digit(0, 9);
  auto digitos = [&](std::size_t n) {
    std::u16string s;
    for (std::size_t i = 0; i < n; ++i) s += static_cast<char16_t>(u'0' + digit(gen));
    return s;
  };
  auto soma = [](std::u16string_view d, std::initializer_list<int> pesos) {
    int s = 0, i = 0;
    for (int p : pesos) s += (d[i++] - u'0') * p;
    return s;
  };
  auto m11 = [](int s) { return s % 11 < 2 ? 0 : 11 - s % 11; };
  auto m10 = [](int s) { return s % 10 == 0 ? 0 : 10 - s % 10; };
  auto mais = [](std::u16string s, int d) { return s + static_cast<char16_t>(u'0' + d); };

  std::vector<std::pair<std::u16string, std::u16string>> validos;
  for (int i = 0; i < 200; ++i) {
    // BA: d9 then d8, by modulo 11 when d2 is 6, 7 or 9, else by modulo 10.
    const std::u16string ba = digitos(7);
    const bool porOnze = ba[1] == u'6' || ba[1] == u'7' || ba[1] == u'9';
    const int d9 = (porOnze ? m11 : m10)(soma(ba, {8, 7, 6, 5, 4, 3, 2}));
    const int d8 = (porOnze ? m11 : m10)(soma(ba, {9, 8, 7, 6, 5, 4, 3}) + 2 * d9);
    validos.emplace_back(u"BA", mais(mais(ba, d8), d9));
    // PE: two modulo-11 digits.
    std::u16string pe = digitos(7);
    pe = mais(pe, m11(soma(pe, {8, 7, 6, 5, 4, 3, 2})));
    validos.emplace_back(u"PE", mais(pe, m11(soma(pe, {9, 8, 7, 6, 5, 4, 3, 2}))));
    // RN: 20 and eight digits, (Σ × 10) mod 11 with 10 giving 0.
    const std::u16string rn = u"20" + digitos(7);
    const int r = soma(rn, {10, 9, 8, 7, 6, 5, 4, 3, 2}) * 10 % 11;
    validos.emplace_back(u"RN", mais(rn, r == 10 ? 0 : r));
  }

  std::vector<std::pair<std::u16string, std::u16string>> casos;
  for (std::size_t i = 0; i < validos.size(); ++i) {
    const auto& [uf, ie] = validos[i];
    ASSERT_TRUE(TmStr::isIEValido(uf, ie, u"")) << U16ToUtf8(uf) << " " << U16ToUtf8(ie);
    casos.push_back(validos[i]);
    std::u16string errado = ie;
    const std::size_t pos = i / 3 % ie.size();
    errado[pos] = static_cast<char16_t>(u'0' + (errado[pos] - u'0' + 1 + i % 9) % 10);
    casos.emplace_back(uf, errado);
    casos.emplace_back(uf, ie + static_cast<char16_t>(u'0' + i % 10));
    casos.emplace_back(uf, ie.substr(1));
  }

  std::vector<Json> queries;
  for (const auto& [uf, ie] : casos) queries.push_back({{"k", "ie"}, {"uf", U16ToUtf8(uf)}, {"v", U16ToUtf8(ie)}});
  const std::vector<Json> answers = Ask(queries);
  ASSERT_EQ(answers.size(), casos.size());
  std::map<std::string, int> comparados;
  for (std::size_t i = 0; i < casos.size(); ++i) {
    const std::string uf = U16ToUtf8(casos[i].first);
    const bool nosso = TmStr::isIEValido(casos[i].first, casos[i].second, u"");
    for (const char* validador : {"brValidations", "inscricaoEstadual"}) {
      if (!Comparavel(uf, validador, casos[i].second)) continue;
      ASSERT_TRUE(answers[i][validador].is_boolean()) << answers[i].dump();
      EXPECT_EQ(answers[i][validador].get<bool>(), nosso)
          << validador << " " << uf << " " << U16ToUtf8(casos[i].second);
      ++comparados[uf + " " + validador];
    }
  }
  // Every new form is compared with both validators, except RN's with br-validations.
  for (const char* chave :
       {"BA brValidations", "BA inscricaoEstadual", "PE brValidations", "PE inscricaoEstadual", "RN inscricaoEstadual"})
    EXPECT_GE(comparados[chave], 400) << chave;
}

TEST_F(CrossCheck, CpfCnpjAndPisAgree) {
  std::mt19937 gen(99);
  std::uniform_int_distribution<int> digit(0, 9);
  auto digitos = [&](std::size_t n) {
    std::u16string s;
    for (std::size_t i = 0; i < n; ++i) s += static_cast<char16_t>(u'0' + digit(gen));
    return s;
  };
  std::vector<std::pair<std::string, std::u16string>> casos;
  for (int i = 0; i < 300; ++i) {
    for (std::size_t base : {9u, 12u}) {
      const std::u16string b = digitos(base);
      const std::u16string numero = b + TmStr::CalculaDigitoCnpjCpf(b);
      const std::string kind = base == 9 ? "cpf" : "cnpj";
      casos.emplace_back(kind, numero);
      std::u16string errado = numero;
      const std::size_t pos = static_cast<std::size_t>(i) % numero.size();
      errado[pos] = static_cast<char16_t>(u'0' + (errado[pos] - u'0' + 1 + i % 9) % 10);
      casos.emplace_back(kind, errado);
    }
    // PIS: the check digit written out here from its weights.
    const std::u16string b = digitos(10);
    const int pesos[] = {3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
    int soma = 0;
    for (int k = 0; k < 10; ++k) soma += (b[k] - u'0') * pesos[k];
    const int r = soma % 11;
    const std::u16string pis = b + static_cast<char16_t>(u'0' + (r < 2 ? 0 : 11 - r));
    casos.emplace_back("pis", pis);
    casos.emplace_back("pis", pis.substr(0, 10) + static_cast<char16_t>(u'0' + (pis[10] - u'0' + 1) % 10));
  }
  casos.emplace_back("cpf", u"111.444.777-35");
  casos.emplace_back("cnpj", u"11.222.333/0001-81");

  std::vector<Json> queries;
  for (const auto& [kind, v] : casos) queries.push_back({{"k", kind}, {"v", U16ToUtf8(v)}});
  const std::vector<Json> answers = Ask(queries);
  ASSERT_EQ(answers.size(), casos.size());
  for (std::size_t i = 0; i < casos.size(); ++i) {
    const auto& [kind, v] = casos[i];
    const bool nosso = kind == "pis" ? TmStr::IsPISValido(v) : TmStr::IsCPFValido(v);
    for (const auto& [validador, resposta] : answers[i].items()) {
      // The one CPF that cpf-cnpj-validator refuses although its digits check.
      if (validador == "cpfCnpjValidator" && v == u"12345678909") continue;
      EXPECT_EQ(resposta, Json(nosso)) << validador << " " << kind << " " << U16ToUtf8(v);
    }
  }
}

// Company numbers with letters, against cpf-cnpj-validator, which values each base
// character by its code minus 48 as the rule does (br-validations knows no letters):
// the check digits of each base, the answer for the number typed in several ways and
// with a character changed, and its formatting.
TEST_F(CrossCheck, CnpjWithLettersAgrees) {
  std::mt19937 gen(2607);
  std::uniform_int_distribution<int> simbolo(0, 35);
  std::uniform_int_distribution<std::size_t> posicao(0, 11);
  auto caractere = [&] {
    const int v = simbolo(gen);
    return static_cast<char16_t>(v < 10 ? u'0' + v : u'A' + v - 10);
  };
  auto minusculas = [](std::u16string s) {
    for (char16_t& c : s)
      if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    return s;
  };
  std::vector<std::u16string> bases{u"12ABC34501DE"};
  for (int i = 0; i < 300; ++i) {
    std::u16string b;
    for (int k = 0; k < 12; ++k) b += caractere();
    b[posicao(gen)] = static_cast<char16_t>(u'A' + i % 26);  // at least one letter
    bases.push_back(b);
  }

  struct Caso {
    std::u16string Numero;
    std::optional<bool> Valido;  // known from how it was made; unknown after a random change
  };
  std::vector<Json> queries;
  std::vector<Caso> casos;
  for (const std::u16string& b : bases) queries.push_back({{"k", "cnpjDigitos"}, {"v", U16ToUtf8(b)}});
  for (std::size_t i = 0; i < bases.size(); ++i) {
    const std::u16string numero = bases[i] + TmStr::CalculaDigitoCnpjCpf(bases[i]);
    std::u16string dvErrado = numero;
    dvErrado[12 + i % 2] = static_cast<char16_t>(u'0' + (dvErrado[12 + i % 2] - u'0' + 1 + i % 9) % 10);
    std::u16string trocado = numero;  // some changes keep the sum: both sides must still agree
    trocado[posicao(gen)] = caractere();
    std::u16string letraNoDv = numero;
    letraNoDv[13] = u'A';
    for (const Caso& c : {Caso{numero, true}, Caso{TmStr::FormataCPFCNPJ(numero), true}, Caso{minusculas(numero), true},
                          Caso{minusculas(TmStr::FormataCPFCNPJ(numero)), true}, Caso{dvErrado, false},
                          Caso{trocado, std::nullopt}, Caso{letraNoDv, false}}) {
      queries.push_back({{"k", "cnpjAlfanumerico"}, {"v", U16ToUtf8(c.Numero)}});
      casos.push_back(c);
    }
  }
  const std::vector<Json> answers = Ask(queries);
  ASSERT_EQ(answers.size(), queries.size());

  for (std::size_t i = 0; i < bases.size(); ++i)
    EXPECT_EQ(answers[i]["digitos"], U16ToUtf8(TmStr::CalculaDigitoCnpjCpf(bases[i]))) << U16ToUtf8(bases[i]);
  for (std::size_t i = 0; i < casos.size(); ++i) {
    const Json& a = answers[bases.size() + i];
    const std::string v = U16ToUtf8(casos[i].Numero);
    const bool nosso = TmStr::IsCPFValido(casos[i].Numero);
    EXPECT_EQ(a["valido"], Json(nosso)) << v;
    if (casos[i].Valido) {
      EXPECT_EQ(nosso, *casos[i].Valido) << v;
    }
    if (nosso) {  // the package formats only what has the CNPJ's shape
      EXPECT_EQ(a["formatado"], U16ToUtf8(TmStr::FormataCPFCNPJ(casos[i].Numero))) << v;
    }
  }
}

// The library's words in the other package's style: lower case, no diaeresis, no
// commas between groups, "mil" rather than "um mil" at the start, and cents alone
// without "de real".
std::string AsOtherPackage(std::u16string s) {
  std::string r = U16ToUtf8(LowerCase(s));
  r = std::regex_replace(r, std::regex("ü"), "u");
  r = std::regex_replace(r, std::regex(","), "");
  r = std::regex_replace(r, std::regex("^um mil\\b"), "mil");
  r = std::regex_replace(r, std::regex("(centavos?) de real$"), "$1");
  return r;
}

TEST_F(CrossCheck, AmountsInWordsAgreeBelowAMillion) {
  std::mt19937 gen(5);
  std::uniform_int_distribution<std::int64_t> centavos(1, 99999999);
  std::vector<std::int64_t> valores{1,     15,    50,     100,    101,    110,     250,
                                    10000, 10100, 100000, 105000, 125000, 2131517, 10010000};
  for (int i = 0; i < 500; ++i) valores.push_back(centavos(gen));
  std::vector<Json> queries;
  for (std::int64_t c : valores) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%lld,%02lld", static_cast<long long>(c / 100), static_cast<long long>(c % 100));
    queries.push_back({{"k", "extenso"}, {"v", buf}});
  }
  const std::vector<Json> answers = Ask(queries);
  ASSERT_EQ(answers.size(), valores.size());
  for (std::size_t i = 0; i < valores.size(); ++i) {
    const std::u16string nosso =
        TmStr::Extenso(Currency::FromRaw(valores[i] * 100), u"Real", u"Reais", u"Centavo", u"Centavos");
    EXPECT_EQ(AsOtherPackage(nosso), answers[i]["extenso"].get<std::string>()) << valores[i];
  }
}

}  // namespace
}  // namespace zelmor::testing
