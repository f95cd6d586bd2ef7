// File routines: paths and special folders, contents, sizes and dates, copies,
// moves, deletes and backups, listings; the log writer.
//
// A file listing crosses as an array of {"Nome", "DataHora", "Tamanho"}; a stream
// as {"Size", "Position", "Base64"}. TGravaLogs is an object: its steps are offered
// here on a log file, each call doing what the object would in one go.
#include "files/GravaLogsUnit.h"
#include "mFileUtil.h"
#include "tools/zelmor/json_values.h"
#include "tools/zelmor/registry.h"

namespace zelmor::cli {

template <>
struct ArgTypeOf<TzelArrayArquivo> {
  static constexpr ArgType Value = ArgType::Record;
};
template <>
struct JsonOf<TzelArrayArquivo> {
  // An out parameter: whatever stands in its place ({} or []) is replaced.
  static TzelArrayArquivo From(const Json& v) {
    TzelArrayArquivo list;
    if (v.is_null() || (v.is_object() && v.empty())) return list;
    if (!v.is_array()) throw ArgumentError("expected an array of files, got " + v.dump());
    for (const auto& e : v) {
      if (!e.is_object()) throw ArgumentError("expected a file object, got " + e.dump());
      TzelArquivo a;
      a.Nome = JsonText(e.value("Nome", Json("")));
      a.DataHora = JsonOf<TDateTime>::From(e.value("DataHora", Json(0)));
      a.Tamanho = JsonOf<std::int64_t>::From(e.value("Tamanho", Json(0)));
      list.push_back(std::move(a));
    }
    return list;
  }
  static Json To(const TzelArrayArquivo& v) {
    Json a = Json::array();
    for (const auto& f : v)
      a.push_back({{"Nome", JsonOf<std::u16string>::To(f.Nome)},
                   {"DataHora", JsonOf<TDateTime>::To(f.DataHora)},
                   {"Tamanho", f.Tamanho}});
    return a;
  }
};

template <>
struct ArgTypeOf<TMemoryStream> {
  static constexpr ArgType Value = ArgType::Record;
};
template <>
struct JsonOf<TMemoryStream> {
  static Json To(const TMemoryStream& s) {
    static const char* kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string b64;
    const std::string& b = s.Bytes;
    for (std::size_t i = 0; i < b.size(); i += 3) {
      const unsigned n = static_cast<unsigned char>(b[i]) << 16 |
                         (i + 1 < b.size() ? static_cast<unsigned char>(b[i + 1]) << 8 : 0) |
                         (i + 2 < b.size() ? static_cast<unsigned char>(b[i + 2]) : 0);
      b64 += kDigits[n >> 18];
      b64 += kDigits[(n >> 12) & 63];
      b64 += i + 1 < b.size() ? kDigits[(n >> 6) & 63] : '=';
      b64 += i + 2 < b.size() ? kDigits[n & 63] : '=';
    }
    return Json{{"Size", s.Size()}, {"Position", s.Position}, {"Base64", b64}};
  }
};

namespace {

using SV = std::u16string_view;

TMemoryStream GetStreamFile(SV asArquivo) { return std::move(*TmFile::GetStreamFile(asArquivo)); }

// The log object's steps on a file.
TStringList LoadLogMensagem(SV pDiretorio, SV pNomeLog, int pMaximoLinhas) {
  TGravaLogs log;
  log.SetNomeLog(pNomeLog);
  log.SetMaximoLinhas(pMaximoLinhas);
  log.setDiretorio(pDiretorio);
  log.loadLogMensagem();
  return log.Logs();
}

void AddMensagem(SV pDiretorio, SV pNomeLog, int pMaximoLinhas, SV NomeOrigem, SV pMensagem, bool pIsFimMensagem) {
  TGravaLogs log(NomeOrigem);
  log.SetNomeLog(pNomeLog);
  log.SetMaximoLinhas(pMaximoLinhas);
  log.setDiretorio(pDiretorio);
  log.loadLogMensagem();
  log.addMensagem(pMensagem, pIsFimMensagem);
  log.gravaLogMensagem();
}

}  // namespace

ZELMOR_ROUTINES(files) {
  // Paths and special folders
  Register("TmFile.DirAnsi", &TmFile::DirAnsi, {"Pasta"});
  Register("TmFile.DirAnsiRead", &TmFile::DirAnsiRead, {"asPath"});
  Register("TmFile.ExtractDir", &TmFile::ExtractDir, {"cFile"});
  Register("TmFile.FileDirectoryName", &TmFile::FileDirectoryName, {"Arquivo"});
  Register("TmFile.FileName", &TmFile::FileName, {"Arquivo"});
  Register("TmFile.FileExtension", &TmFile::FileExtension, {"Arquivo"});
  Register("TmFile.FileNameSemExt", &TmFile::FileNameSemExt, {"Arquivo"});
  Register("TmFile.SetFileExt", &TmFile::SetFileExt, {"asFilePath", "asExt"});
  Register("TmFile.ExtractAbsoluteFile", &TmFile::ExtractAbsoluteFile, {"asBasePath", "asPathFile"});
  Register("TmFile.SubirNivel", &TmFile::SubirNivel, {"asFolder", "aiQtdNiveis"});
  Register("TmFile.DirectoryGetParent", &TmFile::DirectoryGetParent, {"Pasta"});
  Register("TmFile.LimpaNomeArquivo", &TmFile::LimpaNomeArquivo, {"Nome"});
  Register("TmFile.getFileNameDOS", &TmFile::getFileNameDOS, {"FileName"});
  Register("TmFile.GetUniqueFilePath", &TmFile::GetUniqueFilePath, {"aPath"});
  Register("TmFile.GetNomeArquivoTemp", &TmFile::GetNomeArquivoTemp, {"Prefixo"});
  Register("TmFile.PastaWindows", &TmFile::PastaWindows, {});
  Register("TmFile.PastaWindowsSystem", &TmFile::PastaWindowsSystem, {});
  Register("TmFile.PastaWindowsSystem32", &TmFile::PastaWindowsSystem32, {});
  Register("TmFile.PastaWindowsTemp", &TmFile::PastaWindowsTemp, {});
  Register("TmFile.PastaWindowsDesktop", &TmFile::PastaWindowsDesktop, {});
  Register("TmFile.GetPastaDesktop", &TmFile::GetPastaDesktop, {});
  Register("TmFile.GetPastaStartMenu", &TmFile::GetPastaStartMenu, {});
  Register("TmFile.GetPastaAllUsersStartMenu", &TmFile::GetPastaAllUsersStartMenu, {});
  Register("TmFile.GetPastaDadosApplicativos", &TmFile::GetPastaDadosApplicativos, {});
  Register("TmFile.GetPastaAppDataLocal", &TmFile::GetPastaAppDataLocal, {});
  Register("TmFile.GetPastaApp", &TmFile::GetPastaApp, {});
  Register("TmFile.GetDataUserFolderZelmor", &TmFile::GetDataUserFolderZelmor, {});
  Register("TmFile.GetDataUserFolderOmbrix", &TmFile::GetDataUserFolderOmbrix, {});
  Register("TmFile.GetDataUserFolderTemp", &TmFile::GetDataUserFolderTemp, {});
  Register("TmFile.GetZelmorRoot", &TmFile::GetZelmorRoot, {"asPath", "abShowException"}, {false});
  Register("TmFile.GetPasta", &TmFile::GetPasta, {});
  Register("TmFile.GetPastaDef", &TmFile::GetPastaDef, {"PastaDef"});
  Register("TmFile.DirectoryExists", &TmFile::DirectoryExists, {"Nome"});
  Register("TmFile.FileExists", &TmFile::FileExists, {"Arquivo"});
  Register("TmFile.CreateDirectory", &TmFile::CreateDirectory, {"Nome"});
  Register("TmFile.CriarDiretorios", &TmFile::CriarDiretorios, {"asDirs"});

  // Copy, move, delete and backups
  Register("TmFile.CopiarArquivo", &TmFile::CopiarArquivo,
           {"Origem", "PastaDestino", "AcrescentarNoFinalDoNome", "SubstituirSeExistir"}, {"", true});
  Register("TmFile.CopiarArquivoRenomeandoDestino", &TmFile::CopiarArquivoRenomeandoDestino,
           {"Origem", "PastaDestino"});
  Register("TmFile.CopiarArquivos", &TmFile::CopiarArquivos, {"Origem", "PastaDestino"});
  Register("TmFile.CopiarPasta", &TmFile::CopiarPasta, {"fromDir", "toDir"});
  Register("TmFile.MoverArquivo", &TmFile::MoverArquivo, {"Origem", "PastaDestino", "abForcarDiretorio"}, {false});
  Register("TmFile.MoverArquivoNome", &TmFile::MoverArquivoNome, {"asSourcePath", "asDestPath"});
  Register("TmFile.MoverArquivos", &TmFile::MoverArquivos, {"Origem", "PastaDestino", "abForcarDiretorio"}, {false});
  Register("TmFile.ModificarExtensao", &TmFile::ModificarExtensao, {"asPastaMascara", "asNovaExtensao"});
  Register("TmFile.DeleteArquivos", &TmFile::DeleteArquivos, {"Origem", "Arquivo"});
  Register("TmFile.DeletarArquivos", &TmFile::DeletarArquivos, {"Pasta_Mascara"});
  Register("TmFile.DirectoryDelete", &TmFile::DirectoryDelete, {"DirName", "abMandarParaLixeira"}, {false});
  Register("TmFile.RenameDir", &TmFile::RenameDir, {"lsNomeAntigo", "lsNomeNovo"});
  Register("TmFile.GerenciaBackup", &TmFile::GerenciaBackup, {"Pasta", "Arquivo", "MaxBackups"});
  Register("TmFile.VerificarPermissaoPasta", &TmFile::VerificarPermissaoPasta, {"asPastas", "asMsg", "abForceDir"},
           {false});
  Register("TmFile.IsDirectoryEmpty", &TmFile::IsDirectoryEmpty, {"Path"});
  Register("TmFile.PortaOK", &TmFile::PortaOK, {"aiPorta", "aeTipo", "asMsg"});

  // Listings
  Register("TmFile.GetFiles",
           static_cast<bool (*)(TStringList&, SV, bool, bool, TDateTime, TDateTime)>(&TmFile::GetFiles),
           {"Saida", "Arquivos", "IncluirPasta", "Detalhes", "ahDtInicial", "ahDtFinal"}, {false, false, -1, -1});
  Register("TmFile.GetFiles", static_cast<bool (*)(TzelArrayArquivo&, SV, bool)>(&TmFile::GetFiles),
           {"asLista", "asArquivos", "abOrdenarDataHora"}, {false});
  Register("TmFile.GetFilesRecursive", static_cast<bool (*)(TStringList&, SV, bool)>(&TmFile::GetFilesRecursive),
           {"Saida", "Arquivos", "IncluirPasta"}, {true});
  Register("TmFile.GetFilesRecursive", static_cast<bool (*)(TzelArrayString&, SV, bool)>(&TmFile::GetFilesRecursive),
           {"asLista", "Arquivos", "IncluirPasta"}, {true});
  Register("TmFile.GetDirectories", &TmFile::GetDirectories, {"Caminho", "Saida", "FullPath"}, {false});
  Register("TmFile.GetDirectoriesRecursive", &TmFile::GetDirectoriesRecursive, {"Saida", "Arquivos"});
  Register("TmFile.GetNumeroProcessos", &TmFile::GetNumeroProcessos, {"NomeExe"});

  // Contents, sizes and dates
  Register("TmFile.CriarArquivoTexto", &TmFile::CriarArquivoTexto, {"FileName", "GravarStrDentro"});
  Register("TmFile.SaveTextSample", &TmFile::SaveTextSample, {"asText", "asArquivo"});
  Register("TmFile.SaveXMLFile", &TmFile::SaveXMLFile, {"asXML", "asArquivo", "asMsg", "asEnconding"}, {""});
  Register("TmFile.LoadFile", &TmFile::LoadFile, {"NomeArquivo", "Saida"});
  Register("TmFile.LoadFileFirstLine", &TmFile::LoadFileFirstLine, {"NomeArquivo"});
  Register("TmFile.CarregarArquivoBinario", &TmFile::CarregarArquivoBinario, {"NomeArquivo", "Saida"});
  Register("TmFile.GetStreamFile", &GetStreamFile, {"asArquivo"});
  Register("TmFile.GetFileConvertUTF8ToAnsi", &TmFile::GetFileConvertUTF8ToAnsi, {"asArquivo"});
  Register("TmFile.RemoverBOM_UTF", &TmFile::RemoverBOM_UTF, {"NomeArquivo"});
  Register("TmFile.LimparArquivoTexto", &TmFile::LimparArquivoTexto, {"Arquivo"});
  Register("TmFile.RemoverAtributoSomenteLeitura", &TmFile::RemoverAtributoSomenteLeitura, {"Arquivo"});
  Register("TmFile.FileLength", &TmFile::FileLength, {"Arquivo"});
  Register("TmFile.FileSize", &TmFile::FileSize, {"Arquivo"});
  Register("TmFile.FormatFileSize", &TmFile::FormatFileSize, {"aiBytes"});
  Register("TmFile.GetFileDateTime", &TmFile::GetFileDateTime, {"Arquivo"});
  Register("TmFile.GetFolderDateTime", &TmFile::GetFolderDateTime, {"asFolder"});
  Register("TmFile.SetFileDateTime", &TmFile::SetFileDateTime, {"Arquivo", "NovaData"});
  Register("TmFile.GetFileModificadoRecentemente", &TmFile::GetFileModificadoRecentemente, {"ListaArquivos"});

  // The log writer
  Register("TGravaLogs.Execute", &TGravaLogs::Execute,
           {"pOrigem", "pNomeLog", "pMensagem", "pDiretorio", "pMaximoLinhas"});
  Register("TGravaLogs.GravaLogMsg", &TGravaLogs::GravaLogMsg, {"pTexto"});
  Register("TGravaLogs.EnviaLogsEmail", &TGravaLogs::EnviaLogsEmail, {"pPathLogs", "pExtensaoLogs"});
  Register("TGravaLogs.loadLogMensagem", &LoadLogMensagem, {"pDiretorio", "pNomeLog", "pMaximoLinhas"});
  Register("TGravaLogs.addMensagem", &AddMensagem,
           {"pDiretorio", "pNomeLog", "pMaximoLinhas", "NomeOrigem", "pMensagem", "pIsFimMensagem"}, {true});
}

}  // namespace zelmor::cli
