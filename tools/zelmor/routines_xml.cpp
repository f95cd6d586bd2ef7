// The XML reader. TmXMLLeitura is an object holding one document; its readings are
// offered here on a document text passed in the call (the object's own forms on a
// text), and TmXMLLeitura.XML loads a file the way the object does.
#include "tools/zelmor/registry.h"
#include "xml/mXML.h"

namespace zelmor::cli {

namespace {

using SV = std::u16string_view;
using X = TmXMLLeitura;
using Path = const TzelArrayString&;

std::u16string LoadedText(SV asArquivo) { return X(asArquivo).XML(); }

}  // namespace

ZELMOR_ROUTINES(xml) {
  Register("TmXMLLeitura.XML", &LoadedText, {"asArquivo"});
  Register("TmXMLLeitura.Elemento", static_cast<bool (*)(SV, SV, int&, std::u16string&, bool)>(&X::Elemento),
           {"asXML", "asChave", "aiPosInicial", "asResult", "abManterTag"}, {false});
  Register("TmXMLLeitura.Elemento", static_cast<bool (*)(SV, SV, std::u16string&, bool)>(&X::Elemento),
           {"asXML", "asChave", "asResult", "abManterTag"}, {false});
  Register("TmXMLLeitura.Elemento", static_cast<bool (*)(SV, Path, std::u16string&, bool)>(&X::Elemento),
           {"asXML", "aaChaves", "asResult", "abManterTag"}, {false});
  Register("TmXMLLeitura.ElementoLista", static_cast<bool (*)(SV, SV, TzelArrayString&, bool)>(&X::Elemento),
           {"asXML", "asChave", "aaResult", "abManterTag"}, {false});
  Register("TmXMLLeitura.ElementoStr", static_cast<std::u16string (*)(SV, Path, SV, bool)>(&X::ElementoStr),
           {"asXML", "aaChaves", "asDefault", "abManterTag"}, {"", false});
  Register("TmXMLLeitura.ElementoInt", static_cast<int (*)(SV, Path, int)>(&X::ElementoInt),
           {"asXML", "aaChaves", "aiDefault"}, {0});
  Register("TmXMLLeitura.ElementoFloat", static_cast<double (*)(SV, Path, double)>(&X::ElementoFloat),
           {"asXML", "aaChaves", "avDefault"}, {0.0});
  Register("TmXMLLeitura.ElementoCurr", static_cast<Currency (*)(SV, Path, Currency)>(&X::ElementoCurr),
           {"asXML", "aaChaves", "avDefault"}, {0.0});
  Register("TmXMLLeitura.ElementoDt", static_cast<TDateTime (*)(SV, Path, TDateTime)>(&X::ElementoDt),
           {"asXML", "aaChaves", "adDefault"}, {0.0});
  Register("TmXMLLeitura.Atributo", static_cast<bool (*)(SV, SV, SV, std::u16string&)>(&X::Atributo),
           {"asXML", "asChave", "asAttr", "asResult"});
  Register("TmXMLLeitura.AtributoStr", static_cast<std::u16string (*)(SV, SV, SV, SV)>(&X::AtributoStr),
           {"asXML", "asChave", "asAttr", "asDefault"}, {""});
  Register("TmXMLLeitura.AtributoDt", static_cast<TDateTime (*)(SV, SV, SV, TDateTime)>(&X::AtributoDt),
           {"asXML", "asChave", "asAttr", "ahDefault"}, {0.0});
  Register("TmXMLLeitura.pfConvertSpecialEntities", &X::pfConvertSpecialEntities, {"asValor"});
  Register("TmXMLLeitura.pfTagValida", &X::pfTagValida, {"asTag"});
}

}  // namespace zelmor::cli
