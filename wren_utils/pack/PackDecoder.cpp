#include "wren_utils/pack/PackDecoder.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>

namespace wren {
namespace {

struct PackHeader {
    std::size_t headerLength = 0;
    std::size_t unpackedSize = 0;
};

bool IsAcceptedKind(std::uint8_t kind) {
    if (kind < 16 || kind > 199)
        return false;
    switch (kind & 0x7E) {
    case 0x10:
    case 0x18:
    case 0x1A:
    case 0x1E:
    case 0x30:
    case 0x32:
    case 0x34:
    case 0x46:
        return true;
    default:
        return false;
    }
}

bool IsDecodableKind(std::uint8_t kind) {
    return kind == 0x10 || kind == 0x11 || kind == 0x90 || kind == 0x91;
}

std::optional<PackHeader> ReadHeader(std::span<const std::uint8_t> packed) {
    if (packed.size() < 2 || packed[1] != 0xFB || !IsAcceptedKind(packed[0]))
        return std::nullopt;
    const std::size_t width = (packed[0] & 0x80) != 0 ? 4 : 3;
    std::size_t position = 2;
    if ((packed[0] & 1) != 0)
        position += width;
    if (packed.size() < position + width)
        return std::nullopt;
    PackHeader header;
    for (std::size_t i = 0; i < width; ++i)
        header.unpackedSize = (header.unpackedSize << 8) | packed[position + i];
    header.headerLength = position + width;
    return header;
}

// One command taken apart; literal bytes follow it in the stream.
struct Command {
    std::size_t length = 0; // bytes of the command itself
    std::size_t literals = 0;
    std::size_t matchLength = 0;
    std::size_t distance = 0;
    bool last = false;
};

// Reads the command at in; false when its bytes run past end.
inline bool ReadCommand(const std::uint8_t* in, const std::uint8_t* end, Command& command) {
    const std::size_t available = static_cast<std::size_t>(end - in);
    if (available == 0)
        return false;
    const unsigned c = in[0];
    if (c < 0x80) {
        if (available < 2)
            return false;
        command.length = 2;
        command.literals = c & 3;
        command.matchLength = ((c >> 2) & 7) + 3;
        command.distance = ((c & 0x60u) << 3) + in[1] + 1;
        command.last = false;
    } else if (c < 0xC0) {
        if (available < 3)
            return false;
        command.length = 3;
        command.literals = in[1] >> 6;
        command.matchLength = (c & 0x3F) + 4;
        command.distance = ((in[1] & 0x3Fu) << 8) + in[2] + 1;
        command.last = false;
    } else if (c < 0xE0) {
        if (available < 4)
            return false;
        command.length = 4;
        command.literals = c & 3;
        command.matchLength = ((c & 0x0Cu) << 6) + in[3] + 5;
        command.distance = ((c & 0x10u) << 12) + (static_cast<std::size_t>(in[1]) << 8) + in[2] + 1;
        command.last = false;
    } else {
        command.length = 1;
        command.literals = c < 0xFC ? ((c & 0x1Fu) << 2) + 4 : (c & 3);
        command.matchLength = 0;
        command.distance = 0;
        command.last = c >= 0xFC;
    }
    return true;
}

// Slack that lets the fast paths copy whole 16-byte chunks past the exact end of a copy.
constexpr std::size_t kSlack = 16;

inline void CopyLiterals(std::uint8_t* out, const std::uint8_t* in, std::size_t count,
                         bool roomForChunks) {
    if (roomForChunks) {
        for (std::size_t i = 0; i < count; i += 16)
            std::memcpy(out + i, in + i, 16);
    } else if (count != 0) {
        std::memcpy(out, in, count);
    }
}

inline void CopyMatch(std::uint8_t* out, std::size_t distance, std::size_t count,
                      bool roomForChunks) {
    const std::uint8_t* from = out - distance;
    if (roomForChunks && distance >= 16) {
        for (std::size_t i = 0; i < count; i += 16)
            std::memcpy(out + i, from + i, 16);
    } else if (roomForChunks && distance >= 8) {
        for (std::size_t i = 0; i < count; i += 8)
            std::memcpy(out + i, from + i, 8);
    } else if (distance == 1) {
        std::memset(out, *from, count);
    } else {
        // Overlapping copies must go forward byte by byte so earlier output repeats.
        for (std::size_t i = 0; i < count; ++i)
            out[i] = from[i];
    }
}

// Slack the fast loop keeps on both sides so no command inside it needs bounds checks other
// than its distance: the largest command output plus a chunk of overshoot, and the largest
// command with its literals plus a chunk of over-read.
constexpr std::size_t kFastOutSlack = 1028 + 3 + 32;
constexpr std::size_t kFastInSlack = 4 + 112 + 32;

inline void Copy16(std::uint8_t* out, const std::uint8_t* from) {
    std::memcpy(out, from, 16);
}
inline void Copy8(std::uint8_t* out, const std::uint8_t* from) {
    std::memcpy(out, from, 8);
}

// A match inside the fast loop, where up to 16 bytes may be written past its end.
inline void FastMatch(std::uint8_t* out, std::size_t distance, std::size_t length) {
    const std::uint8_t* from = out - distance;
    if (distance >= 16) {
        Copy16(out, from);
        for (std::size_t i = 16; i < length; i += 16)
            Copy16(out + i, from + i);
        return;
    }
    if (distance >= 8) {
        for (std::size_t i = 0; i < length; i += 8)
            Copy8(out + i, from + i);
        return;
    }
    // Periods dividing 8 repeat one 8-byte word, built in a register: re-reading bytes just
    // stored one by one would stall the loads.
    if (distance == 1 || distance == 2 || distance == 4) {
        std::uint64_t pattern;
        if (distance == 1) {
            pattern = from[0] * 0x0101010101010101ull;
        } else if (distance == 2) {
            std::uint16_t pair;
            std::memcpy(&pair, from, 2);
            pattern = pair * 0x0001000100010001ull;
        } else {
            std::uint32_t quad;
            std::memcpy(&quad, from, 4);
            pattern = quad | (std::uint64_t{quad} << 32);
        }
        for (std::size_t i = 0; i < length; i += 8)
            std::memcpy(out + i, &pattern, 8);
        return;
    }
    // Other short periods: lay down 8 bytes so the source then trails by a distance of 8 or more
    // (a multiple of the period), and go on in 8-byte chunks.
    static constexpr int kAdvance[8] = {0, 1, 2, 1, 0, 4, 4, 4};
    static constexpr int kBack[8] = {0, 0, 0, -1, -4, 1, 2, 3};
    out[0] = from[0];
    out[1] = from[1];
    out[2] = from[2];
    out[3] = from[3];
    from += kAdvance[distance];
    std::memcpy(out + 4, from, 4);
    from -= kBack[distance];
    for (std::size_t i = 8; i < length; i += 8)
        Copy8(out + i, from + i - 8);
}

// The four bytes that end the output once `literals` (0-3) bytes of `fresh` follow the four
// bytes of `older`, as a word in memory order.
inline std::uint32_t LastFour(std::uint32_t older, std::uint32_t fresh, std::size_t literals) {
    const unsigned kept = 8 * static_cast<unsigned>(literals);
    if constexpr (std::endian::native == std::endian::little)
        return static_cast<std::uint32_t>((std::uint64_t{older} >> kept) |
                                          (std::uint64_t{fresh} << (32 - kept)));
    else
        return static_cast<std::uint32_t>((std::uint64_t{older} << kept) |
                                          (std::uint64_t{fresh} >> (32 - kept)));
}

// Eight bytes repeating the last `period` (1, 2 or 4) bytes of tail.
inline std::uint64_t RepeatedWord(std::uint32_t tail, std::size_t period) {
    constexpr bool little = std::endian::native == std::endian::little;
    if (period == 1)
        return (little ? tail >> 24 : tail & 0xFF) * 0x0101010101010101ull;
    if (period == 2)
        return (little ? tail >> 16 : tail & 0xFFFF) * 0x0001000100010001ull;
    return tail | (std::uint64_t{tail} << 32);
}

// The four bytes ending `length` bytes of a repeated word whose period divides 4.
inline std::uint32_t TailOfPattern(std::uint64_t pattern, std::size_t length) {
    const unsigned phase = 8 * static_cast<unsigned>(length & 3);
    if constexpr (std::endian::native == std::endian::little)
        return static_cast<std::uint32_t>(pattern >> phase);
    else
        return static_cast<std::uint32_t>(pattern >> (32 - phase));
}

// Decodes commands while both sides have the fast loop's slack; stops before the end command
// or at the first command it cannot take. False on a distance before the output's start.
inline bool FastLoop(const std::uint8_t*& in, const std::uint8_t* inEnd, std::uint8_t*& out,
                     std::uint8_t* outStart, std::uint8_t* outEnd) {
    // The last four output bytes ride along in a register, so short-period matches never load
    // bytes just stored (a load spanning recent stores stalls).
    bool known = out - outStart >= 4;
    std::uint32_t last = 0;
    if (known)
        std::memcpy(&last, out - 4, 4);
    while (static_cast<std::size_t>(inEnd - in) >= kFastInSlack &&
           static_cast<std::size_t>(outEnd - out) >= kFastOutSlack) {
        const unsigned c = in[0];
        std::size_t literals;
        std::size_t length;
        std::size_t distance;
        if (c < 0x80) {
            literals = c & 3;
            length = ((c >> 2) & 7) + 3;
            distance = ((c & 0x60u) << 3) + in[1] + 1;
            in += 2;
        } else if (c < 0xC0) {
            literals = in[1] >> 6;
            length = (c & 0x3F) + 4;
            distance = ((in[1] & 0x3Fu) << 8) + in[2] + 1;
            in += 3;
        } else if (c < 0xE0) {
            literals = c & 3;
            length = ((c & 0x0Cu) << 6) + in[3] + 5;
            distance = ((c & 0x10u) << 12) + (std::size_t{in[1]} << 8) + in[2] + 1;
            in += 4;
        } else if (c < 0xFC) {
            literals = ((c & 0x1Fu) << 2) + 4;
            ++in;
            for (std::size_t i = 0; i < literals; i += 16)
                Copy16(out + i, in + i);
            in += literals;
            out += literals;
            std::memcpy(&last, in - 4, 4);
            known = true;
            continue;
        } else {
            return true;
        }
        std::uint32_t fresh;
        std::memcpy(&fresh, in, 4);
        std::memcpy(out, in, 4);
        in += literals;
        out += literals;
        if (distance > static_cast<std::size_t>(out - outStart))
            return false;
        if (known && (distance == 1 || distance == 2 || distance == 4)) {
            const std::uint64_t pattern = RepeatedWord(LastFour(last, fresh, literals), distance);
            for (std::size_t i = 0; i < length; i += 8)
                std::memcpy(out + i, &pattern, 8);
            last = TailOfPattern(pattern, length);
        } else {
            FastMatch(out, distance, length);
            // The new last bytes come from the match's source where it lies wholly before
            // the match: that was stored earlier, so reading it does not stall.
            if (known && length < 4) {
                const std::uint8_t* from = out - distance;
                const std::uint8_t head[4] = {from[0], from[1], from[2], 0};
                std::uint32_t word;
                std::memcpy(&word, head, 4);
                last = LastFour(LastFour(last, fresh, literals), word, length);
            } else {
                // A match starts after at least one byte, so there are four bytes behind its end;
                // their copy in the source is used only where it lies inside the output.
                const std::size_t tail = static_cast<std::size_t>(out - outStart) + length - 4;
                const bool sourceHolds = distance >= length && tail >= distance;
                std::memcpy(&last, outStart + (sourceHolds ? tail - distance : tail), 4);
            }
            known = true;
        }
        out += length;
    }
    return true;
}

// How far Decode got: to the end command, to damage, or to a command the output cannot hold yet.
enum class Step { Done, Damaged, Full };

// Decodes commands from in into output after the produced bytes already there. When the output
// is the whole declared size (final), a command passing its end is damage; otherwise Decode
// stops before that command with Full, so the caller can give it more room and call again.
Step Decode(const std::uint8_t*& in, const std::uint8_t* inEnd, std::span<std::uint8_t> output,
            std::size_t& produced, bool final) {
    std::uint8_t* const outStart = output.data();
    std::uint8_t* out = outStart + produced;
    std::uint8_t* const outEnd = outStart + output.size();
    const auto stop = [&](Step step) {
        produced = static_cast<std::size_t>(out - outStart);
        return step;
    };
    if (!FastLoop(in, inEnd, out, outStart, outEnd))
        return stop(Step::Damaged);
    Command command;
    for (;;) {
        if (!ReadCommand(in, inEnd, command))
            return stop(Step::Damaged);
        const std::size_t inLeft = static_cast<std::size_t>(inEnd - in) - command.length;
        const std::size_t outLeft = static_cast<std::size_t>(outEnd - out);
        if (command.literals > inLeft)
            return stop(Step::Damaged);
        if (command.literals + command.matchLength > outLeft)
            return stop(final ? Step::Damaged : Step::Full);
        in += command.length;
        CopyLiterals(out, in, command.literals,
                     inLeft >= command.literals + kSlack && outLeft >= command.literals + kSlack);
        in += command.literals;
        out += command.literals;
        if (command.last)
            return stop(Step::Done);
        if (command.matchLength == 0)
            continue;
        const std::size_t matchRoom = outLeft - command.literals;
        if (command.distance > static_cast<std::size_t>(out - outStart))
            return stop(Step::Damaged);
        CopyMatch(out, command.distance, command.matchLength,
                  matchRoom >= command.matchLength + kSlack);
        out += command.matchLength;
    }
}

} // namespace

std::size_t PACK_unpackedSize(std::span<const std::uint8_t> packed) {
    const auto header = ReadHeader(packed);
    return header ? header->unpackedSize : 0;
}

bool PACK_isDecodable(std::span<const std::uint8_t> packed) {
    return ReadHeader(packed).has_value() && IsDecodableKind(packed[0]);
}

std::optional<std::size_t> PACK_unpack(std::span<const std::uint8_t> packed,
                                       std::span<std::uint8_t> output) {
    const auto header = ReadHeader(packed);
    if (!header || !IsDecodableKind(packed[0]) || output.size() < header->unpackedSize)
        return std::nullopt;
    const std::uint8_t* in = packed.data() + header->headerLength;
    std::size_t produced = 0;
    const std::span<std::uint8_t> room = output.first(header->unpackedSize);
    if (Decode(in, packed.data() + packed.size(), room, produced, true) != Step::Done ||
        produced != header->unpackedSize)
        return std::nullopt;
    return produced;
}

std::optional<std::vector<std::uint8_t>> PACK_unpackToVector(std::span<const std::uint8_t> packed) {
    const auto header = ReadHeader(packed);
    if (!header || !IsDecodableKind(packed[0]) ||
        header->unpackedSize > PACK_maxUnpackedSize(packed.size()))
        return std::nullopt;
    // The declared size is only a claim: the buffer grows as the stream proves it, so a damaged
    // header costs no more memory than the output the stream really makes.
    constexpr std::size_t kFirstRoom = std::size_t{1} << 20;
    const std::size_t declared = header->unpackedSize;
    const std::uint8_t* in = packed.data() + header->headerLength;
    const std::uint8_t* const inEnd = packed.data() + packed.size();
    std::vector<std::uint8_t> output;
    std::size_t produced = 0;
    std::size_t room = std::min(declared, std::max(kFirstRoom, packed.size()));
    for (;;) {
        try {
            output.resize(room);
        } catch (const std::bad_alloc&) {
            return std::nullopt;
        }
        const Step step = Decode(in, inEnd, output, produced, room == declared);
        if (step == Step::Damaged)
            return std::nullopt;
        if (step == Step::Done)
            break;
        room = declared - room > room ? 2 * room : declared;
    }
    if (produced != declared)
        return std::nullopt;
    output.resize(declared);
    return output;
}

std::size_t PACK_packedLength(std::span<const std::uint8_t> packed) {
    const auto header = ReadHeader(packed);
    if (!header || !IsDecodableKind(packed[0]))
        return 0;
    const std::uint8_t* in = packed.data() + header->headerLength;
    const std::uint8_t* const inEnd = packed.data() + packed.size();
    Command command;
    for (;;) {
        if (!ReadCommand(in, inEnd, command))
            return 0;
        in += command.length;
        if (command.literals > static_cast<std::size_t>(inEnd - in))
            return 0;
        in += command.literals;
        if (command.last)
            return static_cast<std::size_t>(in - packed.data());
    }
}

std::size_t PACK_maxUnpackedSize(std::size_t packedLength) {
    // The densest command turns 4 stream bytes into 1028 output bytes.
    constexpr std::size_t kMaxRatio = 257;
    if (packedLength > SIZE_MAX / kMaxRatio)
        return SIZE_MAX;
    return packedLength * kMaxRatio;
}

} // namespace wren
