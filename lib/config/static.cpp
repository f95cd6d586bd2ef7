// TConfigStatic: one TmConfig per call.
#include "config/mConfigStaticUnit.h"

namespace zelmor {
namespace {

constexpr std::u16string_view kConfig = u"Config";

std::u16string FileOf(std::u16string_view Arquivo) {
  return Arquivo.empty() ? TmConfig::GetFileNameDefault() : std::u16string(Arquivo);
}

// Opens, runs `f` on the configuration, releases it (which saves a change).
template <class F>
auto With(std::u16string_view Arquivo, F&& f) {
  TmConfig config(FileOf(Arquivo), true);
  return f(config);
}

}  // namespace

using SV = std::u16string_view;

std::u16string TConfigStatic::Ler(SV Chave, SV Item, SV Padrao, SV Arquivo) {
  return With(Arquivo, [&](TmConfig& c) { return c.ReadString(Chave, Item, Padrao); });
}
std::u16string TConfigStatic::Ler(SV Chave, SV Item, const char16_t* Padrao, SV Arquivo) {
  return Ler(Chave, Item, SV(Padrao ? Padrao : u""), Arquivo);
}
int TConfigStatic::Ler(SV Chave, SV Item, int Padrao, SV Arquivo) {
  return With(Arquivo, [&](TmConfig& c) { return c.ReadInteger(Chave, Item, Padrao); });
}
bool TConfigStatic::Ler(SV Chave, SV Item, bool Padrao, SV Arquivo) {
  return With(Arquivo, [&](TmConfig& c) { return c.ReadBool(Chave, Item, Padrao); });
}
double TConfigStatic::LerFloat(SV Chave, SV Item, double Padrao, SV Arquivo) {
  return With(Arquivo, [&](TmConfig& c) { return c.ReadFloat(Chave, Item, Padrao); });
}
Currency TConfigStatic::LerCurr(SV Chave, SV Item, Currency Padrao, SV Arquivo) {
  return With(Arquivo, [&](TmConfig& c) { return c.ReadCurr(Chave, Item, Padrao); });
}
TDateTime TConfigStatic::LerDate(SV Chave, SV Item, TDateTime Padrao, SV Arquivo) {
  return With(Arquivo, [&](TmConfig& c) { return c.ReadDate(Chave, Item, Padrao); });
}
TDateTime TConfigStatic::LerDateTime(SV Chave, SV Item, TDateTime Padrao, SV Arquivo) {
  return With(Arquivo, [&](TmConfig& c) { return c.ReadDateTime(Chave, Item, Padrao); });
}

std::u16string TConfigStatic::LerConfig(SV Item, SV Padrao, SV Arquivo) { return Ler(kConfig, Item, Padrao, Arquivo); }
std::u16string TConfigStatic::LerConfig(SV Item, const char16_t* Padrao, SV Arquivo) {
  return Ler(kConfig, Item, Padrao, Arquivo);
}
int TConfigStatic::LerConfig(SV Item, int Padrao, SV Arquivo) { return Ler(kConfig, Item, Padrao, Arquivo); }
bool TConfigStatic::LerConfig(SV Item, bool Padrao, SV Arquivo) { return Ler(kConfig, Item, Padrao, Arquivo); }
double TConfigStatic::LerFloatConfig(SV Item, double Padrao, SV Arquivo) {
  return LerFloat(kConfig, Item, Padrao, Arquivo);
}
Currency TConfigStatic::LerCurrConfig(SV Item, Currency Padrao, SV Arquivo) {
  return LerCurr(kConfig, Item, Padrao, Arquivo);
}
TDateTime TConfigStatic::LerDateConfig(SV Item, TDateTime Padrao, SV Arquivo) {
  return LerDate(kConfig, Item, Padrao, Arquivo);
}
TDateTime TConfigStatic::LerDateTimeConfig(SV Item, TDateTime Padrao, SV Arquivo) {
  return LerDateTime(kConfig, Item, Padrao, Arquivo);
}

void TConfigStatic::Gravar(SV Chave, SV Item, SV Valor, SV Arquivo) {
  With(Arquivo, [&](TmConfig& c) { c.WriteString(Chave, Item, Valor); });
}
void TConfigStatic::Gravar(SV Chave, SV Item, const char16_t* Valor, SV Arquivo) {
  Gravar(Chave, Item, SV(Valor ? Valor : u""), Arquivo);
}
void TConfigStatic::Gravar(SV Chave, SV Item, int Valor, SV Arquivo) {
  With(Arquivo, [&](TmConfig& c) { c.WriteInteger(Chave, Item, Valor); });
}
void TConfigStatic::Gravar(SV Chave, SV Item, bool Valor, SV Arquivo) {
  With(Arquivo, [&](TmConfig& c) { c.WriteBool(Chave, Item, Valor); });
}
void TConfigStatic::GravarFloat(SV Chave, SV Item, double Valor, SV Arquivo) {
  With(Arquivo, [&](TmConfig& c) { c.WriteFloat(Chave, Item, Valor); });
}
void TConfigStatic::GravarCurr(SV Chave, SV Item, Currency Valor, SV Arquivo) {
  With(Arquivo, [&](TmConfig& c) { c.WriteCurr(Chave, Item, Valor); });
}
void TConfigStatic::GravarDate(SV Chave, SV Item, TDateTime Valor, SV Arquivo) {
  With(Arquivo, [&](TmConfig& c) { c.WriteDate(Chave, Item, Valor); });
}
void TConfigStatic::GravarDateTime(SV Chave, SV Item, TDateTime Valor, SV Arquivo) {
  With(Arquivo, [&](TmConfig& c) { c.WriteDateTime(Chave, Item, Valor); });
}

void TConfigStatic::GravarConfig(SV Item, SV Valor, SV Arquivo) { Gravar(kConfig, Item, Valor, Arquivo); }
void TConfigStatic::GravarConfig(SV Item, const char16_t* Valor, SV Arquivo) { Gravar(kConfig, Item, Valor, Arquivo); }
void TConfigStatic::GravarConfig(SV Item, int Valor, SV Arquivo) { Gravar(kConfig, Item, Valor, Arquivo); }
void TConfigStatic::GravarConfig(SV Item, bool Valor, SV Arquivo) { Gravar(kConfig, Item, Valor, Arquivo); }
void TConfigStatic::GravarFloatConfig(SV Item, double Valor, SV Arquivo) { GravarFloat(kConfig, Item, Valor, Arquivo); }
void TConfigStatic::GravarCurrConfig(SV Item, Currency Valor, SV Arquivo) { GravarCurr(kConfig, Item, Valor, Arquivo); }
void TConfigStatic::GravarDateConfig(SV Item, TDateTime Valor, SV Arquivo) {
  GravarDate(kConfig, Item, Valor, Arquivo);
}

void TConfigStatic::LerSecoes(TStringList& Saida, SV Arquivo) {
  With(Arquivo, [&](TmConfig& c) { c.ReadSections(Saida); });
}
void TConfigStatic::LerSecao(TStringList& Saida, SV Secao, SV Arquivo) {
  With(Arquivo, [&](TmConfig& c) { c.ReadSection(Secao, Saida); });
}
void TConfigStatic::LerSecaoValues(TStringList& Saida, SV Secao, SV Arquivo) {
  With(Arquivo, [&](TmConfig& c) { c.ReadSectionValues(Secao, Saida); });
}
void TConfigStatic::LimparSecao(SV Secao, SV Arquivo) {
  With(Arquivo, [&](TmConfig& c) { c.EraseSection(Secao); });
}
void TConfigStatic::Excluir(SV Chave, SV Item, SV Arquivo) {
  With(Arquivo, [&](TmConfig& c) { c.DeleteKey(Chave, Item); });
}

}  // namespace zelmor
