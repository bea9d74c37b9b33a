#pragma once

#include <memory>

class CPictureDecoder;

// The programs' picture decoder: BMP and JPEG files decoded directly
// (CDirectPictureDecoder), every other file and every BMP or JPEG file those
// decoders leave by Qt's readers (CQtPictureDecoder), with Qt's limits. Qt's
// image plugins are looked for only when a file reaches Qt.
std::shared_ptr<const CPictureDecoder> MakePictureDecoder();
