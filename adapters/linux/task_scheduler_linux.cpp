// Scheduled tasks as systemd user timers where the user's systemd runs, else as
// lines of the user's crontab. Each task is marked with a name made safe from the
// caller's, so it can be found and replaced; its command is escaped for the reader
// it goes to (systemd's ExecStart, or the shell cron hands it to).
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "adapters/linux/file_descriptor.h"
#include "adapters/linux/posix_files.h"
#include "adapters/linux/system_services.h"
#include "core/integer_text.h"
#include "core/text.h"

namespace zelmor::adapters {
namespace {

// Runs a tool quietly (its output into `output` when given) and gives its exit code,
// -1 when it could not start.
int Tool(std::vector<std::u16string> args, std::string* output = nullptr) {
  platform::ProgramStart start;
  start.Arguments = std::move(args);
  start.StandardInput = u"/dev/null";
  start.Wait = true;
  std::string temp;
  if (output) {
    temp = "/tmp/zelmor-tool-XXXXXX";
    if (!posix::FileDescriptor(mkstemp(temp.data()))) return -1;
    start.StandardOutput = posix::LibraryPath(temp);
  } else {
    start.StandardOutput = u"/dev/null";
  }
  int code = -1;
  const bool started = SystemProcesses().Start(start, &code);
  if (output) {
    output->clear();
    if (started) posix::ReadWhole(temp, *output);
    unlink(temp.c_str());
  }
  return started ? code : -1;
}

// The task's name with everything but letters, digits, "_" and "." written as "-XX".
std::string SafeName(std::u16string_view name) {
  std::string out;
  for (unsigned char c : U16ToUtf8(name)) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '.') {
      out += static_cast<char>(c);
    } else {
      out += '-';
      AppendUnsigned<16>(out, c, 2);
    }
  }
  return out;
}

std::string TwoDigits(int n) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02d", n);
  return buf;
}

// Whether `text` can stand in a systemd unit as it is: systemd ignores a line that is
// not UTF-8, and a control character would end the line (CR, LF) or hide in it.
bool UnitText(const std::string& text) {
  std::u16string decoded;
  if (!TryUtf8ToU16(text, decoded)) return false;
  for (char16_t c : decoded)
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) return false;
  return true;
}

// The task's name as a unit's Description=: taken as it stands but for specifiers
// ("%%" is a "%"). False for a name that cannot be written exactly: one that is not
// text (half of a UTF-16 pair), holds a control character, or ends with a backslash
// (which would join the next line to it).
bool SystemdDescription(std::u16string_view name, std::string& out) {
  const std::string utf8 = U16ToUtf8(name);
  if (name.empty() || Utf8ToU16(utf8) != name || !UnitText(utf8) || utf8.back() == '\\') return false;
  out.clear();
  for (char c : utf8) out += c == '%' ? std::string("%%") : std::string(1, c);
  return true;
}

// One argument for systemd's command line: in double quotes with C escapes (control
// characters as escapes, so none reaches the file), and its specifier and variable
// signs doubled so systemd takes them literally. False for what no escape can carry:
// a NUL, bytes that are not UTF-8 (systemd would drop the whole line).
bool SystemdQuote(const std::string& arg, std::string& out) {
  std::u16string decoded;
  if (!TryUtf8ToU16(arg, decoded)) return false;
  out += '"';
  for (char c : arg) {
    const auto b = static_cast<unsigned char>(c);
    switch (c) {
      case '\0': return false;
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '%': out += "%%"; break;
      case '$': out += "$$"; break;
      default:
        if (b < 0x20 || b == 0x7F) {
          out += "\\x";
          AppendUnsigned<16>(out, b, 2);
        } else {
          out += c;
        }
    }
  }
  out += '"';
  return true;
}

// One argument for the shell cron runs a line with: in single quotes; a "%" is escaped
// since cron turns a bare one into a line break. False for a line break or a NUL,
// which a crontab line cannot hold.
bool CronQuote(const std::string& arg, std::string& out) {
  out += '\'';
  for (char c : arg) {
    if (c == '\n' || c == '\r' || c == '\0') return false;
    if (c == '\'')
      out += "'\\''";
    else if (c == '%')
      out += "\\%";
    else
      out += c;
  }
  out += '\'';
  return true;
}

std::string UnitFolder() {
  std::string base;
  if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x == '/')
    base = x;
  else if (const char* h = std::getenv("HOME"); h && *h)
    base = std::string(h) + "/.config";
  else
    return {};
  return base + "/systemd/user";
}

bool WriteFile(const std::string& path, const std::string& text) {
  std::FILE* f = std::fopen(path.c_str(), "w");
  if (!f) return false;
  const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  return std::fclose(f) == 0 && ok;
}

const char* const kDayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char kCronMark[] = " # zelmor-task:";

class LinuxTaskScheduler final : public platform::TaskScheduler {
 public:
  bool Available() override { return UseSystemd() || Tool({u"crontab", u"-l"}) >= 0; }

  bool Remove(std::u16string_view name) override {
    const std::string unit = "zelmor-task-" + SafeName(name);
    if (UseSystemd()) {
      const std::string folder = UnitFolder();
      if (folder.empty()) return false;
      Tool({u"systemctl", u"--user", u"disable", u"--now", Utf8ToU16(unit + ".timer")});
      for (const char* ext : {".timer", ".service"}) unlink((folder + "/" + unit + ext).c_str());
      Tool({u"systemctl", u"--user", u"daemon-reload"});
      return access((folder + "/" + unit + ".timer").c_str(), F_OK) != 0;
    }
    std::string table;
    if (!ReadCrontab(table)) return true;  // no table: nothing to remove
    const std::string kept = WithoutTask(table, SafeName(name));
    return kept == table || WriteCrontab(kept);
  }

  bool Create(const platform::ScheduledTask& task, std::u16string* command, std::string* error) override {
    auto fail = [error](std::string why) {
      if (error) *error = std::move(why);
      return false;
    };
    const std::string safe = SafeName(task.Name);
    const std::string time = TwoDigits(task.Hour) + ":" + TwoDigits(task.Minute) + ":" + TwoDigits(task.Second);
    if (UseSystemd()) {
      const std::string folder = UnitFolder();
      if (folder.empty()) return fail("no configuration folder");
      std::error_code ec;
      std::filesystem::create_directories(folder, ec);
      std::string description, exec;
      if (!SystemdDescription(task.Name, description))
        return fail("the task's name cannot be written in a unit (a control character or a final backslash)");
      // The program's first character must not read as one of systemd's prefixes.
      if (task.Arguments.empty() || posix::NativePath(task.Arguments[0]).find_first_of("-@:+!") == 0)
        return fail("the program's name cannot start a systemd command line");
      for (const auto& a : task.Arguments) {
        if (!exec.empty()) exec += ' ';
        if (!SystemdQuote(posix::NativePath(a), exec))
          return fail("an argument cannot be written in a unit (a NUL, or bytes that are not UTF-8)");
      }
      std::string days;
      for (int d : task.Days) days += (days.empty() ? "" : ",") + std::string(kDayNames[d % 7]);
      const std::string unit = "zelmor-task-" + safe;
      const std::string calendar = (days.empty() ? "" : days + " ") + "*-*-* " + time;
      if (!WriteFile(folder + "/" + unit + ".service",
                     "[Unit]\nDescription=" + description + "\n\n[Service]\nType=oneshot\nExecStart=" + exec + "\n") ||
          !WriteFile(folder + "/" + unit + ".timer", "[Unit]\nDescription=" + description + "\n\n[Timer]\nOnCalendar=" +
                                                         calendar + "\n\n[Install]\nWantedBy=timers.target\n"))
        return fail("cannot write the units in " + folder);
      Tool({u"systemctl", u"--user", u"daemon-reload"});
      const std::u16string timer = Utf8ToU16(unit + ".timer");
      if (command) *command = u"systemctl --user enable --now " + timer;
      if (Tool({u"systemctl", u"--user", u"enable", u"--now", timer}) != 0) return fail("systemctl refused the timer");
      return true;
    }
    std::string line = TwoDigits(task.Minute) + " " + TwoDigits(task.Hour) + " * * ";
    if (task.Days.empty()) {
      line += "*";
    } else {
      for (std::size_t i = 0; i < task.Days.size(); ++i) line += (i ? "," : "") + std::to_string(task.Days[i] % 7);
    }
    line += " ";
    for (std::size_t i = 0; i < task.Arguments.size(); ++i) {
      if (i) line += ' ';
      if (!CronQuote(posix::NativePath(task.Arguments[i]), line))
        return fail("an argument holds a line break or a NUL, which a crontab line cannot hold");
    }
    line += kCronMark + safe;
    if (command) *command = u"crontab: " + Utf8ToU16(line);
    std::string table;
    ReadCrontab(table);
    table = WithoutTask(table, safe);
    if (!table.empty() && table.back() != '\n') table += '\n';
    if (!WriteCrontab(table + line + "\n")) return fail("crontab refused the table");
    return true;
  }

 private:
  // The user's own systemd answers (it does not where systemd is not running).
  static bool UseSystemd() { return Tool({u"systemctl", u"--user", u"show-environment"}) == 0; }

  static bool ReadCrontab(std::string& table) { return Tool({u"crontab", u"-l"}, &table) == 0; }

  static bool WriteCrontab(const std::string& table) {
    std::string temp = "/tmp/zelmor-crontab-XXXXXX";
    posix::FileDescriptor fd(mkstemp(temp.data()));
    if (!fd) return false;
    const bool written = posix::WriteAll(fd.Get(), table);
    fd.Reset();
    const bool ok = written && Tool({u"crontab", posix::LibraryPath(temp)}) == 0;
    unlink(temp.c_str());
    return ok;
  }

  static std::string WithoutTask(const std::string& table, const std::string& safe) {
    const std::string mark = kCronMark + safe;
    std::istringstream in(table);
    std::string out, line;
    while (std::getline(in, line)) {
      if (line.size() >= mark.size() && line.compare(line.size() - mark.size(), mark.size(), mark) == 0) continue;
      out += line + "\n";
    }
    return out;
  }
};

}  // namespace

platform::TaskScheduler& SystemTaskScheduler() {
  static LinuxTaskScheduler scheduler;
  return scheduler;
}

}  // namespace zelmor::adapters
