#include "testing/temp_store.h"

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "adapters/linux/registry_store_linux.h"
#include "core/text.h"

namespace zelmor::testing {

TemporaryFolder::TemporaryFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "zelmor-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
  FPath = pattern;
}

TemporaryFolder::~TemporaryFolder() {
  std::error_code ec;
  // Tests may leave read-only folders behind; give the permissions back first.
  for (auto it = std::filesystem::recursive_directory_iterator(FPath, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
    if (it->is_directory(ec))
      std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                   ec);
  std::filesystem::permissions(FPath, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(FPath, ec);
}

std::u16string TemporaryFolder::File(const std::string& name) const { return Utf8ToU16(FPath + "/" + name); }

TemporaryRegistry::TemporaryRegistry()
    : FStore(adapters::OpenRegistryFile(Utf8ToU16(FilePath()))), FInstalled(FStore.get()) {}

}  // namespace zelmor::testing
