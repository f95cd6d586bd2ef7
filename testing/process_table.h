// The process-control service over a table of the test's own: processes are rows,
// ending one takes as many requests as the row says (or never succeeds), and every
// request is recorded. Installs itself on construction, puts back what it replaced
// on destruction.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/running_processes.h"

namespace zelmor::testing {

class ProcessTable final : public platform::ProcessControl {
 public:
  static constexpr std::int64_t kOwnId = 1;

  // A running process named `name`. It ends at the `endsAfter`-th request to end it;
  // 0: it never does (a process the system will not let us end). Gives its id.
  std::int64_t Add(std::u16string name, int endsAfter = 1) {
    FRows.push_back({{FNextId, static_cast<std::uint64_t>(FNextId) * 100, std::move(name)}, endsAfter, 0});
    return FNextId++;
  }

  std::vector<platform::RunningProcess> Snapshot() override {
    std::vector<platform::RunningProcess> live;
    for (const Row& r : FRows) live.push_back(r.Process);
    return live;
  }
  bool End(const platform::RunningProcess& process) override {
    EndRequests.push_back(process.Name);
    for (auto it = FRows.begin(); it != FRows.end(); ++it) {
      if (it->Process.Id != process.Id || it->Process.StartTime != process.StartTime) continue;
      if (it->EndsAfter != 0 && ++it->Requests >= it->EndsAfter) FRows.erase(it);
      return true;
    }
    return false;
  }
  std::int64_t OwnId() override { return kOwnId; }
  bool ClaimInstance(std::u16string_view name, bool keep) override {
    if (FHeld.count(std::u16string(name)) != 0) return false;
    if (keep) FHeld.insert(std::u16string(name));
    return true;
  }
  bool IsAdministrator() override { return Administrator; }
  std::uint64_t MemoryInUse() override { return Memory; }
  void TrimMemory() override { ++Trims; }
  bool PowerOff(bool restart) override {
    PowerOffs.push_back(restart);
    return PowerOffAccepted;
  }

  std::vector<std::u16string> EndRequests;  // the name of every process asked to end, in order
  bool Administrator = false;
  std::uint64_t Memory = 0;
  int Trims = 0;
  std::vector<bool> PowerOffs;  // true: a restart
  bool PowerOffAccepted = false;

 private:
  struct Row {
    platform::RunningProcess Process;
    int EndsAfter, Requests;
  };
  std::vector<Row> FRows;
  std::int64_t FNextId = 100;
  std::set<std::u16string> FHeld;
  platform::Service<platform::ProcessControl>::ScopedOverride FInstalled{this};
};

}  // namespace zelmor::testing
