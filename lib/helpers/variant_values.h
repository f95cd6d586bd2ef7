// How the helpers read a variant as a number: shared by the null defaults, the SQL
// text of a query and the values a query binds.
#pragma once

#include <cstdint>

#include "mConst.h"

namespace zelmor::helpers {

// Numbers as they are, a Boolean as -1/0, a date-time as its day number, a text read
// with the live regional settings; 0 when unreadable or null.
double VariantDouble(const Variant& V);
// The same, rounded to a whole number.
std::int32_t VariantInt(const Variant& V);

}  // namespace zelmor::helpers
