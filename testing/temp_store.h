// A temporary folder removed with everything in it, and a registry store kept in
// one, installed for the test's duration (the store it replaced comes back after).
// Both are RAII.
#pragma once

#include <memory>
#include <string>

#include "platform/registry_store.h"

namespace zelmor::testing {

class TemporaryFolder {
 public:
  TemporaryFolder();
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;
  // The folder's path, without a trailing separator.
  const std::string& Path() const { return FPath; }
  // Path() + "/" + name, as library text.
  std::u16string File(const std::string& name) const;

 private:
  std::string FPath;
};

// Installs a store at <temporary folder>/zelmor/registry.reg (not yet created).
class TemporaryRegistry {
 public:
  TemporaryRegistry();
  platform::RegistryStore& Store() { return *FStore; }
  // The store file (for checking its bytes) and the folder it is in.
  std::string FilePath() const { return FFolder.Path() + "/zelmor/registry.reg"; }
  const TemporaryFolder& Folder() const { return FFolder; }

 private:
  TemporaryFolder FFolder;
  std::unique_ptr<platform::RegistryStore> FStore;
  platform::Service<platform::RegistryStore>::ScopedOverride FInstalled;
};

}  // namespace zelmor::testing
