// A process-wide value that is read often and replaced rarely (settings taken at
// start-up). Readers pay one atomic load; a reference handed out stays valid
// because replaced copies are kept until exit (they change a handful of times per run).
#pragma once

#include <atomic>
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
    if (const T* p = FCurrent.load(std::memory_order_acquire)) return *p;
    return *Store(FLoad());
  }
  void Set(T value) {
    std::lock_guard lock(FMutex);
    Store(std::move(value));
  }
  // Changes a copy of the current value and publishes it.
  template <class F>
  void Update(F&& change) {
    T next = Get();
    change(next);
    Set(std::move(next));
  }
  void Reload() { Set(FLoad()); }

 private:
  const T* Store(T value) {
    FOwned.push_back(std::make_unique<const T>(std::move(value)));
    const T* p = FOwned.back().get();
    FCurrent.store(p, std::memory_order_release);
    return p;
  }

  std::function<T()> FLoad;
  std::atomic<const T*> FCurrent{nullptr};
  std::mutex FMutex;
  std::vector<std::unique_ptr<const T>> FOwned;
};

}  // namespace zelmor
