// Programs the system starts at a time of day: the user's scheduled tasks.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/service.h"

namespace zelmor::platform {

struct ScheduledTask {
  // The task's name as the caller knows it; the scheduler makes a safe name from it.
  std::u16string Name;
  // The program and its arguments, exactly (no shell reads them).
  std::vector<std::u16string> Arguments;
  int Hour = 0, Minute = 0, Second = 0;
  // The days of the week it runs, 0 Sunday to 6 Saturday; empty: every day.
  std::vector<int> Days;
};

class TaskScheduler {
 public:
  static constexpr const char* kServiceName = "task scheduler";
  virtual ~TaskScheduler() = default;
  // Whether the system has a scheduler this program can use.
  virtual bool Available() = 0;
  // Removes the task of that name, if there is one, and returns once it is gone. False
  // when it could not be removed.
  virtual bool Remove(std::u16string_view name) = 0;
  // Makes the task (the caller removed any old one first). True only when the
  // scheduler took it. `command` gets the command that made it, for logs; `error` why
  // it failed.
  virtual bool Create(const ScheduledTask& task, std::u16string* command = nullptr, std::string* error = nullptr) = 0;
};

}  // namespace zelmor::platform
