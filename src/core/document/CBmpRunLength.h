#pragma once

#include <cstddef>
#include <cstdint>

// The run-length pixel data of an 8- or 4-bit BMP file, walked strictly:
// taken only when it fills every row from left to right with runs and
// literal stretches that stay inside the row, each row but the last closed
// by an end-of-line mark, and ends with the last row (an end-of-line and an
// end-of-bitmap mark may follow; without the end-of-bitmap mark the data
// must end with a whole command). Files that jump over pixels, end early or
// run past a row leave pixels that readers fill from memory they never
// wrote, or place differently.
class CBmpRunLength {
public:
    // Receives the colour index of each pixel in file order: rows bottom-up,
    // left to right. Returns false to stop the walk.
    class Visitor {
    public:
        virtual bool Pixel(int32_t row, int32_t x, uint32_t index) = 0;

    protected:
        ~Visitor() = default;
    };

    // Walks the data from `at`; true when it is taken (every pixel visited).
    static bool Walk(const uint8_t* data, size_t size, size_t at, int32_t width, int32_t height, bool fourBits,
                     Visitor& visitor);
    // Walks without visiting: whether the data is taken.
    static bool Covers(const uint8_t* data, size_t size, size_t at, int32_t width, int32_t height, bool fourBits);
};
