// The registry store kept in one text file per user (the format is in
// registry_format.h and docs/settings.md).
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/registry_store.h"

namespace zelmor::adapters {

// A store kept in the file at `path`; its lock file is `path` + ".lock".
std::unique_ptr<platform::RegistryStore> OpenRegistryFile(std::u16string_view path);
// The user's store file: $XDG_CONFIG_HOME/zelmor/registry.reg, where an unset,
// empty or relative XDG_CONFIG_HOME means ~/.config.
std::u16string DefaultRegistryFile();

}  // namespace zelmor::adapters
