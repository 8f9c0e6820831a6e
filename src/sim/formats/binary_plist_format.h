// The layout of the binary property-list form ("bplist00"), shared by its writer and by the check
// that stands before libplist's reader: a header, the objects, a table of their offsets and a
// trailer that locates the table.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tidra::sim::bplist {

constexpr char kHeader[] = "bplist00";
constexpr std::size_t kHeaderSize = sizeof kHeader - 1;

// Each object starts with a marker: its type in the high nibble, and in the low one a size, a
// count, or (for integers and reals) the power of two of its byte count.
constexpr std::uint8_t kTypeMask = 0xF0;
constexpr std::uint8_t kSizeMask = 0x0F;
constexpr std::uint8_t kFalse = 0x08;
constexpr std::uint8_t kTrue = 0x09;
constexpr std::uint8_t kInteger = 0x10;
constexpr std::uint8_t kReal = 0x20;
constexpr std::uint8_t kDate = 0x30;  // eight bytes: seconds since 2001 as a real
constexpr std::uint8_t kData = 0x40;
constexpr std::uint8_t kAsciiString = 0x50;
constexpr std::uint8_t kUtf16String = 0x60;  // big-endian units
constexpr std::uint8_t kUid = 0x80;          // a keyed archive's reference: its byte count less one
constexpr std::uint8_t kArray = 0xA0;
constexpr std::uint8_t kSet = 0xC0;
constexpr std::uint8_t kDictionary = 0xD0;  // the keys' references, then the values'
// A low nibble of all ones: the count is too large for it and follows as an integer object.
constexpr std::uint8_t kCountFollows = 0x0F;
constexpr std::uint8_t kReal64 = kReal | 3;
constexpr std::uint8_t kDate64 = kDate | 3;
// Sixteen bytes: how an unsigned integer past the signed range is written.
constexpr std::uint8_t kInteger128 = kInteger | 4;

// The trailer: the last bytes of the file. Six unused bytes, then the size of an offset and of
// an object reference, then three eight-byte numbers: how many objects, the top one, and where
// the offset table starts.
constexpr std::size_t kTrailerSize = 32;
constexpr std::size_t kTrailerUnusedSize = 6;
constexpr std::size_t kTrailerOffsetSize = 6;
constexpr std::size_t kTrailerRefSize = 7;
constexpr std::size_t kTrailerObjectCount = 8;
constexpr std::size_t kTrailerTopObject = 16;
constexpr std::size_t kTrailerOffsetTable = 24;

}  // namespace tidra::sim::bplist
