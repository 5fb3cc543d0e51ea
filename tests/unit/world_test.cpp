// The world reader: what a good file gives, and a clear, line-numbered
// message (and an empty world) for every kind of mistake.
#include <cstring>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "platform/sim/world.h"
#include "tests/unit/host_double.h"

namespace {

struct Parsed {
    std::unique_ptr<sim::World> world = std::make_unique<sim::World>();
    bool ok;
    std::string error;
};

Parsed Parse(const std::string& text) {
    Parsed parsed;
    char error[256] = {};
    parsed.ok = sim::ParseWorld(text, "w.txt", parsed.world.get(), error, sizeof error);
    parsed.error = error;
    return parsed;
}

std::string Name(const WCHAR* name) { return Utf8(name); }

TEST(WorldReader, ReadsRadiosDevicesAndTheirKeys) {
    Parsed parsed = Parse(
        "# two radios, three devices\n"
        "radio  address=00:1A:7D:DA:71:13 name=\"Office dongle\"\n"
        "radio  address=00:1a:7d:da:71:14 name=Laptop info-error=5\n"
        "\n"
        "device radio=0 address=00:1B:F0:12:3A:5E name=\"Phone\" name-after=3 "
        "obex=127.0.0.1:6500\n"
        "device radio=* address=11:22:33:44:55:66 name=\"\" name-after=never  # comment\n"
        "device radio=1 address=AA:BB:CC:DD:EE:01 name=\"Tablet/Kids\" connect-error=10061\r\n");
    ASSERT_TRUE(parsed.ok) << parsed.error;
    const sim::World& w = *parsed.world;
    ASSERT_EQ(w.radioCount, 2);
    const BYTE radio0[6] = {0x13, 0x71, 0xDA, 0x7D, 0x1A, 0x00};
    EXPECT_EQ(memcmp(w.radios[0].address, radio0, 6), 0);
    EXPECT_EQ(Name(w.radios[0].name), "Office dongle");
    EXPECT_FALSE(w.radios[0].failsInfo);
    EXPECT_EQ(w.radios[1].address[0], 0x14);
    EXPECT_TRUE(w.radios[1].failsInfo);
    EXPECT_EQ(w.radios[1].infoError, 5u);

    ASSERT_EQ(w.deviceCount, 3);
    const BYTE phone[6] = {0x5E, 0x3A, 0x12, 0xF0, 0x1B, 0x00};
    EXPECT_EQ(memcmp(w.devices[0].address, phone, 6), 0);
    EXPECT_EQ(w.devices[0].radio, 0);
    EXPECT_EQ(w.devices[0].nameAfter, 3);
    EXPECT_TRUE(w.devices[0].hasObex);
    EXPECT_STREQ(w.devices[0].obexHost, "127.0.0.1");
    EXPECT_EQ(w.devices[0].obexPort, 6500);
    EXPECT_EQ(w.devices[0].connectError, 10060u);
    EXPECT_EQ(w.devices[1].radio, sim::allRadios);
    EXPECT_EQ(Name(w.devices[1].name), "");
    EXPECT_EQ(w.devices[1].nameAfter, sim::nameNever);
    EXPECT_FALSE(w.devices[1].hasObex);
    EXPECT_EQ(w.devices[2].nameAfter, 0);
    EXPECT_EQ(Name(w.devices[2].name), "Tablet/Kids");
    EXPECT_EQ(w.devices[2].connectError, 10061u);

    EXPECT_EQ(w.radioError, 259u);
    EXPECT_EQ(w.deviceError, 259u);
    EXPECT_EQ(w.startupError, 0u);
    EXPECT_EQ(w.replyTimeoutMs, 0);
}

TEST(WorldReader, ReadsSearchAndSocketsRecords) {
    Parsed parsed = Parse("search radio-error=2 device-error=1167\n"
                          "sockets startup-error=10091 reply-timeout-ms=250\n");
    ASSERT_TRUE(parsed.ok) << parsed.error;
    EXPECT_EQ(parsed.world->radioError, 2u);
    EXPECT_EQ(parsed.world->deviceError, 1167u);
    EXPECT_EQ(parsed.world->startupError, 10091u);
    EXPECT_EQ(parsed.world->replyTimeoutMs, 250);
    EXPECT_EQ(parsed.world->radioCount, 0);
}

TEST(WorldReader, QuotedValuesKeepBlanksHashesEqualsAndEscapes) {
    Parsed parsed = Parse(
        "radio address=00:00:00:00:00:01 name=\"a \\\"b\\\" \\\\ # = c\\\\d/e\"\n"
        "radio address=00:00:00:00:00:02 name=\"Grüße \xF0\x9F\x93\xB1\"\n");
    ASSERT_TRUE(parsed.ok) << parsed.error;
    EXPECT_EQ(Name(parsed.world->radios[0].name), "a \"b\" \\ # = c\\d/e");
    EXPECT_EQ(Name(parsed.world->radios[1].name), "Grüße \xF0\x9F\x93\xB1");
    EXPECT_EQ(parsed.world->radios[1].name[6], 0xD83D);  // a surrogate pair: two units
    EXPECT_EQ(parsed.world->radios[1].name[7], 0xDCF1);
}

TEST(WorldReader, NamesHoldAtMost247Units) {
    std::string prefix = "radio address=00:00:00:00:00:01 name=";
    Parsed longest = Parse(prefix + std::string(247, 'n'));
    ASSERT_TRUE(longest.ok) << longest.error;
    EXPECT_EQ(Name(longest.world->radios[0].name), std::string(247, 'n'));
    // 246 units and a character that needs two: one too many.
    Parsed over = Parse(prefix + std::string(246, 'n') + "\xF0\x9F\x93\xB1");
    EXPECT_FALSE(over.ok);
    EXPECT_EQ(over.error, "w.txt:1: name is longer than 247 UTF-16 units");
    EXPECT_FALSE(Parse(prefix + std::string(248, 'n')).ok);
}

TEST(WorldReader, EveryMistakeIsReportedWithItsLineAndEmptiesTheWorld) {
    const std::string radio = "radio address=00:1A:7D:DA:71:13 name=R\n";
    struct Case {
        std::string text;
        const char* error;
    } cases[] = {
        {radio + "printer address=00:00:00:00:00:01", "w.txt:2: unknown record 'printer'"},
        {radio + "radio address=00:00:00:00:00:02 name=X colour=red",
         "w.txt:2: unknown key 'colour' in radio"},
        {"radio name=X", "w.txt:1: radio needs address="},
        {"radio address=00:00:00:00:00:02", "w.txt:1: radio needs name="},
        {"radio address=00:00:00:00:02 name=X",
         "w.txt:1: address must look like 00:1A:7D:DA:71:13"},
        {"radio address=00-00-00-00-00-02 name=X",
         "w.txt:1: address must look like 00:1A:7D:DA:71:13"},
        {"radio address=00:00:00:00:00:0G name=X",
         "w.txt:1: address must look like 00:1A:7D:DA:71:13"},
        {"radio address=00:00:00:00:00:02 name=\"open", "w.txt:1: missing closing quote"},
        {"radio address=00:00:00:00:00:02 name=\"a\\nb\"",
         "w.txt:1: inside quotes a backslash must be followed by \" or \\"},
        {"radio address=00:00:00:00:00:02 name=\"a\"b",
         "w.txt:1: a blank must follow the closing quote"},
        {"radio address=00:00:00:00:00:02 name=a=b", "w.txt:1: unquoted value holds '='"},
        {"radio address=00:00:00:00:00:02 name=X name=Y", "w.txt:1: key 'name' given twice"},
        {"radio address=00:00:00:00:00:02 X", "w.txt:1: expected key=value"},
        {"radio address=00:00:00:00:00:02 name=X info-error=0",
         "w.txt:1: info-error must not be 0: a failure needs a code"},
        {"radio address=00:00:00:00:00:02 name=\"\xC3(\"", "w.txt:1: name is not valid UTF-8"},
        {"=x", "w.txt:1: a record must begin with a keyword"},
        {radio + "device radio=1 address=00:00:00:00:00:03 name=D",
         "w.txt:2: radio 1 is not in the world"},
        {radio + "device radio=x address=00:00:00:00:00:03 name=D",
         "w.txt:2: radio must be a radio's number or *"},
        {radio + "device radio=0 name=D", "w.txt:2: device needs address="},
        {radio + "device radio=0 address=00:00:00:00:00:03 name=D name-after=soon",
         "w.txt:2: name-after must be a count or never"},
        {radio + "device radio=0 address=00:00:00:00:00:03 name=D name-after=-1",
         "w.txt:2: name-after must be a count or never"},
        {radio + "device radio=0 address=00:00:00:00:00:03 name=D obex=10.0.0.5:6500",
         "w.txt:2: obex host must be a loopback address"},
        {radio + "device radio=0 address=00:00:00:00:00:03 name=D obex=127.0.0.1",
         "w.txt:2: obex must be HOST:PORT"},
        {radio + "device radio=0 address=00:00:00:00:00:03 name=D obex=127.0.0.1:70000",
         "w.txt:2: obex must be HOST:PORT"},
        {radio + "device radio=0 address=00:00:00:00:00:03 name=D connect-error=ten",
         "w.txt:2: connect-error must be a decimal error code"},
        {radio + "device radio=0 address=00:00:00:00:00:03 name=D\n"
                 "device radio=0 address=00:00:00:00:00:03 name=E",
         "w.txt:3: two devices with the address 00:00:00:00:00:03"},
        {"search radio-error=2\nsearch device-error=2", "w.txt:2: only one search record is allowed"},
        {"sockets startup-error=1\n\nsockets", "w.txt:3: only one sockets record is allowed"},
        {"search radio-error=99999999999", "w.txt:1: radio-error must be a decimal error code"},
        {"sockets reply-timeout-ms=5000000",
         "w.txt:1: reply-timeout-ms must be at most 3600000"},
        // Read as C text, the world would end at the NUL and drop what follows.
        {radio + std::string("\0printer x=1\n", 13), "w.txt:2: the line holds a NUL byte"},
    };
    for (const Case& c : cases) {
        Parsed parsed = Parse(c.text);
        EXPECT_FALSE(parsed.ok) << c.text;
        EXPECT_EQ(parsed.error, c.error) << c.text;
        EXPECT_EQ(parsed.world->radioCount, 0) << c.text;
        EXPECT_EQ(parsed.world->deviceCount, 0) << c.text;
    }
}

TEST(WorldReader, TooManyRadiosOrDevicesIsAnError) {
    std::string radios;
    for (int i = 0; i <= sim::maxWorldRadios; ++i)
        radios += "radio address=00:00:00:00:00:" + std::to_string(10 + i) + " name=R\n";
    EXPECT_EQ(Parse(radios).error, "w.txt:17: more than 16 radios");

    std::string devices = "radio address=00:00:00:00:00:01 name=R\n";
    char line[96];
    for (int i = 0; i <= sim::maxWorldDevices; ++i) {
        snprintf(line, sizeof line, "device radio=0 address=00:00:00:00:%02X:%02X name=D\n",
                 i / 256, i % 256);
        devices += line;
    }
    EXPECT_EQ(Parse(devices).error, "w.txt:258: more than 256 devices");
}

TEST(WorldReader, TheDemoWorldHasARadioAPhoneOnPort6500AndALateName) {
    Parsed parsed = Parse(sim::demoWorldText);
    ASSERT_TRUE(parsed.ok) << parsed.error;
    const sim::World& w = *parsed.world;
    ASSERT_GE(w.radioCount, 1);
    ASSERT_GE(w.deviceCount, 2);
    EXPECT_EQ(Name(w.devices[0].name), "Demo phone");
    EXPECT_EQ(w.devices[0].obexPort, 6500);
    bool lateName = false;
    for (int i = 0; i < w.deviceCount; ++i) lateName |= w.devices[i].nameAfter > 0;
    EXPECT_TRUE(lateName);
}

}  // namespace
