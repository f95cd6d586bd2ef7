// Shared libraries loaded at run time (an outside library the program binds on
// first use rather than at start, so it can run without it until it is needed).
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "core/errors.h"
#include "platform/service.h"

namespace zelmor::platform {

// A library file that exists but cannot be loaded, or lacks a function asked of it.
ZELMOR_DECLARE_ERROR(ESharedLibraryError, "library");

class SharedLibrary {
 public:
  virtual ~SharedLibrary() = default;
  // The address of the exported function `name`, or nullptr when it has none.
  virtual void* Symbol(const std::string& name) = 0;
};

class SharedLibraryLoader {
 public:
  static constexpr const char* kServiceName = "shared library loader";
  virtual ~SharedLibraryLoader() = default;
  // Loads the library file at `path` (a full path; the system's search path is never
  // used). Raises ESharedLibraryError with the system's reason when it cannot.
  // The library stays loaded while the returned object lives.
  virtual std::shared_ptr<SharedLibrary> Load(std::u16string_view path) = 0;
};

}  // namespace zelmor::platform
