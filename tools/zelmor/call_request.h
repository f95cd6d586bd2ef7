// One request line of `zelmor call --batch`: read as JSON, checked for its shape,
// and answered by the routine it names.
#pragma once

#include <string>

#include "tools/zelmor/json_values.h"

namespace zelmor::cli {

// Arrays and objects nest at most this deep in one request line.
inline constexpr int kMaxNesting = 100;

// The answer to one line `["Routine", args...]`: the routine's answer
// ({"result":…} or {"error":…,"kind":…}), or an "argument" error that says what is
// wrong with the line and where. Throws only std::bad_alloc and std::length_error
// (the batch answers those itself, so one line cannot end it).
Json AnswerRequest(const std::string& line);

}  // namespace zelmor::cli
