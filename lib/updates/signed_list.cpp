// The signed version list: reading it, checking its signature, and writing it for the
// publisher (`zelmor update keygen` / `zelmor update sign`).
#include "updates/signed_list.h"

#include "core/errors.h"
#include "core/integer_text.h"
#include "core/text.h"
#include "files/files.h"
#include "platform/digests.h"
#include "platform/download_limits.h"
#include "platform/file_system.h"
#include "platform/signatures.h"
#include "platform/update_trust_store.h"
#include "system/system.h"
#include "textfile/text_file.h"

namespace zelmor::updates {
namespace {

using SV = std::u16string_view;

constexpr std::string_view kDigestTag = ";sha256 ";
constexpr std::string_view kPublicTag = "ed25519";
constexpr std::string_view kPrivateTag = "ed25519-private";
constexpr std::size_t kKeySize = 32, kSignatureSize = 64;

// The key a program is built with (cmake -DZELMOR_UPDATE_KEY="ed25519 HEX"), if any.
#ifdef ZELMOR_UPDATE_KEY
constexpr std::string_view kBuiltInKey = ZELMOR_UPDATE_KEY;
#else
constexpr std::string_view kBuiltInKey = "";
#endif

std::string Hex(std::string_view raw) {
  std::string r;
  AppendHexBytes(r, raw);
  return r;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// «TAG HEX» (spaces around it and a final line break allowed) → raw bytes of `size`.
std::optional<std::string> TaggedHex(std::string_view text, std::string_view tag, std::size_t size) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.remove_suffix(1);
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  if (text.size() != tag.size() + 1 + 2 * size || text.substr(0, tag.size()) != tag || text[tag.size()] != ' ')
    return std::nullopt;
  std::string raw;
  for (std::size_t i = tag.size() + 1; i < text.size(); i += 2) {
    const int hi = HexDigit(text[i]), lo = HexDigit(text[i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    raw += static_cast<char>(hi * 16 + lo);
  }
  return raw;
}

std::string ReadSmall(SV path, std::int64_t cap) {
  platform::FileSystem& fs = platform::Service<platform::FileSystem>::Get();
  const platform::EntryInfo info = fs.Stat(path);
  if (info.Kind != platform::EntryKind::File)
    throw EFileError(u"Arquivo não encontrado: \"" + std::u16string(path) + u"\"");
  if (info.Size > cap) throw EFileError(u"Arquivo grande demais: \"" + std::u16string(path) + u"\"");
  std::string bytes;
  if (!fs.ReadRange(path, 0, static_cast<std::size_t>(cap) + 1, bytes) || static_cast<std::int64_t>(bytes.size()) > cap)
    throw EFileError(u"Não foi possível ler \"" + std::u16string(path) + u"\"");
  return bytes;
}

std::u16string Num(std::int64_t n) { return Utf8ToU16(std::to_string(n)); }

}  // namespace

TStringList ListLines(std::string_view bytes) {
  text_file::Encoding encoding;
  TStringList lines;
  text_file::SplitLines(text_file::Decode(bytes, encoding), lines);
  return lines;
}

std::optional<ListedFile> FindListed(const TStringList& lines, SV name) {
  std::optional<ListedFile> found;
  bool digest = false, versioned = false;
  for (const std::u16string& line : lines.Items) {
    const std::string utf8 = U16ToUtf8(line, Utf8Invalid::Escape);
    if (utf8.rfind(kDigestTag, 0) == 0) {
      // ";sha256 SIZE HEX NAME": the name is the rest of the line, spaces and all.
      const std::size_t a = kDigestTag.size(), b = utf8.find(' ', a);
      const std::size_t c = b == std::string::npos ? b : utf8.find(' ', b + 1);
      if (c == std::string::npos || digest) continue;
      if (!SameText(Utf8ToU16(utf8.substr(c + 1), Utf8Invalid::Escape), name)) continue;
      const std::string size = utf8.substr(a, b - a), hex = utf8.substr(b + 1, c - b - 1);
      if (size.empty() || size.size() > 18 || size.find_first_not_of("0123456789") != std::string::npos ||
          hex.size() != 64 || hex.find_first_not_of("0123456789abcdef") != std::string::npos)
        continue;
      if (!found) found.emplace();
      found->Size = std::stoll(size);
      found->Sha256 = hex;
      digest = true;
      continue;
    }
    const std::size_t cut = line.find(u'=');
    if (cut == std::u16string::npos || !SameText(SV(line).substr(0, cut), name)) continue;
    if (versioned) continue;
    if (!found) found.emplace();
    found->Version = line.substr(cut + 1);
    versioned = true;
  }
  return found;
}

std::string ParsePublicKey(std::string_view text, SV origin) {
  if (auto raw = TaggedHex(text, kPublicTag, kKeySize)) return *raw;
  throw EArgumentError(u"Chave pública inválida em \"" + std::u16string(origin) +
                       u"\" (esperado \"ed25519 \" e 64 dígitos hexadecimais)");
}

std::string ParsePrivateKey(std::string_view text, SV origin) {
  if (auto raw = TaggedHex(text, kPrivateTag, kKeySize)) return *raw;
  throw EArgumentError(u"Chave privada inválida em \"" + std::u16string(origin) +
                       u"\" (esperado \"ed25519-private \" e 64 dígitos hexadecimais)");
}

std::string PublicKeyText(std::string_view raw) { return std::string(kPublicTag) + " " + Hex(raw) + "\n"; }
std::string PrivateKeyText(std::string_view raw) { return std::string(kPrivateTag) + " " + Hex(raw) + "\n"; }

std::vector<std::string> TrustedKeys() {
  std::vector<std::string> keys;
  if (!kBuiltInKey.empty()) keys.push_back(ParsePublicKey(kBuiltInKey, u"chave embutida no programa"));
  for (const platform::TrustedKeyFile& file : platform::Service<platform::UpdateTrustStore>::Get().KeyFiles())
    keys.push_back(ParsePublicKey(file.Text, file.Origin));
  return keys;
}

bool SignatureValid(std::string_view list, std::string_view signatureText, const std::vector<std::string>& keys) {
  const std::optional<std::string> signature = TaggedHex(signatureText, kPublicTag, kSignatureSize);
  if (!signature) return false;
  std::string message(kSignatureContext);
  message += list;
  platform::Signatures& signatures = platform::Service<platform::Signatures>::Get();
  for (const std::string& key : keys)
    if (signatures.VerifyEd25519(key, message, *signature)) return true;
  return false;
}

FileDigest DigestFile(SV path) {
  constexpr std::size_t kPiece = 1 << 20;
  platform::FileSystem& fs = platform::Service<platform::FileSystem>::Get();
  auto sha = platform::Service<platform::Digests>::Get().NewSha256();
  FileDigest result;
  std::string piece;
  for (;;) {
    piece.clear();
    if (!fs.ReadRange(path, static_cast<std::uint64_t>(result.Size), kPiece, piece))
      throw EFileError(u"Arquivo " + std::u16string(path) + u" não encontrado");
    sha->Update(piece);
    result.Size += static_cast<std::int64_t>(piece.size());
    if (piece.size() < kPiece) break;
  }
  result.Sha256 = Hex(sha->Final());
  return result;
}

std::vector<std::u16string> SignFolder(SV folder, SV privateKeyFile) {
  platform::FileSystem& fs = platform::Service<platform::FileSystem>::Get();
  const std::u16string dir = TmFile::DirBarra(folder);
  const std::string privateKey = ParsePrivateKey(ReadSmall(privateKeyFile, 4096), privateKeyFile);
  const std::u16string listPath = dir + std::u16string(kVersionList);
  const std::string original = ReadSmall(listPath, platform::kMaxVersionListBytes);
  text_file::Encoding encoding;
  TStringList lines;
  text_file::SplitLines(text_file::Decode(original, encoding), lines);

  TStringList out;
  std::vector<std::u16string> signedNames;
  for (const std::u16string& line : lines.Items) {
    if (U16ToUtf8(line, Utf8Invalid::Escape).rfind(kDigestTag, 0) == 0) continue;  // rewritten below
    out.Items.push_back(line);
    const std::size_t cut = line.find(u'=');
    if (cut == std::u16string::npos) continue;
    const std::u16string name = line.substr(0, cut), version = line.substr(cut + 1);
    bool seen = false;
    for (const std::u16string& n : signedNames) seen = seen || SameText(n, name);
    if (seen) continue;  // only a name's first line counts
    if (name.empty() || name.find_first_of(u"/\\") != std::u16string::npos || name == u"." || name == u"..")
      throw EArgumentError(u"Nome inválido na lista: \"" + name + u"\"");
    const std::u16string path = dir + name;
    if (fs.Stat(path).Kind != platform::EntryKind::File)
      throw EFileError(u"O arquivo " + name + u" da lista não está em \"" + dir + u"\"");
    const std::u16string stamped = TmRot::GetFileVersao(path, 4, u".");
    if (stamped != version)
      throw EArgumentError(u"versão do arquivo diferente da lista: " + name + u" tem \"" + stamped +
                           u"\", a lista diz \"" + version + u"\"");
    const FileDigest digest = DigestFile(path);
    out.Items.push_back(Utf8ToU16(std::string(kDigestTag)) + Num(digest.Size) + u" " + Utf8ToU16(digest.Sha256) + u" " +
                        name);
    signedNames.push_back(name);
  }
  std::u16string text;
  for (const std::u16string& line : out.Items) text += line + u"\r\n";
  const std::string bytes = text_file::Encode(text, encoding);
  std::string message(kSignatureContext);
  message += bytes;
  const std::string signature = platform::Service<platform::Signatures>::Get().SignEd25519(privateKey, message);
  // The list first, then its signature: a reader between the two sees a list that
  // does not verify, never a signature over a list that is not there.
  fs.Replace(listPath, bytes);
  fs.Replace(dir + std::u16string(kSignatureFile), std::string(kPublicTag) + " " + Hex(signature) + "\n");
  return signedNames;
}

}  // namespace zelmor::updates
