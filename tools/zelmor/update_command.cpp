// `zelmor update`: the publisher's side of signed updates.
//   zelmor update keygen DIR          DIR/update.key (0600) and DIR/update.pub
//   zelmor update sign FOLDER --key KEY
// FOLDER holds "Versoes.ini" and the program files it lists, flat, as the update
// server serves them; `sign` adds the digest lines and writes "Versoes.ini.sig".
// Exit code 0 done, 1 refused, 2 usage.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "core/errors.h"
#include "core/text.h"
#include "platform/signatures.h"
#include "tools/zelmor/commands.h"
#include "updates/signed_list.h"

namespace zelmor::cli {
namespace {

const char* kUsage =
    "usage: zelmor update keygen DIR\n"
    "       zelmor update sign FOLDER --key KEY";

// Creates `path` with `mode` (never over an existing file) and writes `text` to it.
bool WriteNew(const std::string& path, const std::string& text, mode_t mode) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
  if (fd < 0) {
    PrintError("zelmor update: " + path + ": " + std::strerror(errno));
    return false;
  }
  // The umask may have narrowed the mode; it is set as asked (never wider than given).
  bool ok = fchmod(fd, mode) == 0 && write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  ok = fsync(fd) == 0 && ok;
  ok = close(fd) == 0 && ok;
  if (!ok) {
    PrintError("zelmor update: cannot write " + path + ": " + std::strerror(errno));
    unlink(path.c_str());
  }
  return ok;
}

int Keygen(const std::string& dir) {
  std::string privateKey, publicKey;
  platform::Service<platform::Signatures>::Get().NewEd25519Key(privateKey, publicKey);
  const std::string key = dir + "/update.key", pub = dir + "/update.pub";
  if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) {
    PrintError("zelmor update: " + dir + ": " + std::strerror(errno));
    return 1;
  }
  if (!WriteNew(key, updates::PrivateKeyText(privateKey), 0600)) return 1;
  if (!WriteNew(pub, updates::PublicKeyText(publicKey), 0644)) {
    unlink(key.c_str());
    return 1;
  }
  PrintLine(key);
  PrintLine(pub);
  return 0;
}

int Sign(const std::string& folder, const std::string& key) {
  for (const std::u16string& name : updates::SignFolder(Utf8ToU16(folder), Utf8ToU16(key)))
    PrintLine("signed " + U16ToUtf8(name));
  PrintLine(folder + "/" + U16ToUtf8(updates::kSignatureFile));
  return 0;
}

int Run(const std::vector<std::string>& args) {
  try {
    if (args.size() == 2 && args[0] == "keygen") return Keygen(args[1]);
    if (args.size() == 4 && args[0] == "sign" && args[2] == "--key") return Sign(args[1], args[3]);
  } catch (const EZelmorError& e) {
    PrintError("zelmor update: " + U16ToUtf8(e.Message()));
    return 1;
  }
  PrintError(kUsage);
  return 2;
}

}  // namespace

ZELMOR_COMMAND("update", "update keygen DIR | update sign FOLDER --key KEY", Run);

}  // namespace zelmor::cli
