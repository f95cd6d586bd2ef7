// Updating program files from the update server: the signed version list, the newer
// files fetched by FTP and checked against it, each put in place in one step with its
// predecessor kept under a name that carries the old version.
#include <cstdio>
#include <exception>
#include <optional>
#include <string>

#include "config/mConfigUnit.h"
#include "core/errors.h"
#include "core/text.h"
#include "dialogs/dbxAguardeUnit.h"
#include "dialogs/mMensagem.h"
#include "files/files.h"
#include "ftp/ZelmorFileTransferProtocol.h"
#include "platform/download_limits.h"
#include "platform/executable_info.h"
#include "platform/file_system.h"
#include "platform/service.h"
#include "system/system.h"
#include "textfile/text_file.h"
#include "updates/signed_list.h"
#include "updates/updates.h"

namespace zelmor {
namespace {

using SV = std::u16string_view;

constexpr SV kRemoteFolder = u"/web/files/ombrix/Externo/";
using updates::kSignatureFile;
using updates::kVersionList;
// Where the server's address and login live in the program's settings file.
constexpr SV kSection = u"Atualizacao";

// A connected FTP object for the update server; any failure, reading the settings
// included, is raised as a connection error.
void Connect(TZelmorFTP& ftp) {
  try {
    const TmConfig settings(TmConfig::GetFileNameDefault(), true);
    ftp.SetHost(settings.ReadString(kSection, u"Host", u""));
    ftp.SetUsername(settings.ReadString(kSection, u"Usuario", u""));
    ftp.SetPassword(settings.ReadString(kSection, u"Senha", u""));
    ftp.SetPort(settings.ReadInteger(kSection, u"Porta", 21));
    ftp.Conectar();
  } catch (const EZelmorError& e) {
    throw ENetworkError(u"Erro ao conectar no ftp (" + e.Message() + u")");
  }
}

// «/opt/caixa/caixa.exe» at «1.4.0.27» is kept as «/opt/caixa/caixa.14027».
std::u16string KeptName(SV path, SV version) {
  const std::u16string name = TmFile::FileName(path);
  const std::u16string base = name.substr(0, name.size() - TmFile::FileExtension(name).size());
  std::u16string digits;
  for (char16_t c : version)
    if (c != u'.') digits += c;
  return TmFile::ExtractDir(path) + base + u"." + digits;
}

// Puts the downloaded `fresh` in place of `target`. The old file is first copied to
// `kept` (a copy keeps its permissions and time); the new file then takes `target`'s
// place in one rename, with its permissions, so a failure at any point leaves
// `target` as it was and no program is ever held whole in memory. A read-only
// program file is updated and stays read-only (and is never writable in between).
void Install(SV fresh, SV target, SV kept, SV name) {
  platform::FileSystem& fs = platform::Service<platform::FileSystem>::Get();
  const std::u16string folder = TmFile::ExtractDir(target);
  const std::u16string cannotMove =
      u"Não possivel mover o arquivo " + std::u16string(name) + u" para a pasta " + folder;
  const platform::EntryInfo old = fs.Stat(target);
  const bool existed = old.Kind != platform::EntryKind::None;
  if (existed && !fs.CopyFile(target, kept, false))
    throw EFileError(u"Não possivel renomear o arquivo " + std::u16string(target) + u" para " + std::u16string(kept));
  bool moved = false;
  if (existed || fs.Stat(folder).Kind == platform::EntryKind::Folder)
    moved = fs.MoveReplacing(fresh, target, nullptr, platform::ReadOnlyFile::KeepReadOnly);
  if (!moved) {
    if (existed) {  // the old file never moved: its copy goes
      fs.SetReadOnly(kept, false);
      fs.DeleteFile(kept);
    }
    fs.DeleteFile(fresh);
    throw EFileError(cannotMove);
  }
}

// The checks a downloaded file passes before it replaces anything: the size and
// SHA-256 of the signed list, and the version stamped in it equal to the listed one.
// A failure removes the download and says which check failed.
void CheckDownload(SV fresh, SV name, const updates::ListedFile& listed) {
  platform::FileSystem& fs = platform::Service<platform::FileSystem>::Get();
  const updates::FileDigest digest = updates::DigestFile(fresh);
  if (digest.Size != listed.Size || digest.Sha256 != listed.Sha256) {
    fs.DeleteFile(fresh);
    throw EFileError(u"arquivo diferente do publicado: " + std::u16string(name) +
                     u" (tamanho ou SHA-256 não conferem com a lista assinada)");
  }
  const std::u16string stamped = TmRot::GetFileVersao(fresh, 4, u".");
  if (stamped != listed.Version) {
    fs.DeleteFile(fresh);
    throw EFileError(u"versão do arquivo diferente da lista: " + std::u16string(name) + u" tem \"" + stamped +
                     u"\", a lista diz \"" + listed.Version + u"\"");
  }
}

// Reads the downloaded list, within the cap it was downloaded under.
std::string ReadList(SV path) {
  std::string bytes;
  if (!platform::Service<platform::FileSystem>::Get().ReadRange(path, 0, platform::kMaxVersionListBytes, bytes))
    throw EFileError(u"Não possivel ler o arquivo de versões \"" + std::u16string(path) + u"\"");
  return bytes;
}

}  // namespace

bool TmFile::GetExePorVersao(const TzelArrayString& aaArquivoExe, std::u16string& asMsg) {
  asMsg.clear();
  platform::FileSystem& fs = platform::Service<platform::FileSystem>::Get();
  const std::u16string program = DirExe();
  const std::u16string temp = program + u"Temp" + platform::PathDelim;
  if (!fs.CreateFolders(temp)) throw EFileError(u"Não foi possivel criar o diretório \"" + temp + u"\"");

  bool requireSignature = true;
  try {
    requireSignature = TmConfig(TmConfig::GetFileNameDefault(), true).ReadBool(kSection, u"ExigirAssinatura", true);
  } catch (const EZelmorError&) {
  }
  bool isSigned = false;
  std::u16string signatureError;
  {
    TZelmorFTP ftp;
    Connect(ftp);
    ftp.SetLimiteBytes(platform::kMaxVersionListBytes);
    if (!ftp.Download(std::u16string(kRemoteFolder) + std::u16string(kVersionList), program, true))
      throw ENetworkError(u"Não possivel efetuar o download do arquivo de versões (" + ftp.MsgErro() + u")");
    if (fs.EntryExists(program + std::u16string(kSignatureFile)))
      fs.DeleteFile(program + std::u16string(kSignatureFile));
    isSigned = ftp.Download(std::u16string(kRemoteFolder) + std::u16string(kSignatureFile), program, true);
    if (!isSigned) signatureError = ftp.MsgErro();
  }
  const std::string listBytes = ReadList(program + std::u16string(kVersionList));
  if (isSigned) {
    const std::vector<std::string> keys = updates::TrustedKeys();
    if (!updates::SignatureValid(listBytes, ReadList(program + std::u16string(kSignatureFile)), keys))
      throw EFileError(keys.empty()
                           ? u"assinatura inválida: não há chave de atualização confiável "
                             u"(/etc/zelmor/update-keys/*.pub)"
                           : u"assinatura inválida: a lista de versões não foi assinada por uma chave confiável");
  } else if (requireSignature) {
    throw ENetworkError(u"O servidor de atualização não publica a assinatura da lista de versões (" +
                        std::u16string(kSignatureFile) + u": " + signatureError +
                        u"). Publique-a com \"zelmor update sign PASTA --key update.key\" ou, numa rede confiável, "
                        u"permita atualizações sem assinatura com ExigirAssinatura=0 em [Atualizacao]");
  } else {
    std::fputs(
        "Aviso: atualização sem assinatura (ExigirAssinatura=0 em [Atualizacao]): os arquivos baixados "
        "não são verificados\n",
        stderr);
  }
  const TStringList list = updates::ListLines(listBytes);

  for (const std::u16string& path : aaArquivoExe) {
    const std::u16string name = FileName(path);
    const std::optional<updates::ListedFile> entry = updates::FindListed(list, name);
    std::u16string local;
    if (FileExists(path)) {
      const std::u16string listed = entry ? entry->Version : u"";
      local = TmRot::GetFileVersao(path, 4, u".");
      if (!listed.empty() && !local.empty() && !VersaoMaior(local, listed, geTiposComparacao::tcMaior)) {
        asMsg += u"\r-O arquivo " + name + u" já possui a última versão";
        continue;
      }
    }
    if (isSigned && (!entry || entry->Sha256.empty()))
      throw EFileError(u"arquivo diferente do publicado: " + name + u" não está na lista assinada");
    {
      TZelmorFTP ftp;
      Connect(ftp);
      // A signed file is never more than its listed size.
      if (isSigned) ftp.SetLimiteBytes(entry->Size);
      if (!ftp.Download(std::u16string(kRemoteFolder) + name, temp, true))
        throw ENetworkError(u"Não possivel efetuar o download do arquivo " + name + u" (" + ftp.MsgErro() + u")");
    }
    if (isSigned) CheckDownload(temp + name, name, *entry);
    Install(temp + name, path, KeptName(path, local), name);
  }
  return true;
}

bool TmFile::GetAtualizaExe(const TzelArrayString& aaArquivoExe, bool abAvisarSeJaEstaAtualizado,
                            bool abAvisarQueFoiAtualizado) {
  struct WaitWindow {
    WaitWindow() { ShowWaitWindow(u"Aguarde...", u"Atualizando arquivos", 0, true, false, false); }
    ~WaitWindow() { CloseWaitWindow(); }
  } wait;
  std::u16string notes;
  std::optional<std::u16string> failure;
  try {
    GetExePorVersao(aaArquivoExe, notes);
  } catch (const EZelmorError& e) {
    failure = e.Message();
  } catch (const std::exception& e) {
    failure = Utf8ToU16(e.what());
  }
  if (failure) {
    TmDlg::Erro(u"Erro ao atualizar executável. Msg.Original: " + *failure);
    return false;
  }
  if (notes.empty() && abAvisarQueFoiAtualizado) TmDlg::Informa(u"Executavel atualizado com sucesso");
  if (!notes.empty() && abAvisarSeJaEstaAtualizado) TmDlg::Alerta(u"Avisos :" + notes);
  return true;
}

bool TmFile::GetAtualizaExe(std::u16string_view asArquivoExe, bool abAvisarSeJaEstaAtualizado,
                            bool abAvisarQueFoiAtualizado) {
  return GetAtualizaExe(TzelArrayString{std::u16string(asArquivoExe)}, abAvisarSeJaEstaAtualizado,
                        abAvisarQueFoiAtualizado);
}

}  // namespace zelmor
