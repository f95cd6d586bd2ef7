// The program's resources written out as files. A Linux program carries them as
// plain files in a folder beside it ("<program>.resources/<TYPE>/<NAME>"), which
// its package installs and which can be read and replaced like any other file.
#include <string>
#include <vector>

#include "core/errors.h"
#include "core/text.h"
#include "dialogs/mMensagem.h"
#include "files/files.h"
#include "platform/executable_info.h"
#include "platform/file_system.h"
#include "platform/service.h"
#include "shell/shell.h"
#include "zip/ZipUnit.h"

namespace zelmor {
namespace {

using SV = std::u16string_view;

// The entry of `folder` named `name` without regard to case (the exact name first).
std::u16string EntryIgnoringCase(platform::FileSystem& fs, const std::u16string& folder, SV name) {
  const std::u16string exact = folder + std::u16string(name);
  if (fs.EntryExists(exact)) return exact;
  platform::EntryInfo self;
  std::vector<platform::FolderEntry> entries;
  if (fs.ReadFolder(folder, false, self, entries))
    for (const platform::FolderEntry& e : entries)
      if (SameText(e.Name, name)) return folder + e.Name;
  return exact;
}

std::string ResourceBytes(platform::FileSystem& fs, SV asTipo, SV asRes) {
  const std::u16string exe = platform::Service<platform::ProcessInfo>::Get().ExecutablePath();
  const std::u16string name = TmFile::FileName(exe);
  const std::u16string base = name.substr(0, name.size() - TmFile::FileExtension(name).size());
  const std::u16string root = TmFile::ExtractDir(exe) + base + u".resources" + platform::PathDelim;
  const std::u16string type = EntryIgnoringCase(fs, root, asTipo) + platform::PathDelim;
  const std::u16string path = EntryIgnoringCase(fs, type, asRes);
  const std::u16string missing = u"Recurso " + std::u16string(asRes) + u" não encontrado";
  std::string bytes;
  if (asTipo.empty() || asRes.empty() || fs.Stat(path).Kind != platform::EntryKind::File) throw EFileError(missing);
  if (!fs.ReadAll(path, bytes)) throw EFileError(missing);
  return bytes;
}

}  // namespace

bool TmFile::ExtraiArquivoExe(SV asTipo, SV asRes, SV asArquivo, const TzelArrayString& aaDiretorio, bool abSubstitui,
                              bool abMostrarErro) {
  platform::FileSystem& fs = platform::Service<platform::FileSystem>::Get();
  const std::string bytes = ResourceBytes(fs, asTipo, asRes);
  const std::u16string extension = FileExtension(asArquivo);
  bool all = true;
  for (const std::u16string& folder : aaDiretorio) {
    if (folder.empty()) continue;
    const std::u16string target = DirBarra(folder) + std::u16string(asArquivo);
    const std::u16string old =
        DirBarra(folder) + std::u16string(asArquivo.substr(0, asArquivo.size() - extension.size())) + u".old";
    try {
      std::u16string why;
      if (!fs.CreateFolders(folder)) throw EFileError(u"Não foi possível criar a pasta " + folder);
      if (!abSubstitui && FileExists(target)) continue;
      if (FileExists(target)) {
        if (fs.EntryExists(old) && !fs.DeleteFile(old, &why))
          throw EFileError(u"Não foi possível apagar " + old + u": " + why);
        if (!fs.Rename(target, old, &why))
          throw EFileError(u"Não foi possível renomear " + target + u" para " + old + u": " + why);
      }
      fs.Replace(target, bytes);
    } catch (const EZelmorError&) {
      if (!fs.EntryExists(target) && fs.EntryExists(old)) fs.Rename(old, target);  // the previous file comes back
      all = false;
      if (abMostrarErro) throw;
    }
  }
  return all;
}

bool TmFile::ExtraiArquivoExe(SV asTipo, SV asRes, SV asArquivo, SV asDiretorio, bool abSubstitui) {
  return ExtraiArquivoExe(asTipo, asRes, asArquivo, TzelArrayString{std::u16string(asDiretorio)}, abSubstitui, false);
}

void TmRot::ExtractResource(SV asResType, SV asResourceName, SV asOutFolder, bool abDescompactZIP,
                            bool abShowFailMessage) {
  platform::FileSystem& fs = platform::Service<platform::FileSystem>::Get();
  // Read first: a missing resource leaves the file already there as it was.
  const std::string bytes = ResourceBytes(fs, asResType, asResourceName);
  const std::u16string folder = TmFile::DirBarra(asOutFolder);
  fs.CreateFolders(folder);
  const std::u16string file = std::u16string(asResourceName) + u"." + std::u16string(asResType);
  const std::u16string target = folder + file;
  const std::u16string failed = u"Não foi possivel extrair o arquivo \"" + file + u"\"";
  if (fs.EntryExists(target)) {
    fs.DeleteFile(target);
    if (fs.EntryExists(target)) {
      // Writing over a file that could not be deleted would fail as well, or worse, half succeed.
      if (abShowFailMessage) TmDlg::Erro(failed, true);
      return;
    }
  }
  try {
    fs.Replace(target, bytes);
  } catch (const EZelmorError&) {
    // Told below, as a file that is not there.
  }
  if (!fs.EntryExists(target)) {
    if (abShowFailMessage) TmDlg::Erro(failed, true);
    return;
  }
  if (abDescompactZIP && SameText(asResType, u"ZIP") && TZip::Descompactar(target, folder, true)) fs.DeleteFile(target);
}

}  // namespace zelmor
