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
// A program can also name a loader instead (SetLoader): it runs when the service is
// first asked for, so a program pays for an outside library only when a call needs it.
#pragma once

#include <atomic>

namespace zelmor::platform {

// Writes "no <name> service is installed ..." to standard error and aborts.
[[noreturn]] void MissingService(const char* name);

template <class T>
class Service {
 public:
  Service() = delete;

  // The installed implementation, else what the loader installs, else the interface's
  // fallback; with none of them, the program stops (MissingService). A loader that
  // cannot install raises its own error here.
  static T& Get() {
    if (T* p = Slot().load(std::memory_order_acquire)) return *p;
    if (void (*load)() = Loader().load(std::memory_order_acquire)) {
      load();
      if (T* p = Slot().load(std::memory_order_acquire)) return *p;
    }
    if constexpr (requires { T::Fallback(); }) {
      return T::Fallback();
    } else {
      MissingService(T::kServiceName);
    }
  }

  // Whether an implementation is installed (a fallback or a loader not yet run does not count).
  static bool Installed() { return Slot().load(std::memory_order_acquire) != nullptr; }

  // Names the function that installs this service (with Set) the first time it is asked
  // for while none is installed; nullptr forgets it. The loader guards itself against
  // running twice at once.
  static void SetLoader(void (*load)()) { Loader().store(load, std::memory_order_release); }

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
  static std::atomic<void (*)()>& Loader() {
    static std::atomic<void (*)()> loader{nullptr};
    return loader;
  }
};

}  // namespace zelmor::platform
