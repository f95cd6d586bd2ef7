// Configuration files, the one-call front-ends, the registry front-end and the
// window position component.
//
// TmConfig is an object: its members are offered here on a file, each call
// loading it, doing the one operation and, for a change, saving it with Flush (so
// a failed save is reported): TmConfig.WriteString(Arquivo, Secao, Item, Valor).
#include "config/mConfigStaticUnit.h"
#include "config/mConfigUnit.h"
#include "config/mIniReg.h"
#include "core/errors.h"
#include "core/text.h"
#include "forms/FormPosition.h"
#include "tools/zelmor/registry.h"

namespace zelmor::cli {
namespace {

using SV = std::u16string_view;
using Str = std::u16string;

// The window of a `zelmor call`: bounds and screen given as arguments, errors
// collected to be reported as the call's error.
class CallWindow final : public TFormWindow {
 public:
  std::u16string Name() const override { return FName; }
  int Left() const override { return FLeft; }
  int Top() const override { return FTop; }
  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  void SetLeft(int v) override { FLeft = v; }
  void SetTop(int v) override { FTop = v; }
  void SetWidth(int v) override { FWidth = v; }
  void SetHeight(int v) override { FHeight = v; }
  TWindowState WindowState() const override { return FState; }
  void SetWindowState(TWindowState v) override { FState = v; }
  bool HandleAllocated() const override { return true; }
  bool TransparentColor() const override { return false; }
  void SetTransparentColor(bool) override {}
  TColor TransparentColorValue() const override { return clCream; }
  void SetTransparentColorValue(TColor) override {}
  int ScreenWidth() const override { return FScreenWidth; }
  int ScreenHeight() const override { return FScreenHeight; }
  int WorkAreaWidth() const override { return FWorkWidth; }
  int WorkAreaHeight() const override { return FWorkHeight; }
  void HandleException(const std::exception& e) override { FError = e.what(); }

  std::u16string FName;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  TWindowState FState = TWindowState::wsNormal;
  int FScreenWidth = 0, FScreenHeight = 0, FWorkWidth = 0, FWorkHeight = 0;
  std::string FError;
};

// Restores (or saves) the placement of window `Name` with the given bounds on a
// primary monitor of the given size; Restore: 1 Size, 2 Position, 4 WindowState.
void FormPosition(bool save, SV Name, int& Left, int& Top, int& Width, int& Height, int& WindowState, int Restore,
                  int DefTop, int DefLeft, int ScreenWidth, int ScreenHeight, int WorkAreaWidth, int WorkAreaHeight) {
  CallWindow w;
  w.FName = Name;
  w.FLeft = Left;
  w.FTop = Top;
  w.FWidth = Width;
  w.FHeight = Height;
  w.FState = static_cast<TWindowState>(WindowState);
  w.FScreenWidth = ScreenWidth;
  w.FScreenHeight = ScreenHeight;
  w.FWorkWidth = WorkAreaWidth;
  w.FWorkHeight = WorkAreaHeight;
  TFormPosition fp(&w);
  fp.SetRestore(TRestoreOptions::FromBits(Restore));
  fp.SetDefTop(DefTop);
  fp.SetDefLeft(DefLeft);
  if (save)
    fp.SalvaPadroesForm();
  else
    fp.RestauraPadroesForm();
  if (!w.FError.empty()) throw EZelmorError(Utf8ToU16(w.FError));
  Left = w.FLeft;
  Top = w.FTop;
  Width = w.FWidth;
  Height = w.FHeight;
  WindowState = static_cast<int>(w.FState);
}

void RestauraPadroesForm(SV Name, int& Left, int& Top, int& Width, int& Height, int& WindowState, int Restore,
                         int DefTop, int DefLeft, int ScreenWidth, int ScreenHeight, int WorkAreaWidth,
                         int WorkAreaHeight) {
  FormPosition(false, Name, Left, Top, Width, Height, WindowState, Restore, DefTop, DefLeft, ScreenWidth,
               ScreenHeight, WorkAreaWidth, WorkAreaHeight);
}

void SalvaPadroesForm(SV Name, int Left, int Top, int Width, int Height, int WindowState, int Restore) {
  FormPosition(true, Name, Left, Top, Width, Height, WindowState, Restore, 0, 0, 0, 0, 0, 0);
}

// One TmConfig member on a file.
template <class F>
auto OnFile(SV Arquivo, F&& f) {
  TmConfig c(Arquivo, true);
  if constexpr (std::is_void_v<decltype(f(c))>) {
    f(c);
    c.Flush();
  } else {
    return f(c);
  }
}

}  // namespace

ZELMOR_ROUTINES(config_file) {
  const std::vector<std::string> read = {"Arquivo", "Secao", "Item", "Padrao"};
  const std::vector<std::string> write = {"Arquivo", "Secao", "Item", "Valor"};
  Register("TmConfig.GetFileNameDefault", &TmConfig::GetFileNameDefault, {});
  Register("TmConfig.ReadString", +[](SV a, SV s, SV i, SV p) { return OnFile(a, [&](TmConfig& c) { return c.ReadString(s, i, p); }); }, read);
  Register("TmConfig.ReadInteger", +[](SV a, SV s, SV i, int p) { return OnFile(a, [&](TmConfig& c) { return c.ReadInteger(s, i, p); }); }, read);
  Register("TmConfig.ReadBool", +[](SV a, SV s, SV i, bool p) { return OnFile(a, [&](TmConfig& c) { return c.ReadBool(s, i, p); }); }, read);
  Register("TmConfig.ReadFloat", +[](SV a, SV s, SV i, double p) { return OnFile(a, [&](TmConfig& c) { return c.ReadFloat(s, i, p); }); }, read);
  Register("TmConfig.ReadCurr", +[](SV a, SV s, SV i, Currency p) { return OnFile(a, [&](TmConfig& c) { return c.ReadCurr(s, i, p); }); }, read);
  Register("TmConfig.ReadDate", +[](SV a, SV s, SV i, TDateTime p) { return OnFile(a, [&](TmConfig& c) { return c.ReadDate(s, i, p); }); }, read);
  Register("TmConfig.ReadDateTime", +[](SV a, SV s, SV i, TDateTime p) { return OnFile(a, [&](TmConfig& c) { return c.ReadDateTime(s, i, p); }); }, read);
  Register("TmConfig.ReadTime", +[](SV a, SV s, SV i, TDateTime p) { return OnFile(a, [&](TmConfig& c) { return c.ReadTime(s, i, p); }); }, read);
  Register("TmConfig.WriteString", +[](SV a, SV s, SV i, SV v) { OnFile(a, [&](TmConfig& c) { c.WriteString(s, i, v); }); }, write);
  Register("TmConfig.WriteInteger", +[](SV a, SV s, SV i, int v) { OnFile(a, [&](TmConfig& c) { c.WriteInteger(s, i, v); }); }, write);
  Register("TmConfig.WriteBool", +[](SV a, SV s, SV i, bool v) { OnFile(a, [&](TmConfig& c) { c.WriteBool(s, i, v); }); }, write);
  Register("TmConfig.WriteFloat", +[](SV a, SV s, SV i, double v) { OnFile(a, [&](TmConfig& c) { c.WriteFloat(s, i, v); }); }, write);
  Register("TmConfig.WriteCurr", +[](SV a, SV s, SV i, Currency v) { OnFile(a, [&](TmConfig& c) { c.WriteCurr(s, i, v); }); }, write);
  Register("TmConfig.WriteDate", +[](SV a, SV s, SV i, TDateTime v) { OnFile(a, [&](TmConfig& c) { c.WriteDate(s, i, v); }); }, write);
  Register("TmConfig.WriteDateTime", +[](SV a, SV s, SV i, TDateTime v) { OnFile(a, [&](TmConfig& c) { c.WriteDateTime(s, i, v); }); }, write);
  Register("TmConfig.WriteTime", +[](SV a, SV s, SV i, TDateTime v) { OnFile(a, [&](TmConfig& c) { c.WriteTime(s, i, v); }); }, write);
  const std::vector<std::string> readConfig = {"Arquivo", "Item", "Padrao"};
  const std::vector<std::string> writeConfig = {"Arquivo", "Item", "Valor"};
  Register("TmConfig.ReadStringConfig", +[](SV a, SV i, SV p) { return OnFile(a, [&](TmConfig& c) { return c.ReadStringConfig(i, p); }); }, readConfig);
  Register("TmConfig.ReadIntegerConfig", +[](SV a, SV i, int p) { return OnFile(a, [&](TmConfig& c) { return c.ReadIntegerConfig(i, p); }); }, readConfig);
  Register("TmConfig.ReadBoolConfig", +[](SV a, SV i, bool p) { return OnFile(a, [&](TmConfig& c) { return c.ReadBoolConfig(i, p); }); }, readConfig);
  Register("TmConfig.ReadFloatConfig", +[](SV a, SV i, double p) { return OnFile(a, [&](TmConfig& c) { return c.ReadFloatConfig(i, p); }); }, readConfig);
  Register("TmConfig.ReadCurrConfig", +[](SV a, SV i, Currency p) { return OnFile(a, [&](TmConfig& c) { return c.ReadCurrConfig(i, p); }); }, readConfig);
  Register("TmConfig.ReadDateConfig", +[](SV a, SV i, TDateTime p) { return OnFile(a, [&](TmConfig& c) { return c.ReadDateConfig(i, p); }); }, readConfig);
  Register("TmConfig.ReadDateTimeConfig", +[](SV a, SV i, TDateTime p) { return OnFile(a, [&](TmConfig& c) { return c.ReadDateTimeConfig(i, p); }); }, readConfig);
  Register("TmConfig.WriteStringConfig", +[](SV a, SV i, SV v) { OnFile(a, [&](TmConfig& c) { c.WriteStringConfig(i, v); }); }, writeConfig);
  Register("TmConfig.WriteIntegerConfig", +[](SV a, SV i, int v) { OnFile(a, [&](TmConfig& c) { c.WriteIntegerConfig(i, v); }); }, writeConfig);
  Register("TmConfig.WriteBoolConfig", +[](SV a, SV i, bool v) { OnFile(a, [&](TmConfig& c) { c.WriteBoolConfig(i, v); }); }, writeConfig);
  Register("TmConfig.WriteFloatConfig", +[](SV a, SV i, double v) { OnFile(a, [&](TmConfig& c) { c.WriteFloatConfig(i, v); }); }, writeConfig);
  Register("TmConfig.WriteCurrConfig", +[](SV a, SV i, Currency v) { OnFile(a, [&](TmConfig& c) { c.WriteCurrConfig(i, v); }); }, writeConfig);
  Register("TmConfig.WriteDateConfig", +[](SV a, SV i, TDateTime v) { OnFile(a, [&](TmConfig& c) { c.WriteDateConfig(i, v); }); }, writeConfig);
  Register("TmConfig.WriteDateTimeConfig", +[](SV a, SV i, TDateTime v) { OnFile(a, [&](TmConfig& c) { c.WriteDateTimeConfig(i, v); }); }, writeConfig);
  Register("TmConfig.ReadSections", +[](SV a, TStringList& Saida) { OnFile(a, [&](TmConfig& c) { c.ReadSections(Saida); }); }, {"Arquivo", "Saida"});
  Register("TmConfig.ReadSection", +[](SV a, SV s, TStringList& Saida) { OnFile(a, [&](TmConfig& c) { c.ReadSection(s, Saida); }); }, {"Arquivo", "Secao", "Saida"});
  Register("TmConfig.ReadSectionValues", +[](SV a, SV s, TStringList& Saida) { OnFile(a, [&](TmConfig& c) { c.ReadSectionValues(s, Saida); }); }, {"Arquivo", "Secao", "Saida"});
  Register("TmConfig.EraseSection", +[](SV a, SV s) { OnFile(a, [&](TmConfig& c) { c.EraseSection(s); }); }, {"Arquivo", "Secao"});
  Register("TmConfig.SectionExists", +[](SV a, SV s) { return OnFile(a, [&](TmConfig& c) { return c.SectionExists(s); }); }, {"Arquivo", "Secao"});
  Register("TmConfig.DeleteKey", +[](SV a, SV s, SV i) { OnFile(a, [&](TmConfig& c) { c.DeleteKey(s, i); }); }, {"Arquivo", "Secao", "Item"});
  Register("TmConfig.SaveCopyTo", +[](SV a, SV n) { OnFile(a, [&](TmConfig& c) { c.SaveCopyTo(n); }); }, {"Arquivo", "NomeArquivo"});
  Register("TmConfig.TotalLinhas", +[](SV a) { return OnFile(a, [&](TmConfig& c) { return c.TotalLinhas; }); }, {"Arquivo"});
}

// The one-call front-ends: TConfigStatic and TmINI take the same parameters.
#define ZELMOR_STATIC_ROUTINES(Cls, Limpa, LimpaParam)                                                                   \
  do {                                                                                                                  \
    const std::vector<std::string> read = {"Chave", "Item", "Padrao", "Arquivo"};                                       \
    const std::vector<std::string> write = {"Chave", "Item", "Valor", "Arquivo"};                                       \
    const std::vector<std::string> readConfig = {"Item", "Padrao", "Arquivo"};                                          \
    const std::vector<std::string> writeConfig = {"Item", "Valor", "Arquivo"};                                          \
    const std::vector<Json> file = {""};                                                                                \
    Register(#Cls ".Ler", static_cast<Str (*)(SV, SV, SV, SV)>(&Cls::Ler), read, file);                                 \
    Register(#Cls ".Ler", static_cast<int (*)(SV, SV, int, SV)>(&Cls::Ler), read, file);                                \
    Register(#Cls ".Ler", static_cast<bool (*)(SV, SV, bool, SV)>(&Cls::Ler), read, file);                              \
    Register(#Cls ".LerFloat", &Cls::LerFloat, read, file);                                                             \
    Register(#Cls ".LerCurr", &Cls::LerCurr, read, file);                                                               \
    Register(#Cls ".LerDate", &Cls::LerDate, read, file);                                                               \
    Register(#Cls ".LerDateTime", &Cls::LerDateTime, read, file);                                                       \
    Register(#Cls ".LerConfig", static_cast<Str (*)(SV, SV, SV)>(&Cls::LerConfig), readConfig, file);                   \
    Register(#Cls ".LerConfig", static_cast<int (*)(SV, int, SV)>(&Cls::LerConfig), readConfig, file);                  \
    Register(#Cls ".LerConfig", static_cast<bool (*)(SV, bool, SV)>(&Cls::LerConfig), readConfig, file);                \
    Register(#Cls ".LerFloatConfig", &Cls::LerFloatConfig, readConfig, file);                                           \
    Register(#Cls ".LerCurrConfig", &Cls::LerCurrConfig, readConfig, file);                                             \
    Register(#Cls ".LerDateConfig", &Cls::LerDateConfig, readConfig, file);                                             \
    Register(#Cls ".LerDateTimeConfig", &Cls::LerDateTimeConfig, readConfig, file);                                     \
    Register(#Cls ".Gravar", static_cast<void (*)(SV, SV, SV, SV)>(&Cls::Gravar), write, file);                         \
    Register(#Cls ".Gravar", static_cast<void (*)(SV, SV, int, SV)>(&Cls::Gravar), write, file);                        \
    Register(#Cls ".Gravar", static_cast<void (*)(SV, SV, bool, SV)>(&Cls::Gravar), write, file);                       \
    Register(#Cls ".GravarFloat", &Cls::GravarFloat, write, file);                                                      \
    Register(#Cls ".GravarCurr", &Cls::GravarCurr, write, file);                                                        \
    Register(#Cls ".GravarDate", &Cls::GravarDate, write, file);                                                        \
    Register(#Cls ".GravarDateTime", &Cls::GravarDateTime, write, file);                                                \
    Register(#Cls ".GravarConfig", static_cast<void (*)(SV, SV, SV)>(&Cls::GravarConfig), writeConfig, file);           \
    Register(#Cls ".GravarConfig", static_cast<void (*)(SV, int, SV)>(&Cls::GravarConfig), writeConfig, file);          \
    Register(#Cls ".GravarConfig", static_cast<void (*)(SV, bool, SV)>(&Cls::GravarConfig), writeConfig, file);         \
    Register(#Cls ".GravarFloatConfig", &Cls::GravarFloatConfig, writeConfig, file);                                    \
    Register(#Cls ".GravarCurrConfig", &Cls::GravarCurrConfig, writeConfig, file);                                      \
    Register(#Cls ".GravarDateConfig", &Cls::GravarDateConfig, writeConfig, file);                                      \
    Register(#Cls ".LerSecoes", &Cls::LerSecoes, {"Saida", "Arquivo"}, file);                                           \
    Register(#Cls ".LerSecao", &Cls::LerSecao, {"Saida", "Secao", "Arquivo"}, file);                                    \
    Register(#Cls ".LerSecaoValues", &Cls::LerSecaoValues, {"Saida", "Secao", "Arquivo"}, file);                        \
    Register(#Cls "." #Limpa, &Cls::Limpa, {LimpaParam, "Arquivo"}, file);                                              \
    Register(#Cls ".Excluir", &Cls::Excluir, {"Chave", "Item", "Arquivo"}, file);                                       \
  } while (0)

ZELMOR_ROUTINES(config_static) {
  ZELMOR_STATIC_ROUTINES(TConfigStatic, LimparSecao, "Secao");
  ZELMOR_STATIC_ROUTINES(TmINI, Limpa, "Chave");
  Register("TmINI.LerInt", &TmINI::LerInt, {"Chave", "Item", "Padrao", "Arquivo"}, {""});
}
#undef ZELMOR_STATIC_ROUTINES

ZELMOR_ROUTINES(registry_settings) {
  const std::vector<std::string> read = {"Path", "Variavel", "ValorDefault"};
  const std::vector<std::string> write = {"Path", "Variavel", "Valor"};
  Register("TmReg.Ler", static_cast<Str (*)(SV, SV, SV)>(&TmReg::Ler), read);
  Register("TmReg.Ler", static_cast<int (*)(SV, SV, int)>(&TmReg::Ler), read);
  Register("TmReg.Ler", static_cast<double (*)(SV, SV, double)>(&TmReg::Ler), read);
  Register("TmReg.Ler", static_cast<bool (*)(SV, SV, bool)>(&TmReg::Ler), read);
  Register("TmReg.Gravar", static_cast<void (*)(SV, SV, SV)>(&TmReg::Gravar), write);
  Register("TmReg.Gravar", static_cast<void (*)(SV, SV, int)>(&TmReg::Gravar), write);
  Register("TmReg.Gravar", static_cast<void (*)(SV, SV, double)>(&TmReg::Gravar), write);
  Register("TmReg.Gravar", static_cast<void (*)(SV, SV, bool)>(&TmReg::Gravar), write);
  Register("TmReg.Excluir", &TmReg::Excluir, {"Path", "Variavel"});
  Register("TmReg.SetPadraoBrasil", &TmReg::SetPadraoBrasil, {});
}

ZELMOR_ROUTINES(form_position) {
  Register("TFormPosition.RestauraPadroesForm", &RestauraPadroesForm,
           {"Name", "Left", "Top", "Width", "Height", "WindowState", "Restore", "DefTop", "DefLeft", "ScreenWidth",
            "ScreenHeight", "WorkAreaWidth", "WorkAreaHeight"},
           {3, 0, 0, 1920, 1080, 1920, 1040},
           "restore: the window's bounds in, the restored ones out (Restore: 1 Size, 2 Position, 4 WindowState)");
  Register("TFormPosition.SalvaPadroesForm", &SalvaPadroesForm,
           {"Name", "Left", "Top", "Width", "Height", "WindowState", "Restore"}, {0, 3});
  Register("FormPosition.SetFormPositionFolder", &SetFormPositionFolder, {"Folder"});
  Register("FormPosition.FormPositionFolder", &FormPositionFolder, {});
  Register("FormPosition.ClearFormPositionSettings", &ClearFormPositionSettings, {});
}

}  // namespace zelmor::cli
