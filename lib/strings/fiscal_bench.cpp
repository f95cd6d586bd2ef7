// CPF/CNPJ and state-registration validations and amounts in words per second, then
// the same routines in turns with the independent npm validators timed by node on the
// same inputs in the same run, per call.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
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
  std::vector<std::u16string> Cpf, Cnpj, CnpjAlfanumerico;
  std::vector<std::u16string> BaseCnpj, Chave43;
  std::vector<std::pair<std::u16string, std::u16string>> IE;
  std::vector<Currency> Valores;
};

// Typed as users type them: with punctuation; one in eight with a wrong check digit.
std::u16string Typed(std::u16string d, bool wrong) {
  if (wrong) d.back() = static_cast<char16_t>(u'0' + (d.back() - u'0' + 1) % 10);
  return d.size() == 11 ? d.substr(0, 3) + u"." + d.substr(3, 3) + u"." + d.substr(6, 3) + u"-" + d.substr(9)
                        : d.substr(0, 2) + u"." + d.substr(2, 3) + u"." + d.substr(5, 3) + u"/" + d.substr(8, 4) +
                              u"-" + d.substr(12);
}

const Inputs& TheInputs() {
  static const Inputs in = [] {
    Inputs r;
    std::mt19937 gen(2024);
    std::mt19937 outro(2026);
    std::uniform_int_distribution<int> digit(0, 9);
    for (int i = 0; i < 1000; ++i) {
      for (std::size_t n : {9u, 12u}) {
        std::u16string b;
        for (std::size_t k = 0; k < n; ++k) b += static_cast<char16_t>(u'0' + digit(gen));
        const std::u16string dv = TmStr::CalculaDigitoCnpjCpf(b);
        if (dv.empty()) continue;
        (n == 9 ? r.Cpf : r.Cnpj).push_back(Typed(b + dv, i % 8 == 7));
        if (n == 12) r.BaseCnpj.push_back(b);
      }
      // Letters and digits in the base, as the newer company numbers have them (drawn
      // apart, so the numeric inputs stay those of earlier runs).
      std::uniform_int_distribution<int> simbolo(0, 35);
      std::u16string b;
      for (std::size_t k = 0; k < 12; ++k) {
        const int v = simbolo(outro);
        b += static_cast<char16_t>(v < 10 ? u'0' + v : u'A' + v - 10);
      }
      r.CnpjAlfanumerico.push_back(Typed(b + TmStr::CalculaDigitoCnpjCpf(b), i % 8 == 7));
      // The first 43 characters of an access key: state, YYMM, issuer, model, series, number, form, code.
      std::u16string k = u"352405" + r.Cnpj.back().substr(0, 2) + r.Cnpj.back().substr(3, 3) +
                         r.Cnpj.back().substr(7, 3) + r.Cnpj.back().substr(11, 4) + r.Cnpj.back().substr(16, 2) +
                         u"55001";
      for (std::size_t d = 0; d < 18; ++d) k += static_cast<char16_t>(u'0' + digit(outro));
      r.Chave43.push_back(k);
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

void BM_IsCPFValido_CNPJ_Alfanumerico(benchmark::State& state) {
  const auto& in = TheInputs().CnpjAlfanumerico;
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(TmStr::IsCPFValido(in[i]));
    if (++i == in.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_IsCPFValido_CNPJ_Alfanumerico);

void BM_CalculaDigitoCnpjCpf_CNPJ(benchmark::State& state) {
  const auto& in = TheInputs().BaseCnpj;
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(TmStr::CalculaDigitoCnpjCpf(in[i]));
    if (++i == in.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CalculaDigitoCnpjCpf_CNPJ);

void BM_CalcModulo11_Chave(benchmark::State& state) {
  const auto& in = TheInputs().Chave43;
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(TmStr::CalcModulo11(in[i], 0));
    if (++i == in.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CalcModulo11_Chave);

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

// The npm validators in one node process that answers "KIND PACKAGE SECONDS" with its
// operations per CPU second, so the C++ side can take turns with it call for call.
class NodeValidators {
 public:
  explicit NodeValidators(const std::filesystem::path& inputs) {
    const std::filesystem::path dir(ZELMOR_CROSSCHECK_DIR);
    if (!std::filesystem::exists(dir / "node_modules")) return;
    // A node that ends early reads as no answer, not as the end of this program.
    std::signal(SIGPIPE, SIG_IGN);
    int in[2], out[2];
    if (pipe2(in, O_CLOEXEC) != 0) return;
    if (pipe2(out, O_CLOEXEC) != 0) {
      close(in[0]);
      close(in[1]);
      return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    const std::string script = (dir / "bench.js").string(), file = inputs.string();
    char* argv[] = {const_cast<char*>("node"), const_cast<char*>(script.c_str()), const_cast<char*>(file.c_str()),
                    const_cast<char*>("--serve"), nullptr};
    if (posix_spawnp(&FPid, "node", &actions, nullptr, argv, environ) != 0) FPid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    FTo = fdopen(in[1], "w");
    FFrom = fdopen(out[0], "r");
  }
  ~NodeValidators() {
    if (FTo) std::fclose(FTo);  // the end of its input ends it
    if (FFrom) std::fclose(FFrom);
    if (FPid > 0) waitpid(FPid, nullptr, 0);
  }
  bool Running() const { return FPid > 0 && FTo && FFrom; }
  // Operations per CPU second of `package` on the inputs of `kind`, or 0.
  double PerSecond(const char* kind, const char* package, double seconds) {
    if (!Running()) return 0;
    std::fprintf(FTo, "%s %s %g\n", kind, package, seconds);
    std::fflush(FTo);
    char line[128];
    return std::fgets(line, sizeof line, FFrom) ? std::strtod(line, nullptr) : 0;
  }

 private:
  pid_t FPid = -1;
  std::FILE* FTo = nullptr;
  std::FILE* FFrom = nullptr;
};

double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// Calls `call` over the inputs, pass after pass, for at least `seconds` of CPU time (at
// most a million passes), after one pass to warm up: operations per CPU second, counted
// as the node side counts them.
template <class List, class Call>
double CppPerSecond(const List& list, Call call, double seconds) {
  for (const auto& x : list) benchmark::DoNotOptimize(call(x));
  double ops = 0;
  const double start = CpuSeconds();
  double elapsed = 0;
  for (int pass = 0; pass < 1000000 && elapsed < seconds; ++pass) {
    for (const auto& x : list) benchmark::DoNotOptimize(call(x));
    ops += static_cast<double>(list.size());
    elapsed = CpuSeconds() - start;
  }
  return ops / elapsed;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// The same inputs, the same counting, in turns: each round times every routine and then
// its npm peers (or the peers first, every other round), so both meet the same machine.
void CompareInTurns(int rounds, double seconds) {
  const Inputs& in = TheInputs();
  nlohmann::json j;
  for (const auto& c : in.Cpf) j["cpf"].push_back(U16ToUtf8(c));
  for (const auto& c : in.Cnpj) j["cnpj"].push_back(U16ToUtf8(c));
  for (const auto& c : in.CnpjAlfanumerico) j["cnpjAlfanumerico"].push_back(U16ToUtf8(c));
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
  NodeValidators node(file);
  std::printf(
      "\nPer call, in turns with the npm validators run by node (%d rounds of %.2f s of CPU each side;\n"
      "ratio = our time per call / theirs, below 1 is faster)\n",
      rounds, seconds);
  if (!node.Running()) {
    std::printf("not measured: node or tools/crosscheck/node_modules is missing (run tools/setup-deps.sh)\n");
    std::filesystem::remove(file);
    return;
  }
  const auto cpf = [](const std::u16string& v) { return TmStr::IsCPFValido(v); };
  const auto ie = [](const std::pair<std::u16string, std::u16string>& v) {
    return TmStr::isIEValido(v.first, v.second, u"");
  };
  const auto words = [](Currency v) { return TmStr::Extenso(v, u"Real", u"Reais", u"Centavo", u"Centavos"); };
  struct Row {
    const char* Routine;
    const char* Kind;
    const char* Package;
    std::function<double(double)> Ours;
  };
  const std::vector<Row> rows = {
      {"IsCPFValido (CPF)", "cpf", "cpf-cnpj-validator", [&](double s) { return CppPerSecond(in.Cpf, cpf, s); }},
      {"IsCPFValido (CPF)", "cpf", "br-validations", [&](double s) { return CppPerSecond(in.Cpf, cpf, s); }},
      {"IsCPFValido (CNPJ)", "cnpj", "cpf-cnpj-validator", [&](double s) { return CppPerSecond(in.Cnpj, cpf, s); }},
      {"IsCPFValido (CNPJ)", "cnpj", "br-validations", [&](double s) { return CppPerSecond(in.Cnpj, cpf, s); }},
      {"IsCPFValido (CNPJ letters)", "cnpjAlfanumerico", "cpf-cnpj-validator",
       [&](double s) { return CppPerSecond(in.CnpjAlfanumerico, cpf, s); }},
      {"isIEValido", "ie", "br-validations", [&](double s) { return CppPerSecond(in.IE, ie, s); }},
      {"isIEValido", "ie", "inscricaoestadual", [&](double s) { return CppPerSecond(in.IE, ie, s); }},
      {"Extenso", "extenso", "extenso", [&](double s) { return CppPerSecond(in.Valores, words, s); }},
  };
  std::vector<std::vector<double>> ours(rows.size()), theirs(rows.size()), ratios(rows.size());
  for (int round = 0; round < rounds; ++round) {
    for (std::size_t r = 0; r < rows.size(); ++r) {
      double a = 0, b = 0;
      if (round % 2 == 0) {
        a = rows[r].Ours(seconds);
        b = node.PerSecond(rows[r].Kind, rows[r].Package, seconds);
      } else {
        b = node.PerSecond(rows[r].Kind, rows[r].Package, seconds);
        a = rows[r].Ours(seconds);
      }
      if (a <= 0 || b <= 0) continue;
      ours[r].push_back(1e9 / a);
      theirs[r].push_back(1e9 / b);
      ratios[r].push_back(b / a);
    }
  }
  std::filesystem::remove(file);
  std::printf("%-28s %-20s %12s %12s %10s %10s %9s\n", "routine", "npm package", "ours ns", "theirs ns", "ratio min",
              "ratio med", "faster");
  for (std::size_t r = 0; r < rows.size(); ++r) {
    if (ratios[r].empty()) continue;
    const double med = Median(ratios[r]);
    std::printf("%-28s %-20s %12.0f %12.0f %10.3f %10.3f %8.1fx\n", rows[r].Routine, rows[r].Package, Median(ours[r]),
                Median(theirs[r]), *std::min_element(ratios[r].begin(), ratios[r].end()), med, 1 / med);
  }
}

}  // namespace
}  // namespace zelmor

// FISCAL_ROUNDS and FISCAL_SECONDS change the comparison's rounds (7) and CPU seconds per
// side and round (0.2).
int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  const char* rounds = std::getenv("FISCAL_ROUNDS");
  const char* seconds = std::getenv("FISCAL_SECONDS");
  zelmor::CompareInTurns(rounds ? std::clamp(std::atoi(rounds), 1, 1000) : 7,
                         seconds ? std::clamp(std::atof(seconds), 0.01, 60.0) : 0.2);
  benchmark::Shutdown();
  return 0;
}
