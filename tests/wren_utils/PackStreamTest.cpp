#include "wren_utils/pack/PackCommandWriter.h"
#include "wren_utils/pack/PackDecoder.h"
#include "wren_utils/pack/PackEncoder.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#include <psapi.h>
#else
#include <sys/resource.h>
#endif

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// A stream of kind 0x10 with the given unpacked size and command bytes.
Bytes Stream(std::size_t unpackedSize, const Bytes& commands) {
    Bytes stream(5 + commands.size());
    stream[0] = 0x10;
    stream[1] = 0xFB;
    for (int i = 0; i < 3; ++i)
        stream[2 + i] = static_cast<std::uint8_t>(unpackedSize >> (16 - 8 * i));
    std::copy(commands.begin(), commands.end(), stream.begin() + 5);
    return stream;
}

std::optional<Bytes> Unpack(const Bytes& stream) {
    return wren::PACK_unpackToVector(stream);
}

Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

TEST(PackDecoder, CommandKindsProduceTheirBytes) {
    // 0xE0: four literals; 0xFC: end without literals.
    EXPECT_EQ(Unpack(Stream(4, {0xE0, 'a', 'b', 'c', 'd', 0xFC})), Text("abcd"));
    // 0xFF ends with three literals.
    EXPECT_EQ(Unpack(Stream(3, {0xFF, 'x', 'y', 'z'})), Text("xyz"));
    // Two-byte command: 1 literal, match length 10 at distance 1 repeats the byte.
    EXPECT_EQ(Unpack(Stream(11, {0x1D, 0x00, 'q', 0xFC})), Text("qqqqqqqqqqq"));
    // Two-byte command with the distance's high bits: distance 0x300 + 0x10 + 1 = 785.
    {
        Bytes commands;
        Bytes expected;
        for (int run = 0; run < 7; ++run) {
            commands.push_back(0xFB); // 112 literals
            for (int i = 0; i < 112; ++i) {
                const auto byte = static_cast<std::uint8_t>(run * 112 + i);
                commands.push_back(byte);
                expected.push_back(byte);
            }
        }
        commands.push_back(0xE1); // 8 more literals, 792 in all
        for (int i = 0; i < 8; ++i) {
            commands.push_back(static_cast<std::uint8_t>(200 + i));
            expected.push_back(static_cast<std::uint8_t>(200 + i));
        }
        commands.insert(commands.end(), {0x60, 0x10, 0xFC}); // length 3, distance 785
        for (int i = 0; i < 3; ++i)
            expected.push_back(expected[792 - 785 + i]);
        EXPECT_EQ(Unpack(Stream(expected.size(), commands)), expected);
    }
    // Three-byte command: 2 literals, length 4 + 2 = 6, distance 2: "ab" then "ababab".
    EXPECT_EQ(Unpack(Stream(8, {0x82, 0x80, 0x01, 'a', 'b', 0xFC})), Text("abababab"));
    // Four-byte command: 3 literals, length 5 + 256 + 1 = 262, distance 3.
    {
        const Bytes stream = Stream(265, {0xC7, 0x00, 0x02, 0x01, 'x', 'y', 'z', 0xFC});
        const auto out = Unpack(stream);
        ASSERT_TRUE(out.has_value());
        ASSERT_EQ(out->size(), 265u);
        for (std::size_t i = 0; i < out->size(); ++i)
            ASSERT_EQ((*out)[i], "xyz"[i % 3]) << i;
    }
}

TEST(PackDecoder, HeaderKindsAndSizes) {
    // 0x11: a packed-size field precedes the unpacked size.
    EXPECT_EQ(Unpack({0x11, 0xFB, 0, 0, 9, 0, 0, 2, 0xFE, 'h', 'i'}), Text("hi"));
    // 0x90 and 0x91: four-byte sizes.
    EXPECT_EQ(Unpack({0x90, 0xFB, 0, 0, 0, 1, 0xFD, 'k'}), Text("k"));
    EXPECT_EQ(Unpack({0x91, 0xFB, 0, 0, 0, 0, 0, 0, 0, 1, 0xFD, 'k'}), Text("k"));
    // The size query takes the wider set of kinds; the decoder only four.
    const Bytes other = {0x30, 0xFB, 0, 0, 1, 0xFD, 'k'};
    EXPECT_EQ(wren::PACK_unpackedSize(other), 1u);
    EXPECT_FALSE(wren::PACK_isDecodable(other));
    EXPECT_FALSE(Unpack(other).has_value());
    EXPECT_EQ(wren::PACK_unpackedSize(Bytes{0xC6, 0xFB, 0, 0, 0, 7}), 7u);
    EXPECT_EQ(wren::PACK_unpackedSize(Bytes{0x12, 0xFB, 0, 0, 1}), 0u);
    EXPECT_EQ(wren::PACK_unpackedSize(Bytes{0x10, 0xFA, 0, 0, 1}), 0u);
    EXPECT_EQ(wren::PACK_unpackedSize(Bytes{0x10, 0xFB, 0, 0}), 0u);
}

TEST(PackDecoder, DamagedStreamsFailWithoutOverrun) {
    // Output would pass the declared size (literal and match).
    EXPECT_FALSE(Unpack(Stream(3, {0xE0, 'a', 'b', 'c', 'd', 0xFC})).has_value());
    EXPECT_FALSE(Unpack(Stream(4, {0x1D, 0x00, 'q', 0xFC})).has_value());
    // A match reaching before the output's start.
    EXPECT_FALSE(Unpack(Stream(5, {0x01, 0x01, 'a', 0xFC})).has_value());
    EXPECT_FALSE(Unpack(Stream(4, {0x00, 0x00, 0xFF, 'a', 'b', 'c'})).has_value());
    // Truncated: no end command, a command cut short, literals missing.
    EXPECT_FALSE(Unpack(Stream(4, {0xE0, 'a', 'b', 'c', 'd'})).has_value());
    EXPECT_FALSE(Unpack(Stream(9, {0xE0, 'a', 'b', 'c', 'd', 0xC0, 0x00})).has_value());
    EXPECT_FALSE(Unpack(Stream(3, {0xFF, 'x', 'y'})).has_value());
    // Ending short of the declared size would leave undefined bytes behind.
    EXPECT_FALSE(Unpack(Stream(8, {0xE0, 'a', 'b', 'c', 'd', 0xFC})).has_value());
    // A declared size far beyond what the stream could produce is refused before allocating.
    EXPECT_FALSE(Unpack({0x90, 0xFB, 0xFF, 0xFF, 0xFF, 0xFF, 0xFC}).has_value());
    // An output buffer smaller than the declared size is refused.
    Bytes small(3);
    EXPECT_FALSE(wren::PACK_unpack(Stream(4, {0xE0, 'a', 'b', 'c', 'd', 0xFC}), small));
}

// Long streams run through the decoder's wide-copy paths; every distance and length there must
// give what a byte-by-byte copy gives.
TEST(PackDecoder, WideCopiesMatchByteByByteCopies) {
    Bytes commands;
    Bytes expected;
    wren::PackCommandWriter writer(commands);
    std::mt19937 random(7);
    Bytes literals(300);
    for (auto& byte : literals)
        byte = static_cast<std::uint8_t>(random());
    writer.Match(literals.data(), literals.size(), 3, 1);
    expected = literals;
    auto reference = [&](std::size_t length, std::size_t distance) {
        for (std::size_t i = 0; i < length; ++i)
            expected.push_back(expected[expected.size() - distance]);
    };
    reference(3, 1);
    for (std::size_t distance = 1; distance <= 40; ++distance)
        for (std::size_t length :
             {3u, 4u, 7u, 8u, 9u, 10u, 15u, 16u, 17u, 33u, 67u, 68u, 500u, 1028u}) {
            if (wren::PackCommandWriter::MatchCost(length, distance) == 0)
                continue;
            // One literal between matches keeps each match's source distinct.
            const std::uint8_t literal = static_cast<std::uint8_t>(random());
            writer.Match(&literal, 1, length, distance);
            expected.push_back(literal);
            reference(length, distance);
        }
    writer.End(nullptr, 0);
    const auto out = Unpack(Stream(expected.size(), commands));
    ASSERT_TRUE(out.has_value());
    ASSERT_EQ(out->size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        ASSERT_EQ((*out)[i], expected[i]) << "at " << i;
}

// Random command sequences (every literal count, periods short and long, lengths at each
// command's limits) decode exactly as a byte-by-byte reference does.
TEST(PackDecoder, RandomCommandSequencesMatchTheReference) {
    std::mt19937 random(11);
    for (int round = 0; round < 20; ++round) {
        Bytes commands;
        Bytes expected;
        wren::PackCommandWriter writer(commands);
        const std::size_t distances[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 15, 16, 17, 31, 1024, 1025};
        const std::size_t lengths[] = {3, 4, 5, 8, 10, 11, 16, 67, 68, 1028};
        while (expected.size() < 200000) {
            Bytes literals(random() % 3 == 0 ? random() % 120 : random() % 4);
            for (auto& byte : literals)
                byte = static_cast<std::uint8_t>(random());
            expected.insert(expected.end(), literals.begin(), literals.end());
            if (expected.empty())
                continue;
            std::size_t distance = random() % 2 ? distances[random() % 15] : 1 + random() % 131072;
            distance = std::min(distance, expected.size());
            const std::size_t length = lengths[random() % 10];
            if (wren::PackCommandWriter::MatchCost(length, distance) == 0) {
                writer.Match(literals.data(), literals.size(), 3, 1);
                expected.insert(expected.end(), 3, expected.back());
                continue;
            }
            writer.Match(literals.data(), literals.size(), length, distance);
            for (std::size_t i = 0; i < length; ++i)
                expected.push_back(expected[expected.size() - distance]);
        }
        writer.End(nullptr, 0);
        const auto out = Unpack(Stream(expected.size(), commands));
        ASSERT_TRUE(out.has_value()) << round;
        ASSERT_EQ(out->size(), expected.size());
        const auto mismatch = std::mismatch(out->begin(), out->end(), expected.begin());
        ASSERT_TRUE(mismatch.first == out->end())
            << "round " << round << " at " << (mismatch.first - out->begin());
    }
}

// A stream opening with a short overlapping match, then enough repeats and literals that the
// decoder's fast loop takes over: its first command is the case where the source of the last
// output bytes would lie before the output.
TEST(PackDecoder, StreamsOpeningWithShortOverlappingMatchesDecodeExactly) {
    std::mt19937 random(5);
    for (std::size_t distance = 1; distance <= 8; ++distance) {
        for (std::size_t length = 3; length <= 10; ++length) {
            Bytes commands;
            Bytes expected;
            wren::PackCommandWriter writer(commands);
            const auto match = [&](const Bytes& literals, std::size_t size, std::size_t back) {
                writer.Match(literals.data(), literals.size(), size, back);
                expected.insert(expected.end(), literals.begin(), literals.end());
                for (std::size_t i = 0; i < size; ++i)
                    expected.push_back(expected[expected.size() - back]);
            };
            Bytes opening(distance);
            for (auto& byte : opening)
                byte = static_cast<std::uint8_t>('a' + random() % 26);
            match(opening, length, distance);
            for (int i = 0; i < 100; ++i)
                match({}, 10, std::size_t{4} >> (i % 3)); // periods 4, 2 and 1
            Bytes tail(400);
            for (auto& byte : tail)
                byte = static_cast<std::uint8_t>(random());
            writer.End(tail.data(), tail.size());
            expected.insert(expected.end(), tail.begin(), tail.end());

            const Bytes stream = Stream(expected.size(), commands);
            EXPECT_EQ(Unpack(stream), expected) << "distance " << distance << " length " << length;
            Bytes exact(expected.size());
            EXPECT_EQ(wren::PACK_unpack(stream, exact), expected.size());
            EXPECT_EQ(exact, expected) << "distance " << distance << " length " << length;
        }
    }
}

// The most memory the process has held so far.
long PeakKilobytes() {
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<long>(counters.PeakWorkingSetSize / 1024);
#else
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
#endif
}

// A header may claim up to 257 bytes out for each byte in; the buffer follows what the stream
// really makes, so a damaged stream claiming 512 MiB costs about its own size.
TEST(PackDecoder, ClaimedSizeIsNotAllocatedBeforeTheStreamMakesIt) {
    constexpr std::size_t kClaimed = std::size_t{512} << 20;
    Bytes stream = {0x90, 0xFB, 0x20, 0x00, 0x00, 0x00};
    while (stream.size() < kClaimed / 257 + 1000) {
        stream.push_back(0xFB); // 112 literals
        stream.insert(stream.end(), 112, 'x');
    }
    stream.push_back(0x00); // a two-byte command cut short: the stream is damaged at its end
    const long before = PeakKilobytes();
    EXPECT_FALSE(Unpack(stream).has_value());
    EXPECT_LT(PeakKilobytes() - before, 64 * 1024) << "kilobytes more at the peak";
}

TEST(PackDecoder, PackedLengthStopsAfterTheEndCommand) {
    Bytes stream = Stream(11, {0x1D, 0x00, 'q', 0xFE, 'r', 's'});
    const std::size_t length = stream.size();
    stream.insert(stream.end(), {0xAA, 0xBB}); // trailing bytes of the record that follows
    EXPECT_EQ(wren::PACK_packedLength(stream), length);
    EXPECT_EQ(wren::PACK_packedLength(Stream(4, {0xE0, 'a', 'b'})), 0u);
}

Bytes MixedData(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    Bytes data;
    data.reserve(size);
    const std::string words[] = {"kit", "crest", "home", "away", "shape", "league", "team"};
    while (data.size() < size) {
        switch (random() % 4) {
        case 0: // noise
            for (int i = random() % 64; i > 0; --i)
                data.push_back(static_cast<std::uint8_t>(random()));
            break;
        case 1: // runs
            data.insert(data.end(), random() % 300, static_cast<std::uint8_t>(random()));
            break;
        case 2: // words
            for (int i = random() % 20; i > 0; --i) {
                const std::string& word = words[random() % 7];
                data.insert(data.end(), word.begin(), word.end());
            }
            break;
        default: // repeat of earlier data, near or far
            if (!data.empty()) {
                const std::size_t from = random() % data.size();
                const std::size_t length =
                    std::min<std::size_t>(random() % 2000, data.size() - from);
                for (std::size_t i = 0; i < length; ++i)
                    data.push_back(data[from + i]);
            }
        }
    }
    data.resize(size);
    return data;
}

TEST(PackEncoder, RoundTripsVariedData) {
    std::vector<Bytes> inputs = {{}, {7}, {1, 2}, Text("abc"), Text("aaaaaaaaaaaaaaaaaaaaaaaa")};
    inputs.push_back(Bytes(5000, 0));
    inputs.push_back(MixedData(300000, 1));
    Bytes noise(70000);
    std::mt19937 random(2);
    for (auto& byte : noise)
        byte = static_cast<std::uint8_t>(random());
    inputs.push_back(noise);
    // Repeats just inside and just past each command's reach.
    Bytes distant = noise;
    for (std::size_t distance : {1024u, 1025u, 16384u, 16385u, 131072u, 131073u}) {
        Bytes block = distant;
        block.resize(distance + 2000);
        for (std::size_t i = 0; i < 1500; ++i)
            block[distance + i] = block[i];
        inputs.push_back(block);
    }
    for (const Bytes& input : inputs) {
        const auto packed = wren::PACK_pack(input);
        ASSERT_TRUE(packed.has_value());
        EXPECT_EQ(wren::PACK_unpackedSize(*packed), input.size());
        EXPECT_EQ(wren::PACK_packedLength(*packed), packed->size());
        const auto unpacked = Unpack(*packed);
        ASSERT_TRUE(unpacked.has_value()) << input.size();
        EXPECT_EQ(*unpacked, input) << input.size();
    }
}

TEST(PackEncoder, UsesEveryCommandKindAndCompresses) {
    const Bytes input = MixedData(400000, 3);
    const auto packed = wren::PACK_pack(input);
    ASSERT_TRUE(packed.has_value());
    EXPECT_LT(packed->size(), input.size() / 3);
    // Walk the commands and count the kinds.
    int kinds[5] = {};
    std::size_t at = 5;
    for (;;) {
        const std::uint8_t c = (*packed)[at];
        if (c < 0x80) {
            ++kinds[0];
            at += 2 + (c & 3);
        } else if (c < 0xC0) {
            ++kinds[1];
            at += 3 + ((*packed)[at + 1] >> 6);
        } else if (c < 0xE0) {
            ++kinds[2];
            at += 4 + (c & 3);
        } else if (c < 0xFC) {
            ++kinds[3];
            at += 1 + ((c & 0x1F) << 2) + 4;
        } else {
            ++kinds[4];
            break;
        }
    }
    for (int kind = 0; kind < 5; ++kind)
        EXPECT_GT(kinds[kind], 0) << kind;
}

TEST(PackEncoder, LargeInputsGetFourByteSizes) {
    const Bytes input((1u << 24) + 5, 0x42);
    const auto packed = wren::PACK_pack(input);
    ASSERT_TRUE(packed.has_value());
    EXPECT_EQ((*packed)[0], 0x90);
    EXPECT_EQ(wren::PACK_unpackedSize(*packed), input.size());
    EXPECT_EQ(Unpack(*packed), input);
}

} // namespace
