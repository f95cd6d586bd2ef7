// Downloads over HTTP and HTTPS.
#pragma once

#include <string>
#include <string_view>

#include "platform/service.h"

namespace zelmor::platform {

class HttpClient {
 public:
  static constexpr const char* kServiceName = "HTTP client";
  virtual ~HttpClient() = default;
  // Downloads `url` into the file `path`, replacing it. True only when the server
  // answered with success and the whole body is in place; on failure `path` is left as
  // it was (no partial file) and `error`, when given, says why. Never throws.
  virtual bool DownloadToFile(std::u16string_view url, std::u16string_view path, std::string* error = nullptr) = 0;
  // Downloads `url` into `body`, the bytes as they came. True only when the server
  // answered with success and the whole body arrived; redirects are followed, a stalled
  // transfer is given up. `error`, when given, says why it failed. Never throws.
  virtual bool DownloadToText(std::u16string_view url, std::string& body, std::string* error = nullptr) = 0;
};

}  // namespace zelmor::platform
