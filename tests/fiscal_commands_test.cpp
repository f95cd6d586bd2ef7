// `zelmor cpf`, `cnpj`, `ie`, `extenso` and `chave` end to end: the built tool as a process.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/process_util.h"

namespace zelmor::testing {
namespace {

ProcessResult Zelmor(const std::vector<std::string>& args) {
  return RunProcess(BinDir() + "/zelmor", args, {}, std::chrono::seconds(30), {"LC_ALL=pt_BR.UTF-8"});
}

struct Caso {
  std::vector<std::string> Args;
  int Exit;
  std::string Out;  // expected standard output (whole), or empty to skip
};

void Expect(const std::vector<Caso>& casos) {
  for (const Caso& c : casos) {
    const ProcessResult r = Zelmor(c.Args);
    std::string args;
    for (const auto& a : c.Args) args += a + " ";
    EXPECT_EQ(r.ExitCode, c.Exit) << args << "\n" << r.Out << r.Err;
    if (!c.Out.empty()) {
      EXPECT_EQ(r.Out, c.Out) << args;
    }
    if (c.Exit == 2) {
      EXPECT_NE(r.Err, "") << args;
    }
  }
}

TEST(FiscalCommands, CpfAndCnpj) {
  Expect({
      {{"cpf", "123.456.789-09"}, 0, "123.456.789-09: valid\n"},
      {{"cpf", "12345678909"}, 0, "123.456.789-09: valid\n"},
      {{"cpf", "123.456.789-08"}, 1, "123.456.789-08: invalid (the check digits should be 09)\n"},
      {{"cpf", "111.111.111-11"}, 1, "111.111.111-11: invalid (one repeated digit)\n"},
      {{"cpf", "123 456 789 09"}, 1, "123 456 789 09: invalid (only digits, '.', '-' and '/' may be typed)\n"},
      {{"cpf", "11222333000181"}, 1, "11222333000181: invalid (a CPF has 11 digits, this has 14)\n"},
      {{"cpf", "--complete", "123.456.789"}, 0, "123.456.789-09\n"},
      {{"cpf", "--complete", "000000000"}, 1, ""},
      {{"cpf", "--complete", "12345678"}, 1, ""},
      {{"cpf"}, 2, ""},
      {{"cpf", "1", "2"}, 2, ""},
      {{"cnpj", "11.222.333/0001-81"}, 0, "11.222.333/0001-81: valid\n"},
      {{"cnpj", "11222333000180"}, 1, "11222333000180: invalid (the check digits should be 81)\n"},
      {{"cnpj", "123.456.789-09"}, 1, ""},
      {{"cnpj", "--complete", "11.222.333/0001"}, 0, "11.222.333/0001-81\n"},
  });
}

TEST(FiscalCommands, StateRegistration) {
  Expect({
      {{"ie", "SP", "110.042.490.114"}, 0, "110.042.490.114 (SP, São Paulo): valid\n"},
      {{"ie", "sp", "P-01100424.3/002"}, 0, "P-01100424.3/002 (SP, São Paulo): valid\n"},
      {{"ie", "MG", "062.307.904/0081"}, 0, ""},
      {{"ie", "MG", "062.307.904/0082"}, 1, "062.307.904/0082 (MG, Minas Gerais): invalid\n"},
      {{"ie", "BA", "ISENTO"}, 0, ""},
      // The current forms of BA, PE and RN, and the old ones.
      {{"ie", "BA", "1234567-48"}, 0, "1234567-48 (BA, Bahia): valid\n"},
      {{"ie", "BA", "1234567-49"}, 1, "1234567-49 (BA, Bahia): invalid\n"},
      {{"ie", "ba", "123456-63"}, 0, "123456-63 (BA, Bahia): valid\n"},
      {{"ie", "PE", "0321418-40"}, 0, "0321418-40 (PE, Pernambuco): valid\n"},
      {{"ie", "PE", "321418-40"}, 1, "321418-40 (PE, Pernambuco): invalid\n"},
      {{"ie", "PE", "18.1.001.0000004-9"}, 0, ""},
      {{"ie", "RN", "20.0.040.040-0"}, 0, "20.0.040.040-0 (RN, Rio Grande do Norte): valid\n"},
      {{"ie", "RN", "20.0.040.040-1"}, 1, ""},
      {{"ie", "RN", "20.040.040-1"}, 0, ""},
      {{"ie", "XX", "123"}, 2, ""},
      {{"ie", "SP"}, 2, ""},
  });
  // The outside library, not configured here: the download failure is reported.
  const ProcessResult r = RunProcess(BinDir() + "/zelmor", {"ie", "--sintegra", "SP", "110042490114"}, {},
                                     std::chrono::seconds(30), {"ZELMOR_DLLINSCE32_HOST="});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Out.find("outside library: Erro ao baixar o arquivo /files/download/DllInscE32.dll"), std::string::npos)
      << r.Out;
}

TEST(FiscalCommands, AmountsInWords) {
  Expect({
      {{"extenso", "21315,17"}, 0, "Vinte e Um Mil, Trezentos e Quinze Reais e Dezessete Centavos\n"},
      {{"extenso", "21.315,17"}, 0, "Vinte e Um Mil, Trezentos e Quinze Reais e Dezessete Centavos\n"},
      {{"extenso", "21315.17"}, 0, "Vinte e Um Mil, Trezentos e Quinze Reais e Dezessete Centavos\n"},
      {{"extenso", "1.000.000,50"}, 0, "Um Milhão de Reais e Cinqüenta Centavos\n"},
      {{"extenso", "0"}, 0, "Zero\n"},
      {{"extenso", "0,005"}, 0, "Um Centavo de Real\n"},
      {{"extenso", "-2,50"}, 0, "Menos Dois Reais e Cinqüenta Centavos\n"},
      {{"extenso", "1000000000000"}, 1, ""},
      {{"extenso", "10", "--lines", "20", "5"}, 0, "DEZ REAIS***********^*****\n"},
      {{"extenso", "987654321,99", "--lines", "10", "10"}, 1, ""},
      {{"extenso", "abc"}, 2, ""},
      {{"extenso", "99999999999999999999"}, 2, ""},
      {{"extenso", "1,2,3"}, 2, ""},
      {{"extenso"}, 2, ""},
  });
}

TEST(FiscalCommands, AccessKeyBuiltThenChecked) {
  ProcessResult r = Zelmor({"chave", "build", "--uf", "SP", "--date", "2024-05-10", "--cnpj", "11.222.333/0001-81",
                            "--model", "nfe", "--series", "1", "--number", "123", "--code", "12345678"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(r.Out, "35240511222333000181550010000001231123456785\n");
  const std::string chave = r.Out.substr(0, 44);

  r = Zelmor({"chave", chave, "--uf", "SP", "--yymm", "2405", "--cnpj", "11.222.333/0001-81", "--model", "55",
              "--series", "1", "--number", "123", "--form", "1"});
  EXPECT_EQ(r.ExitCode, 0) << r.Out;
  EXPECT_NE(r.Out.find("state:       35 (SP)\n"), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find("number:      000000123\n"), std::string::npos);
  EXPECT_TRUE(r.Out.ends_with("valid\n"));

  Expect({
      // Blanks between the blocks are fine; the check digit is recomputed.
      {{"chave", "check", "3524 0511 2223 3300 0181 5500 1000 0001 2311 2345 6785"}, 0, ""},
      {{"chave", "35240511222333000181550010000001231123456784"}, 1, ""},
      {{"chave", "3524051122233300018155001000000123112345678"}, 1, "invalid: an access key has 44 digits\n"},
      {{"chave", "99240511222333000181550010000001231123456785"}, 1, ""},
      {{"chave", chave, "--model", "65"}, 1, ""},
      {{"chave"}, 2, ""},
      {{"chave", "build", "--uf", "SP"}, 2, ""},
      {{"chave", "build", "--uf", "XX", "--date", "2024-05-10", "--cnpj", "1", "--model", "55", "--series", "1",
        "--number", "1"},
       2,
       ""},
  });
  r = Zelmor({"chave", chave, "--model", "65"});
  EXPECT_NE(r.Out.find("invalid: Modelo do Documento Fiscal \"65\" difere"), std::string::npos) << r.Out;
}

TEST(FiscalCommands, CnpjWithLetters) {
  Expect({
      {{"cnpj", "12.ABC.345/01DE-35"}, 0, "12.ABC.345/01DE-35: valid\n"},
      {{"cnpj", "12abc34501de35"}, 0, "12.ABC.345/01DE-35: valid\n"},
      {{"cnpj", "12.ABC.345/01DE-36"}, 1, "12.ABC.345/01DE-36: invalid (the check digits should be 35)\n"},
      {{"cnpj", "12.ABC.345/01DE-3A"},
       1,
       "12.ABC.345/01DE-3A: invalid (the check digits are digits, they should be 35)\n"},
      {{"cnpj", "12 ABC 345 01DE 35"},
       1,
       "12 ABC 345 01DE 35: invalid (only digits, letters, '.', '-' and '/' may be typed)\n"},
      {{"cnpj", "12ABC34501DE3"}, 1, "12ABC34501DE3: invalid (a CNPJ has 14 characters, this has 13)\n"},
      {{"cnpj", "AAAAAAAAAAAAAA"}, 1, "AAAAAAAAAAAAAA: invalid (one repeated character)\n"},
      {{"cnpj", "--complete", "12.abc.345/01de"}, 0, "12.ABC.345/01DE-35\n"},
      {{"cnpj", "--complete", "12.ABC.345/01D"}, 1, ""},
      // A CPF stays digits only.
      {{"cpf", "12ABC345678901"}, 1, "12ABC345678901: invalid (only digits, '.', '-' and '/' may be typed)\n"},
      {{"cpf", "--complete", "12345678A"}, 1, ""},
  });
}

TEST(FiscalCommands, AccessKeyWithAnIssuerWithLetters) {
  ProcessResult r = Zelmor({"chave", "build", "--uf", "SP", "--date", "15/07/2026", "--cnpj", "12.abc.345/01de-35",
                            "--model", "55", "--series", "1", "--number", "123", "--code", "12345678"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(r.Out, "35260712ABC34501DE35550010000001231123456787\n");
  const std::string chave = r.Out.substr(0, 44);

  r = Zelmor({"chave", chave, "--uf", "SP", "--yymm", "2607", "--cnpj", "12.abc.345/01DE-35", "--model", "55",
              "--series", "1", "--number", "123", "--form", "1", "--dv", "7"});
  EXPECT_EQ(r.ExitCode, 0) << r.Out;
  EXPECT_EQ(r.Out,
            "3526 0712 ABC3 4501 DE35 5500 1000 0001 2311 2345 6787\n"
            "state:       35 (SP)\n"
            "year/month:  26/07\n"
            "CNPJ:        12.ABC.345/01DE-35\n"
            "model:       55\n"
            "series:      001\n"
            "number:      000000123\n"
            "issue form:  1\n"
            "code:        12345678\n"
            "check digit: 7\n"
            "valid\n");

  r = Zelmor({"chave", chave, "--cnpj", "12.ABC.345/01DF-35"});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Out.find("invalid: CNPJ do emitente \"12ABC34501DF35\" difere"), std::string::npos) << r.Out;

  Expect({
      // Typed in lower case, in blocks.
      {{"chave", "3526 0712 abc3 4501 de35 5500 1000 0001 2311 2345 6787"}, 0, ""},
      // The letters count in the check digit.
      {{"chave", "35260712ABC34501DE35550010000001231123456780"}, 1, ""},
      // Letters only in the base of the issuer's CNPJ.
      {{"chave", "35260712ABC34501DE3A550010000001231123456787"},
       1,
       "invalid: letters may stand only in the base of the issuer's CNPJ (positions 7 to 18), not at position 20\n"},
      {{"chave", "3526A712ABC34501DE35550010000001231123456787"}, 1, ""},
      {{"chave", "35260712ABC34501DE35550010000001231123456787X"}, 1, "invalid: an access key has 44 digits\n"},
      {{"chave", "build", "--uf", "SP", "--date", "2026-07-15", "--cnpj", "12ABC34501DE3A", "--model", "55", "--series",
        "1", "--number", "1"},
       2,
       ""},
      {{"chave", "build", "--uf", "SP", "--date", "2026-07-15", "--cnpj", "12ABC34501DE355", "--model", "55",
        "--series", "1", "--number", "1"},
       2,
       ""},
  });
  // Through `zelmor call` as well.
  Expect({
      {{"call", "TmStr.CalculaChaveEletronica", "SP", "2026-07-15", "12ABC34501DE35", "0", "1", "123", "1", "12345678"},
       0,
       "35260712ABC34501DE35550010000001231123456787\n"},
      {{"call", "TmStr.IsCPFValido", "12.abc.345/01de-35"}, 0, "true\n"},
      {{"call", "TmStr.CalculaDigitoCnpjCpf", "12ABC34501DE"}, 0, "35\n"},
  });
}

TEST(FiscalCommands, RoutinesThroughZelmorCall) {
  Expect({
      {{"call", "TmUF.Dados", "BA"}, 0, "{\"result\":{\"Sigla\":\"BA\",\"IBGE\":29,\"Tamanho\":[8,9]}}\n"},
      {{"call", "TmUF.Dados", "PE"}, 0, "{\"result\":{\"Sigla\":\"PE\",\"IBGE\":26,\"Tamanho\":[9,14]}}\n"},
      {{"call", "TmUF.GetIEValidada", "32141840", "PE"}, 0, "032141840\n"},
      {{"call", "mUF.IBGE", "SP"}, 0, "35\n"},
      {{"call", "TmStr.isIEValido", "SP", "110.042.490.114"}, 0, "true\n"},
      {{"call", "TmStr.CalculaChaveEletronica", "SP", "2024-05-10", "11222333000181", "0", "1", "123", "1", "-1"},
       0,
       "35240511222333000181550010000001231000001232\n"},
      {{"call", "TmRot.GetValorParcela", "100", "3", "1"}, 0, "33.34\n"},
      {{"call", "TmStr.FormataCPFCNPJ", "11222333000181"}, 0, "11.222.333/0001-81\n"},
      {{"call", "TmStr.FormataTIPI", "123456789"}, 0, "2345.67.89\n"},
      {{"call", "TmStr.Extenso", "2.5"}, 0, "Dois Reais e Cinqüenta Centavos\n"},
  });
  // A fiscal error comes back with its kind.
  const ProcessResult r = Zelmor({"call", "--json", "TmRot.GetValorParcela", "100", "0", "1"});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Out.find("\"kind\":\"fiscal\""), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find("Informe a quantidade de parcelas"), std::string::npos) << r.Out;
}

}  // namespace
}  // namespace zelmor::testing
