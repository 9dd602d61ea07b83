#include "pelorin/hex_conversion.h"

#include "hex_reading.h"

namespace pelorin {

std::int32_t HexToDec(std::string_view HexValue) {
    return hex::readSigned(HexValue);
}
std::int32_t HexToDec(std::u16string_view HexValue) {
    return hex::readSigned(HexValue);
}
std::int32_t HexToDec(std::u32string_view HexValue) {
    return hex::readSigned(HexValue);
}

std::int32_t HexToUnsignLong(std::string_view HexValue) {
    return hex::readUnsigned(HexValue);
}
std::int32_t HexToUnsignLong(std::u16string_view HexValue) {
    return hex::readUnsigned(HexValue);
}
std::int32_t HexToUnsignLong(std::u32string_view HexValue) {
    return hex::readUnsigned(HexValue);
}

}  // namespace pelorin
