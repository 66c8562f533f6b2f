#include "cabinet/JsonCabinetStreams.h"

#include <gtest/gtest.h>

#include "host/HostError.h"

namespace tessera::cabinet {
namespace {

host::Cabinet EveryType() {
    host::Cabinet inner;
    inner.Put("z", std::int32_t{-7});
    inner.Put("a", 72.0);
    host::Cabinet c;
    c.Put("bool", true);
    c.Put("int", std::int32_t{2147483647});
    c.Put("real", 0.5);
    c.Put("whole real", 72.0);
    c.Put("text", std::string("Chapter \"1\" \\ été"));
    c.Put("bytes", host::ByteString{std::string("\0\xff\x01z", 4)});
    c.PutCabinet("nested", inner);
    host::Cabinet deeper;
    deeper.PutCabinet("inner", inner);
    c.PutCabinet("deeper", deeper);
    c.PutCabinet("empty", host::Cabinet{});
    return c;
}

TEST(JsonCabinetStreamsTest, EveryTypeAndOrderRoundTrips) {
    JsonCabinetStreams streams;
    const host::Cabinet c = EveryType();
    const std::string stream = streams.WriteStream(c);
    EXPECT_NE(stream.find("\"whole real\": 72.0"), std::string::npos) << stream;
    EXPECT_NE(stream.find("\"$bytes\": \"AP8Beg==\""), std::string::npos) << stream;
    const host::Cabinet back = streams.ReadStream(stream);
    EXPECT_EQ(back, c);
    EXPECT_EQ(back.Entries()[6].first, "nested");
    EXPECT_EQ(back.GetCabinet("nested")->Entries()[0].first, "z") << "keys keep their order";
    EXPECT_EQ(streams.WriteStream(back), stream);
}

TEST(JsonCabinetStreamsTest, PointersAreNotWritten) {
    host::Cabinet c;
    c.Put("p", host::Pointer{&c});
    c.Put("n", std::int32_t{1});
    EXPECT_EQ(JsonCabinetStreams().ReadStream(JsonCabinetStreams().WriteStream(c)).Size(), 1u);
}

TEST(JsonCabinetStreamsTest, TextThatIsNotUtf8IsAHostError) {
    host::Cabinet c;
    c.Put("text", std::string("caf\xe9"));
    try {
        JsonCabinetStreams().WriteStream(c);
        FAIL() << "written";
    } catch (const host::HostError& e) {
        EXPECT_NE(std::string(e.what()).find("UTF-8"), std::string::npos) << e.what();
    }
}

TEST(JsonCabinetStreamsTest, MalformedStreamsAreRefusedWithAReason) {
    JsonCabinetStreams streams;
    const std::pair<const char*, const char*> cases[] = {
        {"", "parse error"},
        {"[1, 2]", "not a JSON object"},
        {"{\"a\": [1]}", "type array at /a"},
        {"{\"a\": null}", "type null at /a"},
        {"{\"a\": 4294967296}", "beyond 32 bits at /a"},
        {"{\"a\": -2147483649}", "beyond 32 bits"},
        {"{\"a\": {\"$bytes\": \"@@@=\"}}", "not base64 at /a"},
        {"{\"a\": {\"$bytes\": 5}}", "not base64"},
        {"{\"a\": 1, \"a\": 2}", "a key given twice at /a"},
        {"{\"a\": 1", "parse error"},
    };
    for (const auto& [stream, reason] : cases) {
        try {
            streams.ReadStream(stream);
            ADD_FAILURE() << "accepted " << stream;
        } catch (const host::HostError& e) {
            EXPECT_NE(std::string(e.what()).find(reason), std::string::npos) << stream << ": " << e.what();
        }
    }
    std::string deep;
    for (int i = 0; i < 100000; ++i) deep += "{\"a\":";
    EXPECT_THROW(streams.ReadStream(deep), host::HostError) << "deep nesting is refused, not a crash";
}

}  // namespace
}  // namespace tessera::cabinet

namespace tessera::cabinet {
namespace {

// Streams cut short or with a byte changed are read or refused, never a crash.
TEST(JsonCabinetStreamsRobustnessTest, DamagedStreamsAreReadOrRefused) {
    JsonCabinetStreams streams;
    const std::string good = streams.WriteStream(EveryType());
    std::uint32_t seed = 777;
    const auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    for (int round = 0; round < 2000; ++round) {
        std::string damaged = good.substr(0, next() % (good.size() + 1));
        if (!damaged.empty()) damaged[next() % damaged.size()] = static_cast<char>(next() >> 8);
        try {
            streams.ReadStream(damaged);
        } catch (const host::HostError&) {
            // refused with a reason: fine
        }
    }
}

}  // namespace
}  // namespace tessera::cabinet
