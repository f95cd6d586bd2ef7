// A process-wide value that is read often and replaced rarely (settings taken at
// start-up). Readers pay one atomic load and get a reference. A replaced value is
// kept for the life of the object, so a reference stays valid however many changes
// follow, for as long as its reader holds it (the formatting routines take the
// settings by reference); the values change a handful of times per run, so what is
// kept stays small.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace zelmor {

template <class T>
class Snapshot {
 public:
  explicit Snapshot(std::function<T()> load) : FLoad(std::move(load)) {}

  const T& Get() {
    if (const T* p = FCurrent.load(std::memory_order_acquire)) return *p;
    std::lock_guard lock(FMutex);
    return CurrentLocked();
  }
  void Set(T value) {
    std::lock_guard lock(FMutex);
    Store(std::move(value));
  }
  // Changes a copy of the current value and publishes it, as one step: two
  // updates at once both take effect.
  template <class F>
  void Update(F&& change) {
    std::lock_guard lock(FMutex);
    T next = CurrentLocked();
    change(next);
    Store(std::move(next));
  }
  void Reload() { Set(FLoad()); }

 private:
  const T& CurrentLocked() {
    if (const T* p = FCurrent.load(std::memory_order_acquire)) return *p;
    return *Store(FLoad());
  }

  const T* Store(T value) {
    // The one just replaced is kept: readers may still hold it.
    if (FOwned) FRetired.push_back(std::move(FOwned));
    FOwned = std::make_unique<const T>(std::move(value));
    FCurrent.store(FOwned.get(), std::memory_order_release);
    return FOwned.get();
  }

  std::function<T()> FLoad;
  std::atomic<const T*> FCurrent{nullptr};
  std::mutex FMutex;
  std::unique_ptr<const T> FOwned;
  std::vector<std::unique_ptr<const T>> FRetired;
};

}  // namespace zelmor
