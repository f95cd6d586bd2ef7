// Scheduled tasks: the day list and the command line read here, the task made by
// the system's scheduler.
#include <string>
#include <vector>

#include "calendar/calendar.h"
#include "core/text.h"
#include "core/text_kit.h"
#include "platform/task_scheduler.h"
#include "processes/command_line.h"
#include "processes/processes.h"

namespace zelmor {
namespace {

// "MON,WED" (the scheduler tool's three-letter names, any case, blanks allowed) as days
// 0 (Sunday) to 6; false for anything else.
bool ReadDays(std::u16string_view text, std::vector<int>& days) {
  static constexpr const char16_t* kNames[] = {u"SUN", u"MON", u"TUE", u"WED", u"THU", u"FRI", u"SAT"};
  days.clear();
  std::size_t at = 0;
  for (int parts = 0; parts < 8; ++parts) {
    const auto comma = text.find(u',', at);
    const std::u16string_view part = text.substr(at, comma == std::u16string_view::npos ? text.npos : comma - at);
    const std::u16string name = UpperCase(textkit::Trim(part));
    int day = -1;
    for (int d = 0; d < 7; ++d)
      if (name == kNames[d]) day = d;
    if (day < 0) return false;
    bool seen = false;
    for (int d : days) seen = seen || d == day;
    if (!seen) days.push_back(day);
    if (comma == std::u16string_view::npos) return true;
    at = comma + 1;
  }
  return false;
}

// Whether the scheduler can show the task's name as it is: no control character (a
// line break would end the line the name is written on, and add lines of its own), no
// half of a UTF-16 pair, no backslash at the end (a folder of tasks, for the Windows
// tool; a line that goes on, for systemd).
bool WritableName(std::u16string_view name) {
  if (name.empty() || name.back() == u'\\') return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char16_t c = name[i];
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) return false;
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < name.size() && name[i + 1] >= 0xDC00 && name[i + 1] <= 0xDFFF)
      ++i;
    else if (c >= 0xD800 && c <= 0xDFFF)
      return false;
  }
  return true;
}

}  // namespace

bool TmRot::AgendarWindowsTaks(std::u16string_view asNomeTarefa, std::u16string_view asCmdLine, TDateTime ahHora,
                               std::u16string_view asDiasSemana, std::u16string& asExecCmd) {
  asExecCmd.clear();
  platform::ScheduledTask task;
  task.Name = std::u16string(textkit::Trim(asNomeTarefa));
  task.Arguments = SplitCommandLine(asCmdLine);
  if (!WritableName(task.Name) || task.Arguments.empty() || task.Arguments[0].empty()) return false;
  // No program can be given an argument holding a NUL.
  for (const auto& a : task.Arguments)
    if (a.find(u'\0') != std::u16string::npos) return false;
  if (asDiasSemana != u"*" && !ReadDays(asDiasSemana, task.Days)) return false;
  const TimeParts t = DecodeTime(ahHora);
  task.Hour = t.Hour;
  task.Minute = t.Min;
  task.Second = t.Sec;
  auto& scheduler = platform::Service<platform::TaskScheduler>::Get();
  if (!scheduler.Available() || !scheduler.Remove(task.Name)) return false;
  return scheduler.Create(task, &asExecCmd);
}

bool TmRot::AgendarWindowsTaks(std::u16string_view asNomeTarefa, std::u16string_view asCmdLine, TDateTime ahHora,
                               std::u16string_view asDiasSemana) {
  std::u16string command;
  return AgendarWindowsTaks(asNomeTarefa, asCmdLine, ahHora, asDiasSemana, command);
}

}  // namespace zelmor
