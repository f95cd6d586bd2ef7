// The string list's index error, raised where a routine reads a list item by a
// position the caller gave and the position is outside the list.
#pragma once

#include "core/errors.h"

namespace zelmor {

// "Índice da lista fora dos limites (-1)"
ZELMOR_DECLARE_ERROR(EStringListError, "list");

}  // namespace zelmor
