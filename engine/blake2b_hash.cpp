// SPDX-License-Identifier: MIT
// BLAKE2b over libb2. The length is part of the starting state, so a shorter digest is not the
// start of a longer one: each length is initialised as its own.
#include "engine/blake2b_hash.h"

#include <blake2.h>

#include <cstdint>

namespace rizo {
namespace {

class Blake2bHash : public HashObject {
public:
    explicit Blake2bHash(std::size_t bytes) : length(bytes) {}

    bool Init() { return blake2b_init(&state, length) == 0; }

    bool Update(const void* data, std::size_t count) override {
        return result.empty() &&
               blake2b_update(&state, static_cast<const uint8_t*>(data), count) == 0;
    }

    bool Finish(std::vector<unsigned char>& value) override {
        if (result.empty()) {
            std::vector<unsigned char> bytes(length);
            if (blake2b_final(&state, bytes.data(), length) != 0) {
                return false;
            }
            result = std::move(bytes);
        }
        value = result;
        return true;
    }

private:
    blake2b_state state{};
    std::size_t length;
    std::vector<unsigned char> result;
};

}  // namespace

std::unique_ptr<HashObject> CreateBlake2bHash(std::size_t length) {
    if (length == 0 || length > BLAKE2B_OUTBYTES) {
        return nullptr;
    }
    auto hash = std::make_unique<Blake2bHash>(length);
    return hash->Init() ? std::move(hash) : nullptr;
}

}  // namespace rizo
