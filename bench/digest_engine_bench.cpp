// SPDX-License-Identifier: MIT
// Throughput of the digest engine on a file in the page cache, per digest selection, as a table.
// Usage: digest_engine_bench [FILE]  (without FILE a 1 GiB file is made in $TMPDIR and removed)
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "engine/digest_engine.h"

namespace {

constexpr std::size_t kDefaultSize = std::size_t{1} << 30;
constexpr int kRounds = 3;

struct Selection {
    const char* name;
    rizo::HashSelection flags;
};

bool MakeFile(const std::string& path, std::size_t size) {
    std::vector<char> block(std::size_t{1} << 20);
    std::mt19937_64 generator(42);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (std::size_t done = 0; done < size && out; done += block.size()) {
        for (char& byte : block) {
            byte = static_cast<char>(generator());
        }
        out.write(block.data(), static_cast<std::streamsize>(std::min(block.size(), size - done)));
    }
    return static_cast<bool>(out.flush());
}

double Now(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Wall-clock and CPU seconds of this thread; the CPU figure stays meaningful on a busy machine.
struct Seconds {
    double wall = 0;
    double cpu = 0;
};

// One pass over the file with the given digests; false on failure.
bool TimePass(rizo::DigestEngine& engine, const std::string& path, const rizo::HashSelection& flags,
              Seconds& spent) {
    double wallStart = Now(CLOCK_MONOTONIC);
    double cpuStart = Now(CLOCK_THREAD_CPUTIME_ID);
    if (!engine.Open(path, flags)) {
        return false;
    }
    float progress = 0;
    bool atEnd = false;
    while (!atEnd) {
        engine.ReadNext(progress, atEnd);
    }
    // The texts are part of the work: reading a digest value finishes it.
    bool complete = !engine.ReadFailed();
    rizo::FileEntry texts;
    engine.TakeDigestTexts(texts, false);
    engine.Close();
    spent = {Now(CLOCK_MONOTONIC) - wallStart, Now(CLOCK_THREAD_CPUTIME_ID) - cpuStart};
    return complete;
}

}  // namespace

int main(int argc, char** argv) {
    const char* tmp = std::getenv("TMPDIR");
    bool ownFile = argc < 2;
    std::string path =
        ownFile ? std::string(tmp != nullptr ? tmp : "/tmp") + "/rizo-engine-bench.bin" : argv[1];
    if (ownFile && !MakeFile(path, kDefaultSize)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }
    rizo::DigestEngine engine;
    if (!engine.AcquireProvider(false, false)) {
        std::fprintf(stderr, "no digest service\n");
        return 1;
    }
    const std::vector<Selection> selections = {
        {"read only", {.md5 = false}},
        {"MD5", {.md5 = true}},
        {"SHA1", {.md5 = false, .sha1 = true}},
        {"CRC32", {.md5 = false, .crc32 = true}},
        {"SHA256", {.md5 = false, .sha256 = true}},
        {"all four", {true, true, true, true}},
        {"SHA224", {.md5 = false, .sha224 = true}},
        {"SHA384", {.md5 = false, .sha384 = true}},
        {"SHA512", {.md5 = false, .sha512 = true}},
        {"BLAKE2b", {.md5 = false, .blake2b = true}},
        {"XXH64", {.md5 = false, .xxh64 = true}},
        {"XXH3", {.md5 = false, .xxh3 = true}},
        {"XXH128", {.md5 = false, .xxh128 = true}},
        {"the seven",
         {.md5 = false,
          .sha224 = true,
          .sha384 = true,
          .sha512 = true,
          .blake2b = true,
          .xxh64 = true,
          .xxh3 = true,
          .xxh128 = true}},
        {"all eleven", {true, true, true, true, true, true, true, true, 512, true, true, true}},
    };
    Seconds warmUp;
    TimePass(engine, path, selections[0].flags, warmUp);  // brings the file into the page cache
    if (!engine.Open(path, {.md5 = false})) {
        std::fprintf(stderr, "cannot open %s\n", path.c_str());
        return 1;
    }
    double megabytes = static_cast<double>(engine.FileSize()) / 1e6;
    engine.Close();
    std::printf("file %s, %.0f MB in the page cache, best of %d passes\n\n", path.c_str(),
                megabytes, kRounds);
    std::printf("| digests    | MB/s wall | MB/s CPU |\n|------------|-----------|----------|\n");
    int status = 0;
    for (const Selection& selection : selections) {
        Seconds best{1e300, 1e300};
        for (int round = 0; round < kRounds; ++round) {
            Seconds spent;
            if (!TimePass(engine, path, selection.flags, spent)) {
                status = 1;
                break;
            }
            best = {std::min(best.wall, spent.wall), std::min(best.cpu, spent.cpu)};
        }
        std::printf("| %-10s | %9.0f | %8.0f |\n", selection.name, megabytes / best.wall,
                    megabytes / best.cpu);
    }
    if (ownFile) {
        ::unlink(path.c_str());
    }
    return status;
}
