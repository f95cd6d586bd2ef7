// Exceptions the library raises where a routine's contract says it raises.
// The message is the system's own text (Brazilian Portuguese); the type tells
// the kind, so callers catch what they mean and tools can report it.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace zelmor {

class EZelmorError : public std::runtime_error {
 public:
  explicit EZelmorError(std::u16string_view message);
  const std::u16string& Message() const { return FMessage; }
  // Short name of the kind, for tools: "conversion", "file", "registry", ...
  virtual const char* Kind() const { return "error"; }

 private:
  std::u16string FMessage;
};

#define ZELMOR_DECLARE_ERROR(Name, KindText)               \
  class Name : public EZelmorError {                       \
   public:                                                 \
    using EZelmorError::EZelmorError;                      \
    const char* Kind() const override { return KindText; } \
  }

ZELMOR_DECLARE_ERROR(EConvertError, "conversion");
ZELMOR_DECLARE_ERROR(EFileError, "file");
ZELMOR_DECLARE_ERROR(ERegistryError, "registry");
ZELMOR_DECLARE_ERROR(EConfigError, "config");
ZELMOR_DECLARE_ERROR(ENetworkError, "network");
ZELMOR_DECLARE_ERROR(EArgumentError, "argument");
// The silent abort of input-validation helpers: never shown by the default handler.
ZELMOR_DECLARE_ERROR(EAbort, "abort");

}  // namespace zelmor
