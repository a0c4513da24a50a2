// SPDX-License-Identifier: MIT
// Reading and editing INI text: lookups, in-place changes, additions, kept lines.
#include "settings/ini_document.h"

#include <gtest/gtest.h>

#include <vector>

namespace rizo {
namespace {

TEST(IniDocument, ReadsValuesTrimmedAndCutIgnoringNameCase) {
    struct Case {
        const char* text;
        const char* section;
        const char* key;
        std::string value;
    };
    const Case cases[] = {
        {"[A]\nk=v\n", "a", "K", "v"},
        {"  [ Sec ]  \r\n\t key \t=  two words \t\r\n", "SEC", "key", "two words"},
        {"\xEF\xBB\xBF[A]\nk=1\n", "A", "k", "1"},
        {"[A]\nk=\n", "A", "k", ""},
        {"[A]\n[B]\nk=1\n", "A", "k", ""},
        {"k=1\n[A]\n", "A", "k", ""},
        {"[A]\nk=a=b\n", "A", "k", "a=b"},
        {"[A]\nk=1\n[a]\nk=2\n", "A", "k", "1"},
        {"[A]\n;k=1\n", "A", ";k", ""},
        {"[A]\nk= \"1\" \n", "A", "k", "1"},
        {"[A]\nk='a b'\n", "A", "k", "a b"},
        {"[A]\nk=\"1'\n", "A", "k", "\"1'"},
        {"[A]\nk=\"\n", "A", "k", "\""},
        {"[A]\nk=1\r", "A", "k", "1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IniDocument(c.text).ReadValue(c.section, c.key), c.value) << c.text;
    }
    EXPECT_EQ(IniDocument("[A]\nk=" + std::string(300, 'v')).ReadValue("A", "k"),
              std::string(254, 'v'));
    // A section counts only when it holds a key.
    IniDocument document("[Empty]\n; note\n\nplain line\n[Full]\nk=\n");
    EXPECT_FALSE(document.HasSection("Empty"));
    EXPECT_TRUE(document.HasSection("full"));
    EXPECT_FALSE(document.HasSection("Missing"));
}

TEST(IniDocument, WritesChangeInPlaceOrAddAtTheEndOfTheSectionOrFile) {
    struct Write {
        const char* section;
        const char* key;
        const char* value;
    };
    struct Case {
        const char* name;
        std::string text;
        std::vector<Write> writes;
        std::string expected;
    };
    const Case cases[] = {
        {"empty text gets section and key",
         "",
         {{"S", "k", "1"}, {"S", "j", "2"}},
         "[S]\nk=1\nj=2\n"},
        {"value replaced, key spelling and blanks kept",
         "[S]\n Key =  old  \n",
         {{"s", "KEY", "7"}},
         "[S]\n Key =  7\n"},
        {"unchanged value leaves the line alone",
         "[S]\nk = 5  \n",
         {{"S", "k", "5"}},
         "[S]\nk = 5  \n"},
        {"new key after the last key, before comments",
         "[S]\nk=1\n; about T\n\n[T]\nx=1\n",
         {{"S", "j", "2"}},
         "[S]\nk=1\nj=2\n; about T\n\n[T]\nx=1\n"},
        {"new key in a section without keys",
         "[S]\n\n[T]\n",
         {{"S", "k", "1"}},
         "[S]\nk=1\n\n[T]\n"},
        {"last line without line break", "[S]\nk=1", {{"T", "x", "2"}}, "[S]\nk=1\n[T]\nx=2\n"},
        {"CR LF text gets CR LF lines",
         "[S]\r\nk=1\r\n",
         {{"S", "j", "2"}, {"T", "x", "3"}},
         "[S]\r\nk=1\r\nj=2\r\n[T]\r\nx=3\r\n"},
        {"CR text gets CR lines",
         "[A\r",
         {{"A", "k", "1"}, {"B", "j", "2"}},
         "[A\rk=1\r[B]\rj=2\r"},
        {"quoted value that reads the same is left alone, another replaced",
         "[S]\nk=\"1\"\nj='1'\n",
         {{"S", "k", "1"}, {"S", "j", "0"}},
         "[S]\nk=\"1\"\nj=0\n"},
        {"mixed line breaks kept", "; a\r\n[S]\nk=1\r\n", {{"S", "k", "2"}}, "; a\r\n[S]\nk=2\r\n"},
        {"unwritten text comes back byte for byte",
         "\xEF\xBB\xBF; c\r\n\n[S]\r\n k = v \r\n\xFF\xFE=raw\n[T]",
         {},
         "\xEF\xBB\xBF; c\r\n\n[S]\r\n k = v \r\n\xFF\xFE=raw\n[T]"},
    };
    for (const Case& c : cases) {
        IniDocument document(c.text);
        for (const Write& w : c.writes) {
            document.WriteValue(w.section, w.key, w.value);
        }
        EXPECT_EQ(document.Text(), c.expected) << c.name;
    }
}

}  // namespace
}  // namespace rizo
