// The service registry: where the library finds each platform service. A program
// installs the system's implementations at start (the Linux adapter's
// InstallSystemServices()); tests and tools install their own for a while with
// ScopedOverride. Asking for a service nobody installed stops the program with a
// message naming it, rather than doing something else quietly.
//
//   platform::Service<platform::Clock>::Get().Now()
//   platform::Service<platform::Clock>::ScopedOverride fixed(&myClock);
//
// An interface takes part by naming itself (`static constexpr const char*
// kServiceName`); one with a portable answer of its own for when nothing is installed
// (the text measurer's estimate) also has `static T& Fallback()`.
// Install before other threads use the library; a replacement must outlive its use.
#pragma once

#include <atomic>

namespace zelmor::platform {

// Writes "no <name> service is installed ..." to standard error and aborts.
[[noreturn]] void MissingService(const char* name);

template <class T>
class Service {
 public:
  Service() = delete;

  // The installed implementation, else the interface's fallback; with neither, the
  // program stops (MissingService).
  static T& Get() {
    if (T* p = Slot().load(std::memory_order_acquire)) return *p;
    if constexpr (requires { T::Fallback(); }) {
      return T::Fallback();
    } else {
      MissingService(T::kServiceName);
    }
  }

  // Whether an implementation is installed (a fallback does not count).
  static bool Installed() { return Slot().load(std::memory_order_acquire) != nullptr; }

  // Installs `impl` (kept by pointer) and answers the one it replaces; nullptr uninstalls.
  static T* Set(T* impl) { return Slot().exchange(impl, std::memory_order_acq_rel); }

  // Installs `impl` for its own lifetime and puts back what was there before.
  class ScopedOverride {
   public:
    explicit ScopedOverride(T* impl) : FPrevious(Set(impl)) {}
    ~ScopedOverride() { Set(FPrevious); }
    ScopedOverride(const ScopedOverride&) = delete;
    ScopedOverride& operator=(const ScopedOverride&) = delete;

   private:
    T* FPrevious;
  };

 private:
  static std::atomic<T*>& Slot() {
    static std::atomic<T*> slot{nullptr};
    return slot;
  }
};

}  // namespace zelmor::platform
