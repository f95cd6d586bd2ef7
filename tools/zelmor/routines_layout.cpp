// Text wrapping, justification and columns.
#include "platform/text_metrics.h"
#include "strings/mString.h"
#include "tools/zelmor/json_values.h"
#include "tools/zelmor/registry.h"

namespace zelmor::cli {

namespace {

// The drawing surface of a call: a fixed-pitch one whose character width, line height
// and screen width the caller may give ({} takes the installed measurer).
struct Canvas {
  bool Installed = true;
  int CharWidth = 8, LineHeight = 16, ScreenWidth = 1920;
};

TmStr::TStringInfo GetStringInfo(std::u16string_view asText, const Canvas& aoCanvas, int aiMaxLineWidth) {
  if (aoCanvas.Installed)
    return TmStr::GetStringInfo(asText, platform::Service<platform::TextMetrics>::Get(), aiMaxLineWidth);
  const platform::FixedPitchTextMetrics m(aoCanvas.CharWidth, aoCanvas.LineHeight, aoCanvas.ScreenWidth);
  return TmStr::GetStringInfo(asText, m, aiMaxLineWidth);
}

}  // namespace

// {"CharWidth":…, "LineHeight":…, "ScreenWidth":…}, each optional.
template <>
struct ArgTypeOf<Canvas> {
  static constexpr ArgType Value = ArgType::Record;
};
template <>
struct JsonOf<Canvas> {
  static Canvas From(const Json& v) {
    Canvas c;
    if (!v.is_object() || v.empty()) return c;
    c.Installed = false;
    c.CharWidth = JsonOf<int>::From(v.value("CharWidth", Json(c.CharWidth)));
    c.LineHeight = JsonOf<int>::From(v.value("LineHeight", Json(c.LineHeight)));
    c.ScreenWidth = JsonOf<int>::From(v.value("ScreenWidth", Json(c.ScreenWidth)));
    return c;
  }
  static Json To(const Canvas& c) {
    if (c.Installed) return Json::object();
    return Json{{"CharWidth", c.CharWidth}, {"LineHeight", c.LineHeight}, {"ScreenWidth", c.ScreenWidth}};
  }
};
// {"LineCount":…, "MaxLineWidth":…, "TextHeight":…, "ScreenText":…}
template <>
struct ArgTypeOf<TmStr::TStringInfo> {
  static constexpr ArgType Value = ArgType::Record;
};
template <>
struct JsonOf<TmStr::TStringInfo> {
  static Json To(const TmStr::TStringInfo& v) {
    Json j = Json::object();
    j["LineCount"] = v.LineCount;
    j["MaxLineWidth"] = v.MaxLineWidth;
    j["TextHeight"] = v.TextHeight;
    j["ScreenText"] = JsonOf<std::u16string>::To(v.ScreenText);
    return j;
  }
};

ZELMOR_ROUTINES(layout) {
  Register("TmStr.QuebraTexto", &TmStr::QuebraTexto, {"asTexto", "aiMaxLength", "asLista"});
  Register("TmStr.JustificarMonoEspacado", &TmStr::JustificarMonoEspacado, {"asLinha", "aiQtCaracteres"});
  Register("TmStr.FormataParagrafo", &TmStr::FormataParagrafo,
           {"asLinha", "aiMaxCaracteresLinha", "aiCaracteresIdentacao", "abJustificado"}, {0, false});
  Register("TmStr.FormatarParagrafo", &TmStr::FormatarParagrafo, {"Saida", "Linha", "TamLinha", "Justificar"}, {false});
  Register("TmStr.FormataColunas", &TmStr::FormataColunas,
           {"Original", "Resultado", "Linhas", "Colunas", "TamCol", "AjustarColunas", "LinhaEntreBlocos"},
           {false, false});
  Register("TmStr.GetStringInfo", &GetStringInfo, {"asText", "aoCanvas", "aiMaxLineWidth"}, {Json::object(), 0},
           "aoCanvas: {} for the installed measurer, or a fixed-pitch surface "
           "{\"CharWidth\":8,\"LineHeight\":16,\"ScreenWidth\":1920}");
}

}  // namespace zelmor::cli
