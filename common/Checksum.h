#pragma once
// The CRC-32 (the reflected 0xEDB88320 polynomial) of a run of bytes, carried
// on from an earlier run's value so that a file can be summed piece by piece.
#include <cstddef>
#include <cstdint>

uint32_t Crc32(const void* pData, size_t nBytes, uint32_t dwPrevious = 0);
