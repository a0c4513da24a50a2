// SPDX-License-Identifier: MIT
// A checksum list of the command line, read twice: once to count the files it names, once to
// check them.
#pragma once

#include <sys/types.h>

#include <string>

namespace rizo {

class ListInput {
public:
    // `argument` names the list; "-" is standard input.
    explicit ListInput(std::string argument);
    ~ListInput();
    ListInput(const ListInput&) = delete;
    ListInput& operator=(const ListInput&) = delete;

    // Opens the list from its start for the next reading, or -1 with errno. The first reading
    // reads its source; the second reads the source again where it can (a file, a folder, a
    // block device, standard input redirected from one), else the copy of the bytes it gave the
    // first time (a pipe, a terminal, a socket), kept in memory meanwhile.
    int Open();
    // Ends a reading; after the second, the copy is let go.
    void Close();
    // errno of a read that ended the copy early; 0 when it was whole or there is none.
    int CopyError() const { return copyError; }

private:
    int OpenFirst();
    int OpenAgain();
    bool Copy(int from);

    const std::string argument;
    bool standardInput = false;
    // Where standard input stood at the first reading, when it can be read again.
    off_t start = -1;
    // The copy of a source that cannot be read again.
    int copy = -1;
    int copyError = 0;
    // errno of a first reading that could not be opened: the second fails alike.
    int failure = 0;
    int opened = -1;
    int readings = 0;
};

}  // namespace rizo
