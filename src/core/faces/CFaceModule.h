#pragma once

#include "CFaceFinder.h"
#include "message/CMessage.h"

#include <memory>
#include <string>

// Finds and loads the face module (libtrevalin_faces.so, which links dlib)
// the first time faces are looked for, where CExportModule finds the export
// module: in the folder named by TREVALIN_MODULE_DIR when that is set,
// beside the program (the build tree), then in the installed module folder
// relative to the program. The module stays loaded for the rest of the
// process.
class CFaceModule {
public:
    // The landmark model: TREVALIN_FACE_MODEL when that is set, else the
    // one libdlib-data installs (kModelPath).
    static std::string ModelPath();
    // A new finder over the model at ModelPath(), or null with the reason in
    // `error` (the model is not installed, the module cannot be loaded).
    static std::unique_ptr<CFaceFinder> MakeFinder(CMessage& error);

    static constexpr const char* kFileName = "libtrevalin_faces.so";
    static constexpr const char* kModelPath = "/usr/share/dlib/shape_predictor_68_face_landmarks.dat";
};
