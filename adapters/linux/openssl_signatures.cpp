// Ed25519 through OpenSSL 3's EVP interface (one-shot EVP_DigestSign/Verify: Ed25519
// hashes the message itself, so no digest is named).
#include <openssl/evp.h>

#include <memory>

#include "adapters/linux/system_services.h"
#include "core/errors.h"

namespace zelmor::adapters {
namespace {

constexpr std::size_t kKeySize = 32, kSignatureSize = 64;

using Key = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;
using Context = std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)>;

const unsigned char* Bytes(std::string_view s) { return reinterpret_cast<const unsigned char*>(s.data()); }

class OpenSslSignatures final : public platform::Signatures {
 public:
  bool VerifyEd25519(std::string_view publicKey, std::string_view message, std::string_view signature) override {
    if (publicKey.size() != kKeySize || signature.size() != kSignatureSize) return false;
    Key key(EVP_PKEY_new_raw_public_key(EVP_PKEY_ED25519, nullptr, Bytes(publicKey), publicKey.size()), &EVP_PKEY_free);
    Context ctx(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    if (!key || !ctx || EVP_DigestVerifyInit(ctx.get(), nullptr, nullptr, nullptr, key.get()) != 1) return false;
    return EVP_DigestVerify(ctx.get(), Bytes(signature), signature.size(), Bytes(message), message.size()) == 1;
  }

  void NewEd25519Key(std::string& privateKey, std::string& publicKey) override {
    EVP_PKEY* made = EVP_PKEY_Q_keygen(nullptr, nullptr, "ED25519");
    Key key(made, &EVP_PKEY_free);
    privateKey.assign(kKeySize, '\0');
    publicKey.assign(kKeySize, '\0');
    std::size_t a = kKeySize, b = kKeySize;
    if (!key || EVP_PKEY_get_raw_private_key(key.get(), reinterpret_cast<unsigned char*>(privateKey.data()), &a) != 1 ||
        EVP_PKEY_get_raw_public_key(key.get(), reinterpret_cast<unsigned char*>(publicKey.data()), &b) != 1 ||
        a != kKeySize || b != kKeySize)
      throw EArgumentError(u"Não foi possível gerar a chave Ed25519");
  }

  std::string SignEd25519(std::string_view privateKey, std::string_view message) override {
    if (privateKey.size() != kKeySize) throw EArgumentError(u"Chave privada Ed25519 inválida");
    Key key(EVP_PKEY_new_raw_private_key(EVP_PKEY_ED25519, nullptr, Bytes(privateKey), privateKey.size()),
            &EVP_PKEY_free);
    Context ctx(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    std::string signature(kSignatureSize, '\0');
    std::size_t n = signature.size();
    if (!key || !ctx || EVP_DigestSignInit(ctx.get(), nullptr, nullptr, nullptr, key.get()) != 1 ||
        EVP_DigestSign(ctx.get(), reinterpret_cast<unsigned char*>(signature.data()), &n, Bytes(message),
                       message.size()) != 1 ||
        n != kSignatureSize)
      throw EArgumentError(u"Não foi possível assinar com a chave Ed25519");
    return signature;
  }
};

}  // namespace

platform::Signatures& SystemSignatures() {
  static OpenSslSignatures signatures;
  return signatures;
}

}  // namespace zelmor::adapters
