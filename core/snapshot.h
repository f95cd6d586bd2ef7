// A process-wide value that is read often and replaced rarely (settings taken at
// start-up). Readers pay one atomic load and get a reference; replacing the value
// keeps the last kRetired copies alive, so a reference stays valid through that many
// further changes (readers use it within one call; the values change a handful of
// times per run), and memory stays bounded however often the value is replaced.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>

namespace zelmor {

template <class T>
class Snapshot {
 public:
  static constexpr std::size_t kRetired = 16;

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
    // The oldest retired copy goes; the one just replaced joins the retired.
    FRetired[FNext] = std::move(FOwned);
    FNext = (FNext + 1) % kRetired;
    FOwned = std::make_unique<const T>(std::move(value));
    FCurrent.store(FOwned.get(), std::memory_order_release);
    return FOwned.get();
  }

  std::function<T()> FLoad;
  std::atomic<const T*> FCurrent{nullptr};
  std::mutex FMutex;
  std::unique_ptr<const T> FOwned;
  std::array<std::unique_ptr<const T>, kRetired> FRetired;
  std::size_t FNext = 0;
};

}  // namespace zelmor
