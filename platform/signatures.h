// Ed25519 signatures from the machine's crypto library: what an update list is
// signed and checked with. Keys and signatures are raw bytes (32-byte keys, 64-byte
// signatures); the text forms they travel in belong to the caller.
#pragma once

#include <string>
#include <string_view>

#include "platform/service.h"

namespace zelmor::platform {

class Signatures {
 public:
  static constexpr const char* kServiceName = "signatures";
  virtual ~Signatures() = default;
  // Whether `signature` is `publicKey`'s signature of `message`. A key or signature of
  // the wrong size is simply not valid. Never throws.
  virtual bool VerifyEd25519(std::string_view publicKey, std::string_view message, std::string_view signature) = 0;
  // A new key pair from the system's random source. Throws EZelmorError.
  virtual void NewEd25519Key(std::string& privateKey, std::string& publicKey) = 0;
  // `privateKey`'s signature of `message`. Throws EZelmorError for a key that is not one.
  virtual std::string SignEd25519(std::string_view privateKey, std::string_view message) = 0;
};

}  // namespace zelmor::platform
