// Whole text files, printable-byte filters, XML documents, streams and sizes.
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "core/cp1252.h"
#include "core/errors.h"
#include "core/text.h"
#include "files/directory_search.h"
#include "files/files.h"
#include "format/format_number.h"
#include "platform/dialogs.h"
#include "platform/executable_info.h"
#include "platform/file_system.h"
#include "platform/xml_documents.h"
#include "textfile/text_file.h"

namespace zelmor {
namespace {

// The byte values a filter keeps, as a table of 256 flags.
using ByteSet = std::array<bool, 256>;

constexpr ByteSet MakeSet(std::initializer_list<std::pair<int, int>> ranges) {
  ByteSet set{};
  for (const auto& [from, to] : ranges)
    for (int b = from; b <= to; ++b) set[static_cast<std::size_t>(b)] = true;
  return set;
}

// Printable ASCII; À to Í; Ù to ï; ó to ü (no line breaks, no tabs).
constexpr ByteSet kCleanText = MakeSet({{32, 126}, {192, 205}, {217, 239}, {243, 252}});
// Tab, LF, CR; printable ASCII, DEL and €; ¿ and À to Å; Ç to Í; Ó to Õ; Ú; à to ä; ç to í; ú.
constexpr ByteSet kBinaryText = MakeSet(
    {{9, 10}, {13, 13}, {32, 128}, {191, 197}, {199, 205}, {211, 213}, {218, 218}, {224, 228}, {231, 237}, {250, 250}});

std::string Keep(std::string_view bytes, const ByteSet& set) {
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes)
    if (set[static_cast<unsigned char>(c)]) out += c;
  return out;
}

// The bytes of a file; EFileError when it is missing or cannot be read.
std::string ReadBytes(std::u16string_view path) {
  std::string bytes;
  if (!platform::Service<platform::FileSystem>::Get().ReadAll(path, bytes))
    throw EFileError(u"Arquivo não encontrado: \"" + std::u16string(path) + u"\"");
  return bytes;
}

bool IsRegularFile(std::u16string_view path) {
  return platform::Service<platform::FileSystem>::Get().Stat(path).Kind == platform::EntryKind::File;
}

// The encoding named in the text's own declaration (<?xml ... encoding="X"?>), or empty.
std::u16string DeclaredEncoding(std::u16string_view xml) {
  std::size_t at = 0;
  while (at < xml.size() &&
         (xml[at] == u'\uFEFF' || xml[at] == u' ' || xml[at] == u'\t' || xml[at] == u'\r' || xml[at] == u'\n'))
    ++at;
  if (xml.substr(at, 5) != u"<?xml") return {};
  const std::size_t end = xml.find(u"?>", at);
  const std::u16string_view decl = xml.substr(at, end == std::u16string_view::npos ? xml.size() - at : end - at);
  std::size_t k = decl.find(u"encoding");
  if (k == std::u16string_view::npos) return {};
  k = decl.find_first_of(u"\"'", k);
  if (k == std::u16string_view::npos) return {};
  const std::size_t close = decl.find(decl[k], k + 1);
  if (close == std::u16string_view::npos) return {};
  return std::u16string(decl.substr(k + 1, close - k - 1));
}

}  // namespace

bool TmFile::CriarArquivoTexto(std::u16string_view FileName, std::u16string_view GravarStrDentro) {
  TStringList lines;
  if (!GravarStrDentro.empty()) lines.Add(GravarStrDentro);
  try {
    text_file::Save(FileName, lines, text_file::Encoding::Ansi);
  } catch (const EZelmorError&) {
    // A file that was there before does not make a failed write a success.
    return false;
  }
  return IsRegularFile(FileName);
}

bool TmFile::SaveTextSample(std::u16string_view asText, std::u16string_view asArquivo) {
  TStringList lines;
  text_file::SplitLines(asText, lines);
  text_file::Save(asArquivo, lines, text_file::Encoding::Ansi);
  return IsRegularFile(asArquivo);
}

bool TmFile::SaveXMLFile(std::u16string_view asXML, std::u16string_view asArquivo, std::u16string& asMsg,
                         std::u16string_view asEnconding) {
  asMsg.clear();
  std::u16string encoding(asEnconding);
  if (encoding.empty()) encoding = DeclaredEncoding(asXML);
  if (encoding.empty()) encoding = u"UTF-8";
  std::string bytes;
  try {
    if (!platform::Service<platform::XmlDocuments>::Get().Serialize(asXML, u"1.0", encoding, bytes, asMsg))
      return false;
    platform::Service<platform::FileSystem>::Get().Replace(asArquivo, bytes);
  } catch (const EZelmorError& e) {
    asMsg = e.Message();
    return false;
  }
  return true;
}

bool TmFile::LoadFile(std::u16string_view NomeArquivo, TStringList& Saida) {
  text_file::Encoding encoding;
  text_file::Load(NomeArquivo, Saida, encoding);
  return Saida.Count() > 0;
}

std::u16string TmFile::LoadFileFirstLine(std::u16string_view NomeArquivo) {
  TStringList lines;
  LoadFile(NomeArquivo, lines);
  return lines.Count() > 0 ? lines[0] : std::u16string();
}

bool TmFile::CarregarArquivoBinario(std::u16string_view NomeArquivo, TStringList& Saida) {
  Saida.Clear();
  if (!FileExists(NomeArquivo)) return false;
  const std::string kept = Keep(ReadBytes(NomeArquivo), kBinaryText);
  // Each byte is the character of the same code (U+0000 to U+00FF), not a code-page letter.
  std::u16string text(kept.size(), u'\0');
  std::transform(kept.begin(), kept.end(), text.begin(),
                 [](char c) { return char16_t(static_cast<unsigned char>(c)); });
  text_file::SplitLines(text, Saida);
  return true;
}

std::unique_ptr<TMemoryStream> TmFile::GetStreamFile(std::u16string_view asArquivo) {
  auto stream = std::make_unique<TMemoryStream>();
  stream->Bytes = ReadBytes(asArquivo);
  return stream;
}

std::u16string TmFile::GetFileConvertUTF8ToAnsi(std::u16string_view asArquivo) {
  return text_file::ReadAnsiText(asArquivo);
}

void TmFile::RemoverBOM_UTF(std::u16string_view NomeArquivo) {
  TStringList lines;
  text_file::Encoding encoding;
  if (!text_file::Load(NomeArquivo, lines, encoding) || lines.Count() == 0) return;
  std::u16string& first = lines[0];
  if (first.size() <= 3 || first.compare(0, 3, u"\u00EF\u00BB\u00BF") != 0) return;
  first.erase(0, 3);
  text_file::Save(NomeArquivo, lines, encoding);
}

bool TmFile::LimparArquivoTexto(std::u16string_view Arquivo) {
  if (!FileExists(Arquivo)) return false;
  platform::FileSystem& fs = platform::Service<platform::FileSystem>::Get();
  try {
    const std::string kept = Keep(ReadBytes(Arquivo), kCleanText);
    const std::u16string bak = std::u16string(Arquivo) + u".bak";
    std::u16string why;
    if (fs.EntryExists(bak) && !fs.DeleteFile(bak, &why))
      throw EFileError(u"Não foi possível excluir \"" + bak + u"\": " + why);
    // The original is kept as the backup first; then the cleaned bytes replace it in
    // one step (written beside it and renamed into place), so the name is never missing.
    if (!fs.CopyFile(Arquivo, bak, false, &why)) throw EFileError(u"Não foi possível criar \"" + bak + u"\": " + why);
    fs.Replace(Arquivo, kept);
  } catch (const EZelmorError& e) {
    platform::Service<platform::Dialogs>::Get().ShowMessage(e.Message());
    return false;
  }
  return true;
}

void TmFile::RemoverAtributoSomenteLeitura(std::u16string_view Arquivo) {
  platform::Service<platform::FileSystem>::Get().SetReadOnly(Arquivo, false);
}

int TmFile::FileLength(std::u16string_view Arquivo) {
  if (Arquivo.empty()) return -1;
  std::u16string full(Arquivo);
  if (full.front() != platform::PathDelim)
    full = DirBarra(platform::Service<platform::FileSystem>::Get().CurrentFolder()) + full;
  std::vector<platform::FolderEntry> found;
  if (!files::FindEntries(full, true, found) || found.empty()) return -1;
  return static_cast<int>(std::min<std::int64_t>(found.front().Info.Size, std::numeric_limits<int>::max()));
}

std::int64_t TmFile::FileSize(std::u16string_view Arquivo) {
  std::vector<platform::FolderEntry> found;
  if (!files::FindEntries(Arquivo, true, found) || found.empty()) return 0;
  return found.front().Info.Size;
}

std::u16string TmFile::FormatFileSize(std::int64_t aiBytes) {
  static const char16_t* const kUnits[] = {u"bytes", u"Kb", u"Mb", u"Gb", u"Tb"};
  double v = static_cast<double>(aiBytes);
  int u = 0;
  while (v >= 1024) {
    v /= 1024;
    ++u;
  }
  v = std::trunc(v * 10) / 10;
  return FloatToStr(v) + u" " + (u < 5 ? kUnits[u] : u"Inesperado");
}

}  // namespace zelmor
