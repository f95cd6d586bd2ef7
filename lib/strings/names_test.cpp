#include <gtest/gtest.h>

#include <random>

#include "core/text.h"
#include "mLib.h"

namespace zelmor {
namespace {

TEST(CapitalizaTest, TitleCaseWithConnectingWordsInLowerCase) {
  const struct {
    std::u16string nome, esperado;
  } cases[] = {
      {u"JOÃO DA SILVA", u"João da Silva"},
      {u"maria  e  josé", u"Maria  e  José"},  // the spacing is kept
      {u"de souza", u"de Souza"},              // the first word too
      {u"ANTÔNIO DOS SANTOS COM ÉRICA EM CASA", u"Antônio dos Santos com Érica em Casa"},
      {u"j.silva", u"J.Silva"},
      {u"a.b.c", u"A.B.c"},  // only after the first '.'
      {u"sr. joão", u"Sr. João"},
      {u"o.k.", u"O.K."},
      {u"e", u"e"},
      {u"E", u"e"},
      {u"maria-clara d'ávila", u"Maria-clara D'ávila"},
      {u" ana ", u" Ana "},
      {u"", u""},
      // Any script, by Unicode's case mapping, not only Latin-1.
      {u"жук ЖУК", u"Жук Жук"},
      {u"ÿves škoda", u"Ÿves Škoda"},
      {u"ΣΩΚΡΑΤΗΣ", u"Σωκρατης"},
      {u"ǆemal", u"ǅemal"},                                // a digraph starts in title case
      {u"\U00010428\U00010429", u"\U00010400\U00010429"},  // Deseret, outside the 16-bit range
  };
  for (const auto& c : cases) EXPECT_EQ(TmStr::Capitaliza(c.nome), c.esperado) << U16ToUtf8(c.nome);
}

TEST(AbreviarNomeTest, AbbreviationsThenInitialsThenTheCut) {
  const struct {
    std::u16string nome;
    int max;
    std::u16string esperado;
  } cases[] = {
      {u"Comércio de Alimentos Santa Luzia Ltda", 30, u"COM.DE ALIM.SANTA LUZIA LTDA"},
      {u"Padaria S. José", 40, u"PADARIA S.JOSÉ"},  // fits: only ". " becomes "."
      {u"  Padaria   Pão  de Mel ", 40, u"PADARIA PÃO DE MEL"},
      {u"Maria Aparecida Fernandes Oliveira", 20, u"MARIA A.F.OLIVEIRA"},  // initials from the second word
      {u"Rua Quinze de Novembro 1500", 14, u"R.Q.DE N.1500"},              // the house number stays whole
      {u"Indústria Ltda., Filial Centro", 20, u"IND.LTDA., F.CENTRO"},     // an abbreviation with a comma stays
      {u"Comércio de Alimentos Santa Luzia Ltda", 5, u"COM."},             // cut, then the dots
      {u"Pão &amp; Cia &lt;Matriz&gt;", 40, u"PÃO & CIA <MATRIZ>"},        // entities decoded
      {u"Café com Leite", 40, u"CAFÉ COM.LEITE"},                          // " COM " is taken for Comércio
      {u"Praça da Sé", 8, u"PÇ.DA SÉ"},
      {u"Sociedade Anônima", 10, u"SOC.A."},  // the two-word pairs never match whole
      {u"Qualquer Nome", 0, u""},
      {u"Qualquer Nome", -3, u""},
      {u"", 10, u""},
      {u"škoda ÿves жук", 40, u"ŠKODA ŸVES ЖУК"},
  };
  for (const auto& c : cases) EXPECT_EQ(TmStr::AbreviarNome(c.nome, c.max), c.esperado) << U16ToUtf8(c.nome);
}

TEST(AbreviarNomeTest, NeverWiderThanAsked) {
  std::mt19937 gen(5);
  const std::u16string_view palavras[] = {u"Comércio", u"de",    u"Indústria", u"Avenida",    u"São", u"João",
                                          u"1500",     u"Ltda.", u"Ltda.,",    u"Brigadeiro", u"X",   u"Ç"};
  for (int i = 0; i < 2000; ++i) {
    std::u16string nome;
    for (int n = std::uniform_int_distribution<int>(0, 8)(gen); n > 0; --n)
      nome += std::u16string(palavras[gen() % std::size(palavras)]) + (gen() % 5 ? u" " : u"  ");
    const int max = std::uniform_int_distribution<int>(-1, 40)(gen);
    const std::u16string r = TmStr::AbreviarNome(nome, max);
    EXPECT_LE(static_cast<int>(r.size()), std::max(max, 0)) << U16ToUtf8(nome) << " / " << max;
    EXPECT_EQ(r.find(u". "), std::u16string::npos);
    EXPECT_EQ(r, UpperCase(r));
  }
}

TEST(IsEmailValidoTest, EveryProblemExplained) {
  const std::u16string semArroba = u"Sem o @ (arroba) o email fica incompleto.";
  const std::u16string duasArrobas = u"Só pode haver um @ (arroba) no email.";
  const std::u16string pontas = u"O email não pode começar nem terminar com @ (arroba).";
  const std::u16string dominio =
      u"Verifique se o domínio foi informado corretamente (após o @). Para estar correto, ele precisa ter pelo menos "
      u"um ponto.";
  const std::u16string pontoPontas = u"O email não pode começar nem terminar com ponto.";
  const std::u16string pontos =
      u"Não pode haver dois pontos consecutivos, nem ponto imediatamente antes ou depois do @ (arroba).";
  auto invalido = [](std::u16string c) { return u"O caracter '" + c + u"' é inválido em emails."; };
  const struct {
    std::u16string email;
    std::vector<std::u16string> mensagens;
  } cases[] = {
      {u"fulano@empresa.com.br", {}},
      {u"A.b_c-9@x.com", {}},
      {u"a@b@c.com", {duasArrobas}},
      {u"fulano.empresa.com", {semArroba}},
      {u"", {semArroba}},
      {u"@x.com", {pontas}},
      {u"fulano@", {pontas, dominio}},
      {u"fulano@empresa", {dominio}},
      {u".a@x.com", {pontoPontas}},
      {u"a@x.com.", {pontoPontas}},
      {u"a..b@x.com", {pontos}},
      {u"a@.x.com", {pontos}},
      {u"a.@x..com", {pontos}},  // once
      {u"a b@x.com", {invalido(u" ")}},
      {u"jo ão  silva@x.com", {invalido(u" "), invalido(u"ã")}},  // once per character, in order
      {u"a\U0001F600@x.com", {invalido(u"\U0001F600")}},
      {u"@fulano@empresa", {duasArrobas, pontas, dominio}},
      {u".x y.", {semArroba, pontoPontas, invalido(u" ")}},
  };
  for (const auto& c : cases) {
    std::u16string msg = u"anterior";
    const bool ok = TmStr::IsEmailValido(c.email, msg);
    std::u16string esperado;
    for (const auto& m : c.mensagens) esperado += (esperado.empty() ? u"" : u"\r") + m;
    EXPECT_EQ(ok, c.mensagens.empty()) << U16ToUtf8(c.email);
    EXPECT_EQ(msg, esperado) << U16ToUtf8(c.email);
  }
}

}  // namespace
}  // namespace zelmor
