#include "core/errors.h"

#include "core/text.h"

namespace zelmor {

EZelmorError::EZelmorError(std::u16string_view message) : std::runtime_error(U16ToUtf8(message)), FMessage(message) {}

}  // namespace zelmor
