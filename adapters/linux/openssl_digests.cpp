// Digests through OpenSSL's EVP interface.
#include <openssl/evp.h>

#include <stdexcept>

#include "adapters/linux/outside_modules.h"
#include "adapters/linux/system_services.h"

namespace zelmor::adapters {
namespace {

class EvpDigest final : public platform::Digest {
 public:
  explicit EvpDigest(const EVP_MD* md) : FCtx(EVP_MD_CTX_new()) {
    if (!FCtx || EVP_DigestInit_ex(FCtx, md, nullptr) != 1) {
      EVP_MD_CTX_free(FCtx);
      throw std::runtime_error("EVP digest could not start");
    }
  }
  ~EvpDigest() override { EVP_MD_CTX_free(FCtx); }
  EvpDigest(const EvpDigest&) = delete;
  EvpDigest& operator=(const EvpDigest&) = delete;

  void Update(std::string_view bytes) override {
    if (EVP_DigestUpdate(FCtx, bytes.data(), bytes.size()) != 1) throw std::runtime_error("EVP digest update failed");
  }
  std::string Final() override {
    unsigned char out[EVP_MAX_MD_SIZE];
    unsigned int n = 0;
    if (EVP_DigestFinal_ex(FCtx, out, &n) != 1) throw std::runtime_error("EVP digest failed");
    return std::string(reinterpret_cast<const char*>(out), n);
  }

 private:
  EVP_MD_CTX* FCtx;
};

class OpenSslDigests final : public platform::Digests {
 public:
  std::unique_ptr<platform::Digest> NewMd5() override { return std::make_unique<EvpDigest>(EVP_md5()); }
  std::unique_ptr<platform::Digest> NewSha256() override { return std::make_unique<EvpDigest>(EVP_sha256()); }
};

}  // namespace

platform::Digests& SystemDigests() {
  static OpenSslDigests digests;
  return digests;
}

}  // namespace zelmor::adapters

// The crypto module's entry (outside_modules.h).
void zelmor_install_crypto_services() {
  zelmor::platform::Service<zelmor::platform::Digests>::Set(&zelmor::adapters::SystemDigests());
  zelmor::platform::Service<zelmor::platform::Signatures>::Set(&zelmor::adapters::SystemSignatures());
}
