#include "CFrameFileSettings.h"

const char* CFrameFileSettings::FormatName(Format format)
{
    switch (format) {
    case kPng:
        return "PNG";
    case kJpeg:
        return "JPEG";
    case kBmp:
        return "BMP";
    }
    return "";
}

const char* CFrameFileSettings::Extension(Format format)
{
    switch (format) {
    case kPng:
        return ".png";
    case kJpeg:
        return ".jpg";
    case kBmp:
        return ".bmp";
    }
    return "";
}
