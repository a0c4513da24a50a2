// SPDX-License-Identifier: MIT
// Stateless platform helpers: program and per-user folders, file existence, folder creation.
#pragma once

#include <string>

namespace rizo::ShellUtil {

// Folder of the running executable, ending with "/"; empty when it cannot be read.
std::string GetProgramDirectory();

// `subfolder` inside the user's configuration folder ($XDG_CONFIG_HOME, else $HOME/.config),
// ending with "/". Empty when neither variable names an absolute folder.
std::string GetUserDataDirectory(const std::string& subfolder);

// True when the path names anything that exists, a folder included.
bool FileExists(const std::string& path);

// Creates every missing folder along `path`; false when one cannot be created.
bool CreateDirectoryPath(const std::string& path);

}  // namespace rizo::ShellUtil
