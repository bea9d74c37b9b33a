#pragma once

#include <cstdint>

// Status codes of the video writer, with the values of the platform's
// Video for Windows errors (negative as 32-bit signed values).
constexpr int32_t MakeAviErr(uint32_t code)
{
    return static_cast<int32_t>(code);
}

constexpr int32_t AVIERR_OK = 0;
constexpr int32_t AVIERR_UNSUPPORTED = MakeAviErr(0x80044065u);
constexpr int32_t AVIERR_BADFORMAT = MakeAviErr(0x80044066u);
constexpr int32_t AVIERR_MEMORY = MakeAviErr(0x80044067u);
constexpr int32_t AVIERR_BADPARAM = MakeAviErr(0x8004406Au);
constexpr int32_t AVIERR_BADHANDLE = MakeAviErr(0x8004406Cu);
constexpr int32_t AVIERR_FILEREAD = MakeAviErr(0x8004406Du);
constexpr int32_t AVIERR_FILEWRITE = MakeAviErr(0x8004406Eu);
constexpr int32_t AVIERR_FILEOPEN = MakeAviErr(0x8004406Fu);
constexpr int32_t AVIERR_COMPRESSOR = MakeAviErr(0x80044070u);
constexpr int32_t AVIERR_NOCOMPRESSOR = MakeAviErr(0x80044071u);
constexpr int32_t AVIERR_READONLY = MakeAviErr(0x80044072u);
constexpr int32_t AVIERR_NODATA = MakeAviErr(0x80044073u);
constexpr int32_t REGDB_E_CLASSNOTREG = MakeAviErr(0x80040154u);

// Index flag of a sample that can be decoded on its own.
constexpr uint32_t AVIIF_KEYFRAME = 0x10;
