// The library's start-up: what a program runs once, before any window exists.
#pragma once

namespace zelmor {

// The platform's regional settings are read (the live settings), the regional
// copies taken from them, and the form-position settings cleared.
void InitializeStartupState();

}  // namespace zelmor
