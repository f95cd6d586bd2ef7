// TmConfig: loading, saving, lookups and edits on the lines.
#include <algorithm>

#include "config/mConfigUnit.h"
#include "config/program_folder.h"
#include "core/errors.h"
#include "core/text.h"
#include "core/text_kit.h"
#include "platform/executable_info.h"
#include "platform/file_system.h"

namespace zelmor {
namespace {

using textkit::Trim;

bool IsBlankLine(std::u16string_view s) { return std::all_of(s.begin(), s.end(), textkit::IsControlOrSpace); }

bool StartsSection(std::u16string_view line) { return !line.empty() && line[0] == u'['; }

// Case-insensitive equality of two runs of the same length (no copies: lookups
// compare every line and must not allocate).
bool SameChars(const char16_t* a, const char16_t* b, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i)
    if (a[i] != b[i] && UpperChar(a[i]) != UpperChar(b[i])) return false;
  return true;
}

// The line is exactly "[" + Secao + "]", case ignored.
bool IsHeaderOf(std::u16string_view line, std::u16string_view secao) {
  return line.size() == secao.size() + 2 && line.front() == u'[' && line.back() == u']' &&
         SameChars(line.data() + 1, secao.data(), secao.size());
}

// The line's name (everything before its first "=") is `item`, case ignored.
// `item` itself has no "=" (checked by the callers).
bool NameIs(std::u16string_view line, std::u16string_view item) {
  return line.size() > item.size() && line[item.size()] == u'=' && SameChars(line.data(), item.data(), item.size());
}

void CheckWritable(std::u16string_view secao, std::u16string_view item, std::u16string_view valor) {
  auto breaks = [](std::u16string_view s) { return s.find_first_of(u"\r\n") != std::u16string_view::npos; };
  // A line break would split the entry into lines that read back as something else
  // (even as a new section); a "=" in the name would make it another name.
  if (breaks(secao) || breaks(item) || breaks(valor))
    throw EArgumentError(u"Uma quebra de linha não pode ser gravada no arquivo de configuração (item \"" +
                         std::u16string(item) + u"\")");
  if (item.find(u'=') != std::u16string_view::npos)
    throw EArgumentError(u"O nome do item não pode conter \"=\": \"" + std::u16string(item) + u"\"");
  // A line that starts with "[" is a section header, whatever follows it.
  if (StartsSection(item))
    throw EArgumentError(u"O nome do item não pode começar com \"[\": \"" + std::u16string(item) + u"\"");
}

}  // namespace

TmConfig::TmConfig(std::u16string_view Arquivo, bool CarregarArquivoExistenteParaUpdate) : FArquivo(Arquivo) {
  if (!CarregarArquivoExistenteParaUpdate) return;
  std::string bytes;
  if (!platform::Service<platform::FileSystem>::Get().ReadAll(Arquivo, bytes)) return;
  SetLines(text_file::Decode(bytes, FEncoding));
}

TmConfig::TmConfig(const TStringList& aLista) { SetLines(aLista.Text()); }

TmConfig::~TmConfig() {
  if (!Modificado) return;
  try {
    Save(FArquivo);
  } catch (...) {
    // Releasing never fails; Flush is the way to hear about a failed save.
  }
}

// Splits at CR LF, LF or CR; a line end after the last line adds no empty line.
// Then the repair of a UTF-8 mark that was read as Windows-1252 text.
void TmConfig::SetLines(std::u16string_view text) {
  Lista.Clear();
  text_file::SplitLines(text, Lista);
  TotalLinhas = Lista.Count();
  if (!Lista.Items.empty()) {
    std::u16string& first = Lista.Items.front();
    if (first.size() > 3 && first.compare(0, 3, u"\u00EF\u00BB\u00BF") == 0) first.erase(0, 3);
  }
}

void TmConfig::Save(std::u16string_view path) const {
  if (path.empty()) throw EFileError(u"Não foi possível gravar a configuração: ela não tem arquivo (use SaveCopyTo)");
  std::size_t size = 0;
  for (const auto& line : Lista.Items) size += line.size() + 2;
  std::u16string text;
  text.reserve(size);
  for (const auto& line : Lista.Items) {
    text += line;
    text += u"\r\n";
  }
  platform::Service<platform::FileSystem>::Get().Replace(path,
                                                         text_file::Encode(text, text_file::Holding(text, FEncoding)));
}

void TmConfig::Flush() {
  if (!Modificado) return;
  Save(FArquivo);
  Modificado = false;
}

void TmConfig::SetModificado(bool aModificado) { Modificado = aModificado; }

void TmConfig::SaveCopyTo(std::u16string_view NomeArquivo) { Save(NomeArquivo); }

std::u16string TmConfig::GetFileNameDefault() {
  const std::u16string exe = platform::Service<platform::ProcessInfo>::Get().ExecutablePath();
  const std::size_t slash = exe.find_last_of(platform::PathDelim);
  std::u16string name = slash == std::u16string::npos ? exe : exe.substr(slash + 1);
  const std::size_t dot = name.find_last_of(u'.');
  if (dot != std::u16string::npos && dot > 0) name.erase(dot);
  return program::Folder() + name + u".ini";
}

// ---- Lookups ----

int TmConfig::FindSection(std::u16string_view Secao) const {
  const int n = Lista.Count();
  for (int i = 0; i < n; ++i)
    if (IsHeaderOf(Lista.Items[static_cast<std::size_t>(i)], Secao)) return i;
  return -1;
}

// The first line named `Item` whose nearest "[" line above names `Secao`. One pass
// from the top, carrying whether the lines above are in the section.
int TmConfig::FindEntry(std::u16string_view Secao, std::u16string_view Item) const {
  if (Item.find(u'=') != std::u16string_view::npos) return -1;
  bool inSection = false;
  const int n = Lista.Count();
  for (int i = 0; i < n; ++i) {
    const std::u16string& line = Lista.Items[static_cast<std::size_t>(i)];
    if (inSection && NameIs(line, Item)) return i;
    if (StartsSection(line)) inSection = IsHeaderOf(line, Secao);
  }
  return -1;
}

std::u16string TmConfig::ReadString(std::u16string_view Secao, std::u16string_view Item,
                                    std::u16string_view Padrao) const {
  const int k = FindEntry(Secao, Item);
  if (k < 0) return std::u16string(Padrao);
  const std::u16string& line = Lista.Items[static_cast<std::size_t>(k)];
  return line.substr(Item.size() + 1);
}

void TmConfig::WriteString(std::u16string_view Secao, std::u16string_view Item, std::u16string_view Valor) {
  CheckWritable(Secao, Item, Valor);
  auto& lines = Lista.Items;
  const int k = lines.empty() ? -1 : FindEntry(Secao, Item);
  if (k >= 0) {
    std::u16string& line = lines[static_cast<std::size_t>(k)];
    if (Valor.empty()) {
      lines.erase(lines.begin() + k);
    } else {
      line.resize(Item.size() + 1);  // the name as the file spells it, and "="
      line += Valor;
    }
    Modificado = true;
    return;
  }
  std::u16string entry(Item);
  entry += u'=';
  entry += Valor;
  const int h = FindSection(Secao);
  if (h < 0) {
    if (!lines.empty() && !IsBlankLine(lines.back())) Lista.Add(u"");
    Lista.Add(u"[" + std::u16string(Secao) + u"]");
    Lista.Add(entry);
    Modificado = true;
    return;
  }
  std::size_t at = lines.size();
  for (std::size_t j = static_cast<std::size_t>(h) + 1; j < lines.size(); ++j) {
    if (IsBlankLine(lines[j])) {
      at = j;
      break;
    }
    if (StartsSection(lines[j])) {
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(j), std::u16string());
      at = j;
      break;
    }
  }
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
  Modificado = true;
}

// ---- Sections ----

void TmConfig::ReadSections(TStringList& Saida) const {
  Saida.Clear();
  for (const auto& line : Lista.Items) {
    std::u16string_view t = Trim(line);
    if (t.empty() || t.front() != u'[') continue;
    std::u16string name;
    for (char16_t c : line)
      if (c != u'[' && c != u']') name += c;
    Saida.Add(Trim(name));
  }
}

void TmConfig::ReadSection(std::u16string_view Secao, TStringList& Saida) const {
  Saida.Clear();
  const int h = FindSection(Secao);
  if (h < 0) return;
  for (std::size_t j = static_cast<std::size_t>(h) + 1; j < Lista.Items.size(); ++j) {
    const std::u16string& line = Lista.Items[j];
    if (StartsSection(line)) break;
    const std::size_t eq = line.find(u'=');
    if (eq != std::u16string::npos) Saida.Add(std::u16string_view(line).substr(0, eq));
  }
}

void TmConfig::ReadSectionValues(std::u16string_view Secao, TStringList& Saida) const {
  Saida.Clear();
  const int h = FindSection(Secao);
  if (h < 0) return;
  for (std::size_t j = static_cast<std::size_t>(h) + 1; j < Lista.Items.size(); ++j) {
    const std::u16string& line = Lista.Items[j];
    if (StartsSection(line)) break;
    if (!IsBlankLine(line)) Saida.Add(line);
  }
}

void TmConfig::EraseSection(std::u16string_view Secao) {
  const int h = FindSection(Secao);
  if (h < 0) return;
  auto& lines = Lista.Items;
  auto end = lines.begin() + h + 1;
  while (end != lines.end() && !StartsSection(*end)) ++end;
  lines.erase(lines.begin() + h, end);
  Modificado = true;
}

bool TmConfig::SectionExists(std::u16string_view Secao) const { return FindSection(Secao) >= 0; }

void TmConfig::DeleteKey(std::u16string_view Secao, std::u16string_view Item) {
  const int k = FindEntry(Secao, Item);
  if (k < 0) return;
  Lista.Items.erase(Lista.Items.begin() + k);
  Modificado = true;
}

}  // namespace zelmor
