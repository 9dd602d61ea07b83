#pragma once

#include <cstdint>
#include <string>

namespace pelorin {

class PictureBox;

// The spacecraft status graphic: one drawing operation per face of the spacecraft, and the
// bit text of the solar-array status byte.
namespace Module1 {

// Fill colours of a face, packed 0x00BBGGRR.
inline constexpr std::int32_t FaceOffColor = 0;     // black
inline constexpr std::int32_t FaceOnColor = 65535;  // yellow
inline constexpr std::int32_t kBlack = 0;
inline constexpr std::int32_t kWhite = 0xFFFFFF;

// Outline and name colour for a face filled with `color`: black from 49344 (hex C0C0) up,
// white below. The rule compares the packed number, not the brightness.
std::int32_t PenColorFor(std::int32_t color);

// Each draws its face filled with `color` (outline and name in PenColorFor(color), which stays
// the picture's ForeColor afterwards) and prints the face's name on it.
void Draw_PlusX(PictureBox& Picture1, const std::int32_t& color);
void Draw_MinusX(PictureBox& Picture1, const std::int32_t& color);
void Draw_PlusY(PictureBox& Picture1, const std::int32_t& color);
void Draw_MinusY(PictureBox& Picture1, const std::int32_t& color);
void Draw_PlusZ(PictureBox& Picture1, const std::int32_t& color);
void Draw_MinusZ(PictureBox& Picture1, const std::int32_t& color);

// Eight characters "0"/"1", bit 7 first: 5 gives "00000101".
std::string ByteToBin(std::uint8_t b);

}  // namespace Module1
}  // namespace pelorin
