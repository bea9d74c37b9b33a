#pragma once

class CBitmap;
struct CPictureImage;

// Draws a decoded picture into a screen-compatible bitmap at its natural
// size: the same pixels, with the fourth byte of each pixel cleared. No
// picture (null) gives an empty 0 x 0 bitmap; a picture whose pixel bytes
// fall short of its size stays black.
void DrawPicture(const CPictureImage* image, CBitmap& out);
