#pragma once
// Identifier types of the game world. Records refer to each other by these on
// file, never by pointer; 0 means "none" for every kind.
#include <cstdint>

using ID_PLAYER = uint32_t;
using ID_MANAGER = uint16_t;  // a wider value is cut to its low 16 bits
using ID_STAFF = uint16_t;
using ID_CLUB = uint16_t;
using ID_GROUND = uint16_t;
using ID_COUNTRY = uint8_t;

// A cup number is cup type x 20 + country identifier; country 0 stands for
// the European competitions.
using CUP_NUMBER = uint8_t;
constexpr CUP_NUMBER CUP_NUMBER_NONE = 255;
