// SPDX-License-Identifier: MIT
// The main window's tests' fixture: a per-user folder of their own, so "cfg.ini" starts as the
// test makes it, and a file that keeps the worker busy.
#pragma once

#include <unistd.h>

#include <QTest>

#include <gtest/gtest.h>

#include "tests/temp_folder.h"
#include "ui/main_frame.h"

namespace rizo::test {

class MainFrameFixture : public testing::Test {
protected:
    // A file of 64 GiB without data blocks keeps the worker busy until it is stopped. Its path
    // sorts before those of the folder's other files.
    std::string HugeFile() const {
        const std::string path = temp.File("a-huge.bin", "");
        EXPECT_EQ(truncate(path.c_str(), int64_t{64} << 30), 0);
        return path;
    }

    static bool WaitUntilIdle(MainFrame& frame) {
        return QTest::qWaitFor([&frame] { return !frame.Busy(); }, 20000);
    }

    TempFolder temp;
    ScopedEnv xdg{"XDG_CONFIG_HOME", temp.Path()};
};

}  // namespace rizo::test
