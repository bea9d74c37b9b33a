#include "CPictureDecoder.h"

CPictureDecoder::~CPictureDecoder() = default;
