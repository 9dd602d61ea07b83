#include "pg_copy_rows.h"

#include <bit>

namespace pelorin::pg {
namespace {

// The binary format's signature, then 32 bits of flags and the length of a header extension.
constexpr std::string_view kHeader("PGCOPY\n\377\r\n\0\0\0\0\0\0\0\0\0", 19);
constexpr std::int32_t kNullLength = -1;
constexpr std::int16_t kEndOfData = -1;

}  // namespace

CopyRows::CopyRows() : data_(kHeader) {}

void CopyRows::bigEndian(std::uint64_t value, int bytes) {
    char out[sizeof value];
    for (int k = bytes - 1; k >= 0; --k, value >>= 8) {
        out[k] = static_cast<char>(value & 0xFF);
    }
    data_.append(out, static_cast<std::size_t>(bytes));
}

void CopyRows::row(int fields) {
    bigEndian(static_cast<std::uint16_t>(fields), 2);
}

void CopyRows::integer(std::int64_t value) {
    bigEndian(sizeof value, 4);
    bigEndian(static_cast<std::uint64_t>(value), sizeof value);
}

void CopyRows::small(std::int32_t value) {
    bigEndian(sizeof value, 4);
    bigEndian(static_cast<std::uint32_t>(value), sizeof value);
}

void CopyRows::real(double value) {
    bigEndian(sizeof value, 4);
    bigEndian(std::bit_cast<std::uint64_t>(value), sizeof value);
}

void CopyRows::text(std::string_view value) {
    bigEndian(static_cast<std::uint32_t>(value.size()), 4);
    data_.append(value);
}

void CopyRows::null() {
    bigEndian(static_cast<std::uint32_t>(kNullLength), 4);
}

const std::string& CopyRows::finish() {
    bigEndian(static_cast<std::uint16_t>(kEndOfData), 2);
    return data_;
}

}  // namespace pelorin::pg
