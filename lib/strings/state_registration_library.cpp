// The second opinion of the outside state-registration library: a shared library
// in the program's folder, downloaded when missing and bound on first use.
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>

#include "config/mConfigStaticUnit.h"
#include "config/program_folder.h"
#include "core/cp1252.h"
#include "core/text.h"
#include "core/text_kit.h"
#include "platform/http_client.h"
#include "platform/shared_library.h"
#include "strings/check_digit_math.h"
#include "strings/mString.h"
#include "strings/state_registration_library.h"

namespace zelmor {
namespace {

using ConsisteFn = int (*)(const char* Insc, const char* UF);

// The library bound by the last call, and the file it was bound from.
struct Binding {
  std::mutex Lock;
  std::u16string Path;
  std::shared_ptr<platform::SharedLibrary> Library;
  ConsisteFn Consiste = nullptr;
};

Binding& TheBinding() {
  static Binding b;
  return b;
}

ConsisteFn Bind(const std::u16string& path) {
  Binding& b = TheBinding();
  std::lock_guard<std::mutex> lock(b.Lock);
  if (b.Consiste && b.Path == path) return b.Consiste;
  auto lib = platform::Service<platform::SharedLibraryLoader>::Get().Load(path);
  auto fn = reinterpret_cast<ConsisteFn>(lib->Symbol("ConsisteInscricaoEstadual"));
  if (!fn) throw platform::ESharedLibraryError(path + u": a função ConsisteInscricaoEstadual não foi encontrada");
  b.Path = path;
  b.Library = std::move(lib);
  b.Consiste = fn;
  return fn;
}

bool FileExists(const std::u16string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(std::filesystem::path(U16ToUtf8(path)), ec);
}

}  // namespace

std::u16string InscricaoLibraryHost() {
  // The environment wins, so one run can point elsewhere without editing the file.
  const char* host = std::getenv(kInscricaoLibraryHostVariable);
  if (host && *host) return Utf8ToU16(host);
  return TConfigStatic::Ler(kInscricaoLibraryHostSection, kInscricaoLibraryHostItem, u"");
}

std::u16string InscricaoLibraryUrl() {
  std::u16string host(textkit::Trim(InscricaoLibraryHost()));
  while (!host.empty() && host.back() == u'/') host.pop_back();
  if (!host.empty() && host.find(u"://") == std::u16string::npos) host = u"https://" + host;
  return host + std::u16string(kInscricaoLibraryPath);
}

std::u16string TmStr::ValidarInscricaoDLLSintegra(std::u16string_view IE, std::u16string_view UF) {
  if (UpperCase(textkit::Trim(IE)) == u"ISENTO") return {};

  const std::u16string arquivo = program::Folder() + std::u16string(kInscricaoLibraryFile);
  if (!FileExists(arquivo)) {
    const std::u16string url = InscricaoLibraryUrl();
    bool baixou = false;
    // With no host configured there is nothing to download from.
    if (!InscricaoLibraryHost().empty()) {
      try {
        baixou = platform::Service<platform::HttpClient>::Get().DownloadToFile(url, arquivo);
      } catch (...) {
        baixou = false;
      }
    }
    if (!baixou) return u"Erro ao baixar o arquivo " + url;
  }

  const ConsisteFn consiste = Bind(arquivo);
  const std::string insc = cp1252::Encode(SomenteNumeros(IE, true));
  const std::string uf = cp1252::Encode(UF);
  switch (consiste(insc.c_str(), uf.c_str())) {
    case 0: return {};
    case 1: return u"Inscrição inválida para " + std::u16string(UF);
    default: return u"Parâmetros inválidos";
  }
}

}  // namespace zelmor
