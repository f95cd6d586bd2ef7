// The real FTP server the transfer tests and benchmarks run against: Debian's
// pyftpdlib on 127.0.0.1 (testdata/ftp_server.py), started as a child process and
// killed with it. Header-only, for the test and the benchmark beside it.
#pragma once

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace zelmor::testing {

class FtpServerProcess {
 public:
  // Whether Debian's interpreter can load pyftpdlib.
  static bool Available() { return std::system("/usr/bin/python3 -c 'import pyftpdlib' >/dev/null 2>&1") == 0; }

  // Starts the server on `root` for `user`/`password` with the extra options of the
  // script; Port() is 0 when it did not come up within 10 s.
  FtpServerProcess(const std::string& script, const std::string& root, const std::string& user,
                   const std::string& password, std::vector<std::string> options = {}) {
    int out[2];
    if (pipe(out) != 0) return;
    std::vector<std::string> args = {"/usr/bin/python3", script, root, user, password};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    if (posix_spawn(&FPid, argv[0], &actions, nullptr, argv.data(), environ) != 0) FPid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    // The port, on the first line, within 10 s.
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (FPid > 0 && line.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
      pollfd p{out[0], POLLIN, 0};
      if (poll(&p, 1, 200) <= 0) continue;
      char buf[64];
      const ssize_t n = read(out[0], buf, sizeof buf);
      if (n <= 0) break;
      line.append(buf, static_cast<std::size_t>(n));
    }
    close(out[0]);
    FPort = std::atoi(line.c_str());
  }
  ~FtpServerProcess() { Kill(); }
  // Ends the server at once, connections and transfers under way included.
  void Kill() {
    if (FPid <= 0) return;
    kill(FPid, SIGKILL);
    int status;
    waitpid(FPid, &status, 0);
    FPid = -1;
  }
  FtpServerProcess(const FtpServerProcess&) = delete;
  FtpServerProcess& operator=(const FtpServerProcess&) = delete;

  int Port() const { return FPort; }

 private:
  pid_t FPid = -1;
  int FPort = 0;
};

}  // namespace zelmor::testing
