// SPDX-License-Identifier: MIT
// Full paths shaped like a photo collection: the list benchmarks' common input.
#pragma once

#include <string>
#include <vector>

namespace rizo {

inline std::vector<std::string> BenchPaths(int count) {
    std::vector<std::string> paths;
    paths.reserve(count);
    for (int i = 0; i < count; ++i) {
        paths.push_back("/home/user/photos/" + std::to_string(i % 97) + "/IMG_" +
                        std::to_string(i) + ".jpg");
    }
    return paths;
}

}  // namespace rizo
