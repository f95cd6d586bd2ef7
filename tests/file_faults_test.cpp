// Every kind of file the library rewrites (configuration, settings store, log,
// backups, downloads, archives), written by the built `zelmor` while things go wrong:
//   - a call fails at each point in turn: a preloaded library (testing/fault_shim.c)
//     fails the Nth open, write, fsync, rename, close ... that the run makes;
//   - the disk is full: the folder is a small tmpfs in a mount namespace of the test's
//     own (a file-size limit where the kernel does not allow one), at several levels of
//     free space;
//   - the process is killed (SIGKILL) at points spread over its run.
// Afterwards every watched file holds its old content or its new one, whole; a run
// that says it succeeded has written the new one; no temporary file is left behind by
// a failure the program saw; and the program ended by itself, with an answer.
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <thread>

#include "ftp/testdata/ftp_server_process.h"
#include "testing/file_tree.h"
#include "tests/process_util.h"

namespace zelmor::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using json = nlohmann::json;
using Clock = std::chrono::steady_clock;

std::string Quoted(const std::string& s) { return json(s).dump(); }

// Bytes that are not all alike, so a write that lands in the wrong place shows.
std::string Pattern(std::size_t size, char salt) {
  std::string s(size, ' ');
  for (std::size_t i = 0; i < size; ++i) s[i] = static_cast<char>('a' + (i * 7 + static_cast<std::size_t>(salt)) % 26);
  for (std::size_t i = 63; i < size; i += 64) s[i] = '\n';
  return s;
}

// The same on one line, for values that cannot hold a line break.
std::string OneLine(std::size_t size, char salt) {
  std::string s = Pattern(size, salt);
  std::replace(s.begin(), s.end(), '\n', ' ');
  return s;
}

std::optional<std::string> ReadIfThere(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every entry below `root`, relative, folders included (the disk test's filler left out).
std::set<std::string> Listing(const std::string& root) {
  std::set<std::string> names;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    const std::string rel = fs::relative(e.path(), root).string();
    if (rel != ".filler") names.insert(rel);
  }
  return names;
}

// ---- the writers ----

struct Request {
  std::vector<std::string> Lines;  // `zelmor call --batch` requests
  std::vector<std::string> Env;    // added to its environment
};

// One file-rewriting operation: the old state it starts from, the request that
// writes the new one, and the files whose content must be old or new.
struct Writer {
  std::string Name;
  std::function<void(const FileTree&)> Prepare;
  std::function<Request(const FileTree&)> Ask;
  std::vector<std::string> Watched;
  // Every name the folder may hold afterwards.
  std::set<std::string> Names;
  // Makes two contents comparable (a log line's time stamp); identity by default.
  std::function<std::string(std::string)> Normalize = [](std::string s) { return s; };
  // Replaces the per-file check where the rule is another (backups move contents between names).
  std::function<std::string(const FileTree&)> Custom;
};

// The state of the watched files: absent or their bytes.
using Snapshot = std::map<std::string, std::optional<std::string>>;

Snapshot Take(const Writer& w, const FileTree& t) {
  Snapshot s;
  for (const auto& f : w.Watched) {
    auto c = ReadIfThere(t.Native(f));
    s[f] = c ? std::optional<std::string>(w.Normalize(*c)) : std::nullopt;
  }
  return s;
}

std::string Describe(const std::optional<std::string>& c) {
  if (!c) return "absent";
  return std::to_string(c->size()) + " bytes \"" + c->substr(0, 40) + (c->size() > 40 ? "...\"" : "\"");
}

std::string Batch(const std::vector<std::string>& lines) {
  std::string input;
  for (const auto& l : lines) input += l + "\n";
  return input;
}

// The answer said the request succeeded: no error, and not a false result.
bool Succeeded(const ProcessResult& r) {
  if (r.ExitCode != 0 && r.ExitCode != 1) return false;
  std::size_t start = 0;
  for (std::size_t nl; (nl = r.Out.find('\n', start)) != std::string::npos; start = nl + 1) {
    const json a = json::parse(r.Out.substr(start, nl - start), nullptr, false);
    if (!a.is_object() || a.contains("error") || a.value("result", json()) == false) return false;
  }
  return start > 0;
}

ProcessResult RunZelmor(const Request& q, const std::vector<std::string>& extraEnv = {}) {
  std::vector<std::string> env = q.Env;
  env.insert(env.end(), extraEnv.begin(), extraEnv.end());
  env.push_back("LC_ALL=pt_BR.UTF-8");
  return RunProcess(BinDir() + "/zelmor", {"call", "--batch"}, Batch(q.Lines), 60s, env);
}

// What is wrong after a run: "" when every watched file is old or new (new when the
// run said it succeeded), and no name was left that should not be there.
std::string Verdict(const Writer& w, const FileTree& t, const Snapshot& before, const Snapshot& after, bool reported,
                    bool namesToo) {
  std::string wrong;
  if (w.Custom) {
    wrong = w.Custom(t);
  } else {
    const Snapshot now = Take(w, t);
    for (const auto& f : w.Watched) {
      const auto& got = now.at(f);
      const bool isOld = got == before.at(f), isNew = got == after.at(f);
      if (reported && !isNew) wrong += f + " is not the new content after a reported success (" + Describe(got) + "); ";
      if (!isOld && !isNew) wrong += f + " is neither old nor new: " + Describe(got) + "; ";
    }
  }
  if (namesToo)
    for (const auto& n : Listing(t.Root()))
      if (!w.Names.count(n)) wrong += "left behind: " + n + "; ";
  return wrong;
}

// ---- the writers, each for a size of new content ----

constexpr std::time_t kFixedTime = 1765400000;  // sources' times, so archives come out the same

Writer Config(std::size_t size) {
  Writer w;
  w.Name = "configuration";
  w.Prepare = [](const FileTree& t) {
    t.Write("loja.ini", "; caixa 1\r\n[Caixa]\r\nNumero=1\r\nNome=velho\r\n\r\n[Impressora]\r\nPorta=COM1\r\n");
  };
  w.Ask = [size](const FileTree& t) {
    return Request{{"[\"TmConfig.WriteString\"," + Quoted(t.Native("loja.ini")) + ",\"Caixa\",\"Nome\"," +
                    Quoted(OneLine(size, 'c')) + "]"},
                   {}};
  };
  w.Watched = {"loja.ini"};
  w.Names = {"loja.ini"};
  return w;
}

Writer Registry(std::size_t size) {
  Writer w;
  w.Name = "settings store";
  w.Prepare = [](const FileTree& t) {
    t.Folder("cfg");
    const ProcessResult r =
        RunProcess(BinDir() + "/zelmor", {"reg", "add", "Software\\Loja", "Caixa", "REG_DWORD", "3"}, {}, 30s,
                   {"XDG_CONFIG_HOME=" + t.Native("cfg")});
    if (r.ExitCode != 0) throw std::runtime_error("zelmor reg add: " + r.Err);
  };
  w.Ask = [size](const FileTree& t) {
    return Request{{"[\"TmReg.Gravar\",\"Software\\\\Loja\",\"Nome\"," + Quoted(OneLine(size, 'r')) + "]"},
                   {"XDG_CONFIG_HOME=" + t.Native("cfg")}};
  };
  w.Watched = {"cfg/zelmor/registry.reg"};
  w.Names = {"cfg", "cfg/zelmor", "cfg/zelmor/registry.reg", "cfg/zelmor/registry.reg.lock"};
  return w;
}

Writer Log(std::size_t size) {
  Writer w;
  w.Name = "log";
  w.Prepare = [](const FileTree& t) {
    std::string old;
    for (int i = 0; i < 40; ++i) old += "2026/12/10 10:00:" + std::to_string(10 + i) + " - Caixa-> linha antiga\r\n";
    t.Write("logs/caixa.log", old);
  };
  w.Ask = [size](const FileTree& t) {
    return Request{{"[\"TGravaLogs.Execute\",\"Caixa\",\"caixa.log\"," + Quoted(OneLine(size, 'l')) + "," +
                    Quoted(t.Native("logs") + "/") + ",100000]"},
                   {}};
  };
  w.Watched = {"logs/caixa.log"};
  w.Names = {"logs", "logs/caixa.log"};
  // The new line starts with the time it was written.
  w.Normalize = [](std::string s) {
    std::replace_if(
        s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; }, '0');
    return s;
  };
  return w;
}

Writer Backups() {
  Writer w;
  w.Name = "backups";
  w.Prepare = [](const FileTree& t) {
    t.Write("bkp/caixa.db", "v0");
    t.Write("bkp/caixa.001", "v1");
    t.Write("bkp/caixa.002", "v2");
    t.Write("bkp/caixa.003", "v3");
  };
  w.Ask = [](const FileTree& t) {
    return Request{{"[\"TmFile.GerenciaBackup\"," + Quoted(t.Native("bkp")) + ",\"caixa.db\",3]"}, {}};
  };
  w.Watched = {"bkp/caixa.db", "bkp/caixa.001", "bkp/caixa.002", "bkp/caixa.003"};
  w.Names = {"bkp", "bkp/caixa.db", "bkp/caixa.001", "bkp/caixa.002", "bkp/caixa.003"};
  // Renames move contents between names: none of the three kept copies may be lost
  // or doubled (the oldest, v3, goes by design).
  w.Custom = [](const FileTree& t) {
    std::multiset<std::string> held;
    for (const char* n : {"bkp/caixa.db", "bkp/caixa.001", "bkp/caixa.002", "bkp/caixa.003"})
      if (auto c = ReadIfThere(t.Native(n))) held.insert(*c);
    std::string wrong;
    for (const char* v : {"v0", "v1", "v2"})
      if (held.count(v) != 1) wrong += std::string(v) + " held " + std::to_string(held.count(v)) + " times; ";
    return wrong;
  };
  return w;
}

Writer CleanText(std::size_t size) {
  Writer w;
  w.Name = "cleaned text and its .bak";
  w.Prepare = [size](const FileTree& t) { t.Write("nota.txt", "\x01\x02" + Pattern(size, 't') + "\x7f fim"); };
  w.Ask = [](const FileTree& t) {
    return Request{{"[\"TmFile.LimparArquivoTexto\"," + Quoted(t.Native("nota.txt")) + "]"}, {}};
  };
  w.Watched = {"nota.txt", "nota.txt.bak"};
  w.Names = {"nota.txt", "nota.txt.bak"};
  return w;
}

// The servers live outside the folder under test (and outside its small disk).
struct HttpFiles {
  FileTree Root;
  std::unique_ptr<ChildProcess> Server;
  int Port = 0;
  explicit HttpFiles(std::size_t size) {
    Root.Write("novo.bin", Pattern(size, 'h'));
    Port = FreePort();
    Server = std::make_unique<ChildProcess>(
        "/usr/bin/python3", std::vector<std::string>{"-u", "-m", "http.server", std::to_string(Port), "--bind",
                                                     "127.0.0.1", "--directory", Root.Root()});
    std::string line;
    if (!Server->ReadLine(line, 20s) || line.find("Serving HTTP") == std::string::npos)
      throw std::runtime_error("http.server did not start: " + Server->Err());
  }
};

Writer HttpDownload(std::shared_ptr<HttpFiles> server) {
  Writer w;
  w.Name = "HTTP download";
  w.Prepare = [](const FileTree& t) { t.Write("dl/novo.bin", "arquivo antigo"); };
  w.Ask = [server](const FileTree& t) {
    return Request{
        {"[\"TmRot.DownloadFileHTTP\"," + Quoted("http://127.0.0.1:" + std::to_string(server->Port) + "/novo.bin") +
         "," + Quoted(t.Native("dl/novo.bin")) + "]"},
        {}};
  };
  w.Watched = {"dl/novo.bin"};
  w.Names = {"dl", "dl/novo.bin"};
  return w;
}

struct FtpFiles {
  FileTree Root;
  std::unique_ptr<FtpServerProcess> Server;
  explicit FtpFiles(std::size_t size) {
    Root.Write("novo.bin", Pattern(size, 'f'));
    Server = std::make_unique<FtpServerProcess>(ZELMOR_FTP_TESTDATA "/ftp_server.py", Root.Root(), "caixa", "s3nha",
                                                std::vector<std::string>{"--lifetime", "600"});
  }
};

Writer FtpDownload(std::shared_ptr<FtpFiles> server) {
  Writer w;
  w.Name = "FTP download";
  w.Prepare = [](const FileTree& t) { t.Write("dl/novo.bin", "arquivo antigo"); };
  w.Ask = [server](const FileTree& t) {
    return Request{{"[\"TZelmorFTP.Download\",\"127.0.0.1\",\"caixa\",\"s3nha\"," +
                    std::to_string(server->Server->Port()) + ",\"/novo.bin\"," + Quoted(t.Native("dl")) + ",true]"},
                   {}};
  };
  w.Watched = {"dl/novo.bin"};
  w.Names = {"dl", "dl/novo.bin"};
  return w;
}

Writer ZipCreate(std::size_t size) {
  Writer w;
  w.Name = "archive written";
  w.Prepare = [size](const FileTree& t) {
    t.Write("src/a.txt", Pattern(size, 'a'), kFixedTime);
    t.Write("src/b.txt", "pequeno", kFixedTime);
    t.Write("out/pacote.zip", "arquivo zip antigo");
  };
  w.Ask = [](const FileTree& t) {
    return Request{{"[\"TZip.Compactar\",[" + Quoted(t.Native("src/a.txt")) + "," + Quoted(t.Native("src/b.txt")) +
                    "]," + Quoted(t.Native("out/pacote.zip")) + "]"},
                   {}};
  };
  w.Watched = {"out/pacote.zip"};
  w.Names = {"src", "src/a.txt", "src/b.txt", "out", "out/pacote.zip"};
  return w;
}

Writer ZipExtract(std::size_t size) {
  Writer w;
  w.Name = "archive unpacked";
  w.Prepare = [size](const FileTree& t) {
    t.Write("in/a.txt", Pattern(size, 'x'), kFixedTime);
    t.Write("in/b.txt", "novo b", kFixedTime);
    const ProcessResult r =
        RunProcess(BinDir() + "/zelmor", {"call", "TZip.Compactar",
                                          "[" + Quoted(t.Native("in/a.txt")) + "," + Quoted(t.Native("in/b.txt")) + "]",
                                          t.Native("in/pacote.zip")});
    if (r.ExitCode != 0) throw std::runtime_error("TZip.Compactar: " + r.Err);
    std::filesystem::remove(t.Native("in/a.txt"));
    std::filesystem::remove(t.Native("in/b.txt"));
    t.Write("dest/a.txt", "a antigo");
    t.Write("dest/b.txt", "b antigo");
  };
  w.Ask = [](const FileTree& t) {
    return Request{
        {"[\"TZip.Descompactar\"," + Quoted(t.Native("in/pacote.zip")) + "," + Quoted(t.Native("dest")) + ",true]"},
        {}};
  };
  w.Watched = {"dest/a.txt", "dest/b.txt"};
  w.Names = {"in", "in/pacote.zip", "dest", "dest/a.txt", "dest/b.txt"};
  return w;
}

// ---- the preloaded library ----

std::string Shim() { return ZELMOR_FAULT_SHIM; }

// The environment that loads the shim; a sanitized program is told not to mind it
// coming first.
std::vector<std::string> ShimEnv(const std::string& fault, const std::string& countsFile) {
  std::vector<std::string> env{"LD_PRELOAD=" + Shim()};
  const char* asan = std::getenv("ASAN_OPTIONS");
  env.push_back(std::string("ASAN_OPTIONS=") + (asan ? std::string(asan) + ":" : "") + "verify_asan_link_order=0");
  if (!fault.empty()) env.push_back("ZELMOR_FAULT=" + fault);
  if (!countsFile.empty()) env.push_back("ZELMOR_FAULT_COUNTS=" + countsFile);
  return env;
}

std::map<std::string, int> ReadCounts(const std::string& file) {
  std::map<std::string, int> counts;
  std::ifstream in(file);
  std::string kind;
  int n;
  while (in >> kind >> n) counts[kind] = std::max(counts[kind], n);
  return counts;
}

// The old and the new state of a writer, from one run that nothing disturbs.
struct Baseline {
  Snapshot Before, After;
  std::map<std::string, int> Counts;
  Clock::duration Took{};
};

Baseline Measure(const Writer& w, bool withShim) {
  Baseline b;
  FileTree t;
  w.Prepare(t);
  b.Before = Take(w, t);
  TemporaryFolder scratch;
  const std::string counts = scratch.Path() + "/counts";
  const auto start = Clock::now();
  const ProcessResult r = RunZelmor(w.Ask(t), withShim ? ShimEnv("", counts) : std::vector<std::string>{});
  b.Took = Clock::now() - start;
  EXPECT_TRUE(Succeeded(r)) << w.Name << ": " << r.Out << r.Err;
  b.After = Take(w, t);
  EXPECT_NE(b.Before, b.After) << w.Name << ": the run changed nothing";
  EXPECT_EQ(Verdict(w, t, b.Before, b.After, true, true), "") << w.Name;
  if (withShim) b.Counts = ReadCounts(counts);
  return b;
}

TEST(FileFaults, EveryFailingCallLeavesTheOldContentOrTheNew) {
  auto http = std::make_shared<HttpFiles>(40000);
  const bool ftpHere = FtpServerProcess::Available();
  std::vector<Writer> writers{Config(2000),    Registry(2000),     Log(2000),        Backups(),
                              CleanText(2000), HttpDownload(http), ZipCreate(40000), ZipExtract(40000)};
  std::shared_ptr<FtpFiles> ftp;
  if (ftpHere) {
    ftp = std::make_shared<FtpFiles>(40000);
    ASSERT_GT(ftp->Server->Port(), 0);
    writers.push_back(FtpDownload(ftp));
  }
  constexpr int kMostPointsOfAKind = 48;
  const auto deadline = Clock::now() + 240s;
  int injected = 0, survived = 0;
  for (const Writer& w : writers) {
    const Baseline b = Measure(w, true);
    std::string perKind;
    for (const auto& [kind, count] : b.Counts) {
      if (count == 0 || (kind == "unlink" && w.Name != "backups")) continue;
      perKind += " " + kind + " " + std::to_string(std::min(count, kMostPointsOfAKind));
      for (int n = 1; n <= std::min(count, kMostPointsOfAKind) && Clock::now() < deadline; ++n) {
        FileTree t;
        w.Prepare(t);
        const ProcessResult r = RunZelmor(w.Ask(t), ShimEnv(kind + ":" + std::to_string(n), ""));
        const bool ended = r.ExitCode == 0 || r.ExitCode == 1;
        const std::string wrong = Verdict(w, t, b.Before, b.After, Succeeded(r), kind != "unlink");
        ++injected;
        if (ended && wrong.empty()) ++survived;
        EXPECT_TRUE(ended) << w.Name << ", " << kind << " #" << n << " failing: exit " << r.ExitCode << "\n" << r.Err;
        EXPECT_EQ(wrong, "") << w.Name << ", " << kind << " #" << n << " failing\n" << r.Out << r.Err;
      }
    }
    std::printf("%-28s failing calls:%s\n", w.Name.c_str(), perKind.c_str());
  }
  EXPECT_LT(Clock::now(), deadline) << "stopped at the time limit";
  std::printf("failing calls injected: %d, survived: %d\n", injected, survived);
  if (!ftpHere) std::printf("(python3-pyftpdlib missing: the FTP download was left out)\n");
}

// A small disk of the test's own: a tmpfs in a private mount namespace (the test
// process is alone in it; the programs it starts inherit it). Empty when the kernel
// refuses.
std::string PrivateMountsOrWhy() {
  if (unshare(CLONE_NEWNS) != 0) return std::string("unshare: ") + std::strerror(errno);
  if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
    return std::string("mount --make-rprivate /: ") + std::strerror(errno);
  return {};
}

class SmallDisk {
 public:
  explicit SmallDisk(const std::string& where) : FWhere(where) {
    FMounted = mount("zelmor-test", where.c_str(), "tmpfs", 0, "size=2m,mode=0700") == 0;
  }
  ~SmallDisk() {
    if (FMounted) umount2(FWhere.c_str(), MNT_DETACH);
  }
  bool Mounted() const { return FMounted; }
  // Fills the disk until `free` bytes are left (rounded to its blocks).
  bool LeaveFree(std::uint64_t free) const {
    struct statvfs v {};
    if (statvfs(FWhere.c_str(), &v) != 0) return false;
    const std::uint64_t available = static_cast<std::uint64_t>(v.f_bavail) * v.f_frsize;
    if (available < free) return false;
    std::ofstream out(FWhere + "/.filler", std::ios::binary);
    const std::string block(v.f_frsize, 'F');
    for (std::uint64_t left = available - free; left >= block.size(); left -= block.size()) out << block;
    return static_cast<bool>(out.flush());
  }

 private:
  std::string FWhere;
  bool FMounted = false;
};

TEST(FileFaults, AFullDiskLeavesTheOldContentOrTheNew) {
  const std::string why = PrivateMountsOrWhy();
  auto http = std::make_shared<HttpFiles>(60000);
  std::vector<Writer> writers{Config(60000),      Registry(60000),  Log(60000),       CleanText(60000),
                              HttpDownload(http), ZipCreate(60000), ZipExtract(60000)};
  std::shared_ptr<FtpFiles> ftp;
  if (FtpServerProcess::Available()) {
    ftp = std::make_shared<FtpFiles>(60000);
    ASSERT_GT(ftp->Server->Port(), 0);
    writers.push_back(FtpDownload(ftp));
  }
  const std::uint64_t kLevels[] = {0, 4096, 12288, 24576, 40960, 61440, 81920, 131072, 262144};
  int runs = 0, survived = 0, full = 0;
  for (const Writer& w : writers) {
    const Baseline b = Measure(w, false);
    for (std::uint64_t free : kLevels) {
      FileTree t;
      std::unique_ptr<SmallDisk> disk;
      std::vector<std::string> limit;
      if (why.empty()) {
        disk = std::make_unique<SmallDisk>(t.Root());
        ASSERT_TRUE(disk->Mounted()) << std::strerror(errno);
      }
      w.Prepare(t);
      ProcessResult r;
      if (disk) {
        ASSERT_TRUE(disk->LeaveFree(free)) << w.Name << " at " << free;
        r = RunZelmor(w.Ask(t));
      } else {
        // No mount namespace here: a file-size limit, with the signal it sends ignored.
        const Request q = w.Ask(t);
        r = RunProcess("/usr/bin/prlimit",
                       {"--fsize=" + std::to_string(free), "--", "/bin/sh", "-c",
                        "trap '' XFSZ; exec \"$0\" call --batch", BinDir() + "/zelmor"},
                       Batch(q.Lines), 60s, [&] {
                         auto env = q.Env;
                         env.push_back("LC_ALL=pt_BR.UTF-8");
                         return env;
                       }());
      }
      const bool reported = Succeeded(r);
      const bool ended = r.ExitCode == 0 || r.ExitCode == 1;
      const std::string wrong = Verdict(w, t, b.Before, b.After, reported, true);
      ++runs;
      full += reported ? 0 : 1;
      if (ended && wrong.empty()) ++survived;
      EXPECT_TRUE(ended) << w.Name << " with " << free << " bytes free: exit " << r.ExitCode << "\n" << r.Err;
      EXPECT_EQ(wrong, "") << w.Name << " with " << free << " bytes free\n" << r.Out << r.Err;
    }
  }
  std::printf("full-disk runs (%s): %d, failed for want of space: %d, survived: %d\n",
              why.empty() ? "tmpfs in a mount namespace" : ("file-size limit; " + why).c_str(), runs, full, survived);
}

TEST(FileFaults, AKilledWriterLeavesTheOldContentOrTheNew) {
  constexpr std::size_t kBig = 6 << 20;
  auto http = std::make_shared<HttpFiles>(kBig * 2);
  std::vector<Writer> writers{Config(kBig),       Registry(kBig / 2), Log(kBig),       CleanText(kBig),
                              HttpDownload(http), ZipCreate(kBig),    ZipExtract(kBig)};
  std::shared_ptr<FtpFiles> ftp;
  if (FtpServerProcess::Available()) {
    ftp = std::make_shared<FtpFiles>(kBig * 2);
    ASSERT_GT(ftp->Server->Port(), 0);
    writers.push_back(FtpDownload(ftp));
  }
  constexpr int kKills = 12;
  int kills = 0, midway = 0, survived = 0;
  for (const Writer& w : writers) {
    const Baseline b = Measure(w, false);
    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(b.Took);
    for (int k = 0; k < kKills; ++k) {
      FileTree t;
      w.Prepare(t);
      TemporaryFolder scratch;
      const std::string requests = scratch.Path() + "/requests";
      const Request q = w.Ask(t);
      std::ofstream(requests, std::ios::binary) << Batch(q.Lines);
      auto env = q.Env;
      env.push_back("LC_ALL=pt_BR.UTF-8");
      ChildProcess child("/bin/sh", {"-c", "exec \"$0\" call --batch < \"$1\"", BinDir() + "/zelmor", requests}, env);
      std::this_thread::sleep_for(took * k / kKills);
      const bool stillRunning = child.Running();
      child.Kill();
      ++kills;
      midway += stillRunning ? 1 : 0;
      const std::string wrong = Verdict(w, t, b.Before, b.After, false, false);
      if (wrong.empty()) ++survived;
      EXPECT_EQ(wrong, "") << w.Name << " killed after " << (took * k / kKills).count() << " us";
    }
    std::printf("%-28s one undisturbed run: %lld ms\n", w.Name.c_str(),
                static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(b.Took).count()));
  }
  std::printf("kills: %d (%d while still running), survived: %d\n", kills, midway, survived);
}

}  // namespace
}  // namespace zelmor::testing
