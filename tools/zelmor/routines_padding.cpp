// Padding, centring and field extraction; the program folder.
#include "mFileUtil.h"
#include "strings/mString.h"
#include "tools/zelmor/registry.h"

namespace zelmor::cli {

ZELMOR_ROUTINES(padding) {
  Register("TmStr.PadLeft", &TmStr::PadLeft, {"Texto", "Tamanho", "PadChar", "abCortarTexto"}, {" ", false});
  Register("TmStr.PadRight",
           static_cast<std::u16string (*)(std::u16string_view, int, char16_t, bool)>(&TmStr::PadRight),
           {"Texto", "Tamanho", "PadChar", "abCortarTexto"}, {" ", false});
  Register("TmStr.PadRightStrFim", &TmStr::PadRightStrFim, {"Texto", "Tamanho", "PadChar", "StrFim"});
  Register("TmStr.PadCenter", &TmStr::PadCenter, {"Texto", "Tamanho", "PadChar"}, {" "});
  Register("TmStr.RealPadLeft", &TmStr::RealPadLeft, {"asTexto", "aiTamanho", "acPadChar", "abCortarTexto"},
           {" ", false});
  Register("TmStr.RealPadRight", &TmStr::RealPadRight, {"asTexto", "aiTamanho", "acPadChar", "abCortarTexto"},
           {" ", false});
  Register("TmStr.CopyRight", &TmStr::CopyRight, {"Texto", "Tamanho"});
  Register("TmStr.Space", &TmStr::Space, {"Qtd"});
  Register("TmStr.RepeteStr", &TmStr::RepeteStr, {"Texto", "Qtd"});
  Register("TmStr.StrZero", &TmStr::StrZero, {"Valor", "Tamanho"});
  Register("TmStr.StrZeroNegativo", &TmStr::StrZeroNegativo, {"Valor", "Tamanho", "RemoveNegativo"});
  Register("TmStr.StrZeroFloat", &TmStr::StrZeroFloat, {"Valor", "Tamanho", "Decimais"});
  Register("TmStr.Separa", &TmStr::Separa, {"Texto", "Separador", "Posicao"});
  Register("TmStr.Ocorre", &TmStr::Ocorre, {"Texto", "SubTexto"});

  Register("TmFile.DirBarra", &TmFile::DirBarra, {"Pasta"});
  Register("TmFile.DirExe", &TmFile::DirExe, {});
}

}  // namespace zelmor::cli
