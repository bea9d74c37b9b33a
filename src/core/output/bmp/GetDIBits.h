#pragma once

#include "CBitmapInfo.h"
#include "memory/CNoInitAllocator.h"
#include "message/CMessage.h"

#include <cstdint>
#include <vector>

class CBitmap;

// Converts the device-dependent rows of `bitmap` (top to bottom, pitch a
// multiple of 2) into the pixel array that `info` describes: rows bottom to
// top, each padded to a multiple of 4 bytes, header.biSizeImage bytes in
// all (the tail beyond the rows, if the header declares more, is zero).
//
// The header must describe the bitmap itself: same width and height, one
// plane and the bitmap's own bits per pixel, uncompressed. Pixel bytes are
// copied as they are (32 bits: blue, green, red, 0; 24 bits: blue, green,
// red; 16 bits and below: the device bytes unchanged). Like the platform's
// read it fills the colour table for 1-, 4- and 8-bit formats: black and
// white for 1 bit, an even grey ramp for 4 and 8 bits (the bitmap layer
// keeps no palette); a 16-bit table stays zero.
//
// Returns the empty message, or the reason (plain English) when the header
// does not describe the bitmap.
CMessage GetDIBits(const CBitmap& bitmap, CBitmapInfo& info, std::vector<uint8_t>& pixels);
// The same into a buffer that is not zero-filled first (only row padding
// and the tail are cleared), so one kept for a run is written just once.
CMessage GetDIBits(const CBitmap& bitmap, CBitmapInfo& info, CByteVector& pixels);
