// The update keys only root may change: /etc/zelmor/update-keys/*.pub. The folder
// and each file must belong to root and give no write to group or others; anything
// else there is refused rather than skipped, so a planted key is noticed.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "adapters/linux/posix_files.h"
#include "adapters/linux/system_services.h"
#include "core/errors.h"
#include "core/text.h"

namespace zelmor::adapters {
namespace {

// A key file is one line; anything larger is not a key.
constexpr off_t kMaxKeyFile = 4096;

[[noreturn]] void Refuse(const std::string& path, const std::string& why) {
  throw EFileError(u"Chave de atualização recusada: \"" + Utf8ToU16(path, Utf8Invalid::Escape) + u"\" " +
                   Utf8ToU16(why));
}

// Root's, and writable by nobody else.
void CheckOwner(const std::string& path, const struct stat& st) {
  if (st.st_uid != 0) Refuse(path, "não pertence ao root");
  if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0) Refuse(path, "pode ser alterado pelo grupo ou por outros");
}

class LinuxUpdateTrustStore final : public platform::UpdateTrustStore {
 public:
  explicit LinuxUpdateTrustStore(std::string folder) : FFolder(std::move(folder)) {}

  std::vector<platform::TrustedKeyFile> KeyFiles() override {
    const char* kFolder = FFolder.c_str();
    std::vector<platform::TrustedKeyFile> files;
    const int dir = open(kFolder, O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
    if (dir < 0) {
      if (errno == ENOENT) return files;
      Refuse(kFolder, "não pode ser lido: " + posix::ErrorText(errno));
    }
    struct stat st {};
    if (fstat(dir, &st) != 0) {
      close(dir);
      Refuse(kFolder, "não pode ser lido: " + posix::ErrorText(errno));
    }
    DIR* listing = fdopendir(dir);
    if (listing == nullptr) {
      close(dir);
      Refuse(kFolder, "não pode ser lido");
    }
    struct Close {
      void operator()(DIR* d) const { closedir(d); }
    };
    std::unique_ptr<DIR, Close> guard(listing);
    CheckOwner(kFolder, st);
    std::vector<std::string> names;
    while (dirent* e = readdir(listing)) {
      const std::string name = e->d_name;
      if (name.size() > 4 && name.compare(name.size() - 4, 4, ".pub") == 0) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
      const std::string path = std::string(kFolder) + "/" + name;
      // Not followed: a link could point anywhere a user may write.
      const int fd = openat(dirfd(listing), name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
      if (fd < 0) Refuse(path, "não pode ser lido: " + posix::ErrorText(errno));
      struct stat fst {};
      std::string text;
      bool ok = fstat(fd, &fst) == 0 && S_ISREG(fst.st_mode) && fst.st_size <= kMaxKeyFile;
      if (ok) {
        try {
          CheckOwner(path, fst);
        } catch (...) {
          close(fd);
          throw;
        }
        text.resize(static_cast<std::size_t>(fst.st_size));
        ok = read(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
      }
      close(fd);
      if (!ok) Refuse(path, "não é um arquivo de chave");
      files.push_back({Utf8ToU16(path, Utf8Invalid::Escape), std::move(text)});
    }
    return files;
  }

 private:
  std::string FFolder;
};

}  // namespace

platform::UpdateTrustStore& SystemUpdateTrustStore() {
  static LinuxUpdateTrustStore store("/etc/zelmor/update-keys");
  return store;
}

std::unique_ptr<platform::UpdateTrustStore> UpdateTrustStoreAt(const std::string& folder) {
  return std::make_unique<LinuxUpdateTrustStore>(folder);
}

}  // namespace zelmor::adapters
