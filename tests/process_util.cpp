#include "tests/process_util.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

extern char** environ;

namespace zelmor::testing {

std::string BinDir() { return ZELMOR_BIN_DIR; }

std::vector<nlohmann::json> JsonLines(const std::string& out) {
  std::vector<nlohmann::json> lines;
  std::size_t start = 0;
  for (std::size_t nl; (nl = out.find('\n', start)) != std::string::npos; start = nl + 1)
    lines.push_back(nlohmann::json::parse(out.substr(start, nl - start)));
  return lines;
}

std::vector<nlohmann::json> ZelmorBatch(const std::vector<std::string>& requests) {
  std::string input;
  for (const auto& r : requests) input += r + "\n";
  ProcessResult p =
      RunProcess(BinDir() + "/zelmor", {"call", "--batch"}, input, std::chrono::seconds(30), {"LC_ALL=pt_BR.UTF-8"});
  return JsonLines(p.Out);
}

namespace {

// The current environment without the names in `unset`, plus `extra` ("NAME=value"),
// each replacing a variable of the same name (a second entry would be ignored:
// lookups take the first).
std::vector<std::string> Environment(const std::vector<std::string>& extra, const std::vector<std::string>& unset) {
  auto nameOf = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    std::string entry = *e;
    bool drop = false;
    for (const auto& u : unset) drop |= entry.rfind(u + "=", 0) == 0;
    for (const auto& x : extra) drop |= entry.rfind(nameOf(x) + "=", 0) == 0;
    if (!drop) env.push_back(entry);
  }
  env.insert(env.end(), extra.begin(), extra.end());
  return env;
}

// Starts `program` with the given descriptors as its standard input, output and error.
// Everything the child needs is built before fork: only exec-safe calls follow it.
pid_t Spawn(const std::string& program, const std::vector<std::string>& args, std::vector<std::string>& env, int in,
            int out, int err) {
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  pid_t pid = fork();
  if (pid == 0) {
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    execve(program.c_str(), argv.data(), envp.data());
    _exit(127);
  }
  return pid;
}

}  // namespace

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args, const std::string& input,
                         std::chrono::milliseconds timeout, const std::vector<std::string>& env) {
  int in[2], out[2], err[2];
  if (pipe2(in, O_CLOEXEC) || pipe2(out, O_CLOEXEC) || pipe2(err, O_CLOEXEC)) return {};
  std::vector<std::string> envStore = Environment(env, {});
  pid_t pid = Spawn(program, args, envStore, in[0], out[1], err[1]);
  close(in[0]);
  close(out[1]);
  close(err[1]);
  ProcessResult r;
  std::size_t written = 0;
  if (input.empty()) {
    close(in[1]);
    in[1] = -1;
  }
  if (in[1] >= 0) fcntl(in[1], F_SETFL, O_NONBLOCK);
  auto deadline = std::chrono::steady_clock::now() + timeout;
  bool outOpen = true, errOpen = true;
  while (outOpen || errOpen) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      kill(pid, SIGKILL);
      break;
    }
    pollfd fds[3] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}, {in[1], POLLOUT, 0}};
    int nfds = in[1] >= 0 ? 3 : 2;
    if (!outOpen) fds[0].fd = -1;
    if (!errOpen) fds[1].fd = -1;
    if (poll(fds, static_cast<nfds_t>(nfds), static_cast<int>(left.count())) < 0 && errno != EINTR) break;
    char buf[65536];
    for (int k = 0; k < 2; ++k) {
      if (fds[k].fd >= 0 && (fds[k].revents & (POLLIN | POLLHUP))) {
        ssize_t n = read(fds[k].fd, buf, sizeof buf);
        if (n > 0)
          (k == 0 ? r.Out : r.Err).append(buf, static_cast<std::size_t>(n));
        else
          (k == 0 ? outOpen : errOpen) = false;
      }
    }
    if (nfds == 3 && (fds[2].revents & (POLLOUT | POLLERR | POLLHUP))) {
      ssize_t n = write(in[1], input.data() + written, input.size() - written);
      if (n > 0) written += static_cast<std::size_t>(n);
      if (n < 0 || written >= input.size()) {
        close(in[1]);
        in[1] = -1;
      }
    }
  }
  if (in[1] >= 0) close(in[1]);
  close(out[0]);
  close(err[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  r.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

}  // namespace zelmor::testing

#include <netinet/in.h>
#include <sys/socket.h>

#include <fstream>
#include <iterator>
#include <sstream>

namespace zelmor::testing {

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args,
                           const std::vector<std::string>& env, const std::vector<std::string>& unsetEnv) {
  int out[2], err[2];
  if (pipe2(out, O_CLOEXEC) || pipe2(err, O_CLOEXEC)) return;
  std::vector<std::string> envStore = Environment(env, unsetEnv);
  int devnull = open("/dev/null", O_RDONLY | O_CLOEXEC);
  FPid = Spawn(program, args, envStore, devnull, out[1], err[1]);
  close(devnull);
  close(out[1]);
  close(err[1]);
  FOut = out[0];
  FErr = err[0];
  fcntl(FErr, F_SETFL, O_NONBLOCK);
}

ChildProcess::~ChildProcess() {
  Kill();
  if (FOut >= 0) close(FOut);
  if (FErr >= 0) close(FErr);
}

void ChildProcess::Kill() {
  if (FPid > 0) {
    kill(FPid, SIGKILL);
    waitpid(FPid, nullptr, 0);
    FPid = -1;
  }
}

bool ChildProcess::ReadLine(std::string& line, std::chrono::milliseconds timeout) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    std::size_t nl = FBuffer.find('\n');
    if (nl != std::string::npos) {
      line = FBuffer.substr(0, nl);
      FBuffer.erase(0, nl + 1);
      return true;
    }
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || FOut < 0) return false;
    pollfd p{FOut, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
    char buf[65536];
    ssize_t n = read(FOut, buf, sizeof buf);
    if (n <= 0) return false;
    FBuffer.append(buf, static_cast<std::size_t>(n));
  }
}

std::string ChildProcess::Err() {
  char buf[4096];
  ssize_t n;
  while (FErr >= 0 && (n = read(FErr, buf, sizeof buf)) > 0) FErrText.append(buf, static_cast<std::size_t>(n));
  return FErrText;
}

double ChildProcess::CpuSeconds() const {
  std::ifstream stat("/proc/" + std::to_string(FPid) + "/stat");
  std::string all((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  // Fields after the command name (which may hold spaces) in ")": state is field 3,
  // utime and stime fields 14 and 15.
  const std::size_t close = all.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream rest(all.substr(close + 2));
  std::string field;
  long utime = 0, stime = 0;
  for (int i = 3; i <= 15 && rest >> field; ++i) {
    if (i == 14) utime = std::stol(field);
    if (i == 15) stime = std::stol(field);
  }
  return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

bool ChildProcess::Running() { return Wait(std::chrono::milliseconds(0)) == -1 && FSignal == 0 && FPid > 0; }

int ChildProcess::Wait(std::chrono::milliseconds timeout) {
  if (FPid <= 0) return FStatus;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    int status = 0;
    const pid_t r = waitpid(FPid, &status, WNOHANG);
    if (r == FPid) {
      FPid = -1;
      if (WIFEXITED(status)) FStatus = WEXITSTATUS(status);
      if (WIFSIGNALED(status)) FSignal = WTERMSIG(status);
      return FStatus;
    }
    if (r < 0 || std::chrono::steady_clock::now() >= deadline) return -1;
    usleep(10000);
  }
}

void ChildProcess::CloseOut() {
  if (FOut >= 0) close(FOut);
  FOut = -1;
}

void ChildProcess::CloseErr() {
  Err();
  if (FErr >= 0) close(FErr);
  FErr = -1;
}

long ChildProcess::RssKiB() const {
  std::ifstream status("/proc/" + std::to_string(FPid) + "/status");
  std::string key;
  while (status >> key) {
    if (key == "VmRSS:") {
      long kib = -1;
      status >> kib;
      return kib;
    }
    status.ignore(1 << 16, '\n');
  }
  return -1;
}

}  // namespace zelmor::testing
