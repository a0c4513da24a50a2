// SPDX-License-Identifier: MIT
// Reading checksum files: every form the program accepts, grouped by form, as a trace of what a
// caller receives.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "tests/temp_folder.h"
#include "verify/checksum_file_reader.h"

namespace {

using rizo::ChecksumFileReader;

const std::string kMd5(32, 'a');
const std::string kSha1(40, 'b');
const std::string kCrc(8, 'c');
const std::string kSha256(64, 'd');

// "name[KIND@line ...] " per listed file, "!line " per improper line, "end" or "error".
std::string Trace(const std::string& bytes) {
    rizo::test::TempFolder temp;
    const int fd = ::open(temp.File("sums", bytes).c_str(), O_RDONLY);
    ChecksumFileReader reader(fd);
    std::string trace;
    for (;;) {
        const ChecksumFileReader::Event event = reader.Next();
        if (event == ChecksumFileReader::Event::kFile) {
            trace += reader.File().name + "[";
            for (const rizo::ListedDigest& digest : reader.File().digests) {
                trace += std::string(rizo::KindName(digest.kind)) + ":" + digest.hex.substr(0, 2) +
                         "@" + std::to_string(digest.line) + " ";
            }
            trace += "] ";
        } else if (event == ChecksumFileReader::Event::kImproper) {
            trace += "!" + std::to_string(reader.ImproperLine()) + " ";
        } else {
            trace += event == ChecksumFileReader::Event::kEnd ? "end" : "error";
            break;
        }
    }
    ::close(fd);
    return trace;
}

struct Case {
    const char* what;
    std::string bytes;
    std::string trace;
};

void ExpectTraces(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        EXPECT_EQ(Trace(c.bytes), c.trace) << c.what;
    }
}

TEST(ChecksumFileReaderTest, GnuLines) {
    ExpectTraces({
        {"text and binary marks, each length its digest",
         kMd5 + "  a\n" + kSha1 + " *b c\n" + kCrc + "  d\n" + kSha256 + "  e\n",
         "a[MD5:aa@1 ] b c[SHA1:bb@2 ] d[CRC32:cc@3 ] e[SHA256:dd@4 ] end"},
        {"upper-case hex is read in lower case, leading blanks skipped",
         "\t " + std::string(32, 'A') + "  x\n", "x[MD5:aa@1 ] end"},
        {"unknown escape, lone trailing backslash", "\\" + kMd5 + "  a\\tb\n\\" + kMd5 + "  a\\\n",
         "!1 !2 end"},
        {"a backslash in a line without the leading one is a plain byte", kMd5 + "  a\\nb\n",
         "a\\nb[MD5:aa@1 ] end"},
        {"other hex lengths, no blank after the digest, nothing after it",
         std::string(31, 'a') + "  x\n" + kMd5 + "x  y\n" + kMd5 + " \n", "!1 !2 !3 end"},
        {"one-space lines after two-space lines are refused", kMd5 + "  a\n" + kMd5 + " b\n",
         "a[MD5:aa@1 ] !2 end"},
        {"after one-space lines every character after the blank belongs to the name",
         kMd5 + " a\n" + kMd5 + "  b\n", "a[MD5:aa@1 ]  b[MD5:aa@2 ] end"},
        {"comments and blank lines count but list nothing", "# made today\n\n" + kMd5 + "  a\n",
         "a[MD5:aa@3 ] end"},
        {"a name keeps non-UTF-8 bytes and trailing blanks", kMd5 + "  \xff\xfe \n",
         "\xff\xfe [MD5:aa@1 ] end"},
    });
}

TEST(ChecksumFileReaderTest, BsdTagLines) {
    ExpectTraces({
        {"the four tags, SHA2-256 alias, spacing variants",
         "MD5 (a b) = " + kMd5 + "\nSHA1(c)=" + kSha1 + "\nCRC32 (d) =  " + kCrc +
             "\nSHA2-256 (e) = " + kSha256 + "\n",
         "a b[MD5:aa@1 ] c[SHA1:bb@2 ] d[CRC32:cc@3 ] e[SHA256:dd@4 ] end"},
        {"the name runs to the last parenthesis", "SHA1 (a) = (b) = " + kSha1 + "\n",
         "a) = (b[SHA1:bb@1 ] end"},
        {"escaped form", "\\SHA256 (x\\ny) = " + kSha256 + "\n", "x\ny[SHA256:dd@1 ] end"},
        {"wrong length for the tag, no parenthesis, no equals sign",
         "SHA256 (a) = " + kMd5 + "\nMD5 a = " + kMd5 + "\nMD5 (a) " + kMd5 + "\n", "!1 !2 !3 end"},
        {"the lines of one file are gathered, other files and repeats later are not",
         "MD5 (f) = " + kMd5 + "\nSHA1 (f) = " + kSha1 + "\nCRC32 (f) = " + kCrc +
             "\nSHA256 (f) = " + kSha256 + "\nMD5 (g) = " + kMd5 + "\nMD5 (f) = " + kMd5 + "\n",
         "f[MD5:aa@1 SHA1:bb@2 CRC32:cc@3 SHA256:dd@4 ] g[MD5:aa@5 ] f[MD5:aa@6 ] end"},
        {"an improper line between two lines of one file splits them",
         "MD5 (f) = " + kMd5 + "\nbad\nSHA1 (f) = " + kSha1 + "\n",
         "f[MD5:aa@1 ] !2 f[SHA1:bb@3 ] end"},
    });
}

TEST(ChecksumFileReaderTest, SfvLines) {
    ExpectTraces({
        {"comments, names with spaces, either case",
         "; made by a tool\nmy file.bin DEADBEEF\nother\t" + kCrc + "  \n",
         "my file.bin[CRC32:de@2 ] other[CRC32:cc@3 ] end"},
        {"a last field that is no CRC", "name deadbee\nname " + kMd5 + "\n", "!1 !2 end"},
    });
}

TEST(ChecksumFileReaderTest, BlockRecords) {
    const std::string rule(50, '-');
    const std::string block =
        "abc.txt\r\n" + rule + "\r\nMD5            : " + kMd5 + "\r\nSHA256         : " + kSha256 +
        "\r\nFile Size      : 3 Byte\r\nDate Created   : 2014-11-19 10:20\r\n";
    ExpectTraces({
        {"name from the name line, every digest line checked, one read for both records",
         block + rule + "\r\n\r\n" + block + rule + "\r\n",
         "abc.txt[MD5:aa@3 SHA256:dd@4 MD5:aa@11 SHA256:dd@12 ] end"},
        {"the Full Path line names the file",
         block + "Full Path      : /data/abc.txt\r\n" + rule + "\r\n",
         "/data/abc.txt[MD5:aa@3 SHA256:dd@4 ] end"},
        {"an empty digest value is left out, a record without any digest is improper",
         "x\n" + rule + "\nMD5            : \nCRC32          : " + kCrc + "\n" + rule + "\ny\n" +
             rule + "\nMD5            : \n" + rule + "\n",
         "x[CRC32:cc@4 ] !6 end"},
        {"a line of no label ends the record as improper and is read anew",
         "x\n" + rule + "\nMD5            : " + kMd5 + "\n" + kMd5 + "  z\n",
         "!1 z[MD5:aa@4 ] end"},
        {"a record cut off by the end of the file", "x\n" + rule + "\nMD5            : " + kMd5,
         "!1 end"},
    });
}

TEST(ChecksumFileReaderTest, EncodingsAndLineEnds) {
    const std::string line = kMd5 + "  n\xC3\xA9\r\n" + kMd5 + "  b\n" + kMd5 + "  c";
    const auto utf16 = [](const std::string& ascii, bool little) {
        std::string bytes = little ? "\xFF\xFE" : "\xFE\xFF";
        for (char c : ascii) {
            bytes += little ? std::string{c, '\0'} : std::string{'\0', c};
        }
        return bytes;
    };
    const std::string e16le = std::string("\xE9\x00", 2);
    ExpectTraces({
        {"mixed line ends, no final line end", line,
         "n\xC3\xA9[MD5:aa@1 ] b[MD5:aa@2 ] c[MD5:aa@3 ] end"},
        {"UTF-8 byte order mark", "\xEF\xBB\xBF" + kMd5 + "  a\n", "a[MD5:aa@1 ] end"},
        {"UTF-16 LE, CR LF, a non-ASCII name comes as UTF-8",
         utf16(kMd5 + "  n", true) + e16le + utf16("\r\n", true).substr(2),
         "n\xC3\xA9[MD5:aa@1 ] end"},
        {"UTF-16 BE", utf16(kMd5 + "  a\n" + kMd5 + "  b\n", false),
         "a[MD5:aa@1 ] b[MD5:aa@2 ] end"},
        {"a line beyond the path limit is improper, the next one is read",
         kMd5 + "  " + std::string(rizo::TextLines::kMaxLine, 'x') + "\n" + kMd5 + "  a\n",
         "!1 a[MD5:aa@2 ] end"},
        {"an over-long last line", "x\n" + std::string(3 * rizo::TextLines::kMaxLine, 'x'),
         "!1 !2 end"},
        {"empty file", "", "end"},
    });
}

TEST(ChecksumFileReaderTest, AFolderIsAReadError) {
    rizo::test::TempFolder temp;
    const int fd = ::open(temp.Path().c_str(), O_RDONLY);
    ChecksumFileReader reader(fd);
    EXPECT_EQ(reader.Next(), ChecksumFileReader::Event::kReadError);
    EXPECT_EQ(reader.ReadError(), EISDIR);
    ::close(fd);
}

}  // namespace
