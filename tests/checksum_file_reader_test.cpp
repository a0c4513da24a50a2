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

// "name[KIND:hex@line ...] " per listed file (KIND as "SHA512|BLAKE2b" for a line of either,
// BLAKE2b with its bits), "!line " per improper line ("!line(XXH32) " for one of a digest not
// read), "end" or "error".
// The list's name says MD5, for only one digest of each length.
std::string Trace(const std::string& bytes, const std::string& listName = "sums.md5") {
    rizo::test::TempFolder temp;
    const int fd = ::open(temp.File(listName, bytes).c_str(), O_RDONLY);
    ChecksumFileReader reader(fd, listName);
    std::string trace;
    for (;;) {
        const ChecksumFileReader::Event event = reader.Next();
        if (event == ChecksumFileReader::Event::kFile) {
            trace += reader.File().name + "[";
            for (const rizo::ListedDigest& digest : reader.File().digests) {
                trace += std::string(rizo::KindName(digest.kind)) +
                         (digest.kind == rizo::DigestKind::kBlake2b
                              ? "-" + std::to_string(digest.hex.size() * 4)
                              : "") +
                         (digest.orKind ? "|" + std::string(rizo::KindName(*digest.orKind)) : "") +
                         ":" + digest.hex.substr(0, 2) + "@" + std::to_string(digest.line) + " ";
            }
            trace += "] ";
        } else if (event == ChecksumFileReader::Event::kImproper) {
            const std::string& digest = reader.UnreadDigest();
            trace += "!" + std::to_string(reader.ImproperLine()) +
                     (digest.empty() ? "" : "(" + digest + ")") + " ";
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
    std::string listName = "sums.md5";
};

void ExpectTraces(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        EXPECT_EQ(Trace(c.bytes, c.listName), c.trace) << c.what;
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

// Untagged lines of the lengths two digests have are read for both, unless the list's name says
// which: SHA512SUMS, B2SUMS (whose lines are BLAKE2b of any length, as b2sum -l writes them),
// MD5SUMS, x.xxh128.
TEST(ChecksumFileReaderTest, EveryDigestsLinesAndWhatTheListsNameSays) {
    const std::string untagged = std::string(128, '0') + "  a\n" + std::string(56, '0') + "  b\n" +
                                 std::string(96, '0') + " *c\n" + std::string(16, 'e') + "  d\n" +
                                 kMd5 + "  e\n" + kSha256 + "  f\n" + kCrc + "  g\n" +
                                 std::string(127, '0') + "  h\n";
    const std::string tagged =
        "SHA512 (d) = 00\nBLAKE2b-256 (e) = " + kSha256 +
        "\nBLAKE2b (f) = " + std::string(128, 'f') +
        "\nBLAKE2b-512 (f2) = " + std::string(128, 'f') +
        "\nBLAKE2b-8 (f3) = 0f\nXXH64 (g) = " + std::string(16, 'a') +
        "\nXXH3 (h) = " + std::string(16, 'b') + "\nXXH128 (i) = " + kMd5 +
        "\nSHA384 (j) = " + std::string(96, 'c') + "\nSHA2-224 (k) = " + std::string(56, 'd') +
        "\n\\SM3 (f\\ng) = " + kSha256 + "\nXXH32 (l) = " + kCrc +
        "\nBLAKE2b-7 (m) = 0\nBLAKE2b-520 (n) = " + std::string(130, '0') +
        "\nBLAKE2b-256 (o) = " + std::string(128, '0') + "\nSHA256 (p) = " + kMd5 + "\n";
    ExpectTraces({
        {"untagged, in a list whose name says nothing", untagged,
         "a[SHA512|BLAKE2b:00@1 ] b[SHA224:00@2 ] c[SHA384:00@3 ] d[XXH64:ee@4 ] "
         "e[MD5|XXH128:aa@5 ] f[SHA256:dd@6 ] g[CRC32:cc@7 ] !8 end",
         "sums"},
        {"SHA512SUMS", untagged,
         "a[SHA512:00@1 ] b[SHA224:00@2 ] c[SHA384:00@3 ] d[XXH64:ee@4 ] e[MD5|XXH128:aa@5 ] "
         "f[SHA256:dd@6 ] g[CRC32:cc@7 ] !8 end",
         "SHA512SUMS"},
        {"B2SUMS", untagged,
         "a[BLAKE2b-512:00@1 ] b[BLAKE2b-224:00@2 ] c[BLAKE2b-384:00@3 ] d[BLAKE2b-64:ee@4 ] "
         "e[BLAKE2b-128:aa@5 ] f[BLAKE2b-256:dd@6 ] g[BLAKE2b-32:cc@7 ] !8 end",
         "B2SUMS"},
        {"x.b2", std::string(128, '0') + "  a\n", "a[BLAKE2b-512:00@1 ] end", "x.b2"},
        {"x.sha512", std::string(128, '0') + "  a\n", "a[SHA512:00@1 ] end", "x.sha512"},
        {"MD5SUMS", kMd5 + "  e\n", "e[MD5:aa@1 ] end", "MD5SUMS"},
        {"x.xxh128", kMd5 + "  e\n" + std::string(16, 'e') + "  d\n",
         "e[XXH128:aa@1 ] d[XXH64:ee@2 ] end", "x.xxh128"},
        {"tags, with BLAKE2b's length, and those of digests not read", tagged,
         "!1 e[BLAKE2b-256:dd@2 ] f[BLAKE2b-512:ff@3 ] f2[BLAKE2b-512:ff@4 ] f3[BLAKE2b-8:0f@5 ] "
         "g[XXH64:aa@6 ] h[XXH3:bb@7 ] i[XXH128:aa@8 ] j[SHA384:cc@9 ] k[SHA224:dd@10 ] "
         "!11(SM3) !12(XXH32) !13 !14 !15 !16 end"},
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
        {"comments, names with spaces, either case, trailing blanks after the CRC",
         "; made by a tool\nmy file.bin DEADBEEF\nother\t" + kCrc + "  \r\n",
         "my file.bin[CRC32:de@2 ] other[CRC32:cc@3 ] end"},
        {"the name keeps its blanks but the one before the CRC", " a  " + kCrc + "\n",
         " a [CRC32:cc@1 ] end", "x.sfv"},
        {"a last field that is no CRC, a ninth hex digit, no name",
         "n deadbee\nn " + kMd5 + "\nn 1" + kCrc + "\n " + kCrc + "\n", "!1 !2 !3 !4 end", "x.sfv"},
    });
}

// A name never changes how its own line reads: the list is SFV by its name or by a line only SFV
// has, then every line of it is read as SFV; a line either form reads waits for that.
TEST(ChecksumFileReaderTest, OneFormPerList) {
    const std::string sfvNames = "SHA1.txt " + kCrc + "\nMD5SUMS " + kCrc + "\nCRC32.bin " + kCrc +
                                 "\nSHA256 notes " + kCrc + "\n";
    const std::string hexNames =
        "deadbeef " + kCrc + "\n" + kMd5 + " " + kCrc + "\n" + kSha256 + " " + kCrc + "\n";
    ExpectTraces({
        {"names that start like a tag", sfvNames,
         "SHA1.txt[CRC32:cc@1 ] MD5SUMS[CRC32:cc@2 ] CRC32.bin[CRC32:cc@3 ] SHA256 "
         "notes[CRC32:cc@4 "
         "] end"},
        {"hex names in a list named .sfv", hexNames,
         "deadbeef[CRC32:cc@1 ] " + kMd5 + "[CRC32:cc@2 ] " + kSha256 + "[CRC32:cc@3 ] end",
         "LIST.SFV"},
        {"hex names after a later SFV-only line", hexNames + "plain " + kCrc + "\n",
         "deadbeef[CRC32:cc@1 ] " + kMd5 + "[CRC32:cc@2 ] " + kSha256 +
             "[CRC32:cc@3 ] plain[CRC32:cc@4 ] end"},
        {"a ';' comment decides where no other line does", "; cksfv\n" + hexNames,
         "deadbeef[CRC32:cc@2 ] " + kMd5 + "[CRC32:cc@3 ] " + kSha256 + "[CRC32:cc@4 ] end"},
        {"lines either form reads, nothing else: GNU lines", hexNames,
         kCrc + "[CRC32:de@1 MD5:aa@2 SHA256:dd@3 ] end"},
        {"a GNU-only line decides for the lines before it",
         "deadbeef  " + kCrc + "\n" + kMd5 + "  a\n", kCrc + "[CRC32:de@1 ] a[MD5:aa@2 ] end"},
        {"a ';' line before a GNU line is improper, also where it ends as SFV lines do",
         "; 8 2026-12-08 deadbeef\n" + kMd5 + "  a\n", "!1 a[MD5:aa@2 ] end"},
        {"in a GNU list ; lines and SFV lines are improper, # lines comments",
         kMd5 + "  a\n; not a comment\n# comment\nplain " + kCrc + "\n", "a[MD5:aa@1 ] !2 !4 end"},
        {"in an SFV list # lines and GNU lines are improper, hex names SFV",
         "# no comment\n" + kMd5 + "  a\n#x " + kCrc + "\n", "!1 !2 #x[CRC32:cc@3 ] end", "x.sfv"},
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

// A name with a line break is written escaped; a record whose name line follows a line of no form
// may be the rest of a name split by one (written before names were escaped), and is not read.
TEST(ChecksumFileReaderTest, RecordNamesAreReadWholeOrNotAtAll) {
    const std::string rule(50, '-');
    const std::string body = "\r\n" + rule + "\r\nMD5            : " + kMd5 + "\r\n";
    ExpectTraces({
        {"split name", "a\r\nnl.txt" + body + rule + "\r\n", "!1 !2 end"},
        {"split name and path",
         "a\r\nnl.txt" + body + "Full Path      : /d/a\r\nnl.txt\r\n" + rule + "\r\n",
         "!1 !2 !6 end"},
        {"escaped name and path",
         "\\a\\nnl.txt" + body + rule + "\r\n\r\nx" + body + "Full Path      : \\/d/a\\rb\r\n" +
             rule + "\r\n",
         "a\nnl.txt[MD5:aa@3 ] /d/a\rb[MD5:aa@8 ] end"},
        {"a leading backslash that escapes nothing a record escapes stands as written",
         "\\x\\y" + body + rule + "\r\n", "\\x\\y[MD5:aa@3 ] end"},
        {"a name that reads as a checksum line", kMd5 + "  z" + body + rule + "\r\n",
         kMd5 + "  z[MD5:aa@3 ] end"},
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
        {"a name far past the path limit is read",
         kMd5 + "  " + std::string(20000, 'x') + "\n" + kMd5 + "  a\n",
         std::string(20000, 'x') + "[MD5:aa@1 ] a[MD5:aa@2 ] end"},
        {"a line too long to hold is improper unless it is a comment, the next one is read",
         kMd5 + "  " + std::string(rizo::TextLines::kMaxLine, 'x') + "\n#" +
             std::string(rizo::TextLines::kMaxLine, 'x') + "\n" + kMd5 + "  a\n",
         "!1 a[MD5:aa@3 ] end"},
        {"an over-long last line", "x\n" + std::string(3 * rizo::TextLines::kMaxLine, 'x'),
         "!1 !2 end"},
        {"empty file", "", "end"},
    });
}

TEST(ChecksumFileReaderTest, AFolderIsAReadError) {
    rizo::test::TempFolder temp;
    const int fd = ::open(temp.Path().c_str(), O_RDONLY);
    ChecksumFileReader reader(fd, temp.Path());
    EXPECT_EQ(reader.Next(), ChecksumFileReader::Event::kReadError);
    EXPECT_EQ(reader.ReadError(), EISDIR);
    ::close(fd);
}

}  // namespace
