// CPF/CNPJ and state-registration validations and amounts in words per second, next
// to the independent npm validators timed by node on the same inputs in the same run.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <random>
#include <string>
#include <vector>

#include "core/text.h"
#include "strings/mString.h"
#include "strings/testdata/ie_samples.h"

namespace zelmor {
namespace {

struct Inputs {
  std::vector<std::u16string> Cpf, Cnpj;
  std::vector<std::pair<std::u16string, std::u16string>> IE;
  std::vector<Currency> Valores;
};

// Typed as users type them: with punctuation; one in eight with a wrong check digit.
std::u16string Typed(std::u16string d, bool wrong) {
  if (wrong) d.back() = static_cast<char16_t>(u'0' + (d.back() - u'0' + 1) % 10);
  return d.size() == 11 ? d.substr(0, 3) + u"." + d.substr(3, 3) + u"." + d.substr(6, 3) + u"-" + d.substr(9)
                        : d.substr(0, 2) + u"." + d.substr(2, 3) + u"." + d.substr(5, 3) + u"/" + d.substr(8, 4) + u"-" +
                              d.substr(12);
}

const Inputs& TheInputs() {
  static const Inputs in = [] {
    Inputs r;
    std::mt19937 gen(2024);
    std::uniform_int_distribution<int> digit(0, 9);
    for (int i = 0; i < 1000; ++i) {
      for (std::size_t n : {9u, 12u}) {
        std::u16string b;
        for (std::size_t k = 0; k < n; ++k) b += static_cast<char16_t>(u'0' + digit(gen));
        const std::u16string dv = TmStr::CalculaDigitoCnpjCpf(b);
        if (dv.empty()) continue;
        (n == 9 ? r.Cpf : r.Cnpj).push_back(Typed(b + dv, i % 8 == 7));
      }
    }
    for (const testdata::IE& ie : testdata::kGeradas) {
      std::u16string d;
      for (const char16_t* p = ie.Numero; *p; ++p)
        if ((*p >= u'0' && *p <= u'9') || *p == u'P') d += *p;
      r.IE.emplace_back(ie.UF, d);
    }
    std::uniform_int_distribution<std::int64_t> centavos(1, 99999999999);
    for (int i = 0; i < 1000; ++i) r.Valores.push_back(Currency::FromRaw(centavos(gen) * 100));
    return r;
  }();
  return in;
}

void BM_IsCPFValido_CPF(benchmark::State& state) {
  const auto& in = TheInputs().Cpf;
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(TmStr::IsCPFValido(in[i]));
    if (++i == in.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_IsCPFValido_CPF);

void BM_IsCPFValido_CNPJ(benchmark::State& state) {
  const auto& in = TheInputs().Cnpj;
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(TmStr::IsCPFValido(in[i]));
    if (++i == in.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_IsCPFValido_CNPJ);

void BM_isIEValido(benchmark::State& state) {
  const auto& in = TheInputs().IE;
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(TmStr::isIEValido(in[i].first, in[i].second, u""));
    if (++i == in.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_isIEValido);

void BM_Extenso(benchmark::State& state) {
  const auto& in = TheInputs().Valores;
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(TmStr::Extenso(in[i], u"Real", u"Reais", u"Centavo", u"Centavos"));
    if (++i == in.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Extenso);

// Keeps each benchmark's items per second for the comparison at the end.
class Capture : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      auto it = r.counters.find("items_per_second");
      if (it != r.counters.end() && r.run_type == Run::RT_Iteration) PerSecond[r.benchmark_name()] = it->second.value;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> PerSecond;
};

// The npm validators' operations per second on the same inputs, or null when node or
// the packages are missing.
nlohmann::json TimeNode() {
  const std::filesystem::path dir(ZELMOR_CROSSCHECK_DIR);
  if (!std::filesystem::exists(dir / "node_modules")) return nullptr;
  const Inputs& in = TheInputs();
  nlohmann::json j;
  for (const auto& c : in.Cpf) j["cpf"].push_back(U16ToUtf8(c));
  for (const auto& c : in.Cnpj) j["cnpj"].push_back(U16ToUtf8(c));
  for (const auto& [uf, ie] : in.IE) j["ie"].push_back({U16ToUtf8(uf), U16ToUtf8(ie)});
  for (Currency v : in.Valores) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%lld,%02lld", static_cast<long long>(v.Raw / 10000),
                  static_cast<long long>(v.Raw / 100 % 100));
    j["extenso"].push_back(buf);
  }
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("zelmor-fiscal-bench-" + std::to_string(getpid()) + ".json");
  std::ofstream(file) << j.dump();
  const std::string cmd = "node '" + (dir / "bench.js").string() + "' '" + file.string() + "' 1";
  std::string out;
  if (std::FILE* p = popen(cmd.c_str(), "r")) {
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    pclose(p);
  }
  std::filesystem::remove(file);
  nlohmann::json r = nlohmann::json::parse(out, nullptr, false);
  return r.is_discarded() ? nullptr : r;
}

void Compare(const std::map<std::string, double>& cpp, const nlohmann::json& npm) {
  std::printf("\nSame inputs, same run: C++ against the npm validators run by node\n");
  if (npm.is_null()) {
    std::printf("not measured: node or tools/crosscheck/node_modules is missing (run tools/setup-deps.sh)\n");
    return;
  }
  std::printf("%-22s %16s  %-20s %16s %10s\n", "routine", "C++ ops/s", "npm package", "npm ops/s", "C++ / npm");
  const struct {
    const char* Bench;
    const char* Kind;
  } rows[] = {{"BM_IsCPFValido_CPF", "cpf"}, {"BM_IsCPFValido_CNPJ", "cnpj"}, {"BM_isIEValido", "ie"}, {"BM_Extenso", "extenso"}};
  for (const auto& row : rows) {
    auto it = cpp.find(row.Bench);
    if (it == cpp.end() || !npm.contains(row.Kind)) continue;
    for (const auto& [package, perSecond] : npm[row.Kind].items())
      std::printf("%-22s %16.0f  %-20s %16.0f %9.1fx\n", row.Bench, it->second, package.c_str(), perSecond.get<double>(),
                  it->second / perSecond.get<double>());
  }
}

}  // namespace
}  // namespace zelmor

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  zelmor::Capture reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  zelmor::Compare(reporter.PerSecond, zelmor::TimeNode());
  benchmark::Shutdown();
  return 0;
}
