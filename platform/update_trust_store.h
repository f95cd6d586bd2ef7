// Where the public keys that update lists may be signed with come from: on Linux the
// files /etc/zelmor/update-keys/*.pub that only root may change. Tests install their
// own store; nothing a user can write (a setting, the environment) adds a key.
#pragma once

#include <string>
#include <vector>

#include "platform/service.h"

namespace zelmor::platform {

// One key file as read: where it came from (for messages) and its text.
struct TrustedKeyFile {
  std::u16string Origin;
  std::string Text;
};

class UpdateTrustStore {
 public:
  static constexpr const char* kServiceName = "update trust store";
  virtual ~UpdateTrustStore() = default;
  // Every key file of the store; none when the store's folder does not exist. A
  // folder or file someone other than root could change is refused: EFileError
  // naming it and saying why.
  virtual std::vector<TrustedKeyFile> KeyFiles() = 0;
};

}  // namespace zelmor::platform
