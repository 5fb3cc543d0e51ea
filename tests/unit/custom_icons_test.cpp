// Custom icons: which entries get which of the module's icons, and that a
// declined request leaves the host's name and icon slot alone.
#include <cstring>
#include <string>

#include "platform/seam.h"
#include "plugin/state.h"
#include "tests/unit/host_double.h"

namespace {

using CustomIcons = PluginTest;

struct IconCase {
    const char* path;
    const char* icon;  // null: no custom icon
};

const IconCase iconCases[] = {
    {"\\[A00] Office dongle", "ICON2"},
    {"\\[A04] Laptop radio.", "ICON2"},
    {"\\[A00] Office dongle\\[D07] Phone", "ICON3"},
    {"\\[A00] Office dongle\\[D07] Shout!", "ICON3"},
    {"\\[A00] Office dongle\\[D00] Phone\\Copy the files to send.", "ICON5"},
    {"\\[A00] Office dongle\\[D00] Phone\\Please disconnect!", "ICON4"},
    {"\\Can't find any radio adapter!", "ICON4"},
    {"\\[A00] x\\Unknown directory!", "ICON4"},
    {"/[A01] Office dongle", "ICON2"},
    {"/[A00] Office dongle/[D07] Phone", "ICON3"},
    {"\\[A00] Office dongle\\", "ICON2"},
    {"\\[A00] Office dongle\\[D07] Phone/", "ICON3"},
    {"\\readme.txt\\", nullptr},
    {"\\[a00] lower case.", "ICON5"},
    {"\\[d07] lower case", nullptr},
    {"\\[X00] Other", nullptr},
    {"\\notes.txt", nullptr},
    {"\\", nullptr},
    {"!", "ICON4"},
    {"no separator.", "ICON5"},
    {"no separator", nullptr},
    {"\\A", nullptr},
    {"", nullptr},
};

TEST_F(CustomIcons, EntriesGetTheIconOfTheirKind) {
    for (const IconCase& c : iconCases) {
        std::u16string path = Wide(c.path);
        WCHAR name[300];
        memset(name, 0x55, sizeof name);
        memcpy(name, path.c_str(), (path.size() + 1) * sizeof(WCHAR));
        HICON sentinel = reinterpret_cast<HICON>(0x1234);
        HICON icon = sentinel;
        int result = FsExtractCustomIconW(name, 0, &icon);
        if (c.icon == nullptr) {
            EXPECT_EQ(result, 0) << c.path;
            EXPECT_EQ(icon, sentinel) << c.path;
            EXPECT_EQ(Utf8(name), c.path);
        } else {
            EXPECT_EQ(result, 1) << c.path;
            EXPECT_EQ(Utf8(name), c.icon) << c.path;
            EXPECT_EQ(icon, platform::LoadModuleIcon(moduleHandle, c.icon)) << c.path;
            EXPECT_NE(icon, nullptr);
        }
    }
}

TEST_F(CustomIcons, NameIsReplacedWithFiveCharactersAndItsTerminatorOnly) {
    std::u16string path = Wide("\\[A00] Office dongle\\[D07] Phone");
    WCHAR name[64];
    memcpy(name, path.c_str(), (path.size() + 1) * sizeof(WCHAR));
    HICON icon = nullptr;
    ASSERT_EQ(FsExtractCustomIconW(name, 0, &icon), 1);
    EXPECT_EQ(Utf8(name), "ICON3");
    EXPECT_EQ(std::u16string(name + 6), path.substr(6));
}

TEST_F(CustomIcons, ExtractFlagsHaveNoEffect) {
    for (int flags : {0, 1, 2, 0x7FFFFFFF, -1}) {
        WCHAR name[] = u"\\[A00] Office dongle";
        HICON icon = nullptr;
        EXPECT_EQ(FsExtractCustomIconW(name, flags, &icon), 1);
        EXPECT_EQ(Utf8(name), "ICON2");
    }
}

TEST_F(CustomIcons, UnreadableNamesAreDeclinedWithoutACrash) {
    HICON icon = nullptr;
    EXPECT_EQ(FsExtractCustomIconW(nullptr, 0, &icon), 0);
    WCHAR name[] = u"\\[A00] Office dongle";
    EXPECT_EQ(FsExtractCustomIconW(name, 0, nullptr), 1);
    EXPECT_EQ(Utf8(name), "ICON2");
}

}  // namespace
