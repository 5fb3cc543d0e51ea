// quelt-host's reading of commands: words and quotes, and paths inside the
// plug-in's file system.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/remote_path.h"
#include "host/words.h"

namespace {

struct WordsCase {
    const char* command;
    std::vector<std::string> words;
};

TEST(HostWords, BlanksSeparateAndQuotesKeepEveryCharacter) {
    const WordsCase cases[] = {
        {"ls", {"ls"}},
        {"  cd \t ..  ", {"cd", ".."}},
        {"cd \"[A00] Office dongle\"", {"cd", "[A00] Office dongle"}},
        {"put \"C:\\new folder\\a.txt\" \"\\x\\\"", {"put", "C:\\new folder\\a.txt", "\\x\\"}},
        {"cd a\"b c\"d", {"cd", "ab cd"}},
        {"value \"\"", {"value", ""}},
        {"", {}},
    };
    for (const WordsCase& c : cases) {
        std::vector<std::string> words;
        EXPECT_TRUE(host::SplitWords(c.command, &words)) << c.command;
        EXPECT_EQ(words, c.words) << c.command;
    }
}

TEST(HostWords, UnclosedQuoteIsAnError) {
    std::vector<std::string> words;
    EXPECT_FALSE(host::SplitWords("cd \"[A00] Office", &words));
}

struct PathCase {
    const char* current;
    const char* path;
    const char* resolved;
};

TEST(HostRemotePath, AbsoluteRelativeAndUp) {
    const PathCase cases[] = {
        {"\\", "[A00] x", "\\[A00] x"},
        {"\\[A00] x", "[D01] y", "\\[A00] x\\[D01] y"},
        {"\\[A00] x", "..", "\\"},
        {"\\", "..\\..", "\\"},
        {"\\[A00] x\\[D01] y", "../..", "\\"},
        {"\\[A00] x", "\\[A01] z", "\\[A01] z"},
        {"\\[A00] x", "/[A01] z/", "\\[A01] z"},
        {"\\[A00] x", ".", "\\[A00] x"},
        {"\\", "a\\\\b", "\\a\\b"},
        // A "/" typed inside a path stays: the plug-in sees the name as given.
        {"\\[A01] r", "[D00] Tablet/Kids", "\\[A01] r\\[D00] Tablet/Kids"},
        {"\\[A00] x", "/", "\\"},
    };
    for (const PathCase& c : cases)
        EXPECT_EQ(host::ResolveRemotePath(c.current, c.path), c.resolved)
            << c.current << " + " << c.path;
}

TEST(HostRemotePath, JoinAndLocalBaseName) {
    EXPECT_EQ(host::JoinRemotePath("\\", "a.txt"), "\\a.txt");
    EXPECT_EQ(host::JoinRemotePath("\\[A00] x\\[D00] p", "a.txt"), "\\[A00] x\\[D00] p\\a.txt");
    EXPECT_EQ(host::LocalBaseName("/tmp/holiday notes.txt"), "holiday notes.txt");
    EXPECT_EQ(host::LocalBaseName("a.txt"), "a.txt");
}

}  // namespace
