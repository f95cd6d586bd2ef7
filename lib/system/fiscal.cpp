// The access-key check against its data, instalments and apportionment.
#include <array>

#include "core/text.h"
#include "core/text_kit.h"
#include "datetime/mConvert.h"
#include "strings/check_digit_math.h"
#include "strings/mString.h"
#include "system/federative_units.h"
#include "system/system.h"

namespace zelmor {
namespace {

using textkit::Trim;

struct KeyField {
  std::size_t Start;  // 0-based
  std::size_t Width;
  std::u16string_view Label;
};

// In the order they are checked.
constexpr std::array<KeyField, 8> kCampos{{
    {0, 2, u"Código da UF do emitente do documento fiscal \""},
    {2, 4, u"Ano e Mês de emissão da NF-e \""},
    {6, 14, u"CNPJ do emitente \""},
    {20, 2, u"Modelo do Documento Fiscal \""},
    {22, 3, u"Série do Documento Fiscal \""},
    {25, 9, u"Número do Documento Fiscal \""},
    {34, 1, u"Forma de emissão da NF-e \""},
    {43, 1, u"Dígito verificador da chave de acesso \""},
}};

// A field agrees with a parameter zero-filled on either side to the field's width.
bool Agrees(std::u16string_view campo, std::u16string_view valor) {
  const int w = static_cast<int>(campo.size());
  return campo == TmStr::PadRight(valor, w, u'0', true) || campo == TmStr::PadLeft(valor, w, u'0', true);
}

std::u16string Capitais(std::u16string_view s) {
  std::u16string r(s);
  for (char16_t& c : r) c = checkdigit::Capital(c);
  return r;
}

}  // namespace

void TmRot::ValidaChaveAcesso(std::u16string_view asChaveAcesso, std::u16string_view asUF, std::u16string_view asAAMM,
                              std::u16string_view asCNPJ, std::u16string_view asMod, std::u16string_view asSerie,
                              std::u16string_view asNrNF, std::u16string_view asTpEmis, std::u16string_view asDV) {
  if (Trim(asChaveAcesso).empty()) return;
  if (asChaveAcesso.size() != 44)
    throw EFiscalError(u"Chave de acesso deve ter o tamanho de " + IntToStr(44) + u" caracteres.");

  // A unit given by its abbreviation is compared by its numeric code.
  std::u16string uf(Trim(asUF));
  if (const std::int32_t ibge = TmUF::IBGE(uf)) uf = IntToStr(ibge);

  const int serie = TmConv::ToInt(Trim(asSerie), 0);
  const bool checaCNPJ = serie < 890 || serie > 899;  // series 890–899 are issued without the CNPJ

  const std::array<std::u16string_view, 8> informados{asUF, asAAMM, asCNPJ, asMod, asSerie, asNrNF, asTpEmis, asDV};
  for (std::size_t i = 0; i < kCampos.size(); ++i) {
    if (i == 2 && !checaCNPJ) continue;
    const std::u16string_view valor = i == 0 ? std::u16string_view(uf) : Trim(informados[i]);
    if (valor.empty()) continue;
    const KeyField& f = kCampos[i];
    const std::u16string_view campo = asChaveAcesso.substr(f.Start, f.Width);
    // The issuer's CNPJ may have letters, in either case: compared as capitals.
    if (i == 2 ? Agrees(Capitais(campo), Capitais(valor)) : Agrees(campo, valor)) continue;
    std::u16string msg(f.Label);
    msg += informados[i];
    msg += u"\" difere do informado na composição da chave de acesso.\r\r Local na chave de acesso: \"";
    msg += asChaveAcesso.substr(0, f.Start);
    msg += u" ---> ";
    msg += campo;
    msg += u" <--- ";
    msg += asChaveAcesso.substr(f.Start + f.Width);
    msg += u" \" ";
    throw EFiscalError(msg);
  }
}

Currency TmRot::GetValorParcela(Currency adValorTotal, int aiQtdParcelas, int aiNrParcela, bool abAdicionarDifAoFinal) {
  if (aiQtdParcelas < 1) throw EFiscalError(u"Informe a quantidade de parcelas para calcular o valor de cada uma!");
  if (aiNrParcela < 1 || aiNrParcela > aiQtdParcelas)
    throw EFiscalError(u"Número da parcela " + IntToStr(aiNrParcela) + u" inválido!" +
                       u"Informe um número maior que 0 e menor que o total de parcelas(" + IntToStr(aiQtdParcelas) +
                       u")!");
  const Currency base = Currency::FromDouble(TmConv::Trunca(adValorTotal.ToDouble() / aiQtdParcelas, 2));
  // Exact: what the cut left over goes to one instalment, so they add up to the total.
  const Currency diferenca = adValorTotal - Currency::FromRaw(base.Raw * aiQtdParcelas);
  const int recebe = abAdicionarDifAoFinal ? aiQtdParcelas : 1;
  return aiNrParcela == recebe ? base + diferenca : base;
}

Currency TmRot::GetValorRateioItem(Currency adValorTotal, Currency adValorTotalItem, Currency adValorTotalRatear,
                                   Currency adTotalAcumuladoRateiro, bool abIsUtilmoItem) {
  if (adValorTotal.Raw == 0) throw EFiscalError(u"Informe o valor total do documento para poder calcular o rateio!");
  if (adValorTotalRatear.Raw == 0) throw EFiscalError(u"Informe o valor total a ser rateado!");
  const double percentual = adValorTotalItem.ToDouble() * 100 / adValorTotal.ToDouble();
  Currency parte = Currency::FromDouble(TmConv::Trunca(adValorTotalRatear.ToDouble() * percentual / 100, 2));
  // The last item closes the total exactly.
  if (abIsUtilmoItem && parte + adTotalAcumuladoRateiro != adValorTotalRatear)
    parte = adValorTotalRatear - adTotalAcumuladoRateiro;
  return parte;
}

bool TmRot::GetListaCNPJBlocoXDezembro(TStringList& aoLista) {
  // The program carries no published list: its 100 entries are company numbers made
  // here, each with its branch 0001 and correct check digits, always in the same order.
  aoLista.Clear();
  for (int i = 1; i <= 100; ++i) {
    const std::u16string raiz = TmStr::PadRight(IntToStr(10000000 + i * 876543 % 89999999), 8, u'0', true);
    const std::u16string base = raiz + u"0001";
    aoLista.Add(base + TmStr::CalculaDigitoCnpjCpf(base));
  }
  return true;
}

}  // namespace zelmor
