#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "adapters/linux/posix_files.h"
#include "adapters/linux/system_services.h"

extern char** environ;

namespace zelmor::adapters {
namespace {

// The exit status the shell would report: the code, or 128+N for signal N.
int ExitStatus(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

int WaitFor(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return ExitStatus(status);
}

void* ReapChild(void* arg) {
  WaitFor(static_cast<pid_t>(reinterpret_cast<intptr_t>(arg)));
  return nullptr;
}

// A child nobody waits for is reaped by a small thread of its own, so it never stays
// a zombie and nothing else of the program (a SIGCHLD handler, a waitpid(-1)) is
// taken over. Falls back to waiting when no thread can be made.
void ReapLater(pid_t pid) {
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
  pthread_attr_setstacksize(&attr, 64 * 1024);
  pthread_t thread;
  const int rc = pthread_create(&thread, &attr, ReapChild, reinterpret_cast<void*>(static_cast<intptr_t>(pid)));
  pthread_attr_destroy(&attr);
  if (rc != 0) WaitFor(pid);
}

class SpawnSetup {
 public:
  SpawnSetup() {
    posix_spawn_file_actions_init(&FActions);
    posix_spawnattr_init(&FAttr);
    // The child starts with every signal at its default and none blocked: the display
    // program ignores SIGPIPE, and an ignored signal would otherwise survive exec.
    sigset_t all, none;
    sigfillset(&all);
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&FAttr, &all);
    posix_spawnattr_setsigmask(&FAttr, &none);
    posix_spawnattr_setflags(&FAttr, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
  }
  ~SpawnSetup() {
    posix_spawn_file_actions_destroy(&FActions);
    posix_spawnattr_destroy(&FAttr);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;

  posix_spawn_file_actions_t FActions;
  posix_spawnattr_t FAttr;
};

class LinuxProcesses final : public platform::Processes {
 public:
  bool Start(const platform::ProgramStart& start, int* exitCode, std::string* error) override {
    if (exitCode) *exitCode = 0;
    auto fail = [&](std::string why) {
      if (error) *error = std::move(why);
      return false;
    };
    const std::u16string& file = !start.Program.empty() || start.Arguments.empty() ? start.Program : start.Arguments[0];
    if (file.empty()) return fail("no program to start");
    const std::string program = posix::NativePath(file);
    std::vector<std::string> args;
    args.reserve(start.Arguments.size() + 1);
    for (const auto& a : start.Arguments) args.push_back(posix::NativePath(a));
    if (args.empty()) args.push_back(program);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    SpawnSetup setup;
    const std::string input = posix::NativePath(start.StandardInput);
    const std::string output = posix::NativePath(start.StandardOutput);
    const std::string errors = posix::NativePath(start.StandardError);
    const std::string folder = posix::NativePath(start.WorkingFolder);
    if (!input.empty()) posix_spawn_file_actions_addopen(&setup.FActions, 0, input.c_str(), O_RDONLY, 0);
    if (!output.empty())
      posix_spawn_file_actions_addopen(&setup.FActions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (!errors.empty())
      posix_spawn_file_actions_addopen(&setup.FActions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    // Nothing of ours beyond the three standard streams: a child must never keep the
    // display's listening port, a log file or a lock open after we close them.
    posix_spawn_file_actions_addclosefrom_np(&setup.FActions, 3);
    if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&setup.FActions, folder.c_str());

    pid_t pid = 0;
    const bool search = program.find('/') == std::string::npos;
    const int rc = search ? posix_spawnp(&pid, program.c_str(), &setup.FActions, &setup.FAttr, argv.data(), environ)
                          : posix_spawn(&pid, program.c_str(), &setup.FActions, &setup.FAttr, argv.data(), environ);
    if (rc != 0) return fail(program + ": " + posix::ErrorText(rc));
    if (!start.Wait) {
      ReapLater(pid);
      return true;
    }
    const int status = WaitFor(pid);
    if (status < 0) return fail(program + ": the child could not be waited for");
    if (exitCode) *exitCode = status;
    return true;
  }
};

}  // namespace

platform::Processes& SystemProcesses() {
  static LinuxProcesses processes;
  return processes;
}

}  // namespace zelmor::adapters
