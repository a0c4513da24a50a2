// SPDX-License-Identifier: MIT
// The digest service over OpenSSL's EVP interface.
#include "engine/openssl_digest_service.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <array>

namespace rizo {

namespace {

class EvpHashObject : public HashObject {
public:
    explicit EvpHashObject(EVP_MD_CTX* owned) : context(owned) {}
    ~EvpHashObject() override { EVP_MD_CTX_free(context); }
    EvpHashObject(const EvpHashObject&) = delete;
    EvpHashObject& operator=(const EvpHashObject&) = delete;

    bool Update(const void* data, std::size_t count) override {
        return !finished && EVP_DigestUpdate(context, data, count) == 1;
    }

    bool Finish(std::vector<unsigned char>& value) override {
        if (!finished) {
            unsigned char bytes[EVP_MAX_MD_SIZE];
            unsigned int length = 0;
            if (EVP_DigestFinal_ex(context, bytes, &length) != 1) {
                return false;
            }
            result.assign(bytes, bytes + length);
            finished = true;
        }
        value = result;
        return true;
    }

private:
    EVP_MD_CTX* context;
    bool finished = false;
    std::vector<unsigned char> result;
};

class EvpDigestService : public DigestService {
public:
    EvpDigestService() {
        // Fetched once: an implicit fetch on every hash object would repeat the provider lookup.
        constexpr std::array<const char*, 3> kNames = {"MD5", "SHA1", "SHA256"};
        for (std::size_t i = 0; i < kNames.size(); ++i) {
            digests[i] = EVP_MD_fetch(nullptr, kNames[i], nullptr);
        }
    }
    ~EvpDigestService() override {
        for (EVP_MD* digest : digests) {
            EVP_MD_free(digest);
        }
    }
    EvpDigestService(const EvpDigestService&) = delete;
    EvpDigestService& operator=(const EvpDigestService&) = delete;

    bool Offers(DigestAlgorithm algorithm) const override { return Digest(algorithm) != nullptr; }

    std::unique_ptr<HashObject> CreateHash(DigestAlgorithm algorithm) override {
        const EVP_MD* digest = Digest(algorithm);
        if (digest == nullptr) {
            return nullptr;
        }
        EVP_MD_CTX* context = EVP_MD_CTX_new();
        if (context == nullptr) {
            return nullptr;
        }
        if (EVP_DigestInit_ex2(context, digest, nullptr) != 1) {
            EVP_MD_CTX_free(context);
            return nullptr;
        }
        return std::make_unique<EvpHashObject>(context);
    }

private:
    const EVP_MD* Digest(DigestAlgorithm algorithm) const {
        return digests[static_cast<std::size_t>(algorithm)];
    }

    std::array<EVP_MD*, 3> digests{};
};

}  // namespace

std::unique_ptr<DigestService> CreateOpenSslDigestService() {
    return std::make_unique<EvpDigestService>();
}

std::string OpenSslVersion() {
    return OpenSSL_version(OPENSSL_VERSION_STRING);
}

}  // namespace rizo
