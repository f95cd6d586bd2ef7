// People's and companies' names and addresses: title case with Portuguese
// connecting words, abbreviation to a printed width with the standard table, and
// the e-mail check that explains its findings.
#include <algorithm>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/surrogates.h"
#include "core/text.h"
#include "core/text_kit.h"
#include "strings/mString.h"
#include "xml/mXML.h"

namespace zelmor {

namespace {

// ---- Capitaliza ----

bool IsConnectingWord(std::u16string_view word) {
  static constexpr std::u16string_view kWords[] = {u"DE", u"DA",  u"DAS", u"DO", u"DOS", u"NA", u"NAS",
                                                   u"NO", u"NOS", u"A",   u"E",  u"O",   u"EM", u"COM"};
  if (word.size() > 3) return false;
  std::u16string upper(word);
  for (char16_t& c : upper) c = AsciiUpper(c);
  return std::find(std::begin(kWords), std::end(kWords), upper) != std::end(kWords);
}

// ---- AbreviarNome ----

struct Abreviatura {
  std::u16string_view Palavra, Abrev;
};

// In order: the first pair of a word wins. The pairs of two words never equal a
// single word; they count through their abbreviations.
constexpr Abreviatura kAbreviaturas[] = {
    {u"INDÚSTRIA", u"IND."},
    {u"INDUSTRIA", u"IND."},
    {u"INDUSTRIAL", u"INDL."},
    {u"COMÉRCIO", u"COM."},
    {u"COMERCIO", u"COM."},
    {u"COMERCIAL", u"COML."},
    {u"LIMITADA", u"LTDA."},
    {u"SOCIEDADE ANÔNIMA", u"S.A."},
    {u"SOCIEDADE ANONIMA", u"S.A."},
    {u"ACADEMIA", u"ACAD."},
    {u"ILUSTRÍSSIMO", u"ILMO."},
    {u"ILUSTRISSIMO", u"ILMO."},
    {u"AGRICULTURA", u"AGRIC."},
    {u"IMPORTAÇÃO", u"IMP."},
    {u"IMPORTACÃO", u"IMP."},
    {u"IMPORTAÇAO", u"IMP."},
    {u"IMPORTACAO", u"IMP."},
    {u"AGROPECUÁRIA", u"AGROPEC."},
    {u"AGROPECUARIA", u"AGROPEC."},
    {u"IMPORTADORA", u"IMPORT."},
    {u"ALAMEDA", u"AL."},
    {u"ALIMENTOS", u"ALIM."},
    {u"JARDIM", u"JD."},
    {u"ALMIRANTE", u"ALM."},
    {u"LABORATÓRIO", u"LAB."},
    {u"LABORATORIO", u"LAB."},
    {u"ASSOCIAÇÃO", u"ASSOC."},
    {u"ASSOCIACÃO", u"ASSOC."},
    {u"ASSOCIAÇAO", u"ASSOC."},
    {u"ASSOCIACAO", u"ASSOC."},
    {u"LARGO", u"LG."},
    {u"AVENIDA", u"AV."},
    {u"MAJOR", u"MAJ."},
    {u"BECO", u"B."},
    {u"MARECHAL", u"MAL."},
    {u"BISPO", u"BPO."},
    {u"MARINHA", u"MAR."},
    {u"BRIGADEIRO", u"BRIG."},
    {u"MÉDICO", u"MED."},
    {u"MEDICO", u"MED."},
    {u"CALÇADA", u"CAL."},
    {u"CALCADA", u"CAL."},
    {u"MERCADO", u"MERC."},
    {u"MERCEARIA", u"MERC."},
    {u"CAPITÃO", u"CAP."},
    {u"CAPITAO", u"CAP."},
    {u"NOSSA SENHORA", u"N.SA."},
    {u"COMANDANTE", u"COM."},
    {u"NOSSO SENHOR", u"N.S."},
    {u"COMBUSTÍVEL", u"COMB."},
    {u"COMBUSTIVEL", u"COMB."},
    {u"ORGANIZAÇÃO", u"ORG."},
    {u"ORGANIZAÇAO", u"ORG."},
    {u"ORGANIZACÃO", u"ORG."},
    {u"ORGANIZACAO", u"ORG."},
    {u"PADARIA", u"PAD."},
    {u"PADRE", u"PE."},
    {u"COMPANHIA", u"CIA."},
    {u"PARADA", u"PDA."},
    {u"CONFECÇÃO", u"CONFEC."},
    {u"CONFECCÃO", u"CONFEC."},
    {u"CONFECÇAO", u"CONFEC."},
    {u"CONFECCAO", u"CONFEC."},
    {u"PARQUE", u"PQ."},
    {u"CONFEITARIA", u"CONF."},
    {u"PRAÇA", u"PÇ."},
    {u"PRACA", u"PÇ."},
    {u"CONSELHEIRO", u"CONS."},
    {u"PRAIA", u"PR."},
    {u"CORONEL", u"COR."},
    {u"PREFEITO", u"PREF."},
    {u"DEPARTAMENTO", u"DEP."},
    {u"PROCURADOR", u"PROC."},
    {u"DESEMBARGADOR", u"DES."},
    {u"PROFESSOR", u"PROF."},
    {u"PROFESSORA", u"PROFA."},
    {u"DISTRITO", u"DIST."},
    {u"REPRESENTAÇÃO", u"REPR."},
    {u"REPRESENTACÃO", u"REPR."},
    {u"REPRESENTAÇAO", u"REPR."},
    {u"REPRESENTACAO", u"REPR."},
    {u"DOUTOR", u"DR."},
    {u"DOUTORA", u"DRA."},
    {u"RETORNO", u"RTN."},
    {u"ECONOMIA", u"ECON."},
    {u"RODOVIA", u"ROD."},
    {u"ELETRICIDADE", u"ELETR."},
    {u"RUA", u"R."},
    {u"EMPRESA", u"EMP."},
    {u"SANTA", u"STA."},
    {u"SANTO", u"STO."},
    {u"SÃO", u"S."},
    {u"SAO", u"S."},
    {u"ENGENHARIA", u"ENG."},
    {u"SARGENTO", u"SARG."},
    {u"ENGENHEIRO", u"ENGO."},
    {u"SECRETÁRIO", u"SEC."},
    {u"SECRETARIO", u"SEC."},
    {u"ESTRADA", u"EST."},
    {u"SENADOR", u"SEN."},
    {u"EXPORTAÇÃO", u"EXP."},
    {u"EXPORTACÃO", u"EXP."},
    {u"EXPORTAÇAO", u"EXP."},
    {u"EXPORTACAO", u"EXP."},
    {u"SOCIEDADE", u"SOC."},
    {u"EXPORTADORA", u"EXPORT."},
    {u"SOCIEDADE ANÔNIMA", u"S.A."},
    {u"SOCIEDADE ANONIMA", u"S.A."},
    {u"FÁBRICA", u"FAB."},
    {u"FABRICA", u"FAB."},
    {u"TENENTE", u"TEN."},
    {u"FARMÁCIA", u"FARM."},
    {u"FARMACIA", u"FARM."},
    {u"TRANSPORTE", u"TRANSP."},
    {u"FEDERAL", u"FED."},
    {u"TRAVESSA", u"TV."},
    {u"FRANCISCO", u"FRANCO."},
    {u"TREVO", u"TRV."},
    {u"FUNDAÇÃO", u"FUND."},
    {u"FUNDACÃO", u"FUND."},
    {u"FUNDAÇAO", u"FUND."},
    {u"FUNDACAO", u"FUND."},
    {u"UNIVERSIDADE", u"UNIV."},
    {u"GALERIA", u"GAL."},
    {u"VEREADOR", u"VER."},
    {u"GARAGE", u"GAR."},
    {u"VETERINÁRIO", u"VET."},
    {u"VETERINARIO", u"VET."},
    {u"GENERAL", u"GEN."},
    {u"VIA", u"V."},
    {u"GOVERNO", u"GOV."},
    {u"VIADUTO", u"VD."},
    {u"HOSPITAL", u"HOSP."},
    {u"VISCONDE", u"VDE."},
};
static_assert(std::size(kAbreviaturas) == 134);

struct Tabela {
  std::unordered_map<std::u16string_view, std::u16string_view> PorPalavra;
  std::unordered_set<std::u16string_view> Abreviaturas;
  Tabela() {
    for (const Abreviatura& a : kAbreviaturas) {
      PorPalavra.emplace(a.Palavra, a.Abrev);  // keeps the first pair of a word
      Abreviaturas.insert(a.Abrev);
    }
  }
};

const Tabela& TabelaAbreviaturas() {
  static const Tabela t;
  return t;
}

// The words of a name kept with the length the width rule measures: ". " counts as
// one character, so an abbreviation followed by a word costs no space.
class Palavras {
 public:
  explicit Palavras(std::u16string_view texto) : FPalavras(TmStr::Split(texto, u' ')) {
    for (std::size_t i = 0; i < FPalavras.size(); ++i) FMedida += Custo(i);
  }
  std::size_t Count() const { return FPalavras.size(); }
  const std::u16string& operator[](std::size_t i) const { return FPalavras[i]; }
  bool Cabe(int max) const { return static_cast<std::int64_t>(FMedida) <= max; }
  void Troca(std::size_t i, std::u16string nova) {
    FMedida -= Custo(i);
    FPalavras[i] = std::move(nova);
    FMedida += Custo(i);
  }
  std::u16string Texto() const {
    std::u16string r;
    for (std::size_t i = 0; i < FPalavras.size(); ++i) {
      if (i > 0) r += u' ';
      r += FPalavras[i];
    }
    return r;
  }

 private:
  // Word i with the space after it, which a '.' at its end swallows.
  std::size_t Custo(std::size_t i) const {
    const std::u16string& p = FPalavras[i];
    const bool espaco = i + 1 < FPalavras.size();
    return p.size() + (espaco && !(!p.empty() && p.back() == u'.') ? 1 : 0);
  }
  TzelArrayString FPalavras;
  std::size_t FMedida = 0;
};

std::u16string Acabamento(std::u16string s) {
  s = TmStr::Replace(s, u" IND ", u" IND. ");
  s = TmStr::Replace(s, u" INDL ", u" INDL. ");
  s = TmStr::Replace(s, u" COM ", u" COM. ");
  s = TmStr::Replace(s, u" COML ", u" COML. ");
  return TmStr::Replace(s, u". ", u".");
}

// ---- IsEmailValido ----

bool CaracterDeEmail(char16_t c) {
  return c == u'-' || c == u'.' || c == u'@' || c == u'_' || textkit::IsDigit(c) || textkit::IsAsciiLetter(c);
}

}  // namespace

std::u16string TmStr::Capitaliza(std::u16string_view S) {
  std::u16string r;
  r.reserve(S.size());
  std::size_t start = 0;
  for (std::size_t i = 0; i <= S.size(); ++i) {
    if (i < S.size() && S[i] != u' ') continue;
    const std::u16string_view word = S.substr(start, i - start);
    std::u16string w = LowerCase(word);
    if (!IsConnectingWord(word)) w = UpperFirst(w);
    if (const std::size_t dot = w.find(u'.'); dot != std::u16string::npos && dot + 1 < w.size())
      w[dot + 1] = AsciiUpper(w[dot + 1]);
    r += w;
    if (i < S.size()) r += u' ';
    start = i + 1;
  }
  return r;
}

std::u16string TmStr::AbreviarNome(std::u16string_view asNome, int aiMax) {
  std::u16string nome = TmXMLLeitura::pfConvertSpecialEntities(RemoveEspacosDuplos(textkit::Trim(UpperCase(asNome))));
  const Tabela& tabela = TabelaAbreviaturas();
  auto feito = [&](const Palavras& p) { return p.Cabe(aiMax); };

  Palavras palavras(nome);
  if (!feito(palavras)) {
    // The standard abbreviations, from the first word on, until the name fits.
    for (std::size_t i = 0; i < palavras.Count() && !feito(palavras); ++i) {
      if (palavras[i].size() <= 2) continue;
      if (auto it = tabela.PorPalavra.find(palavras[i]); it != tabela.PorPalavra.end())
        palavras.Troca(i, std::u16string(it->second));
    }
    // Then the words after the first cut to their initials. Numbers stay whole: "1."
    // for a house number would print a wrong address.
    for (std::size_t i = 1; i < palavras.Count() && !feito(palavras); ++i) {
      const std::u16string& w = palavras[i];
      if (w.size() <= 2) continue;
      std::u16string_view semVirgula(w);
      if (semVirgula.back() == u',') semVirgula.remove_suffix(1);
      if (tabela.Abreviaturas.contains(w) || tabela.Abreviaturas.contains(semVirgula)) continue;
      if (std::any_of(w.begin(), w.end(), textkit::IsDigit)) continue;
      palavras.Troca(i, std::u16string(1, w[0]) + u".");
    }
    nome = palavras.Texto();
    if (!feito(palavras) && nome.size() > static_cast<std::size_t>(std::max(aiMax, 0))) {
      nome.resize(static_cast<std::size_t>(std::max(aiMax, 0)));
      if (!nome.empty() && IsHighSurrogate(nome.back())) nome.pop_back();  // half a character
    }
  }
  return Acabamento(std::move(nome));
}

bool TmStr::IsEmailValido(std::u16string_view asEmail, std::u16string& osMsgErro) {
  osMsgErro.clear();
  auto problema = [&osMsgErro](std::u16string_view m) { Concatena(osMsgErro, m, u"\r"); };
  const auto arrobas = std::count(asEmail.begin(), asEmail.end(), u'@');
  if (arrobas > 1) problema(u"Só pode haver um @ (arroba) no email.");
  if (arrobas == 0) problema(u"Sem o @ (arroba) o email fica incompleto.");
  if (asEmail.empty()) return false;

  if (asEmail.front() == u'@' || asEmail.back() == u'@')
    problema(u"O email não pode começar nem terminar com @ (arroba).");
  const std::size_t arroba = asEmail.find(u'@');
  const std::u16string_view dominio = arroba == std::u16string_view::npos ? asEmail : asEmail.substr(arroba);
  if (dominio.find(u'.') == std::u16string_view::npos)
    problema(
        u"Verifique se o domínio foi informado corretamente (após o @). Para estar correto, ele precisa ter pelo "
        u"menos um ponto.");
  if (asEmail.front() == u'.' || asEmail.back() == u'.') problema(u"O email não pode começar nem terminar com ponto.");
  if (asEmail.find(u"..") != std::u16string_view::npos || asEmail.find(u"@.") != std::u16string_view::npos ||
      asEmail.find(u".@") != std::u16string_view::npos)
    problema(u"Não pode haver dois pontos consecutivos, nem ponto imediatamente antes ou depois do @ (arroba).");

  // One line per offending character (a surrogate pair is one character), in order of
  // first appearance.
  std::vector<std::u16string> vistos;
  for (std::size_t i = 0; i < asEmail.size(); ++i) {
    if (CaracterDeEmail(asEmail[i])) continue;
    const std::size_t n = SurrogatePairAt(asEmail, i) ? 2 : 1;
    std::u16string c(asEmail.substr(i, n));
    i += n - 1;
    if (std::find(vistos.begin(), vistos.end(), c) != vistos.end()) continue;
    problema(u"O caracter '" + c + u"' é inválido em emails.");
    vistos.push_back(std::move(c));
  }
  return osMsgErro.empty();
}

}  // namespace zelmor
