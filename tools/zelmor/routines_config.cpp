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
#include "forms/memory_window.h"
#include "tools/zelmor/registry.h"

namespace zelmor::cli {
namespace {

using SV = std::u16string_view;
using Str = std::u16string;

// Restores (or saves) the placement of window `Name` with the given bounds on a
// primary monitor of the given size; Restore: 1 Size, 2 Position, 4 WindowState.
void FormPosition(bool save, SV Name, int& Left, int& Top, int& Width, int& Height, int& WindowState, int Restore,
                  int DefTop, int DefLeft, int ScreenWidth, int ScreenHeight, int WorkAreaWidth, int WorkAreaHeight) {
  TMemoryFormWindow w;  // bounds and screen from the arguments; errors become the call's error
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
  w.FColour = clCream;
  TFormPosition fp(&w);
  fp.SetRestore(TRestoreOptions::FromBits(Restore));
  fp.SetDefTop(DefTop);
  fp.SetDefLeft(DefLeft);
  if (save)
    fp.SalvaPadroesForm();
  else
    fp.RestauraPadroesForm();
  if (!w.Errors.empty()) throw EZelmorError(Utf8ToU16(w.Errors.back()));
  Left = w.FLeft;
  Top = w.FTop;
  Width = w.FWidth;
  Height = w.FHeight;
  WindowState = static_cast<int>(w.FState);
}

void RestauraPadroesForm(SV Name, int& Left, int& Top, int& Width, int& Height, int& WindowState, int Restore,
                         int DefTop, int DefLeft, int ScreenWidth, int ScreenHeight, int WorkAreaWidth,
                         int WorkAreaHeight) {
  FormPosition(false, Name, Left, Top, Width, Height, WindowState, Restore, DefTop, DefLeft, ScreenWidth, ScreenHeight,
               WorkAreaWidth, WorkAreaHeight);
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

// TmConfig members on a file: a read, a write (saved with Flush), and the "Config"
// shorthand of each, with the parameter names of the member plus "Arquivo" first.
#define ZELMOR_READ(Name, T)                                                                               \
  Register("TmConfig." #Name,                                                                              \
           +[](SV a, SV s, SV i, T p) { return OnFile(a, [&](TmConfig& c) { return c.Name(s, i, p); }); }, \
           {"Arquivo", "Secao", "Item", "Padrao"})
#define ZELMOR_WRITE(Name, T)                                                                                   \
  Register("TmConfig." #Name, +[](SV a, SV s, SV i, T v) { OnFile(a, [&](TmConfig& c) { c.Name(s, i, v); }); }, \
           {"Arquivo", "Secao", "Item", "Valor"})
#define ZELMOR_READ_CONFIG(Name, T)                                                                                  \
  Register("TmConfig." #Name, +[](SV a, SV i, T p) { return OnFile(a, [&](TmConfig& c) { return c.Name(i, p); }); }, \
           {"Arquivo", "Item", "Padrao"})
#define ZELMOR_WRITE_CONFIG(Name, T)                                                                   \
  Register("TmConfig." #Name, +[](SV a, SV i, T v) { OnFile(a, [&](TmConfig& c) { c.Name(i, v); }); }, \
           {"Arquivo", "Item", "Valor"})

ZELMOR_ROUTINES(config_file) {
  Register("TmConfig.GetFileNameDefault", &TmConfig::GetFileNameDefault, {});
  ZELMOR_READ(ReadString, SV);
  ZELMOR_READ(ReadInteger, int);
  ZELMOR_READ(ReadBool, bool);
  ZELMOR_READ(ReadFloat, double);
  ZELMOR_READ(ReadCurr, Currency);
  ZELMOR_READ(ReadDate, TDateTime);
  ZELMOR_READ(ReadDateTime, TDateTime);
  ZELMOR_READ(ReadTime, TDateTime);
  ZELMOR_WRITE(WriteString, SV);
  ZELMOR_WRITE(WriteInteger, int);
  ZELMOR_WRITE(WriteBool, bool);
  ZELMOR_WRITE(WriteFloat, double);
  ZELMOR_WRITE(WriteCurr, Currency);
  ZELMOR_WRITE(WriteDate, TDateTime);
  ZELMOR_WRITE(WriteDateTime, TDateTime);
  ZELMOR_WRITE(WriteTime, TDateTime);
  ZELMOR_READ_CONFIG(ReadStringConfig, SV);
  ZELMOR_READ_CONFIG(ReadIntegerConfig, int);
  ZELMOR_READ_CONFIG(ReadBoolConfig, bool);
  ZELMOR_READ_CONFIG(ReadFloatConfig, double);
  ZELMOR_READ_CONFIG(ReadCurrConfig, Currency);
  ZELMOR_READ_CONFIG(ReadDateConfig, TDateTime);
  ZELMOR_READ_CONFIG(ReadDateTimeConfig, TDateTime);
  ZELMOR_WRITE_CONFIG(WriteStringConfig, SV);
  ZELMOR_WRITE_CONFIG(WriteIntegerConfig, int);
  ZELMOR_WRITE_CONFIG(WriteBoolConfig, bool);
  ZELMOR_WRITE_CONFIG(WriteFloatConfig, double);
  ZELMOR_WRITE_CONFIG(WriteCurrConfig, Currency);
  ZELMOR_WRITE_CONFIG(WriteDateConfig, TDateTime);
  ZELMOR_WRITE_CONFIG(WriteDateTimeConfig, TDateTime);
  Register("TmConfig.ReadSections",
           +[](SV a, TStringList& Saida) { OnFile(a, [&](TmConfig& c) { c.ReadSections(Saida); }); },
           {"Arquivo", "Saida"});
  Register("TmConfig.ReadSection",
           +[](SV a, SV s, TStringList& Saida) { OnFile(a, [&](TmConfig& c) { c.ReadSection(s, Saida); }); },
           {"Arquivo", "Secao", "Saida"});
  Register("TmConfig.ReadSectionValues",
           +[](SV a, SV s, TStringList& Saida) { OnFile(a, [&](TmConfig& c) { c.ReadSectionValues(s, Saida); }); },
           {"Arquivo", "Secao", "Saida"});
  Register("TmConfig.EraseSection", +[](SV a, SV s) { OnFile(a, [&](TmConfig& c) { c.EraseSection(s); }); },
           {"Arquivo", "Secao"});
  Register("TmConfig.SectionExists",
           +[](SV a, SV s) { return OnFile(a, [&](TmConfig& c) { return c.SectionExists(s); }); },
           {"Arquivo", "Secao"});
  Register("TmConfig.DeleteKey", +[](SV a, SV s, SV i) { OnFile(a, [&](TmConfig& c) { c.DeleteKey(s, i); }); },
           {"Arquivo", "Secao", "Item"});
  Register("TmConfig.SaveCopyTo", +[](SV a, SV n) { OnFile(a, [&](TmConfig& c) { c.SaveCopyTo(n); }); },
           {"Arquivo", "NomeArquivo"});
  Register("TmConfig.TotalLinhas", +[](SV a) { return OnFile(a, [&](TmConfig& c) { return c.TotalLinhas; }); },
           {"Arquivo"});
}
#undef ZELMOR_READ
#undef ZELMOR_WRITE
#undef ZELMOR_READ_CONFIG
#undef ZELMOR_WRITE_CONFIG

// The one-call front-ends: TConfigStatic and TmINI take the same parameters.
#define ZELMOR_STATIC_ROUTINES(Cls, Limpa, LimpaParam)                                                          \
  do {                                                                                                          \
    const std::vector<std::string> read = {"Chave", "Item", "Padrao", "Arquivo"};                               \
    const std::vector<std::string> write = {"Chave", "Item", "Valor", "Arquivo"};                               \
    const std::vector<std::string> readConfig = {"Item", "Padrao", "Arquivo"};                                  \
    const std::vector<std::string> writeConfig = {"Item", "Valor", "Arquivo"};                                  \
    const std::vector<DefaultArg> file = {""};                                                                  \
    Register(#Cls ".Ler", static_cast<Str (*)(SV, SV, SV, SV)>(&Cls::Ler), read, file);                         \
    Register(#Cls ".Ler", static_cast<int (*)(SV, SV, int, SV)>(&Cls::Ler), read, file);                        \
    Register(#Cls ".Ler", static_cast<bool (*)(SV, SV, bool, SV)>(&Cls::Ler), read, file);                      \
    Register(#Cls ".LerFloat", &Cls::LerFloat, read, file);                                                     \
    Register(#Cls ".LerCurr", &Cls::LerCurr, read, file);                                                       \
    Register(#Cls ".LerDate", &Cls::LerDate, read, file);                                                       \
    Register(#Cls ".LerDateTime", &Cls::LerDateTime, read, file);                                               \
    Register(#Cls ".LerConfig", static_cast<Str (*)(SV, SV, SV)>(&Cls::LerConfig), readConfig, file);           \
    Register(#Cls ".LerConfig", static_cast<int (*)(SV, int, SV)>(&Cls::LerConfig), readConfig, file);          \
    Register(#Cls ".LerConfig", static_cast<bool (*)(SV, bool, SV)>(&Cls::LerConfig), readConfig, file);        \
    Register(#Cls ".LerFloatConfig", &Cls::LerFloatConfig, readConfig, file);                                   \
    Register(#Cls ".LerCurrConfig", &Cls::LerCurrConfig, readConfig, file);                                     \
    Register(#Cls ".LerDateConfig", &Cls::LerDateConfig, readConfig, file);                                     \
    Register(#Cls ".LerDateTimeConfig", &Cls::LerDateTimeConfig, readConfig, file);                             \
    Register(#Cls ".Gravar", static_cast<void (*)(SV, SV, SV, SV)>(&Cls::Gravar), write, file);                 \
    Register(#Cls ".Gravar", static_cast<void (*)(SV, SV, int, SV)>(&Cls::Gravar), write, file);                \
    Register(#Cls ".Gravar", static_cast<void (*)(SV, SV, bool, SV)>(&Cls::Gravar), write, file);               \
    Register(#Cls ".GravarFloat", &Cls::GravarFloat, write, file);                                              \
    Register(#Cls ".GravarCurr", &Cls::GravarCurr, write, file);                                                \
    Register(#Cls ".GravarDate", &Cls::GravarDate, write, file);                                                \
    Register(#Cls ".GravarDateTime", &Cls::GravarDateTime, write, file);                                        \
    Register(#Cls ".GravarConfig", static_cast<void (*)(SV, SV, SV)>(&Cls::GravarConfig), writeConfig, file);   \
    Register(#Cls ".GravarConfig", static_cast<void (*)(SV, int, SV)>(&Cls::GravarConfig), writeConfig, file);  \
    Register(#Cls ".GravarConfig", static_cast<void (*)(SV, bool, SV)>(&Cls::GravarConfig), writeConfig, file); \
    Register(#Cls ".GravarFloatConfig", &Cls::GravarFloatConfig, writeConfig, file);                            \
    Register(#Cls ".GravarCurrConfig", &Cls::GravarCurrConfig, writeConfig, file);                              \
    Register(#Cls ".GravarDateConfig", &Cls::GravarDateConfig, writeConfig, file);                              \
    Register(#Cls ".LerSecoes", &Cls::LerSecoes, {"Saida", "Arquivo"}, file);                                   \
    Register(#Cls ".LerSecao", &Cls::LerSecao, {"Saida", "Secao", "Arquivo"}, file);                            \
    Register(#Cls ".LerSecaoValues", &Cls::LerSecaoValues, {"Saida", "Secao", "Arquivo"}, file);                \
    Register(#Cls "." #Limpa, &Cls::Limpa, {LimpaParam, "Arquivo"}, file);                                      \
    Register(#Cls ".Excluir", &Cls::Excluir, {"Chave", "Item", "Arquivo"}, file);                               \
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
