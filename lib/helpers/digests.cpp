// TmRot's MD5 digests, through the platform's digest service (a kept crypto library).
#include "platform/digests.h"
#include "core/integer_text.h"
#include "core/text.h"
#include "helpers/helpers.h"
#include "platform/file_system.h"

namespace zelmor {
namespace {

std::u16string UpperHex(const std::string& raw) {
  std::u16string r;
  AppendHexBytes(r, raw, true);
  return r;
}

}  // namespace

std::u16string TmRot::MD5(std::u16string_view asTexto) {
  auto md5 = platform::Service<platform::Digests>::Get().NewMd5();
  md5->Update(U16ToUtf8(asTexto));
  return UpperHex(md5->Final());
}

std::u16string TmRot::MD5File(std::u16string_view asArquivo) {
  constexpr std::size_t kPiece = 1 << 20;
  platform::FileSystem& fs = platform::Service<platform::FileSystem>::Get();
  auto md5 = platform::Service<platform::Digests>::Get().NewMd5();
  std::string piece;
  // Bounded: each turn reads a full piece or ends; a file that grows meanwhile is
  // read up to the size it had when its last full piece was read.
  for (std::uint64_t offset = 0;; offset += piece.size()) {
    piece.clear();
    if (!fs.ReadRange(asArquivo, offset, kPiece, piece))
      throw EFileError(u"Arquivo " + std::u16string(asArquivo) + u" não encontrado");
    md5->Update(piece);
    if (piece.size() < kPiece) break;
  }
  return UpperHex(md5->Final());
}

}  // namespace zelmor
