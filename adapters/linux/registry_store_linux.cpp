// The registry store in one file per user. Readers never lock: the file is only
// ever replaced whole (write beside, rename), so a reader sees an old or a new
// version, never half of one. Writers take an advisory lock on a lock file beside
// it, read the file again under the lock, change that copy and replace the file,
// so concurrent writers in several processes all keep their values.
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "adapters/linux/posix_files.h"
#include "adapters/linux/registry_format.h"
#include "adapters/linux/registry_store_linux.h"
#include "adapters/linux/system_services.h"
#include "core/errors.h"
#include "core/text.h"

namespace zelmor::adapters {
namespace {

using platform::RegistryStore;
using platform::RegKeyListing;
using platform::RegValue;

using regfile::Key;

// How long a writer waits for another process's write to finish.
constexpr auto kLockWait = std::chrono::seconds(10);

// A new hive has the regional-settings key, as a new account's hive does.
Key InitialHive() {
  Key root{std::u16string(regfile::kRootName), {}, {}};
  regfile::FindOrCreate(root, regfile::SplitPath(u"Control Panel\\International"));
  return root;
}

// Which version of the file a parsed tree came from. The descriptor is kept open
// so the file's inode number cannot be reused by a later version.
struct Version {
  bool Absent = true;
  dev_t Dev = 0;
  ino_t Ino = 0;
  off_t Size = 0;
  timespec MTime{};
  timespec CTime{};

  static Version Of(const struct stat& st) {
    Version v;
    v.Absent = false;
    v.Dev = st.st_dev;
    v.Ino = st.st_ino;
    v.Size = st.st_size;
    v.MTime = st.st_mtim;
    v.CTime = st.st_ctim;
    return v;
  }
  bool Same(const Version& o) const {
    if (Absent || o.Absent) return Absent == o.Absent;
    return Dev == o.Dev && Ino == o.Ino && Size == o.Size && MTime.tv_sec == o.MTime.tv_sec &&
           MTime.tv_nsec == o.MTime.tv_nsec && CTime.tv_sec == o.CTime.tv_sec && CTime.tv_nsec == o.CTime.tv_nsec;
  }
};

class FileRegistryStore final : public RegistryStore {
 public:
  explicit FileRegistryStore(std::string path) : FPath(std::move(path)), FLockPath(FPath + ".lock") {}
  ~FileRegistryStore() override { ForgetCache(); }

  bool KeyExists(std::u16string_view key) override {
    auto parts = regfile::SplitPath(key);
    std::lock_guard lock(FMutex);
    return regfile::Find(Current(), parts) != nullptr;
  }

  void CreateKey(std::u16string_view key) override {
    auto parts = regfile::SplitPath(key);
    regfile::CheckKeyNames(parts);
    {
      std::lock_guard lock(FMutex);
      if (regfile::Find(Current(), parts)) return;
    }
    Change([&](Key& root) {
      if (regfile::Find(root, parts)) return false;
      regfile::FindOrCreate(root, parts);
      return true;
    });
  }

  std::optional<RegValue> ReadValue(std::u16string_view key, std::u16string_view name) override {
    auto parts = regfile::SplitPath(key);
    std::lock_guard lock(FMutex);
    const Key* k = regfile::Find(Current(), parts);
    if (!k) return std::nullopt;
    const RegValue* v = k->Value(name);
    if (!v) return std::nullopt;
    return *v;
  }

  void WriteValue(std::u16string_view key, std::u16string_view name, const RegValue& value) override {
    WriteValues(key, {{std::u16string(name), value}});
  }

  void WriteValues(std::u16string_view key, const std::vector<std::pair<std::u16string, RegValue>>& values) override {
    auto parts = regfile::SplitPath(key);
    regfile::CheckKeyNames(parts);
    for (const auto& [name, value] : values)
      if (name.size() > regfile::kMaxValueNameLength)
        throw ERegistryError(u"Nome de valor longo demais (mais de 16383 caracteres)");
    Change([&](Key& root) {
      Key* k = regfile::FindOrCreate(root, parts);
      bool changed = false;
      for (const auto& [name, value] : values) changed = regfile::SetValue(*k, name, value) || changed;
      return changed;
    });
  }

  bool DeleteValue(std::u16string_view key, std::u16string_view name) override {
    auto parts = regfile::SplitPath(key);
    bool removed = false;
    Change([&](Key& root) {
      Key* k = regfile::Find(root, parts);
      return removed = (k && regfile::RemoveValue(*k, name));
    });
    return removed;
  }

  bool DeleteKey(std::u16string_view key) override {
    auto parts = regfile::SplitPath(key);
    bool removed = false;
    Change([&](Key& root) { return removed = regfile::RemoveKey(root, parts); });
    return removed;
  }

  std::optional<RegKeyListing> ListKey(std::u16string_view key) override {
    auto parts = regfile::SplitPath(key);
    std::lock_guard lock(FMutex);
    const Key* k = &Current();
    RegKeyListing out;
    for (std::u16string_view p : parts) {
      if (!(k = k->Child(p))) return std::nullopt;
      if (!out.Path.empty()) out.Path += u'\\';
      out.Path += k->Name;
    }
    out.Values = k->Values;
    for (const Key& sub : k->SubKeys) out.SubKeys.push_back(sub.Name);
    return out;
  }

  std::u16string Location() override { return Utf8ToU16(FPath); }

 private:
  [[noreturn]] void Damaged(const regfile::FormatError& e) const {
    throw ERegistryError(u"O registro do usuário \"" + Utf8ToU16(FPath) + u"\" está danificado (linha " +
                         IntToStr(e.Line) + u": " + Utf8ToU16(e.what()) +
                         u"). O arquivo não foi alterado; corrija-o ou remova-o.");
  }

  [[noreturn]] void Unusable(const char* what, int err) const { Unusable(what, posix::ErrorText(err).c_str()); }
  [[noreturn]] void Unusable(const char* what, const char* why) const {
    throw ERegistryError(Utf8ToU16(std::string(what)) + u" \"" + Utf8ToU16(FPath) + u"\": " +
                         Utf8ToU16(why ? why : "?"));
  }

  void ForgetCache() {
    FFd.Reset();
    FTree.reset();
    FVersion = Version{};
  }

  // The hive as the file holds it now (FMutex held). Parses only when the file changed.
  const Key& Current() {
    struct stat st {};
    Version now;
    if (stat(FPath.c_str(), &st) == 0) {
      // A pipe would block the open and a device (/dev/zero) never ends: refused unopened.
      if (const char* why = posix::NotRegular(st.st_mode)) Unusable("Não foi possível ler o registro do usuário", why);
      now = Version::Of(st);
    } else if (errno != ENOENT && errno != ENOTDIR) {
      Unusable("Não foi possível ler o registro do usuário", errno);
    }
    if (FTree && now.Same(FVersion)) return *FTree;
    ForgetCache();
    if (now.Absent) {
      FTree = std::make_unique<Key>(InitialHive());
      return *FTree;
    }
    posix::FileDescriptor fd(
        posix::Retry([&] { return open(FPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY); }));
    if (!fd) {
      if (errno == ENOENT) return Current();  // replaced between stat and open: look again
      Unusable("Não foi possível ler o registro do usuário", errno);
    }
    std::string bytes;
    struct stat fst {};
    if (fstat(fd.Get(), &fst) != 0 || posix::NotRegular(fst.st_mode))
      Unusable("Não foi possível ler o registro do usuário", posix::NotRegular(fst.st_mode));
    char buf[65536];
    for (;;) {
      const ssize_t n = posix::Retry([&] { return read(fd.Get(), buf, sizeof buf); });
      if (n < 0) Unusable("Não foi possível ler o registro do usuário", errno);
      if (n == 0) break;
      bytes.append(buf, static_cast<std::size_t>(n));
    }
    try {
      FTree = std::make_unique<Key>(regfile::Parse(bytes));
    } catch (const regfile::FormatError& e) {
      Damaged(e);
    }
    FFd = std::move(fd);
    FVersion = Version::Of(fst);
    return *FTree;
  }

  // The store's folder, with any missing folder above it (~/.config may not exist yet).
  void EnsureFolder() const {
    const std::string folder = posix::FolderOf(FPath);
    struct stat st {};
    if (stat(folder.c_str(), &st) == 0) return;
    for (std::size_t i = 1; i <= folder.size(); ++i)
      if (i == folder.size() || folder[i] == '/') mkdir(folder.substr(0, i).c_str(), 0700);
    if (stat(folder.c_str(), &st) != 0) Unusable("Não foi possível criar a pasta do registro do usuário", errno);
  }

  // Holds the lock file for one change.
  class WriteLock {
   public:
    explicit WriteLock(const FileRegistryStore& s) {
      FFd.Reset(posix::Retry([&] { return open(s.FLockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600); }));
      if (!FFd) s.Unusable("Não foi possível gravar o registro do usuário", errno);
      const auto deadline = std::chrono::steady_clock::now() + kLockWait;
      auto pause = std::chrono::microseconds(200);
      while (flock(FFd.Get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
          s.Unusable("Não foi possível bloquear o registro do usuário", errno);
        }
        if (std::chrono::steady_clock::now() >= deadline) {
          throw ERegistryError(u"O registro do usuário \"" + Utf8ToU16(s.FPath) +
                               u"\" está bloqueado por outro processo há mais de 10 segundos");
        }
        std::this_thread::sleep_for(pause);
        if (pause < std::chrono::milliseconds(2)) pause *= 2;
      }
    }

   private:
    posix::FileDescriptor FFd;  // closing releases the lock
  };

  // Applies `change` to the hive as it is on the disk now, under the lock, and
  // writes the result when `change` says something changed.
  void Change(const std::function<bool(Key&)>& change) {
    std::lock_guard lock(FMutex);
    EnsureFolder();
    WriteLock writeLock(*this);
    Key next = Current();
    if (!change(next)) return;
    const std::string bytes = regfile::Serialize(next);
    posix::FileDescriptor fd;
    try {
      fd = posix::ReplaceWhole(FPath, bytes, 0600);
    } catch (const EFileError& e) {
      throw ERegistryError(e.Message());
    }
    struct stat st {};
    fstat(fd.Get(), &st);
    ForgetCache();
    FFd = std::move(fd);
    FVersion = Version::Of(st);
    FTree = std::make_unique<Key>(std::move(next));
  }

  const std::string FPath;
  const std::string FLockPath;
  std::mutex FMutex;
  std::unique_ptr<Key> FTree;
  Version FVersion;
  posix::FileDescriptor FFd;
};

std::string HomeFolder() {
  if (const char* h = std::getenv("HOME"); h && *h) return h;
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return "/";
}

}  // namespace

std::u16string DefaultRegistryFile() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  std::string base = (xdg && *xdg == '/') ? std::string(xdg) : HomeFolder() + "/.config";
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  return Utf8ToU16(base + "/zelmor/registry.reg");
}

std::unique_ptr<platform::RegistryStore> OpenRegistryFile(std::u16string_view path) {
  return std::make_unique<FileRegistryStore>(posix::NativePath(path));
}

platform::RegistryStore& SystemRegistryStore() {
  static std::unique_ptr<RegistryStore> store = OpenRegistryFile(DefaultRegistryFile());
  return *store;
}

}  // namespace zelmor::adapters
