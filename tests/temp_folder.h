// SPDX-License-Identifier: MIT
// Test helpers: a private temporary folder, whole-file text access, scoped environment values,
// code and shell lines run in a child process.
#pragma once

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>

namespace rizo::test {

inline void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string ReadText(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "rizo-XXXXXX").string();
        path_ = std::string(mkdtemp(pattern.data())) + '/';
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path ending with "/".
    const std::string& Path() const { return path_; }
    // Writes `bytes` to the file `name` in the folder and returns its path.
    std::string File(const std::string& name, const std::string& bytes) const {
        WriteText(path_ + name, bytes);
        return path_ + name;
    }

private:
    std::string path_;
};

// Sets or unsets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        Apply(value);
    }
    ~ScopedEnv() { Apply(old_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void Apply(const std::optional<std::string>& value) const {
        value ? setenv(name_, value->c_str(), 1) : unsetenv(name_);
    }

    const char* name_;
    std::optional<std::string> old_;
};

// Runs `body` in a forked child that is killed after `seconds`, as the unprivileged user 65534
// when `asNobody` is set (tests run as root in CI). The child's exit code, or -1 when it was
// killed or crashed.
inline int RunInChild(const std::function<int()>& body, unsigned seconds, bool asNobody = false) {
    const pid_t child = fork();
    if (child == 0) {
        alarm(seconds);
        if (asNobody && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)) {
            _exit(125);
        }
        _exit(body());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// `text` in single quotes for the shell.
inline std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

struct ShellOutcome {
    int status = -1;
    std::string out, err;
};

// Runs `command` with /bin/sh in `dir` (which must not end with "/"), as the unprivileged user
// when `asNobody` and this is root; what it writes is captured through files in `dir`.
inline ShellOutcome RunShell(const std::string& dir, const std::string& command, bool asNobody) {
    const std::string line = "cd " + Quoted(dir) + " && (" + command + ") > .out 2> .err";
    const int status =
        RunInChild([&line] { return execl("/bin/sh", "sh", "-c", line.c_str(), nullptr), 127; },
                   120, asNobody && geteuid() == 0);
    ShellOutcome outcome{status, ReadText(dir + "/.out"), ReadText(dir + "/.err")};
    std::filesystem::remove(dir + "/.out");
    std::filesystem::remove(dir + "/.err");
    return outcome;
}

}  // namespace rizo::test
