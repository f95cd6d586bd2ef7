#include "platform/http_client.h"

#include <atomic>

namespace zelmor::platform {
namespace {
std::atomic<HttpClient*> gClient{nullptr};
}  // namespace

HttpClient& GetHttpClient() {
  HttpClient* c = gClient.load();
  return c ? *c : SystemHttpClient();
}
void SetHttpClient(HttpClient* client) { gClient.store(client); }

}  // namespace zelmor::platform
