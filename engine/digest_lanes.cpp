// SPDX-License-Identifier: MIT
// Digests of one block computed in parallel lanes: one on the caller's thread, one on a helper.
#include "engine/digest_lanes.h"

#include <utility>
#if defined(__x86_64__)
#include <cpuid.h>
#endif

namespace rizo {
namespace {

static_assert(DigestLanes::BitOf(DigestKind::kCrc32) == DigestLanes::kCrc32 &&
              DigestLanes::BitOf(DigestKind::kXxh128) == DigestLanes::kXxh128 &&
              DigestLanes::kDigestCount == kDigestKindCount);

// Below this a block is digested sooner than two helpers wake up and report back.
constexpr std::size_t kLaneMinimum = 256 * 1024;

struct DigestCost {
    DigestLanes::Digest digest;
    unsigned cost;
};

// SHA-1, SHA-224 and SHA-256 run several times faster where the CPU has the SHA extensions, and
// then SHA-1 and SHA-256 together cost less than MD5, which no CPU speeds up.
bool HasShaExtensions() {
#if defined(__x86_64__)
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    return __get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx) != 0 && (ebx & (1u << 29)) != 0;
#else
    return false;
#endif
}

using Costs = std::array<DigestCost, DigestLanes::kDigestCount>;

// Relative time per byte, costliest first, from the libraries' speeds on typical CPUs; those no CPU
// extension speeds up (MD5, SHA-384, SHA-512, BLAKE2b, xxHash) keep their costs relative to MD5 in
// both tables. BLAKE2b's is that of its 512-bit length, from OpenSSL; libb2's other lengths take
// twice as long.
const Costs& CostsByDescent() {
    static const Costs withSha = {{{DigestLanes::kMd5, 16},
                                   {DigestLanes::kSha384, 10},
                                   {DigestLanes::kSha512, 10},
                                   {DigestLanes::kBlake2b, 10},
                                   {DigestLanes::kSha256, 7},
                                   {DigestLanes::kSha224, 7},
                                   {DigestLanes::kSha1, 6},
                                   {DigestLanes::kCrc32, 1},
                                   {DigestLanes::kXxh64, 1},
                                   {DigestLanes::kXxh3, 1},
                                   {DigestLanes::kXxh128, 1}}};
    static const Costs withoutSha = {{{DigestLanes::kSha256, 22},
                                      {DigestLanes::kSha224, 22},
                                      {DigestLanes::kMd5, 16},
                                      {DigestLanes::kSha384, 10},
                                      {DigestLanes::kSha512, 10},
                                      {DigestLanes::kBlake2b, 10},
                                      {DigestLanes::kSha1, 10},
                                      {DigestLanes::kCrc32, 1},
                                      {DigestLanes::kXxh64, 1},
                                      {DigestLanes::kXxh3, 1},
                                      {DigestLanes::kXxh128, 1}}};
    static const bool sha = HasShaExtensions();
    return sha ? withSha : withoutSha;
}

}  // namespace

void DigestLanes::Plan(unsigned digests) {
    planned = digests;
    lanes = {};
    std::array<unsigned, 2> load{};
    for (const DigestCost& entry : CostsByDescent()) {
        if ((digests & entry.digest) != 0) {
            const std::size_t lighter = load[1] < load[0] ? 1 : 0;
            lanes[lighter] |= entry.digest;
            load[lighter] += entry.cost;
        }
    }
    // The caller also reads the next piece, so it takes the lighter lane.
    if (load[0] > load[1]) {
        std::swap(lanes[0], lanes[1]);
    }
}

bool DigestLanes::Worthwhile(std::size_t count) const {
    return lanes[0] != 0 && lanes[1] != 0 && count >= kLaneMinimum;
}

bool DigestLanes::FeedAll(const unsigned char* data, std::size_t count) const {
    return FeedLane(planned, data, count);
}

bool DigestLanes::Start(const unsigned char* data, std::size_t count) {
    block = data;
    blockSize = count;
    return workers->TryStart(
        {[this, data, count] { helperFed = FeedLane(lanes[1], data, count); }});
}

bool DigestLanes::Wait() {
    const bool callerFed = FeedLane(lanes[0], block, blockSize);
    workers->Wait();
    return callerFed && helperFed;
}

bool DigestLanes::FeedLane(unsigned digests, const unsigned char* data, std::size_t count) const {
    bool ok = true;
    // Only the set bits are visited: a digest not chosen costs a block nothing.
    for (unsigned rest = digests; rest != 0; rest &= rest - 1) {
        ok = feed(static_cast<Digest>(rest & (~rest + 1)), data, count) && ok;
    }
    return ok;
}

}  // namespace rizo
