#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "calendar/calendar.h"
#include "core/errors.h"
#include "core/text.h"
#include "strings/mString.h"
#include "system/system.h"

namespace zelmor {
namespace {

// SP, May 2024, CNPJ 11.222.333/0001-81, model 55, series 001, number 123, form 1, code 12345678.
constexpr std::u16string_view kChave = u"35240511222333000181550010000001231123456785";

std::u16string Erro(std::u16string_view chave, std::u16string_view uf, std::u16string_view aamm,
                    std::u16string_view cnpj, std::u16string_view mod, std::u16string_view serie,
                    std::u16string_view nr, std::u16string_view tp, std::u16string_view dv) {
  try {
    TmRot::ValidaChaveAcesso(chave, uf, aamm, cnpj, mod, serie, nr, tp, dv);
  } catch (const EFiscalError& e) {
    return e.Message();
  }
  return {};
}

TEST(ValidaChaveAcesso, NothingToCheck) {
  EXPECT_EQ(Erro(u"", u"99", u"x", u"x", u"x", u"x", u"x", u"x", u"x"), u"");
  EXPECT_EQ(Erro(u"   ", u"99", u"x", u"x", u"x", u"x", u"x", u"x", u"x"), u"");
  EXPECT_EQ(Erro(kChave, u"", u"", u"", u"", u"", u"", u"", u""), u"");
  EXPECT_EQ(Erro(kChave, u" ", u"  ", u"", u"", u"", u"", u"", u""), u"");
}

TEST(ValidaChaveAcesso, LengthMessage) {
  EXPECT_EQ(Erro(kChave.substr(0, 43), u"", u"", u"", u"", u"", u"", u"", u""),
            u"Chave de acesso deve ter o tamanho de 44 caracteres.");
  EXPECT_EQ(Erro(std::u16string(kChave) + u"1", u"", u"", u"", u"", u"", u"", u"", u""),
            u"Chave de acesso deve ter o tamanho de 44 caracteres.");
}

TEST(ValidaChaveAcesso, FieldsAgreeWithOrWithoutTheirZeros) {
  EXPECT_EQ(Erro(kChave, u"35", u"2405", u"11222333000181", u"55", u"1", u"123", u"1", u"5"), u"");
  // The CNPJ is compared as digits: punctuation makes it disagree.
  EXPECT_TRUE(Erro(kChave, u" SP ", u"2405", u"11.222.333/0001-81", u"", u"001", u"000000123", u"1", u"5")
                  .starts_with(u"CNPJ do emitente \"11.222.333/0001-81\" difere"));
  EXPECT_EQ(Erro(kChave, u"SP", u"2405", u"11222333000181", u"55", u"001", u"000000123", u"1", u"5"), u"");
  // A number given with trailing zeros also agrees when the field reads that way.
  EXPECT_EQ(Erro(u"35240511222333000181551000000001231123456785", u"", u"", u"", u"", u"1", u"", u"", u""), u"");
}

TEST(ValidaChaveAcesso, MessageNamesTheFieldAndMarksIt) {
  EXPECT_EQ(Erro(kChave, u"35", u"2405", u"", u"65", u"", u"", u"", u""),
            u"Modelo do Documento Fiscal \"65\" difere do informado na composição da chave de acesso.\r\r"
            u" Local na chave de acesso: \"35240511222333000181 ---> 55 <--- 0010000001231123456785 \" ");
  // The value is shown as passed, blanks included.
  EXPECT_EQ(Erro(kChave, u"", u"", u"", u"", u"", u" 124 ", u"", u""),
            u"Número do Documento Fiscal \" 124 \" difere do informado na composição da chave de acesso.\r\r"
            u" Local na chave de acesso: \"3524051122233300018155001 ---> 000000123 <--- 1123456785 \" ");
  EXPECT_EQ(Erro(kChave, u"", u"", u"", u"", u"", u"", u"", u"4"),
            u"Dígito verificador da chave de acesso \"4\" difere do informado na composição da chave de acesso.\r\r"
            u" Local na chave de acesso: \"3524051122233300018155001000000123112345678 ---> 5 <---  \" ");
  EXPECT_EQ(Erro(kChave, u"41", u"", u"", u"", u"", u"", u"", u""),
            u"Código da UF do emitente do documento fiscal \"41\" difere do informado na composição da chave de "
            u"acesso.\r\r Local na chave de acesso: \" ---> 35 <--- 240511222333000181550010000001231123456785 \" ");
}

TEST(ValidaChaveAcesso, FirstDisagreementInFieldOrder) {
  const struct {
    std::u16string_view Params[8];
    std::u16string_view Rotulo;
  } cases[] = {
      {{u"41", u"2406", u"", u"65", u"", u"", u"", u""}, u"Código da UF"},
      {{u"", u"2406", u"", u"65", u"", u"", u"", u""}, u"Ano e Mês de emissão da NF-e"},
      {{u"", u"", u"11222333000182", u"65", u"", u"", u"", u""}, u"CNPJ do emitente"},
      {{u"", u"", u"", u"65", u"2", u"", u"", u""}, u"Modelo do Documento Fiscal"},
      {{u"", u"", u"", u"", u"2", u"1", u"", u""}, u"Série do Documento Fiscal"},
      {{u"", u"", u"", u"", u"", u"", u"2", u"4"}, u"Forma de emissão da NF-e"},
  };
  for (const auto& c : cases) {
    const auto& p = c.Params;
    const std::u16string msg = Erro(kChave, p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7]);
    EXPECT_TRUE(msg.starts_with(c.Rotulo)) << U16ToUtf8(msg);
  }
}

TEST(ValidaChaveAcesso, Series890To899SkipTheCnpj) {
  // Series 890: issued by a person, not a company.
  const std::u16string chave = u"35240500000000000191558900000001231123456785";
  EXPECT_EQ(Erro(chave, u"", u"", u"11222333000181", u"", u"890", u"", u"", u""), u"");
  EXPECT_TRUE(Erro(chave, u"", u"", u"11222333000181", u"", u" 899 ", u"", u"", u"").starts_with(u"Série"));
  EXPECT_TRUE(Erro(chave, u"", u"", u"11222333000181", u"", u"889", u"", u"", u"").starts_with(u"CNPJ"));
  EXPECT_TRUE(Erro(chave, u"", u"", u"11222333000181", u"", u"900", u"", u"", u"").starts_with(u"CNPJ"));
  EXPECT_TRUE(Erro(chave, u"", u"", u"11222333000181", u"", u"", u"", u"", u"").starts_with(u"CNPJ"));
  EXPECT_TRUE(Erro(chave, u"", u"", u"11222333000181", u"", u"8x0", u"", u"", u"").starts_with(u"CNPJ"));
}

// Keys as the library builds them (strings/check_digits.cpp), checked here.
TEST(ValidaChaveAcesso, AcceptsTheKeysTheLibraryBuilds) {
  EXPECT_NO_THROW(TmRot::ValidaChaveAcesso(kChave, u"35", u"2405", u"11222333000181", u"55", u"1", u"123", u"1", u"5"));
  EXPECT_NO_THROW(
      TmRot::ValidaChaveAcesso(kChave, u"SP", u"2405", u"11222333000181", u"55", u"001", u"000000123", u"1", u"5"));
  for (const char16_t* uf :
       {u"AC", u"AL", u"AM", u"AP", u"BA", u"CE", u"DF", u"ES", u"GO", u"MA", u"MG", u"MS", u"MT", u"PA",
        u"PB", u"PE", u"PI", u"PR", u"RJ", u"RN", u"RO", u"RR", u"RS", u"SC", u"SE", u"SP", u"TO"}) {
    const std::u16string k = TmStr::CalculaChaveEletronica(uf, EncodeDate(2025, 1, 2), u"11222333000181",
                                                           TModeloDocumentoEletronico::mdeNFe, 12, 4567, 1, -1);
    ASSERT_EQ(k.size(), 44u) << U16ToUtf8(uf);
    EXPECT_NO_THROW(
        TmRot::ValidaChaveAcesso(k, uf, u"2501", u"11222333000181", u"55", u"12", u"4567", u"1", k.substr(43)));
  }
}

TEST(ValidaChaveAcesso, RejectsTheShortKeyOfAnUnknownState) {
  const std::u16string chave = TmStr::CalculaChaveEletronica(u"XX", EncodeDate(2024, 5, 10), u"11222333000181",
                                                             TModeloDocumentoEletronico::mdeNFe, 1, 123, 1, 12345678);
  EXPECT_THROW(TmRot::ValidaChaveAcesso(chave, u"", u"", u"", u"", u"", u"", u"", u""), EFiscalError);
}

// Company numbers with letters: the issuer's field compares without case or blanks.
TEST(ValidaChaveAcesso, IssuerWithLetters) {
  // SP, July 2026, CNPJ 12.ABC.345/01DE-35, model 55, series 001, number 123, form 1, code 12345678.
  const std::u16string chave = u"35260712ABC34501DE35550010000001231123456787";
  EXPECT_NO_THROW(TmRot::ValidaChaveAcesso(chave, u"SP", u"2607", u"12ABC34501DE35", u"55", u"1", u"123", u"1", u"7"));
  EXPECT_NO_THROW(
      TmRot::ValidaChaveAcesso(chave, u"SP", u"2607", u" 12abc34501de35 ", u"55", u"1", u"123", u"1", u"7"));
  try {
    TmRot::ValidaChaveAcesso(chave, u"SP", u"2607", u"12ABC34501DF35", u"55", u"1", u"123", u"1", u"7");
    ADD_FAILURE() << "another CNPJ passed";
  } catch (const EFiscalError& e) {
    EXPECT_EQ(e.Message(),
              u"CNPJ do emitente \"12ABC34501DF35\" difere do informado na composição da chave de acesso.\r\r"
              u" Local na chave de acesso: \"352607 ---> 12ABC34501DE35 <--- 550010000001231123456787 \" ");
  }
  // Every other field still compares exactly: a letter is no digit there.
  EXPECT_THROW(TmRot::ValidaChaveAcesso(chave, u"", u"", u"", u"", u"", u"", u"", u"A"), EFiscalError);
}

Currency Reais(double v) { return Currency::FromDouble(v); }

std::u16string Mensagem(const std::function<void()>& f) {
  try {
    f();
  } catch (const EFiscalError& e) {
    return e.Message();
  }
  return {};
}

TEST(GetValorParcela, DifferenceToTheFirstOrTheLast) {
  EXPECT_EQ(TmRot::GetValorParcela(Reais(100), 3, 1, false), Reais(33.34));
  EXPECT_EQ(TmRot::GetValorParcela(Reais(100), 3, 2, false), Reais(33.33));
  EXPECT_EQ(TmRot::GetValorParcela(Reais(100), 3, 3, false), Reais(33.33));
  EXPECT_EQ(TmRot::GetValorParcela(Reais(100), 3, 1, true), Reais(33.33));
  EXPECT_EQ(TmRot::GetValorParcela(Reais(100), 3, 3, true), Reais(33.34));
  EXPECT_EQ(TmRot::GetValorParcela(Reais(0.01), 3, 1, false), Reais(0.01));
  EXPECT_EQ(TmRot::GetValorParcela(Reais(0.01), 3, 2, false), Reais(0));
  EXPECT_EQ(TmRot::GetValorParcela(Reais(0.01), 3, 3, true), Reais(0.01));
  EXPECT_EQ(TmRot::GetValorParcela(Reais(0.29), 1, 1, false), Reais(0.29));  // cut on the decimal text
}

TEST(GetValorParcela, InstalmentsAlwaysAddUpToTheTotal) {
  std::mt19937 gen(42);
  std::uniform_int_distribution<std::int64_t> raw(-10000000000, 10000000000);  // ±1,000,000 with 4 decimals
  std::uniform_int_distribution<int> qtd(1, 48);
  for (int i = 0; i < 2000; ++i) {
    const Currency total = Currency::FromRaw(i % 3 ? raw(gen) / 100 * 100 : raw(gen));
    const int n = qtd(gen);
    for (bool aoFinal : {false, true}) {
      Currency soma;
      for (int k = 1; k <= n; ++k) soma = soma + TmRot::GetValorParcela(total, n, k, aoFinal);
      ASSERT_EQ(soma, total) << total.ToDouble() << " in " << n;
    }
  }
}

TEST(GetValorParcela, Errors) {
  EXPECT_EQ(Mensagem([] { TmRot::GetValorParcela(Reais(100), 0, 1, false); }),
            u"Informe a quantidade de parcelas para calcular o valor de cada uma!");
  EXPECT_EQ(Mensagem([] { TmRot::GetValorParcela(Reais(100), 3, 4, false); }),
            u"Número da parcela 4 inválido!Informe um número maior que 0 e menor que o total de parcelas(3)!");
  EXPECT_EQ(Mensagem([] { TmRot::GetValorParcela(Reais(100), 3, 0, false); }),
            u"Número da parcela 0 inválido!Informe um número maior que 0 e menor que o total de parcelas(3)!");
}

TEST(GetValorRateioItem, SharesAddUpExactly) {
  // 10.00 over items of 50.00, 30.00 and 20.00.
  EXPECT_EQ(TmRot::GetValorRateioItem(Reais(100), Reais(50), Reais(10), Reais(0), false), Reais(5));
  EXPECT_EQ(TmRot::GetValorRateioItem(Reais(100), Reais(30), Reais(10), Reais(5), false), Reais(3));
  EXPECT_EQ(TmRot::GetValorRateioItem(Reais(100), Reais(20), Reais(10), Reais(8), true), Reais(2));
  // 10.00 over three items of 1.00: the last takes what is left.
  EXPECT_EQ(TmRot::GetValorRateioItem(Reais(3), Reais(1), Reais(10), Reais(0), false), Reais(3.33));
  EXPECT_EQ(TmRot::GetValorRateioItem(Reais(3), Reais(1), Reais(10), Reais(3.33), false), Reais(3.33));
  EXPECT_EQ(TmRot::GetValorRateioItem(Reais(3), Reais(1), Reais(10), Reais(6.66), true), Reais(3.34));
  // A last share that already closes the total stays as it is.
  EXPECT_EQ(TmRot::GetValorRateioItem(Reais(100), Reais(50), Reais(10), Reais(5), true), Reais(5));

  std::mt19937 gen(7);
  std::uniform_int_distribution<int> itens(1, 30), centavos(1, 500000);
  for (int i = 0; i < 300; ++i) {
    std::vector<Currency> valores(static_cast<std::size_t>(itens(gen)));
    Currency total;
    for (Currency& v : valores) total = total + (v = Currency::FromRaw(centavos(gen) * 100LL));
    const Currency ratear = Currency::FromRaw(centavos(gen) * 100LL);
    Currency acumulado;
    for (std::size_t k = 0; k < valores.size(); ++k)
      acumulado = acumulado + TmRot::GetValorRateioItem(total, valores[k], ratear, acumulado, k + 1 == valores.size());
    ASSERT_EQ(acumulado, ratear);
  }
}

TEST(GetValorRateioItem, Errors) {
  EXPECT_EQ(Mensagem([] { TmRot::GetValorRateioItem(Reais(0), Reais(1), Reais(10), Reais(0), false); }),
            u"Informe o valor total do documento para poder calcular o rateio!");
  EXPECT_EQ(Mensagem([] { TmRot::GetValorRateioItem(Reais(10), Reais(1), Reais(0), Reais(0), false); }),
            u"Informe o valor total a ser rateado!");
}

TEST(GetListaCNPJBlocoXDezembro, HundredValidDistinctCnpjsInAFixedOrder) {
  TStringList lista;
  lista.Add(u"antes");
  EXPECT_TRUE(TmRot::GetListaCNPJBlocoXDezembro(lista));
  ASSERT_EQ(lista.Count(), 100);
  std::set<std::u16string> distintos;
  for (const std::u16string& cnpj : lista.Items) {
    EXPECT_EQ(cnpj.size(), 14u);
    EXPECT_TRUE(TmStr::IsCPFValido(cnpj)) << U16ToUtf8(cnpj);
    distintos.insert(cnpj);
  }
  EXPECT_EQ(distintos.size(), 100u);
  TStringList outra;
  TmRot::GetListaCNPJBlocoXDezembro(outra);
  EXPECT_EQ(outra.Items, lista.Items);
}

}  // namespace
}  // namespace zelmor
