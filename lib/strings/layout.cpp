// Laying text out: greedy word wrap, justification for fixed-pitch printers,
// paragraphs broken at a width, items in columns, and measuring how a text wraps
// in pixels. Every loop here consumes at least one character per step, and a
// character is only ever dropped where a line breaks (the blanks at the break).
#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "core/surrogates.h"
#include "core/text_kit.h"
#include "strings/mString.h"

namespace zelmor {

namespace {

using textkit::Trim;

constexpr char16_t kCR = u'\r';
constexpr char16_t kLF = u'\n';

bool IsBlank(char16_t c) { return c <= u' '; }

// Calls `word(view)` for each run of characters between spaces (empty runs skipped).
template <class F>
void ForEachWord(std::u16string_view s, F word) {
  std::size_t start = 0;
  for (std::size_t i = 0; i <= s.size(); ++i) {
    if (i < s.size() && s[i] != u' ') continue;
    if (i > start) word(s.substr(start, i - start));
    start = i + 1;
  }
}

struct ParagraphLine {
  std::u16string_view Text;  // trimmed
  bool EndedByCR = false;    // a carriage return ended it
  bool Last = false;         // nothing but blanks follows it
};

// Breaks `text` into lines of at most `width` characters (no limit when `width` is
// npos). A line is the next `width` characters, cut back to the last blank when a word
// goes on past them, or cut at the width when one word fills the whole line. Blanks
// before a line are skipped. With `crEnds`, a carriage return within reach ends the
// line (a blank line for two in a row).
template <class F>
void BreakParagraph(std::u16string_view text, std::size_t width, bool crEnds, F emit) {
  auto skippable = [crEnds](char16_t c) { return IsBlank(c) && !(crEnds && c == kCR); };
  std::size_t end = text.size();
  while (end > 0 && skippable(text[end - 1])) --end;
  text = text.substr(0, end);
  std::size_t pos = 0;
  auto skip = [&](std::size_t p) {
    while (p < text.size() && skippable(text[p])) ++p;
    return p;
  };
  for (pos = skip(pos); pos < text.size(); pos = skip(pos)) {
    const std::u16string_view rest = text.substr(pos);
    if (crEnds) {
      const std::size_t cr = rest.find(kCR);
      if (cr != std::u16string_view::npos && cr <= width) {
        pos += cr + 1;
        emit(ParagraphLine{Trim(rest.substr(0, cr)), true, false});
        continue;
      }
    }
    if (rest.size() <= width) {
      emit(ParagraphLine{Trim(rest), false, true});
      return;
    }
    std::size_t cut = width, next = pos + width;
    if (!IsBlank(rest[width]) && !IsBlank(rest[width - 1])) {
      std::size_t b = width - 1;
      while (b > 0 && !IsBlank(rest[b])) --b;
      if (b > 0) {
        cut = b, next = pos + b + 1;
      } else if (SurrogatePairAt(rest, width - 1)) {
        // One word fills the line and is cut at the width, but never inside a character.
        cut = width > 1 ? width - 1 : width + 1;
        next = pos + cut;
      }
    }
    pos = next;
    emit(ParagraphLine{Trim(rest.substr(0, cut)), false, skip(pos) >= text.size()});
  }
}

}  // namespace

void TmStr::QuebraTexto(std::u16string_view asTexto, int aiMaxLength, TStringList& asLista) {
  asLista.Clear();
  const std::u16string texto = RemoveEspacosDuplos(Trim(asTexto));
  const std::int64_t max = aiMaxLength;
  std::u16string linha;
  ForEachWord(texto, [&](std::u16string_view word) {
    if (max >= static_cast<std::int64_t>(linha.size() + word.size()) + 1) {
      if (!linha.empty()) linha += u' ';
      linha += word;
    } else if (!linha.empty()) {
      asLista.Add(linha);
      linha.assign(word);
    } else {
      asLista.Add(word);  // longer than the width: a line of its own, never cut
    }
  });
  if (!linha.empty()) asLista.Add(linha);
}

std::u16string TmStr::JustificarMonoEspacado(std::u16string_view asLinha, int aiQtCaracteres) {
  const std::u16string_view linha = Trim(asLinha);
  if (static_cast<std::int64_t>(linha.size()) >= aiQtCaracteres) return std::u16string(linha);
  std::size_t gaps = 0;
  for (std::size_t i = 0; i < linha.size(); ++i) gaps += linha[i] == u' ' && (i == 0 || linha[i - 1] != u' ');
  if (gaps == 0) return std::u16string(linha);  // nowhere to put the spaces
  // The passes of one space per gap from the left come to: every gap gets `each`,
  // the first `more` gaps one more.
  const std::size_t extra = static_cast<std::size_t>(aiQtCaracteres) - linha.size();
  const std::size_t each = extra / gaps, more = extra % gaps;
  std::u16string r;
  r.reserve(static_cast<std::size_t>(aiQtCaracteres));
  std::size_t gap = 0;
  for (std::size_t i = 0; i < linha.size(); ++i) {
    if (linha[i] == u' ' && (i == 0 || linha[i - 1] != u' ')) {
      r.append(each + (gap < more ? 1 : 0), u' ');
      ++gap;
    }
    r += linha[i];
  }
  return r;
}

TStringList TmStr::FormataParagrafo(std::u16string_view asLinha, int aiMaxCaracteresLinha, int aiCaracteresIdentacao,
                                    bool abJustificado) {
  (void)aiCaracteresIdentacao;  // kept for callers; it never indented anything
  TStringList r;
  const bool sized = aiMaxCaracteresLinha >= 1;
  const std::size_t width = sized ? static_cast<std::size_t>(aiMaxCaracteresLinha) : std::u16string_view::npos;
  BreakParagraph(asLinha, width, false, [&](const ParagraphLine& l) {
    if (abJustificado && sized && !l.Last)
      r.Add(JustificarMonoEspacado(l.Text, aiMaxCaracteresLinha));
    else
      r.Add(l.Text);
  });
  return r;
}

void TmStr::FormatarParagrafo(TStringList& Saida, std::u16string_view Linha, int TamLinha, bool Justificar) {
  // The line feed of a CR LF goes; a line feed on its own is a line break (removing it
  // would glue the last word of a line to the first of the next).
  std::u16string texto;
  texto.reserve(Linha.size());
  for (std::size_t i = 0; i < Linha.size(); ++i) {
    if (Linha[i] != kLF)
      texto += Linha[i];
    else if (i == 0 || Linha[i - 1] != kCR)
      texto += kCR;
  }
  const bool sized = TamLinha >= 1;
  const std::size_t width = sized ? static_cast<std::size_t>(TamLinha) : std::u16string_view::npos;
  BreakParagraph(texto, width, true, [&](const ParagraphLine& l) {
    if (Justificar && sized && l.Text.size() > 10 && !l.EndedByCR && !l.Last)
      Saida.Add(JustificarMonoEspacado(l.Text, TamLinha));
    else
      Saida.Add(l.Text);
  });
}

void TmStr::FormataColunas(const TStringList& Original, TStringList& Resultado, int Linhas, int Colunas, int TamCol,
                           bool AjustarColunas, bool LinhaEntreBlocos) {
  Resultado.Clear();
  const std::int64_t total = Original.Count();
  const std::int64_t cols = std::max(Colunas, 1);
  const std::int64_t bloco = Linhas < 1 ? total : static_cast<std::int64_t>(Linhas) * cols;
  const std::u16string vazia = Space(TamCol);
  std::vector<std::int64_t> inicio(static_cast<std::size_t>(cols)), altura(static_cast<std::size_t>(cols));
  for (std::int64_t primeiro = 0; primeiro < total; primeiro += bloco) {
    const std::int64_t n = std::min(bloco, total - primeiro);
    const std::int64_t rows = (n + cols - 1) / cols;
    // How many items go down each column, and where each column starts.
    std::int64_t tomados = 0;
    for (std::int64_t c = 0; c < cols; ++c) {
      std::int64_t h;
      if (AjustarColunas && n % cols != 0)
        h = c < n % cols ? rows : rows - 1;
      else
        h = std::clamp<std::int64_t>(n - c * rows, 0, rows);
      inicio[static_cast<std::size_t>(c)] = primeiro + tomados;
      altura[static_cast<std::size_t>(c)] = h;
      tomados += h;
    }
    for (std::int64_t row = 0; row < rows; ++row) {
      std::u16string linha;
      for (std::int64_t c = 0; c < cols; ++c) {
        const auto k = static_cast<std::size_t>(c);
        if (row < altura[k])
          linha += PadLeft(Original[static_cast<int>(inicio[k] + row)], TamCol, u' ', true);
        else
          linha += vazia;
      }
      Resultado.Add(linha);
    }
    if (LinhaEntreBlocos) Resultado.Add(u"");
  }
}

TmStr::TStringInfo TmStr::GetStringInfo(std::u16string_view asText, const platform::TextMetrics& aoCanvas,
                                        int aiMaxLineWidth) {
  TStringInfo r;
  const int screen = aoCanvas.ScreenWidth();
  const int max = aiMaxLineWidth <= 0 || aiMaxLineWidth > screen ? screen / 2 : aiMaxLineWidth;

  auto close = [&](std::u16string_view line) {
    r.MaxLineWidth = std::max(r.MaxLineWidth, aoCanvas.TextWidth(line));
    if (r.LineCount > 0) r.ScreenText += u"\r\n";
    r.ScreenText += line;
    if (r.LineCount < std::numeric_limits<std::int32_t>::max()) ++r.LineCount;
  };
  // Words and single spaces go on the line while it stays within `max`; a piece that
  // does not fit starts the next line, except spaces, which the break swallows. A
  // word wider than `max` stands alone on its line.
  auto wrap = [&](std::u16string_view paragraph) {
    std::u16string line;
    bool wrapped = false;
    std::size_t i = 0;
    while (i < paragraph.size()) {
      std::size_t j = i + 1;
      if (paragraph[i] != u' ')
        while (j < paragraph.size() && paragraph[j] != u' ') ++j;
      const std::u16string_view piece = paragraph.substr(i, j - i);
      i = j;
      if (line.empty()) {
        if (!(wrapped && piece == u" ")) line.assign(piece);
        continue;
      }
      std::u16string longer = line;
      longer += piece;
      if (aoCanvas.TextWidth(longer) <= max) {
        line = std::move(longer);
        continue;
      }
      close(line);
      wrapped = true;
      if (piece == u" ")
        line.clear();
      else
        line.assign(piece);
    }
    if (!line.empty() || !wrapped) close(line);
  };

  // CR ends a paragraph, and so does a line feed that does not follow a CR.
  std::u16string paragraph;
  for (std::size_t i = 0; i < asText.size(); ++i) {
    const char16_t c = asText[i];
    if (c == kCR || (c == kLF && (i == 0 || asText[i - 1] != kCR))) {
      wrap(paragraph);
      paragraph.clear();
    } else if (c != kLF) {
      paragraph += c;
    }
  }
  if (!paragraph.empty()) wrap(paragraph);
  const std::int64_t height = static_cast<std::int64_t>(aoCanvas.TextHeight(u"A")) * r.LineCount;
  r.TextHeight =
      static_cast<std::int32_t>(std::clamp<std::int64_t>(height, 0, std::numeric_limits<std::int32_t>::max()));
  return r;
}

}  // namespace zelmor
