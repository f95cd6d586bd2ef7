// `zelmor feriados` and the date routines of `zelmor call`, run as processes.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/process_util.h"

namespace zelmor::testing {
namespace {

ProcessResult Zelmor(const std::vector<std::string>& args) {
  return RunProcess(BinDir() + "/zelmor", args, {}, std::chrono::seconds(30), {"LC_ALL=pt_BR.UTF-8"});
}

TEST(ZelmorFeriados, ListsTheYearsHolidaysInDateOrder) {
  ProcessResult r = Zelmor({"feriados", "2019"});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(r.Out,
            "01/01/2019  Terça-feira    Confraternização Universal\n"
            "05/03/2019  Terça-feira    Carnaval\n"
            "19/04/2019  Sexta-feira    Sexta-feira da Paixão\n"
            "21/04/2019  Domingo        Tiradentes\n"
            "21/04/2019  Domingo        Páscoa\n"
            "01/05/2019  Quarta-feira   Dia do Trabalho\n"
            "20/06/2019  Quinta-feira   Corpus Christi\n"
            "07/09/2019  Sábado         Independência do Brasil\n"
            "12/10/2019  Sábado         Nossa Senhora Aparecida\n"
            "02/11/2019  Sábado         Finados\n"
            "15/11/2019  Sexta-feira    Proclamação da República\n"
            "25/12/2019  Quarta-feira   Natal\n");
  EXPECT_EQ(r.Err, "");
}

TEST(ZelmorFeriados, TheOutputDoesNotDependOnTheLocale) {
  ProcessResult br = Zelmor({"feriados", "2024"});
  ProcessResult c = RunProcess(BinDir() + "/zelmor", {"feriados", "2024"}, {}, std::chrono::seconds(30), {"LC_ALL=C"});
  EXPECT_EQ(br.ExitCode, 0);
  EXPECT_EQ(c.ExitCode, 0);
  EXPECT_EQ(br.Out, c.Out);
  EXPECT_NE(br.Out.find("13/02/2024  Terça-feira    Carnaval\n"), std::string::npos) << br.Out;
  EXPECT_NE(br.Out.find("30/05/2024  Quinta-feira   Corpus Christi\n"), std::string::npos) << br.Out;
}

TEST(ZelmorFeriados, ConscienciaNegraFrom2024) {
  const std::string antes =
      "15/11/2023  Quarta-feira   Proclamação da República\n"
      "25/12/2023  Segunda-feira  Natal\n";
  ProcessResult r = Zelmor({"feriados", "2023"});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_TRUE(r.Out.ends_with(antes)) << r.Out;
  EXPECT_EQ(r.Out.find("20/11/"), std::string::npos) << r.Out;

  for (const auto& [ano, fim] :
       std::vector<std::pair<std::string, std::string>>{{"2024",
                                                         "15/11/2024  Sexta-feira    Proclamação da República\n"
                                                         "20/11/2024  Quarta-feira   Consciência Negra\n"
                                                         "25/12/2024  Quarta-feira   Natal\n"},
                                                        {"2026",
                                                         "15/11/2026  Domingo        Proclamação da República\n"
                                                         "20/11/2026  Sexta-feira    Consciência Negra\n"
                                                         "25/12/2026  Sexta-feira    Natal\n"}}) {
    r = Zelmor({"feriados", ano});
    EXPECT_EQ(r.ExitCode, 0) << r.Err;
    EXPECT_TRUE(r.Out.ends_with(fim)) << r.Out;
  }
  r = Zelmor({"call", "TmDt.GetFeriadoStr", "2024-11-20"});
  EXPECT_EQ(r.Out, "Consciência Negra\n");
  r = Zelmor({"call", "TmDt.IsFeriado", "2023-11-20"});
  EXPECT_EQ(r.Out, "false\n");
}

TEST(ZelmorFeriados, RejectsABadYear) {
  for (std::vector<std::string> args : std::vector<std::vector<std::string>>{{"feriados"},
                                                                             {"feriados", "abc"},
                                                                             {"feriados", "0"},
                                                                             {"feriados", "10000"},
                                                                             {"feriados", "2019x"},
                                                                             {"feriados", ""},
                                                                             {"feriados", "2019", "2020"}}) {
    ProcessResult r = Zelmor(args);
    EXPECT_EQ(r.ExitCode, 2) << args.size();
    EXPECT_EQ(r.Out, "");
    EXPECT_NE(r.Err.find("feriados"), std::string::npos) << r.Err;
  }
  ProcessResult help = Zelmor({"help"});
  EXPECT_NE(help.Out.find("feriados YEAR"), std::string::npos) << help.Out;
}

TEST(ZelmorCallDates, RoutinesAnswerThroughTheTool) {
  struct {
    std::vector<std::string> args;
    std::string out;
  } cases[] = {
      {{"call", "TmDt.GetPascoa", "2025"}, "2025-04-20\n"},
      {{"call", "mDt.GetFeriadoStr", "2019-04-21"}, "Tiradentes\n"},
      {{"call", "TmDt.IsFeriado", "2018-04-01T15:00:00"}, "true\n"},
      {{"call", "TmDt.GetNumeroDiaSemana", "Sábado"}, "6\n"},
      {{"call", "TmDt.MinParaHora", "-90"}, "-01:30\n"},
      {{"call", "TmDt.Data2Ansi", "2018-12-05T14:30:15", "true"}, "'2018-12-05 14:30:15'\n"},
      {{"call", "TmDt.Data2Ansi", "2018-12-05T14:30:15", "yyyymmdd", "false"}, "20181205\n"},
      {{"call", "TmDt.AddMonths", "2020-01-31T10:00:00", "1"}, "2020-02-29T10:00:00\n"},
      {{"call", "TmDt.FormatarTempo", "3725"}, "1 hora, 2 minutos e 5 segundos\n"},
      {{"call", "TmDt.GetExtPeriodo", "2018-01-01", "2018-03-15", ""}, "01/18 até 15/03/18\n"},
      {{"call", "TmDt.DataDetalhe", "2018-12-08"}, "08/12/2018 sab\n"},
      {{"call", "TmDt.StrToDateTime", "2018-02-30 10:00:00", "2000-01-01"}, "2000-01-01\n"},
  };
  for (const auto& c : cases) {
    ProcessResult r = Zelmor(c.args);
    EXPECT_EQ(r.ExitCode, 0) << c.args[1] << ": " << r.Err;
    EXPECT_EQ(r.Out, c.out) << c.args[1];
  }
}

TEST(ZelmorCallDates, PeriodsComeBackAsJson) {
  ProcessResult r = Zelmor({"call", "TmDt.GetPeriodos", "2018-03-01", "2018-03-10", "3"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(nlohmann::json::parse(r.Out), nlohmann::json::parse(R"({"result":[
      {"DtInicial":"2018-03-01","DtFinal":"2018-03-03"},{"DtInicial":"2018-03-04","DtFinal":"2018-03-06"},
      {"DtInicial":"2018-03-07","DtFinal":"2018-03-09"},{"DtInicial":"2018-03-10","DtFinal":"2018-03-10"}]})"));
}

TEST(ZelmorCallDates, OutOfRangeYearsFailWithAConversionError) {
  ProcessResult r =
      RunProcess(BinDir() + "/zelmor", {"call", "--batch"}, "[\"TmDt.GetPascoa\",10000]\n[\"TmDt.GetPascoa\",2000]\n");
  EXPECT_EQ(r.ExitCode, 1);
  auto nl = r.Out.find('\n');
  ASSERT_NE(nl, std::string::npos) << r.Out;
  nlohmann::json first = nlohmann::json::parse(r.Out.substr(0, nl));
  EXPECT_EQ(first["kind"], "conversion") << first.dump();
  EXPECT_EQ(nlohmann::json::parse(r.Out.substr(nl + 1)), nlohmann::json::parse(R"({"result":"2000-04-23"})"));
}

}  // namespace
}  // namespace zelmor::testing
