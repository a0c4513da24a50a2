// SPDX-License-Identifier: MIT
// The digest service over OpenSSL's EVP interface, with BLAKE2b of lengths other than 512 bits from
// libb2 and the xxHash digests from libxxhash.
#include "engine/openssl_digest_service.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <array>

#include "engine/blake2b_hash.h"
#include "engine/xxhash_hash.h"

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

// In DigestKind order up to BLAKE2b; CRC32 is the engine's own. OpenSSL offers BLAKE2b in its
// 512-bit length alone; libb2 makes the others. libb2's vector code, which it picks on current
// CPUs, takes twice the time of its plain code and OpenSSL's for a byte.
constexpr std::array<const char*, 8> kEvpNames = {"MD5",    "SHA1",   nullptr,  "SHA256",
                                                  "SHA224", "SHA384", "SHA512", "BLAKE2B-512"};
constexpr std::size_t kBlake2bEvpLength = 64;

// The digests are fetched once for the whole process and never freed, and OpenSSL is asked not to
// tear itself down at exit. A worker left blocked in a read that does not return (a hung network
// share) ends on its own whenever the read does, which may be while the process exits: what it then
// finishes or frees must find the library as it was. So nothing of OpenSSL's is freed while a
// worker may still hold it, neither by an engine's end nor by an exit handler; the system takes it
// all back when the process ends.
using FetchedDigests = std::array<EVP_MD*, kEvpNames.size()>;

const FetchedDigests& ProcessDigests() {
    static const FetchedDigests fetched = [] {
        OPENSSL_init_crypto(OPENSSL_INIT_NO_ATEXIT, nullptr);
        // Fetched once: an implicit fetch on every hash object would repeat the provider lookup.
        FetchedDigests digests{};
        for (std::size_t i = 0; i < kEvpNames.size(); ++i) {
            digests[i] = kEvpNames[i] ? EVP_MD_fetch(nullptr, kEvpNames[i], nullptr) : nullptr;
        }
        return digests;
    }();
    return fetched;
}

class EvpDigestService : public DigestService {
public:
    bool Offers(DigestKind algorithm) const override {
        return algorithm >= DigestKind::kBlake2b || Digest(algorithm) != nullptr;
    }

    std::unique_ptr<HashObject> CreateHash(DigestKind algorithm, std::size_t length) override {
        const EVP_MD* digest = Digest(algorithm);
        if (algorithm == DigestKind::kBlake2b && (length != kBlake2bEvpLength || !digest)) {
            return CreateBlake2bHash(length);
        }
        if (algorithm > DigestKind::kBlake2b) {
            return CreateXxHash(algorithm);
        }
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
    static const EVP_MD* Digest(DigestKind algorithm) {
        const auto index = static_cast<std::size_t>(algorithm);
        return index < kEvpNames.size() ? ProcessDigests()[index] : nullptr;
    }
};

}  // namespace

std::unique_ptr<DigestService> CreateOpenSslDigestService() {
    return std::make_unique<EvpDigestService>();
}

std::string OpenSslVersion() {
    return OpenSSL_version(OPENSSL_VERSION_STRING);
}

}  // namespace rizo
