// TZip over the zip layer: which files go in and under which names; which entries
// come out, where, and whether they are safe to write.
#include <cstdint>
#include <string>
#include <vector>

#include "core/errors.h"
#include "core/text.h"
#include "files/directory_search.h"
#include "files/files.h"
#include "zip/ZipUnit.h"

namespace zelmor {

namespace zip {

bool MatchesEntryMask(std::u16string_view name, std::u16string_view mask) {
  // Iterative matching with one backtrack point for the last "*": linear in
  // practice and never recursive, whatever the mask.
  std::size_t n = 0, m = 0, starM = std::u16string_view::npos, starN = 0;
  auto setMatch = [&](std::size_t at, char16_t c, std::size_t& next) {
    // `at` is the "[" of a set; false (and next at its end) when c is not in it.
    std::size_t i = at + 1;
    bool negate = i < mask.size() && (mask[i] == u'!' || mask[i] == u'^');
    if (negate) ++i;
    bool in = false;
    const char16_t lc = LowerChar(c);
    for (bool first = true; i < mask.size() && (first || mask[i] != u']'); first = false) {
      char16_t lo = LowerChar(mask[i]), hi = lo;
      if (i + 2 < mask.size() && mask[i + 1] == u'-' && mask[i + 2] != u']') {
        hi = LowerChar(mask[i + 2]);
        i += 3;
      } else {
        i += 1;
      }
      if (lo <= lc && lc <= hi) in = true;
    }
    next = i < mask.size() ? i + 1 : i;  // past the "]" (an unclosed set runs to the end)
    return in != negate;
  };
  while (n < name.size()) {
    std::size_t next = m + 1;
    if (m < mask.size() && mask[m] == u'*') {
      starM = m++;
      starN = n;
      continue;
    }
    bool ok = false;
    if (m < mask.size()) {
      if (mask[m] == u'?')
        ok = true;
      else if (mask[m] == u'[')
        ok = setMatch(m, name[n], next);
      else
        ok = LowerChar(mask[m]) == LowerChar(name[n]);
    }
    if (ok) {
      ++n;
      m = next;
    } else if (starM != std::u16string_view::npos) {
      m = starM + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == u'*') ++m;
  return m == mask.size();
}

std::u16string UnsafeEntryReason(const TZipHeader& header) {
  const std::u16string& name = header.Name;
  if (header.IsSymbolicLink()) return u"é um link simbólico";
  if (name.empty()) return u"não tem nome";
  if (name[0] == u'/' || name[0] == u'\\') return u"tem caminho absoluto";
  if (name.size() >= 2 && name[1] == u':') return u"indica uma unidade de disco";
  for (char16_t c : name)
    if (c < 0x20 || c == 0x7F) return u"tem caractere de controle no nome";
  // Every step between separators ("/" or "\"): ".." climbs out of the folder.
  std::size_t from = 0;
  while (from <= name.size()) {
    std::size_t cut = name.find_first_of(u"/\\", from);
    if (cut == std::u16string::npos) cut = name.size();
    if (std::u16string_view(name).substr(from, cut - from) == u"..") return u"sai da pasta de destino (\"..\")";
    from = cut + 1;
  }
  return {};
}

}  // namespace zip

namespace {

using SV = std::u16string_view;

platform::ZipProgress Progress(const TZipProgressEvent& gauge, const void* sender) {
  if (!gauge) return {};
  return [&gauge, sender](const TZipHeader& h, std::uint64_t position) {
    gauge(sender, h.Name, h, static_cast<std::int64_t>(position));
  };
}

// An entry's name as a path below the destination: "\" read as "/", and empty and "."
// steps dropped, so "a//b" and "a/./b" name the file "a/b" that the disk will hold.
std::u16string EntryPath(SV name) {
  std::u16string path;
  std::size_t from = 0;
  while (from <= name.size()) {
    std::size_t cut = name.find_first_of(u"/\\", from);
    if (cut == SV::npos) cut = name.size();
    const SV step = name.substr(from, cut - from);
    if (!step.empty() && step != u".") {
      if (!path.empty()) path += u'/';
      path += step;
    }
    from = cut + 1;
  }
  return path;
}

// The name's file part, after its last separator.
std::u16string FilePart(SV path) {
  const std::size_t cut = path.find_last_of(u'/');
  return std::u16string(cut == SV::npos ? path : path.substr(cut + 1));
}

}  // namespace

namespace zip {

bool Unpack(platform::ZipReader& reader, SV label, SV DirDestino, bool Overwrite,
            const TZipProgressEvent& GaugeCallBack, const TOnMensagemEvent& MensagemCallBack,
            SV MascaraArquivosDescompactar, TStringList* ArquivosDescompactados) {
  if (ArquivosDescompactados != nullptr) ArquivosDescompactados->Clear();
  // Without its separator the folder still holds the files; an empty one is the current folder.
  const std::u16string dir = DirDestino.empty() ? std::u16string() : TmFile::DirBarra(DirDestino);
  const auto& entries = reader.Entries();
  // A hostile archive is refused whole, before anything is written; so is one whose
  // entries would not fit the disk.
  std::uint64_t bytes = 0;
  for (const TZipHeader& h : entries) {
    std::u16string why = UnsafeEntryReason(h);
    if (why.empty() && !h.IsFolder() && EntryPath(h.Name).empty()) why = u"não tem nome de arquivo";
    if (!why.empty())
      throw EFileError(u"Arquivo zip \"" + std::u16string(label) + u"\" recusado: a entrada \"" + h.Name + u"\" " +
                       why);
    if (!h.IsFolder() &&
        (MascaraArquivosDescompactar.empty() || MatchesEntryMask(EntryPath(h.Name), MascaraArquivosDescompactar)))
      bytes = h.UncompressedSize > UINT64_MAX - bytes ? UINT64_MAX : bytes + h.UncompressedSize;
  }
  const auto run = reader.Unpack(DirDestino.empty() ? SV(u".") : DirDestino, bytes);
  const platform::ZipProgress progress = Progress(GaugeCallBack, &reader);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    // Windows archives may separate folders with "\"; here the separator is "/".
    const std::u16string name = EntryPath(entries[i].Name);
    if (entries[i].IsFolder()) {
      if (!name.empty()) run->CreateFolder(name);
      continue;
    }
    if (!MascaraArquivosDescompactar.empty() && !MatchesEntryMask(name, MascaraArquivosDescompactar)) continue;
    if (!Overwrite && run->Exists(name)) continue;
    const std::u16string target = dir + name;
    if (MensagemCallBack) MensagemCallBack(target);
    if (ArquivosDescompactados != nullptr) ArquivosDescompactados->Add(target);
    run->Extract(i, name, progress);
  }
  run->Finish();
  return ArquivosDescompactados == nullptr || ArquivosDescompactados->Count() > 0;
}

}  // namespace zip

bool TZip::Compactar(SV mask, SV NomeArquivoZip, const TZipProgressEvent& GaugeCallBack,
                     const TOnMensagemEvent& MensagemCallBack) {
  TStringList files;
  for (std::u16string& f : files::MatchingFiles(mask)) files.Items.push_back(std::move(f));
  if (files.Count() == 0) return false;
  return Compactar(files, NomeArquivoZip, GaugeCallBack, MensagemCallBack);
}

bool TZip::Compactar(const TStringList& ListaArquivos, SV NomeArquivoZip, const TZipProgressEvent& GaugeCallBack,
                     const TOnMensagemEvent& MensagemCallBack) {
  if (ListaArquivos.Count() == 0) return false;
  auto writer = platform::Service<platform::ZipArchives>::Get().Create(NomeArquivoZip);
  const platform::ZipProgress progress = Progress(GaugeCallBack, writer.get());
  for (const std::u16string& entry : ListaArquivos.Items) {
    if (MensagemCallBack) MensagemCallBack(entry);
    if (!files::HasWildcards(entry)) {
      writer->AddFile(entry, FilePart(entry), progress);
      continue;
    }
    for (const std::u16string& f : files::MatchingFiles(entry)) writer->AddFile(f, FilePart(f), progress);
  }
  writer->Commit();
  return true;
}

bool TZip::DescompactarERetornarNomes(SV ArquivoZipOrigem, SV DirDestino, bool Overwrite,
                                      const TZipProgressEvent& GaugeCallBack, const TOnMensagemEvent& MensagemCallBack,
                                      SV MascaraArquivosDescompactar, TStringList* ArquivosDescompactados) {
  if (ArquivosDescompactados != nullptr) ArquivosDescompactados->Clear();
  auto reader = platform::Service<platform::ZipArchives>::Get().Open(ArquivoZipOrigem);
  return zip::Unpack(*reader, ArquivoZipOrigem, DirDestino, Overwrite, GaugeCallBack, MensagemCallBack,
                     MascaraArquivosDescompactar, ArquivosDescompactados);
}

bool TZip::Descompactar(SV ArquivoZipOrigem, SV DirDestino, bool Overwrite, const TZipProgressEvent& GaugeCallBack,
                        const TOnMensagemEvent& MensagemCallBack, SV MascaraArquivosDescompactar) {
  return DescompactarERetornarNomes(ArquivoZipOrigem, DirDestino, Overwrite, GaugeCallBack, MensagemCallBack,
                                    MascaraArquivosDescompactar, nullptr);
}

bool TZip::DescompactarRetornarNomes(SV ArquivoZipOrigem, SV DirDestino, SV MascaraArquivosDescompactar,
                                     TStringList& Arquivos) {
  return DescompactarERetornarNomes(ArquivoZipOrigem, DirDestino, true, {}, {}, MascaraArquivosDescompactar, &Arquivos);
}

bool TZip::DescompactarRetornarNome(SV ArquivoZipOrigem, SV DirDestino, SV MascaraArquivosDescompactar,
                                    std::u16string& NomeArquivo) {
  NomeArquivo.clear();
  TStringList list;
  const bool ok =
      DescompactarERetornarNomes(ArquivoZipOrigem, DirDestino, true, {}, {}, MascaraArquivosDescompactar, &list);
  if (ok) NomeArquivo = list[0];
  return ok;
}

}  // namespace zelmor
