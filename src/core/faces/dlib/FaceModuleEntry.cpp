// The face module's entry point, looked up by name by CFaceModule.

#include "CDlibFaceFinder.h"

extern "C" __attribute__((visibility("default"))) CFaceFinder* trevalin_make_face_finder(const std::string& modelPath)
{
    return new CDlibFaceFinder(modelPath);
}
