// Scheduled tasks against stand-ins for systemctl and crontab (no systemd user
// manager and no cron run here): small shell scripts first on PATH that keep what
// they are given in the test's folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <string>

#include "calendar/calendar.h"
#include "core/text.h"
#include "platform/program_start.h"
#include "processes/processes.h"
#include "testing/file_tree.h"

namespace zelmor {
namespace {

// Only shell built-ins: PATH holds nothing but the stand-ins.
constexpr const char* kSystemctl = R"(#!/bin/sh
printf '%s\n' "$*" >> "$ZT_DIR/systemctl.log"
case "$*" in *show-environment*) exit "$ZT_SYSTEMD";; esac
exit 0
)";
constexpr const char* kCrontab = R"(#!/bin/sh
if [ "$1" = "-l" ]; then
  [ -f "$ZT_DIR/tab" ] || exit 1
  while IFS= read -r l; do printf '%s\n' "$l"; done < "$ZT_DIR/tab"
  exit 0
fi
: > "$ZT_DIR/tab"
while IFS= read -r l; do printf '%s\n' "$l" >> "$ZT_DIR/tab"; done < "$1"
)";

class Scheduling : public ::testing::Test {
 protected:
  void SetUp() override {
    FDir.Write("bin/systemctl", kSystemctl);
    FDir.Write("bin/crontab", kCrontab);
    for (const char* f : {"bin/systemctl", "bin/crontab"})
      std::filesystem::permissions(FDir.Native(f), std::filesystem::perms::owner_all);
  }
  std::string SetTab(const std::string& text) {
    FDir.Write("tab", text);
    return text;
  }
  testing::FileTree FDir;
  std::string FOldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
  testing::ScopedEnv FPath{"PATH", FDir.Native("bin").c_str()};
  testing::ScopedEnv FHere{"ZT_DIR", FDir.Root().c_str()};
  testing::ScopedEnv FConfig{"XDG_CONFIG_HOME", FDir.Native("config").c_str()};
  const TDateTime FAt = EncodeTime(23, 30, 5, 0);
  const std::u16string FCommand = uR"(printf "[%s]" "a b" $(touch marker) 'q' 50%)";
};

TEST_F(Scheduling, CrontabLineRunsTheCommandExactlyAndReplacesTheOldOne) {
  testing::ScopedEnv systemd("ZT_SYSTEMD", "1");
  const std::string foreign = SetTab("0 1 * * * backup-other\n");
  std::u16string command;
  ASSERT_TRUE(TmRot::AgendarWindowsTaks(u"Backup Diário", FCommand, FAt, u"*", command));
  const std::string line =
      "30 23 * * * 'printf' '[\\%s]' 'a b' '$(touch' 'marker)' ''\\''q'\\''' '50\\%'"
      " # zelmor-task:Backup-20Di-c3-a1rio";
  EXPECT_EQ(FDir.Read("tab"), foreign + line + "\n");
  EXPECT_EQ(command, u"crontab: " + Utf8ToU16(line));

  ASSERT_TRUE(TmRot::AgendarWindowsTaks(u"Backup Diário", FCommand, FAt, u" mon,Wed,MON", command));
  const std::string weekly = "30 23 * * 1,3 " + line.substr(12);
  EXPECT_EQ(FDir.Read("tab"), foreign + weekly + "\n");

  // What cron does with the line: the escaped "%" loses its backslash, the shell runs it.
  std::string cronCommand = weekly.substr(14);
  for (std::size_t at; (at = cronCommand.find("\\%")) != std::string::npos;) cronCommand.erase(at, 1);
  platform::ProgramStart run;
  run.Arguments = {u"sh", u"-c", Utf8ToU16(cronCommand)};
  run.WorkingFolder = FDir.Path();
  run.StandardOutput = FDir.Path("out");
  run.Wait = true;
  {
    testing::ScopedEnv path("PATH", FOldPath.c_str());
    ASSERT_TRUE(platform::Service<platform::Processes>::Get().Start(run));
  }
  EXPECT_EQ(FDir.Read("out"), "[a b][$(touch][marker)]['q'][50%]");
  EXPECT_FALSE(FDir.Exists("marker"));
}

TEST_F(Scheduling, RefusedWithoutASchedulerOrForABadDayList) {
  testing::ScopedEnv systemd("ZT_SYSTEMD", "1");
  const std::string before = SetTab("0 1 * * * backup-other\n");
  std::u16string command = u"old";
  for (const char16_t* days : {u"", u"MON;TUE", u"SEG", u"MON,", u"DAILY"})
    EXPECT_FALSE(TmRot::AgendarWindowsTaks(u"t", FCommand, FAt, days, command)) << U16ToUtf8(days);
  EXPECT_FALSE(TmRot::AgendarWindowsTaks(u"", FCommand, FAt, u"*"));
  EXPECT_FALSE(TmRot::AgendarWindowsTaks(u"t", u"  ", FAt, u"*"));
  EXPECT_EQ(command, u"");
  EXPECT_EQ(FDir.Read("tab"), before);
  std::filesystem::remove(FDir.Native("bin/crontab"));
  EXPECT_FALSE(TmRot::AgendarWindowsTaks(u"t", FCommand, FAt, u"*"));
}

TEST_F(Scheduling, SystemdTimerWithTheCommandEscapedForIt) {
  testing::ScopedEnv systemd("ZT_SYSTEMD", "0");
  std::u16string command;
  ASSERT_TRUE(TmRot::AgendarWindowsTaks(u"Backup/../x", FCommand, FAt, u"MON,WED", command));
  const std::string unit = "zelmor-task-Backup-2f..-2fx";
  EXPECT_EQ(command, Utf8ToU16("systemctl --user enable --now " + unit + ".timer"));
  EXPECT_EQ(FDir.Read("config/systemd/user/" + unit + ".service"),
            "[Unit]\nDescription=Backup/../x\n\n[Service]\nType=oneshot\nExecStart=\"printf\" \"[%%s]\" \"a b\" "
            "\"$$(touch\" \"marker)\" \"'q'\" \"50%%\"\n");
  EXPECT_EQ(FDir.Read("config/systemd/user/" + unit + ".timer"),
            "[Unit]\nDescription=Backup/../x\n\n[Timer]\nOnCalendar=Mon,Wed *-*-* 23:30:05\n\n[Install]\n"
            "WantedBy=timers.target\n");
  // The old task went before the new one was made.
  const std::string log = FDir.Read("systemctl.log");
  const auto removed = log.find("--user disable --now " + unit + ".timer");
  const auto enabled = log.find("--user enable --now " + unit + ".timer");
  ASSERT_NE(removed, std::string::npos) << log;
  ASSERT_NE(enabled, std::string::npos) << log;
  EXPECT_LT(removed, enabled);
  EXPECT_FALSE(FDir.Exists("tab"));
}

// The program's file on the PATH the test started with; empty when there is none.
std::string OnPath(const std::string& path, const std::string& name) {
  std::size_t from = 0;
  while (from <= path.size()) {
    std::size_t cut = path.find(':', from);
    if (cut == std::string::npos) cut = path.size();
    const std::string candidate = path.substr(from, cut - from) + "/" + name;
    if (cut > from && std::filesystem::exists(candidate)) return candidate;
    from = cut + 1;
  }
  return {};
}

// A task's name and arguments never add a line, a section or a setting to its units,
// and reach systemd exactly: what cannot be written exactly is refused before anything
// is removed or written.
TEST_F(Scheduling, UnitFieldsHoldWhatTheyAreGivenAndNothingMore) {
  testing::ScopedEnv systemd("ZT_SYSTEMD", "0");
  const std::string units = "config/systemd/user/";
  for (const std::u16string& name :
       {std::u16string(u"Backup\n[Service]\nExecStartPre=/bin/touch /tmp/pwned"), std::u16string(u"a\rb"),
        std::u16string(u"a\x01z"), std::u16string(u"a\x7fz"), std::u16string(u"a\x85z"), std::u16string(u"a\xD800z"),
        std::u16string(u"Backup\\")}) {
    EXPECT_FALSE(TmRot::AgendarWindowsTaks(name, FCommand, FAt, u"*")) << U16ToUtf8(name);
  }
  EXPECT_FALSE(TmRot::AgendarWindowsTaks(u"t", std::u16string(u"printf a\0b", 10), FAt, u"*"));
  EXPECT_FALSE(FDir.Exists("config")) << "a refused task wrote a unit";
  EXPECT_FALSE(FDir.Exists("systemctl.log") && FDir.Read("systemctl.log").find("enable") != std::string::npos);
  // A program that would read as one of systemd's prefixes ("-" ignore failure).
  EXPECT_FALSE(TmRot::AgendarWindowsTaks(u"t", u"-x a", FAt, u"*"));

  const std::u16string name = u"100% [Service] ExecStartPre=$HOME";
  const std::u16string command =
      u"printf \"%s|\" \"a\tb\" \"c\x01"
      u"d\" \"e\x7f\" \"f\r\ng\" \"%h\" \"${HOME}\" \";\" \"-x\"";
  ASSERT_TRUE(TmRot::AgendarWindowsTaks(name, command, FAt, u"*"));
  const std::string unit = "zelmor-task-100-25-20-5bService-5d-20ExecStartPre-3d-24HOME";
  EXPECT_EQ(
      FDir.Read(units + unit + ".service"),
      "[Unit]\nDescription=100%% [Service] ExecStartPre=$HOME\n\n[Service]\nType=oneshot\n"
      "ExecStart=\"printf\" \"%%s|\" \"a\\tb\" \"c\\x01d\" \"e\\x7f\" \"f\\r\\ng\" \"%%h\" \"$${HOME}\" \";\" \"-x\"\n");
  EXPECT_EQ(FDir.Read(units + unit + ".timer"),
            "[Unit]\nDescription=100%% [Service] ExecStartPre=$HOME\n\n[Timer]\nOnCalendar=*-*-* 23:30:05\n\n"
            "[Install]\nWantedBy=timers.target\n");

  // systemd itself reads both units without a complaint.
  const std::string analyze = OnPath(FOldPath, "systemd-analyze");
  if (analyze.empty()) {
    std::cout << "systemd-analyze is not installed: the units are not verified by systemd\n";
    return;
  }
  FDir.Folder("run");
  testing::ScopedEnv runtime("XDG_RUNTIME_DIR", FDir.Native("run").c_str());
  testing::ScopedEnv path("PATH", FOldPath.c_str());
  platform::ProgramStart verify;
  verify.Arguments = {Utf8ToU16(analyze), u"verify", u"--user", FDir.Path(units + unit + ".service"),
                      FDir.Path(units + unit + ".timer")};
  verify.StandardInput = u"/dev/null";
  verify.StandardOutput = FDir.Path("verify.out");
  verify.StandardError = FDir.Path("verify.err");
  verify.Wait = true;
  int code = -1;
  ASSERT_TRUE(platform::Service<platform::Processes>::Get().Start(verify, &code));
  EXPECT_EQ(code, 0) << FDir.Read("verify.err");
  EXPECT_EQ(FDir.Read("verify.out") + FDir.Read("verify.err"), "");
}

// A crontab line cannot hold a line break: such an argument is refused, not changed.
TEST_F(Scheduling, CrontabRefusesALineBreakInAnArgument) {
  testing::ScopedEnv systemd("ZT_SYSTEMD", "1");
  const std::string before = SetTab("0 1 * * * backup-other\n");
  for (const char16_t* command : {u"printf \"a\nb\"", u"printf \"a\rb\""})
    EXPECT_FALSE(TmRot::AgendarWindowsTaks(u"t", command, FAt, u"*")) << U16ToUtf8(command);
  EXPECT_EQ(FDir.Read("tab"), before);
  ASSERT_TRUE(TmRot::AgendarWindowsTaks(u"t", u"printf \"a\tb\"", FAt, u"*"));
  EXPECT_EQ(FDir.Read("tab"), before + "30 23 * * * 'printf' 'a\tb' # zelmor-task:t\n");
}

}  // namespace
}  // namespace zelmor
