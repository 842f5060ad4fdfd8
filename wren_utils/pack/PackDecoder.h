#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// Decoder of the maker's packed streams (big-endian header, then byte-aligned commands of
// literals and back-references). Every function is bounded: it never reads outside the given
// input nor writes outside the given output, whatever the stream says.
namespace wren {

// The unpacked size in the header of a stream of any accepted kind, or 0 when the bytes are not
// such a stream.
std::size_t PACK_unpackedSize(std::span<const std::uint8_t> packed);

// True when the stream is of one of the four kinds the decoder understands.
bool PACK_isDecodable(std::span<const std::uint8_t> packed);

// Decodes into output (which must hold at least the declared unpacked size) and returns that
// size. Fails (nullopt) on an undecodable kind, a truncated stream, a command whose output would
// pass the declared size, a back-reference before the output's start, or a stream that ends
// before it produced the declared size.
std::optional<std::size_t> PACK_unpack(std::span<const std::uint8_t> packed,
                                       std::span<std::uint8_t> output);

// Decodes into a new buffer that grows with the output the stream really makes; refuses a
// declared size the stream could not possibly produce.
std::optional<std::vector<std::uint8_t>> PACK_unpackToVector(std::span<const std::uint8_t> packed);

// Bytes from the stream's start up to and including its end command's literals, or 0 when the
// stream is undecodable or runs past the input.
std::size_t PACK_packedLength(std::span<const std::uint8_t> packed);

// The largest output a stream of this many bytes can declare honestly; larger declarations are
// damaged data and must not drive an allocation.
std::size_t PACK_maxUnpackedSize(std::size_t packedLength);

} // namespace wren
