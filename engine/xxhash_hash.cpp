// SPDX-License-Identifier: MIT
// xxHash's streaming states behind HashObject. The values come out in the canonical byte order
// (big-endian), in which xxhsum prints them.
#include "engine/xxhash_hash.h"

#include <xxhash.h>

#include <vector>

namespace rizo {
namespace {

// The library's streaming calls of one state type, so one class serves all three digests.
template <typename State>
struct XxCalls {
    State* (*create)();
    XXH_errorcode (*release)(State*);
    XXH_errorcode (*reset)(State*);
    XXH_errorcode (*update)(State*, const void*, std::size_t);
    std::vector<unsigned char> (*canonical)(const State*);
};

template <typename Canonical, typename Hash>
std::vector<unsigned char> Bytes(void (*toCanonical)(Canonical*, Hash), Hash hash) {
    Canonical canonical{};
    toCanonical(&canonical, hash);
    return {canonical.digest, canonical.digest + sizeof canonical.digest};
}

const XxCalls<XXH64_state_t> kXxh64 = {
    XXH64_createState, XXH64_freeState, [](XXH64_state_t* state) { return XXH64_reset(state, 0); },
    XXH64_update,
    [](const XXH64_state_t* state) { return Bytes(XXH64_canonicalFromHash, XXH64_digest(state)); }};
const XxCalls<XXH3_state_t> kXxh3 = {XXH3_createState, XXH3_freeState, XXH3_64bits_reset,
                                     XXH3_64bits_update, [](const XXH3_state_t* state) {
                                         return Bytes(XXH64_canonicalFromHash,
                                                      XXH3_64bits_digest(state));
                                     }};
const XxCalls<XXH3_state_t> kXxh128 = {XXH3_createState, XXH3_freeState, XXH3_128bits_reset,
                                       XXH3_128bits_update, [](const XXH3_state_t* state) {
                                           return Bytes(XXH128_canonicalFromHash,
                                                        XXH3_128bits_digest(state));
                                       }};

template <typename State>
class XxHash : public HashObject {
public:
    XxHash(const XxCalls<State>& functions, State* owned) : calls(functions), state(owned) {}
    ~XxHash() override { calls.release(state); }
    XxHash(const XxHash&) = delete;
    XxHash& operator=(const XxHash&) = delete;

    bool Update(const void* data, std::size_t count) override {
        return result.empty() && calls.update(state, data, count) == XXH_OK;
    }

    bool Finish(std::vector<unsigned char>& value) override {
        if (result.empty()) {
            result = calls.canonical(state);
        }
        value = result;
        return true;
    }

private:
    const XxCalls<State>& calls;
    State* state;
    std::vector<unsigned char> result;
};

template <typename State>
std::unique_ptr<HashObject> Create(const XxCalls<State>& calls) {
    State* state = calls.create();
    if (state == nullptr) {
        return nullptr;
    }
    if (calls.reset(state) != XXH_OK) {
        calls.release(state);
        return nullptr;
    }
    return std::make_unique<XxHash<State>>(calls, state);
}

}  // namespace

std::unique_ptr<HashObject> CreateXxHash(DigestKind algorithm) {
    switch (algorithm) {
        case DigestKind::kXxh64:
            return Create(kXxh64);
        case DigestKind::kXxh3:
            return Create(kXxh3);
        case DigestKind::kXxh128:
            return Create(kXxh128);
        default:
            return nullptr;
    }
}

}  // namespace rizo
