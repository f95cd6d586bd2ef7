#include "tests/process_util.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace zelmor::testing {

std::string BinDir() { return ZELMOR_BIN_DIR; }

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args, const std::string& input,
                         std::chrono::milliseconds timeout, const std::vector<std::string>& env) {
  int in[2], out[2], err[2];
  if (pipe2(in, O_CLOEXEC) || pipe2(out, O_CLOEXEC) || pipe2(err, O_CLOEXEC)) return {};
  std::vector<std::string> envStore;
  for (char** e = environ; *e; ++e) envStore.emplace_back(*e);
  for (const auto& e : env) envStore.push_back(e);
  pid_t pid = fork();
  if (pid == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    dup2(err[1], 2);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (auto& e : envStore) envp.push_back(e.data());
    envp.push_back(nullptr);
    execve(program.c_str(), argv.data(), envp.data());
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  close(err[1]);
  ProcessResult r;
  std::size_t written = 0;
  if (input.empty()) {
    close(in[1]);
    in[1] = -1;
  }
  fcntl(in[1] >= 0 ? in[1] : 0, F_SETFL, O_NONBLOCK);
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
