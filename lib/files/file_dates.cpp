// File and folder dates: reading, setting, and the most recent of a list.
#include "calendar/calendar.h"
#include "files/directory_search.h"
#include "files/file_times.h"
#include "files/files.h"
#include "platform/executable_info.h"
#include "platform/file_system.h"

namespace zelmor {
namespace files {
namespace {

TDateTime Encode(const platform::LocalDateTime& l, int millisecond) {
  TDateTime date, time;
  if (!TryEncodeDate(l.Year, l.Month, l.Day, date) || !TryEncodeTime(l.Hour, l.Minute, l.Second, millisecond, time))
    return 0;
  return date >= 0 ? date + time : date - time;
}

}  // namespace

TDateTime FileTimeToDateTime(const platform::FileTime& time) {
  const platform::LocalDateTime l = platform::Service<platform::FileSystem>::Get().ToLocal(time);
  return Encode(l, l.Millisecond);
}

TDateTime FileTimeToDateTimeSeconds(const platform::FileTime& time) {
  return Encode(platform::Service<platform::FileSystem>::Get().ToLocal(time), 0);
}

}  // namespace files

TDateTime TmFile::GetFileDateTime(std::u16string_view Arquivo) {
  std::vector<platform::FolderEntry> found;
  if (!files::FindEntries(Arquivo, true, found) || found.empty()) return 0;
  return files::FileTimeToDateTime(found.front().Info.Modified);
}

TDateTime TmFile::GetFolderDateTime(std::u16string_view asFolder) {
  if (asFolder.empty()) return 0;
  std::u16string_view name = asFolder;
  if (name.size() > 1 && name.back() == platform::PathDelim) name.remove_suffix(1);
  const platform::EntryInfo info = platform::Service<platform::FileSystem>::Get().Stat(name);
  if (info.Kind != platform::EntryKind::Folder) return 0;
  return files::FileTimeToDateTime(info.Modified);
}

bool TmFile::SetFileDateTime(std::u16string_view Arquivo, TDateTime NovaData) {
  if (!FileExists(Arquivo)) return false;
  // The packed date of the FAT file system: years 1980–2107, seconds in steps of two.
  const DateParts d = DecodeDate(NovaData);
  const TimeParts t = DecodeTime(NovaData);
  if (d.Year < 1980 || d.Year > 2107) return false;
  platform::LocalDateTime local;
  local.Year = d.Year;
  local.Month = d.Month;
  local.Day = d.Day;
  local.Hour = t.Hour;
  local.Minute = t.Min;
  local.Second = t.Sec - t.Sec % 2;
  platform::FileSystem& fs = platform::Service<platform::FileSystem>::Get();
  platform::FileTime when;
  if (!fs.FromLocal(local, when)) return false;
  return fs.SetModified(Arquivo, when);
}

std::u16string TmFile::GetFileModificadoRecentemente(const TStringList& ListaArquivos) {
  std::u16string newest;
  double best = 0;
  for (const auto& name : ListaArquivos.Items) {
    const double when = GetFileDateTime(name);
    if (when > best) {
      best = when;
      newest = name;
    }
  }
  return newest;
}

}  // namespace zelmor
