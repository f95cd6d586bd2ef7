// The HTTP client on libcurl. Downloads go to a temporary file beside the target,
// renamed over it only when complete.
#include <curl/curl.h>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>

#include "adapters/linux/outside_modules.h"
#include "adapters/linux/replacement_file.h"
#include "adapters/linux/system_services.h"
#include "core/text.h"
#include "platform/download_limits.h"

namespace zelmor::adapters {
namespace {

void GlobalInit() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

constexpr long kBuffer = 256 * 1024;

// A download on its way to the disk. curl hands the body over in pieces of at most
// 16 KiB whatever it reads; they are gathered into writes of kBuffer.
struct FileSink {
  posix::ReplacementFile File;
  std::string Pending;

  bool Flush() {
    const bool ok = !File.Write(Pending);
    Pending.clear();
    return ok;
  }
};

std::size_t WriteToFile(char* data, std::size_t size, std::size_t n, void* user) {
  auto* sink = static_cast<FileSink*>(user);
  sink->Pending.append(data, size * n);
  if (sink->Pending.size() >= static_cast<std::size_t>(kBuffer) && !sink->Flush()) return 0;
  return size * n;
}

// Past kMaxTextAnswerBytes the transfer ends (a short count is curl's write error).
std::size_t AppendToText(char* data, std::size_t size, std::size_t n, void* user) {
  auto* body = static_cast<std::string*>(user);
  if (body->size() + size * n > platform::kMaxTextAnswerBytes) return 0;
  body->append(data, size * n);
  return size * n;
}

std::atomic<long> StallSeconds{30};

// One GET of `url`, the body handed to `write`: redirects followed (http and https
// only), an HTTP error status a failure, connect and stall time-outs.
CURLcode Perform(std::u16string_view url, curl_write_callback write, void* data, char* message) {
  GlobalInit();
  CURL* curl = curl_easy_init();
  if (!curl) return CURLE_FAILED_INIT;
  const std::string u = U16ToUtf8(url);
  curl_easy_setopt(curl, CURLOPT_URL, u.c_str());
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
  curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);  // an HTTP error status is a failure
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 15L);
  // A transfer under the minimum rate for StallSeconds is given up; none takes longer than 10 minutes.
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, platform::kMinTransferBytesPerSecond);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, StallSeconds.load());
  curl_easy_setopt(curl, CURLOPT_TIMEOUT, 600L);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, message);
  // Larger reads than curl's 16 KiB: a sixteenth of the receives and writes per megabyte.
  curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, kBuffer);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, write);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, data);
  const CURLcode rc = curl_easy_perform(curl);
  curl_easy_cleanup(curl);
  return rc;
}

class CurlHttpClient final : public platform::HttpClient {
 public:
  bool DownloadToText(std::u16string_view url, std::string& body, std::string* error) override {
    body.clear();
    char message[CURL_ERROR_SIZE] = {};
    const CURLcode rc = Perform(url, &AppendToText, &body, message);
    if (rc == CURLE_OK) return true;
    const bool tooLarge = rc == CURLE_WRITE_ERROR;
    body.clear();
    if (error)
      *error = tooLarge     ? "answer larger than " + std::to_string(platform::kMaxTextAnswerBytes) + " bytes"
               : message[0] ? message
                            : curl_easy_strerror(rc);
    return false;
  }

  bool DownloadToFile(std::u16string_view url, std::u16string_view path, std::string* error) override {
    auto fail = [error](const std::string& why) {
      if (error) *error = why;
      return false;
    };
    const std::string target = U16ToUtf8(path);
    FileSink sink;
    posix::ReplaceOptions options;
    options.NewMode = 0644;
    if (const posix::ReplaceError e = sink.File.Open(target, options))
      return fail(e.What == posix::ReplaceError::Kind::System ? "cannot create a file beside " + target
                                                              : "cannot replace " + target + ": " + e.Reason());
    sink.Pending.reserve(static_cast<std::size_t>(kBuffer) + CURL_MAX_WRITE_SIZE);
    char message[CURL_ERROR_SIZE] = {};
    const CURLcode rc = Perform(url, &WriteToFile, &sink, message);
    if (rc != CURLE_OK) return fail(message[0] ? message : curl_easy_strerror(rc));
    if (!sink.Flush()) return fail(std::string(curl_easy_strerror(CURLE_WRITE_ERROR)));
    if (sink.File.Commit()) return fail("cannot replace " + target);
    return true;
  }
};

}  // namespace

void SetHttpStallSeconds(long seconds) { StallSeconds = seconds; }

platform::HttpClient& SystemHttpClient() {
  static CurlHttpClient client;
  return client;
}

}  // namespace zelmor::adapters

// The network module's entry (outside_modules.h).
void zelmor_install_network_services() {
  zelmor::platform::Service<zelmor::platform::HttpClient>::Set(&zelmor::adapters::SystemHttpClient());
  zelmor::platform::Service<zelmor::platform::FtpClients>::Set(&zelmor::adapters::SystemFtpClients());
}
