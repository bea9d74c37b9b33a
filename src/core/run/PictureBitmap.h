#pragma once

class CBitmap;
class CPictureFile;
struct CPictureImage;

// Draws a decoded picture into a screen-compatible (32-bit) bitmap at its
// natural size: the same pixels, with the fourth byte of each pixel
// cleared. A picture that holds nothing gives an empty (0 x 0) bitmap.
void DrawPictureBitmap(const CPictureFile& picture, CBitmap& out);
// The same for a decoded image itself; null gives the empty bitmap.
void DrawPictureBitmap(const CPictureImage* image, CBitmap& out);
