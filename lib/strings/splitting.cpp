// Taking a text apart at a separator (into lists, arrays, CSV fields, runs and
// separators) and copying the text between two markers. Every routine walks the
// text once: fields are the runs between separators, exactly as Separa and
// Ocorre count them.
#include "core/text.h"
#include "core/text_kit.h"
#include "parsing/conversions.h"
#include "strings/list_error.h"
#include "strings/mString.h"

namespace zelmor {

namespace {

// Calls `field(view)` for each field of `s` split at `sep`; an empty text is one
// empty field.
template <class F>
void ForEachField(std::u16string_view s, char16_t sep, F field) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] != sep) continue;
    field(s.substr(start, i - start));
    start = i + 1;
  }
  field(s.substr(start));
}

std::size_t FieldCount(std::u16string_view s, char16_t sep) {
  std::size_t n = 1;
  for (char16_t c : s) n += c == sep;
  return n;
}

}  // namespace

void TmStr::Split(std::u16string_view Texto, char16_t Separador, TStringList& MatrizSaida, bool IgnorarStringVazias,
                  bool LimpaMatrizSaida) {
  if (LimpaMatrizSaida) MatrizSaida.Clear();
  MatrizSaida.Items.reserve(MatrizSaida.Items.size() + FieldCount(Texto, Separador));
  ForEachField(Texto, Separador, [&](std::u16string_view f) {
    if (IgnorarStringVazias && textkit::Trim(f).empty()) return;
    MatrizSaida.Add(f);
  });
}

TzelArrayString TmStr::Split(std::u16string_view asTexto, char16_t asSeparador) {
  TzelArrayString out;
  out.reserve(FieldCount(asTexto, asSeparador));
  ForEachField(asTexto, asSeparador, [&out](std::u16string_view f) { out.emplace_back(f); });
  return out;
}

TzelArrayInteger TmStr::SplitInt(std::u16string_view asTexto, char16_t asSeparador) {
  TzelArrayInteger out;
  out.reserve(FieldCount(asTexto, asSeparador));
  ForEachField(asTexto, asSeparador, [&out](std::u16string_view f) {
    if (f.empty()) return;
    int v = 0;
    out.push_back(TryStrToInt(f, v) ? v : 0);
  });
  return out;
}

void TmStr::SplitCSV(TStringList& asMatrizSaida, std::u16string_view asTexto, char16_t asSeparador,
                     bool abLimpaMatrizSaida) {
  if (abLimpaMatrizSaida) asMatrizSaida.Clear();
  std::u16string field;
  bool quoted = false;
  for (char16_t c : asTexto) {
    if (c == u'"') {
      quoted = !quoted;
    } else if (c == asSeparador && !quoted) {
      asMatrizSaida.Add(field);
      field.clear();
    } else {
      field.push_back(c);
    }
  }
  if (!field.empty()) asMatrizSaida.Add(field);
}

void TmStr::SplitB(std::u16string_view asText, char16_t asSplitToken, TStringList& aoOut) {
  aoOut.Clear();
  std::size_t start = 0;
  for (std::size_t i = 0; i < asText.size(); ++i) {
    if (asText[i] != asSplitToken) continue;
    if (i > start) aoOut.Add(asText.substr(start, i - start));
    aoOut.Add(asText.substr(i, 1));
    start = i + 1;
  }
  if (start < asText.size()) aoOut.Add(asText.substr(start));
}

std::u16string TmStr::SplitInQuotedStr(std::u16string_view asTexto, char16_t asSeparador) {
  // A field counts as already quoted only with an opening and a closing quote:
  // a lone "'" would otherwise leave the list unbalanced.
  auto quoted = [](std::u16string_view f) { return f.size() >= 2 && f.front() == u'\'' && f.back() == u'\''; };
  std::size_t size = 0;
  ForEachField(asTexto, asSeparador,
               [&](std::u16string_view f) { size += (quoted(f) ? f.size() : textkit::QuotedLength(f)) + 1; });
  std::u16string out;
  out.reserve(size - 1);
  ForEachField(asTexto, asSeparador, [&](std::u16string_view f) {
    if (!out.empty()) out.push_back(asSeparador);
    if (quoted(f))
      out.append(f);
    else
      textkit::AppendQuoted(out, f);
  });
  return out;
}

std::u16string TmStr::GetStringPart(std::u16string_view asText, char16_t asSplitChar, int aiIndexPart) {
  if (aiIndexPart < 0) throw EStringListError(u"Índice da lista fora dos limites (" + IntToStr(aiIndexPart) + u")");
  // Walks the SplitB items without building the list.
  int index = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= asText.size(); ++i) {
    const bool atToken = i < asText.size() && asText[i] == asSplitChar;
    if (!atToken && i < asText.size()) continue;
    if (i > start) {
      if (index++ == aiIndexPart) return std::u16string(asText.substr(start, i - start));
    }
    if (atToken && index++ == aiIndexPart) return std::u16string(1, asSplitChar);
    start = i + 1;
  }
  return {};
}

std::u16string TmStr::CopyStr(std::u16string_view asTexto, std::u16string_view asInicio, std::u16string_view asFim) {
  const std::size_t inicio = textkit::Searcher<>(asInicio).Find(asTexto);
  if (asInicio.empty() || inicio == std::u16string_view::npos) return {};
  const std::size_t start = inicio + asInicio.size();
  // The end marker is searched from the first character, not from the start marker.
  const std::size_t fim = textkit::Searcher<>(asFim).Find(asTexto);
  if (asFim.empty() || fim == std::u16string_view::npos || fim <= start) return {};
  return std::u16string(asTexto.substr(start, fim - start));
}

}  // namespace zelmor
