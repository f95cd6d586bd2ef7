// TZip: packs files into a zip archive and unpacks an archive into a folder. It
// decides which files go in, under which names, and which entries come out; the
// archive format (deflate through zlib) is the zip layer's work.
//
// Archives written here hold every file under its name alone (no folders), deflated,
// in the order given. Unpacking never writes outside the destination folder: an
// archive with an absolute name, a drive letter, a ".." step or a link entry is
// refused whole (EFileError) before anything is written, and so is one whose
// declared sizes do not fit the free space less a reserve, or a damaged one. A link
// already in the destination is never written through. An unpacking that fails
// part way is undone: files it created are removed and files it replaced come back.
// Archives are written beside their name and renamed into place, so an error never
// leaves a partial archive.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/types.h"
#include "platform/zip_archives.h"

namespace zelmor {

using TZipHeader = platform::ZipEntryHeader;
// The zip layer's progress while it packs or unpacks an entry: `Sender` is its
// archive object, `Position` the bytes done so far.
using TZipProgressEvent = std::function<void(const void* Sender, std::u16string_view FileName, const TZipHeader& Header,
                                             std::int64_t Position)>;
// One call per file packed or entry unpacked.
using TOnMensagemEvent = std::function<void(std::u16string_view Mensagem)>;

class TZip {
 public:
  // Kept for callers; the operations never read them.
  TZipProgressEvent OnProgressoEvent;
  TOnMensagemEvent OnMensagem;

  // Packs the files matching the mask (neither folders nor hidden, in name order).
  // False, and no archive written, when nothing matches.
  static bool Compactar(std::u16string_view NomeArquivoParaCompactarAceitaMascara, std::u16string_view NomeArquivoZip,
                        const TZipProgressEvent& GaugeCallBack = {}, const TOnMensagemEvent& MensagemCallBack = {});
  // Packs each listed file, or the files of each listed mask, in list order; the
  // message callback gets each list entry as written. False for an empty list. A
  // missing file raises EFileError and leaves no archive (an older one stays).
  static bool Compactar(const TStringList& ListaArquivos, std::u16string_view NomeArquivoZip,
                        const TZipProgressEvent& GaugeCallBack = {}, const TOnMensagemEvent& MensagemCallBack = {});

  // Unpacks the entries of `ArquivoZipOrigem` into `DirDestino` (a trailing separator
  // is added when missing), creating the folders the entries name. Without
  // `Overwrite` an entry whose file exists is skipped; with a mask ("*", "?", [sets],
  // case ignored, against the whole stored name) only matching entries come out. The
  // message callback and the list get DirDestino + name. With a list the answer is
  // whether anything was unpacked; without one it is true.
  static bool DescompactarERetornarNomes(std::u16string_view ArquivoZipOrigem, std::u16string_view DirDestino,
                                         bool Overwrite, const TZipProgressEvent& GaugeCallBack,
                                         const TOnMensagemEvent& MensagemCallBack,
                                         std::u16string_view MascaraArquivosDescompactar,
                                         TStringList* ArquivosDescompactados);
  static bool Descompactar(std::u16string_view ArquivoZipOrigem, std::u16string_view DirDestino, bool Overwrite,
                           const TZipProgressEvent& GaugeCallBack = {}, const TOnMensagemEvent& MensagemCallBack = {},
                           std::u16string_view MascaraArquivosDescompactar = u"");
  // Overwriting, without callbacks, into the caller's list.
  bool DescompactarRetornarNomes(std::u16string_view ArquivoZipOrigem, std::u16string_view DirDestino,
                                 std::u16string_view MascaraArquivosDescompactar, TStringList& Arquivos);
  // The first name unpacked, or empty when none was.
  bool DescompactarRetornarNome(std::u16string_view ArquivoZipOrigem, std::u16string_view DirDestino,
                                std::u16string_view MascaraArquivosDescompactar, std::u16string& NomeArquivo);
};

namespace zip {

// Whether `name` matches `mask` as a whole: "*" any run, "?" one character, "[a-c]"
// and "[!a-c]" sets; case ignored.  MatchesEntryMask(u"nota.xml", u"*.XML") == true
bool MatchesEntryMask(std::u16string_view name, std::u16string_view mask);

// What TZip::DescompactarERetornarNomes does, over an archive already open (a file
// or bytes in memory); `label` names it in messages.
bool Unpack(platform::ZipReader& reader, std::u16string_view label, std::u16string_view DirDestino, bool Overwrite,
            const TZipProgressEvent& GaugeCallBack, const TOnMensagemEvent& MensagemCallBack,
            std::u16string_view MascaraArquivosDescompactar, TStringList* ArquivosDescompactados);

// Empty when `name` is safe to write inside a folder; otherwise why it is not
// (absolute, a drive, a ".." step, a link, a control character).
std::u16string UnsafeEntryReason(const TZipHeader& header);

}  // namespace zip

}  // namespace zelmor
