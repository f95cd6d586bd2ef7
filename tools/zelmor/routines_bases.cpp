// Number bases, compact text and scrambling.
#include "strings/mString.h"
#include "tools/zelmor/registry.h"

namespace zelmor::cli {

ZELMOR_ROUTINES(bases) {
  Register("TmStr.HexaToDecimal", &TmStr::HexaToDecimal, {"HexaStr"});
  Register("TmStr.DecimalToHex", &TmStr::DecimalToHex, {"Decimal"});
  Register("TmStr.DecToBin", &TmStr::DecToBin, {"N"});
  Register("TmStr.Heximiza", &TmStr::Heximiza, {"Palavra"});
  Register("TmStr.DesHeximiza", &TmStr::DesHeximiza, {"Palavra"});
  Register("TmStr.ComprimeString", &TmStr::ComprimeString, {"Original"});
  Register("TmStr.DescomprimeString", &TmStr::DescomprimeString, {"Original"});
  Register("TmStr.Criptografa", &TmStr::Criptografa, {"Palavra", "Chave"});
  Register("TmStr.Encrip", &TmStr::Encrip, {"Texto", "Chave"});
  Register("TmStr.Decrip", &TmStr::Decrip, {"Texto", "Chave"});
  Register("TmStr.CriptoNumero", &TmStr::CriptoNumero, {"Valor"});
  Register("TmStr.DescriptoNumero", &TmStr::DescriptoNumero, {"Valor"});
}

}  // namespace zelmor::cli
