// Updating program files from the update server: the version list, the newer files
// fetched by FTP, each put in place in one step with its predecessor kept under a
// name that carries the old version.
#include <exception>
#include <optional>
#include <string>

#include "config/mConfigUnit.h"
#include "core/errors.h"
#include "core/text.h"
#include "dialogs/dbxAguardeUnit.h"
#include "dialogs/mMensagem.h"
#include "files/files.h"
#include "system/system.h"
#include "updates/updates.h"
#include "ftp/ZelmorFileTransferProtocol.h"
#include "platform/file_system.h"
#include "platform/executable_info.h"
#include "platform/service.h"
#include "textfile/text_file.h"

namespace zelmor {
namespace {

using SV = std::u16string_view;

constexpr SV kRemoteFolder = u"/web/files/ombrix/Externo/";
constexpr SV kVersionList = u"Versoes.ini";
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

// The version the list gives `name`: the first "name=version" line, names compared
// without case; empty when the name is not listed.
std::u16string ListedVersion(const TStringList& list, SV name) {
  for (const std::u16string& line : list.Items) {
    const std::size_t cut = line.find(u'=');
    if (cut != std::u16string::npos && SameText(SV(line).substr(0, cut), name)) return line.substr(cut + 1);
  }
  return {};
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
// `kept` (a copy keeps its permissions and time); the new bytes then replace
// `target` in one step, taking its permissions, so a failure at any point leaves
// `target` as it was. A read-only program file is updated and stays read-only, as
// a rename would have done it.
void Install(SV fresh, SV target, SV kept, SV name) {
  platform::FileSystem& fs = platform::Service<platform::FileSystem>::Get();
  const std::u16string folder = TmFile::ExtractDir(target);
  const std::u16string cannotMove = u"Não possivel mover o arquivo " + std::u16string(name) + u" para a pasta " + folder;
  std::string bytes;
  try {
    if (!fs.ReadAll(fresh, bytes)) throw EFileError(cannotMove);
  } catch (const EZelmorError&) {
    throw EFileError(cannotMove);
  }
  const platform::EntryInfo old = fs.Stat(target);
  const bool existed = old.Kind != platform::EntryKind::None;
  if (existed && !fs.CopyFile(target, kept, false))
    throw EFileError(u"Não possivel renomear o arquivo " + std::u16string(target) + u" para " + std::u16string(kept));
  const bool readOnly = existed && old.ReadOnly;
  try {
    if (!existed && fs.Stat(folder).Kind != platform::EntryKind::Folder) throw EFileError(cannotMove);
    if (readOnly && !fs.SetReadOnly(target, false)) throw EFileError(cannotMove);
    fs.Replace(target, bytes);
  } catch (const EZelmorError&) {
    if (readOnly) fs.SetReadOnly(target, true);
    if (existed) {  // the old file never moved: its copy goes
      fs.SetReadOnly(kept, false);
      fs.DeleteFile(kept);
    }
    throw EFileError(cannotMove);
  }
  if (readOnly) fs.SetReadOnly(target, true);
  fs.DeleteFile(fresh);
}

}  // namespace

bool TmFile::GetExePorVersao(const TzelArrayString& aaArquivoExe, std::u16string& asMsg) {
  asMsg.clear();
  platform::FileSystem& fs = platform::Service<platform::FileSystem>::Get();
  const std::u16string program = DirExe();
  const std::u16string temp = program + u"Temp" + platform::PathDelim;
  if (!fs.CreateFolders(temp)) throw EFileError(u"Não foi possivel criar o diretório \"" + temp + u"\"");

  {
    TZelmorFTP ftp;
    Connect(ftp);
    if (!ftp.Download(std::u16string(kRemoteFolder) + std::u16string(kVersionList), program, true))
      throw ENetworkError(u"Não possivel efetuar o download do arquivo de versões (" + ftp.MsgErro() + u")");
  }
  TStringList list;
  text_file::Encoding encoding;
  text_file::Load(program + std::u16string(kVersionList), list, encoding);

  for (const std::u16string& path : aaArquivoExe) {
    const std::u16string name = FileName(path);
    std::u16string listed, local;
    if (FileExists(path)) {
      listed = ListedVersion(list, name);
      local = TmRot::GetFileVersao(path, 4, u".");
      if (!listed.empty() && !local.empty() && !VersaoMaior(local, listed, geTiposComparacao::tcMaior)) {
        asMsg += u"\r-O arquivo " + name + u" já possui a última versão";
        continue;
      }
    }
    {
      TZelmorFTP ftp;
      Connect(ftp);
      if (!ftp.Download(std::u16string(kRemoteFolder) + name, temp, true))
        throw ENetworkError(u"Não possivel efetuar o download do arquivo " + name + u" (" + ftp.MsgErro() + u")");
    }
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
