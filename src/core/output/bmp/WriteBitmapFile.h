#pragma once

#include "CBitmapInfo.h"
#include "memory/CNoInitAllocator.h"
#include "message/CMessage.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CBitmap;

// The bytes of a Windows BMP file of `bitmap`, as WriteBitmapFile writes
// them, by way of `pixels` (kept by a caller that writes many, so that it
// is not allocated and cleared for each). The empty message, or the reason
// (plain English) when the pixels cannot be read or the file would pass
// 4 GiB.
CMessage BitmapFileBytes(CBitmapInfo& info, const CBitmap& bitmap, CByteVector& pixels, std::vector<uint8_t>& bytes);

// Writes `bitmap` as a Windows BMP file at `path`: the 14-byte file header,
// the block of `info` (header and colour table, which the pixel read fills
// for 1-, 4- and 8-bit formats) and the pixel array bottom-up (GetDIBits).
// Whatever stands at `path` is replaced: the data goes to a temporary file
// in the same folder that is renamed over `path` once complete, so a failure
// never leaves a partial file behind, and a FIFO, a symbolic link or a
// read-only file at the path is replaced rather than opened. A folder at the
// path is refused.
// Returns the empty message, or on any failure a plain English text naming
// the file and the reason (with the system's error number where it has one).
CMessage WriteBitmapFile(const std::string& path, CBitmapInfo& info, const CBitmap& bitmap);
// The same with the pixel array already made (GetDIBits with `info`):
// `size` bytes at `pixels`.
CMessage WriteBitmapFile(const std::string& path, const CBitmapInfo& info, const uint8_t* pixels, size_t size);
