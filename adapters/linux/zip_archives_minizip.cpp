// Zip archives through Debian's minizip (zlib's contrib): a new archive and every
// extracted entry go through the replacement file (replacement_file.h), so the
// target is replaced only when complete and correct.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <minizip/unzip.h>
#include <minizip/zip.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

#include "adapters/linux/file_descriptor.h"
#include "adapters/linux/posix_files.h"
#include "adapters/linux/replacement_file.h"
#include "adapters/linux/system_services.h"
#include "core/errors.h"
#include "core/text.h"

namespace zelmor::adapters {

namespace {

using platform::ZipEntryHeader;
using platform::ZipProgress;

constexpr std::size_t kChunk = 256 * 1024;
constexpr std::uint16_t kUtf8Flag = 0x0800;
constexpr std::uint16_t kMadeByUnix = (3 << 8) | 30;

std::u16string Text(const std::string& s) { return Utf8ToU16(s, Utf8Invalid::Escape); }

[[noreturn]] void Fail(std::u16string_view what, const std::string& path, int err = 0) {
  std::u16string m(what);
  m += u" \"" + Text(path) + u"\"";
  if (err != 0) m += u": " + Text(posix::ErrorText(err));
  throw EFileError(m);
}

[[noreturn]] void Fail(std::u16string_view what, const std::string& path, const posix::ReplaceError& e) {
  throw EFileError(std::u16string(what) + u" \"" + Text(path) + u"\": " + Text(e.Reason()));
}

// The name an entry was stored under: the Unicode path field when it matches the
// stored bytes, UTF-8 when flagged or valid, else the bytes escaped so that they
// reach the file system as they were.
std::u16string EntryName(const std::string& raw, const std::string& extra) {
  for (std::size_t i = 0; i + 4 <= extra.size();) {
    const unsigned id = static_cast<unsigned char>(extra[i]) | static_cast<unsigned char>(extra[i + 1]) << 8;
    const std::size_t len = static_cast<unsigned char>(extra[i + 2]) | static_cast<unsigned char>(extra[i + 3]) << 8;
    if (i + 4 + len > extra.size()) break;
    if (id == 0x7075 && len > 5 && extra[i + 4] == 1) {
      const std::uint32_t crc = static_cast<std::uint32_t>(static_cast<unsigned char>(extra[i + 5])) |
                                static_cast<std::uint32_t>(static_cast<unsigned char>(extra[i + 6])) << 8 |
                                static_cast<std::uint32_t>(static_cast<unsigned char>(extra[i + 7])) << 16 |
                                static_cast<std::uint32_t>(static_cast<unsigned char>(extra[i + 8])) << 24;
      const auto* bytes = reinterpret_cast<const Bytef*>(raw.data());
      std::u16string name;
      if (crc32(0, bytes, static_cast<uInt>(raw.size())) == crc && TryUtf8ToU16(extra.substr(i + 9, len - 5), name))
        return name;
    }
    i += 4 + len;
  }
  return Text(raw);
}

void DosTime(std::time_t t, tm_zip& out) {
  std::tm tm{};
  localtime_r(&t, &tm);
  if (tm.tm_year < 80) {  // zip times start in 1980
    tm = std::tm{};
    tm.tm_mday = 1;
    tm.tm_year = 80;
  }
  out.tm_sec = tm.tm_sec;
  out.tm_min = tm.tm_min;
  out.tm_hour = tm.tm_hour;
  out.tm_mday = tm.tm_mday;
  out.tm_mon = tm.tm_mon;
  out.tm_year = tm.tm_year + 1900;
}

std::time_t FromDos(std::uint32_t dos) {
  std::tm tm{};
  tm.tm_year = static_cast<int>((dos >> 25) & 0x7F) + 80;
  tm.tm_mon = static_cast<int>((dos >> 21) & 0x0F) - 1;
  tm.tm_mday = static_cast<int>((dos >> 16) & 0x1F);
  tm.tm_hour = static_cast<int>((dos >> 11) & 0x1F);
  tm.tm_min = static_cast<int>((dos >> 5) & 0x3F);
  tm.tm_sec = static_cast<int>((dos & 0x1F) * 2);
  tm.tm_isdst = -1;
  return std::mktime(&tm);
}

// minizip's stream calls over an open descriptor (the nameless new archive) instead
// of a path: the stream gets its own copy of the descriptor, closed with it.
voidpf OpenDescriptor(voidpf opaque, const void*, int) {
  posix::FileDescriptor copy(fcntl(*static_cast<int*>(opaque), F_DUPFD_CLOEXEC, 0));
  if (!copy) return nullptr;
  std::FILE* f = fdopen(copy.Get(), "w+b");
  if (f != nullptr) copy.Release();  // the stream owns it now
  return f;
}

class MinizipWriter final : public platform::ZipWriter {
 public:
  explicit MinizipWriter(std::string target) : FTarget(std::move(target)) {
    posix::ReplaceOptions options;
    options.NewMode = 0644;
    if (const posix::ReplaceError e = FFile.Open(FTarget, options))
      Fail(u"Não foi possível criar o arquivo zip", FTarget, e);
    FDescriptor = FFile.Descriptor();
    zlib_filefunc64_def calls{};
    fill_fopen64_filefunc(&calls);
    calls.zopen64_file = &OpenDescriptor;
    calls.opaque = &FDescriptor;
    FZip = zipOpen2_64("", APPEND_STATUS_CREATE, nullptr, &calls);
    if (FZip == nullptr) Fail(u"Não foi possível criar o arquivo zip", FTarget);
  }
  ~MinizipWriter() override {
    if (FZip != nullptr) zipClose(FZip, nullptr);
  }

  void AddFile(std::u16string_view source, std::u16string_view name, const ZipProgress& progress) override {
    const std::string path = posix::NativePath(source);
    // Not blocking: a pipe would wait for a writer before it could be refused.
    posix::FileDescriptor fd(
        posix::Retry([&] { return open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY); }));
    if (!fd) Fail(u"Não foi possível ler o arquivo", path, errno);
    struct stat st {};
    if (fstat(fd.Get(), &st) != 0) Fail(u"Não é um arquivo", path, errno);
    if (!S_ISREG(st.st_mode)) Fail(u"Não é um arquivo", path);
    const posix::OwnedStream stream(fdopen(fd.Get(), "rb"));
    if (!stream) Fail(u"Não foi possível ler o arquivo", path, errno);
    fd.Release();  // the stream owns it now
    std::FILE* in = stream.get();

    const std::string stored = U16ToUtf8(name, Utf8Invalid::Escape);
    bool ascii = true;
    for (unsigned char c : stored) ascii = ascii && c < 0x80;
    ZipEntryHeader h;
    h.VersionMadeBy = kMadeByUnix;
    h.VersionNeeded = 20;
    h.Flags = ascii ? 0 : kUtf8Flag;
    h.CompressionMethod = Z_DEFLATED;
    h.UncompressedSize = static_cast<std::uint64_t>(st.st_size);
    h.NameLength = static_cast<std::uint16_t>(stored.size());
    h.ExternalAttributes = static_cast<std::uint32_t>(S_IFREG | (st.st_mode & 0777)) << 16;
    h.Name = name;

    zip_fileinfo info{};
    DosTime(st.st_mtime, info.tmz_date);
    info.external_fa = h.ExternalAttributes;
    const int zip64 = h.UncompressedSize >= 0xFFFFFFFFull ? 1 : 0;
    if (zipOpenNewFileInZip4_64(FZip, stored.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 6, 0,
                                -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0, kMadeByUnix, h.Flags,
                                zip64) != ZIP_OK)
      Fail(u"Não foi possível gravar no arquivo zip", FTarget);
    std::vector<char> buf(kChunk);
    std::uint64_t done = 0;
    for (;;) {
      const std::size_t n = std::fread(buf.data(), 1, buf.size(), in);
      if (n > 0) {
        if (zipWriteInFileInZip(FZip, buf.data(), static_cast<unsigned>(n)) != ZIP_OK)
          Fail(u"Não foi possível gravar no arquivo zip", FTarget);
        done += n;
        if (progress) progress(h, done);
      }
      if (n < buf.size()) {
        if (std::ferror(in)) Fail(u"Não foi possível ler o arquivo", path, errno);
        break;
      }
    }
    if (zipCloseFileInZip(FZip) != ZIP_OK) Fail(u"Não foi possível gravar no arquivo zip", FTarget);
  }

  void Commit() override {
    const int rc = zipClose(FZip, nullptr);
    FZip = nullptr;
    if (rc != ZIP_OK) Fail(u"Não foi possível gravar o arquivo zip", FTarget);
    if (const posix::ReplaceError e = FFile.Commit()) Fail(u"Não foi possível gravar o arquivo zip", FTarget, e);
  }

 private:
  std::string FTarget;
  posix::ReplacementFile FFile;  // discarded unless committed
  int FDescriptor = -1;          // FFile's, for the stream calls
  zipFile FZip = nullptr;
};

class MinizipReader final : public platform::ZipReader {
 public:
  explicit MinizipReader(std::string path) : FPath(std::move(path)) {
    struct stat st {};
    if (stat(FPath.c_str(), &st) != 0) Fail(u"Arquivo não encontrado:", FPath, errno);
    FZip = unzOpen64(FPath.c_str());
    if (FZip == nullptr) Fail(u"Arquivo zip inválido:", FPath);
    FRaw.reset(std::fopen(FPath.c_str(), "rbe"));
    // A constructor that throws runs no destructor: the archive is closed here.
    try {
      ListEntries();
    } catch (...) {
      unzClose(FZip);
      throw;
    }
    FRaw.reset();
  }
  ~MinizipReader() override {
    if (FZip != nullptr) unzClose(FZip);
  }

  const std::vector<ZipEntryHeader>& Entries() const override { return FEntries; }

  void Extract(std::size_t index, std::u16string_view target, const ZipProgress& progress) override {
    const ZipEntryHeader& h = FEntries.at(index);
    const std::string out = posix::NativePath(target);
    const std::string folder = posix::FolderOf(out);
    // A declared size the disk cannot hold is refused before a byte is written; the
    // bytes that do come out are counted against the declared size below.
    struct statvfs vfs {};
    if (statvfs(folder.c_str(), &vfs) == 0 &&
        h.UncompressedSize > static_cast<std::uint64_t>(vfs.f_bavail) * vfs.f_frsize)
      throw EFileError(u"Espaço insuficiente em disco para extrair \"" + h.Name + u"\" (" +
                       Text(std::to_string(h.UncompressedSize)) + u" bytes)");
    if (unzSetOffset64(FZip, FPlaces[index]) != UNZ_OK || unzOpenCurrentFile(FZip) != UNZ_OK)
      Fail(u"Arquivo zip danificado:", FPath);
    // Closes the entry however this ends (a second close after the CRC check is harmless).
    struct EntryCloser {
      unzFile zip;
      ~EntryCloser() { unzCloseCurrentFile(zip); }
    } entry{FZip};
    // The name itself is replaced (a link there is not followed); a read-only file or
    // another user's is refused, as a copy over it is.
    posix::ReplacementFile file;
    posix::ReplaceOptions options;
    options.NewMode = 0644;
    options.FollowLinks = false;
    options.Flush = false;  // as a copy: the archive still holds it
    if (const posix::ReplaceError e = file.Open(out, options)) Fail(u"Não foi possível gravar o arquivo", out, e);

    std::vector<char> buf(kChunk);
    std::uint64_t done = 0;
    for (;;) {
      const int n = unzReadCurrentFile(FZip, buf.data(), static_cast<unsigned>(buf.size()));
      if (n < 0) throw EFileError(u"Arquivo zip danificado: \"" + h.Name + u"\" em \"" + Text(FPath) + u"\"");
      if (n == 0) break;
      done += static_cast<std::uint64_t>(n);
      if (done > h.UncompressedSize)
        throw EFileError(u"\"" + h.Name + u"\" ultrapassa o tamanho declarado no arquivo zip; não foi extraído");
      if (const posix::ReplaceError e = file.Write(std::string_view(buf.data(), static_cast<std::size_t>(n))))
        Fail(u"Não foi possível gravar o arquivo", out, e);
      if (progress) progress(h, done);
    }
    if (done != h.UncompressedSize)
      throw EFileError(u"\"" + h.Name + u"\" é menor que o tamanho declarado no arquivo zip; não foi extraído");
    if (unzCloseCurrentFile(FZip) != UNZ_OK)  // the CRC did not match
      throw EFileError(u"Arquivo zip danificado: \"" + h.Name + u"\" em \"" + Text(FPath) + u"\" (CRC)");
    const std::time_t when = FromDos(h.DosDateTime);
    const timespec times[2] = {{when, 0}, {when, 0}};
    futimens(file.Descriptor(), times);
    if (const posix::ReplaceError e = file.Commit()) Fail(u"Não foi possível gravar o arquivo", out, e);
  }

 private:
  void ListEntries() {
    for (int rc = unzGoToFirstFile(FZip); rc == UNZ_OK; rc = unzGoToNextFile(FZip)) {
      unz_file_info64 info{};
      if (unzGetCurrentFileInfo64(FZip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) break;
      std::string name(info.size_filename, '\0'), extra(info.size_file_extra, '\0'),
          comment(info.size_file_comment, '\0');
      if (unzGetCurrentFileInfo64(FZip, &info, name.data(), static_cast<uLong>(name.size()), extra.data(),
                                  static_cast<uLong>(extra.size()), comment.data(),
                                  static_cast<uLong>(comment.size())) != UNZ_OK)
        Fail(u"Arquivo zip danificado:", FPath);
      ZipEntryHeader h;
      h.VersionMadeBy = static_cast<std::uint16_t>(info.version);
      h.VersionNeeded = static_cast<std::uint16_t>(info.version_needed);
      h.Flags = static_cast<std::uint16_t>(info.flag);
      h.CompressionMethod = static_cast<std::uint16_t>(info.compression_method);
      h.DosDateTime = static_cast<std::uint32_t>(info.dosDate);
      h.Crc32 = static_cast<std::uint32_t>(info.crc);
      h.CompressedSize = info.compressed_size;
      h.UncompressedSize = info.uncompressed_size;
      h.NameLength = static_cast<std::uint16_t>(info.size_filename);
      h.ExtraLength = static_cast<std::uint16_t>(info.size_file_extra);
      h.CommentLength = static_cast<std::uint16_t>(info.size_file_comment);
      h.DiskNumber = static_cast<std::uint32_t>(info.disk_num_start);
      h.InternalAttributes = static_cast<std::uint16_t>(info.internal_fa);
      h.ExternalAttributes = static_cast<std::uint32_t>(info.external_fa);
      h.Name = EntryName(name, extra);
      h.Extra = std::move(extra);
      h.Comment = Text(comment);
      FPlaces.push_back(unzGetOffset64(FZip));
      h.LocalHeaderOffset = LocalHeaderOffset(FPlaces.back());
      FEntries.push_back(std::move(h));
    }
  }

  // The local header's offset, from the 46-byte central record (zip64 archives keep
  // it in their extra field, which the progress handler also gets).
  std::uint64_t LocalHeaderOffset(ZPOS64_T central) const {
    unsigned char b[4] = {};
    const bool ok = FRaw && fseeko(FRaw.get(), static_cast<off_t>(central + 42), SEEK_SET) == 0 &&
                    std::fread(b, 1, 4, FRaw.get()) == 4;
    return ok ? (b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint64_t>(b[3]) << 24) : 0;
  }

  std::string FPath;
  unzFile FZip = nullptr;
  posix::OwnedStream FRaw;  // the archive's bytes, while the entries are listed
  std::vector<ZipEntryHeader> FEntries;
  std::vector<ZPOS64_T> FPlaces;
};

class MinizipArchives final : public platform::ZipArchives {
 public:
  std::unique_ptr<platform::ZipWriter> Create(std::u16string_view path) override {
    return std::make_unique<MinizipWriter>(posix::NativePath(path));
  }
  std::unique_ptr<platform::ZipReader> Open(std::u16string_view path) override {
    return std::make_unique<MinizipReader>(posix::NativePath(path));
  }
};

}  // namespace

platform::ZipArchives& SystemZipArchives() {
  static MinizipArchives archives;
  return archives;
}

}  // namespace zelmor::adapters
