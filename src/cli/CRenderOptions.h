#pragma once

#include "geometry/CFitTransform.h"
#include "morph/CMorphOptions.h"
#include "morph/EngineKind.h"
#include "export/CExportSettings.h"
#include "message/CMessage.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Command line of trevalin-render (see Usage). Only "-" starts a switch;
// anything else is a project path: several make a sequence of morphs, one
// export (CExportSequence).
struct CRenderOptions {
    int32_t steps = 10;
    EngineKind engine = EngineKind::kFeature;
    bool motionJpeg = false;
    bool clean = false;                // remove frame files numbered beyond the steps before the run
    bool help = false;                 // --help: print the usage, run nothing
    std::string project;               // the first project
    std::vector<std::string> projects; // every project, in order

    // Export switches. Any of them but --threads and the morph options
    // makes the run an export (ExportSettings); without them the run writes
    // exactly what 开始 writes.
    std::optional<std::string> outDir;
    std::optional<std::string> name;
    std::optional<CExportSettings::Frames> imageFormat;
    std::optional<CExportSettings::Video> video; // kAviUncompressed stands for AVI with either codec
    std::optional<int32_t> fps;
    std::optional<int32_t> rangeFirst;
    std::optional<int32_t> rangeLast;
    bool pingPong = false;
    // The frames of each morph of the export (N = frames - 1): from --frames
    // or --duration; none: steps + 1.
    std::optional<int32_t> frames;
    std::optional<double> duration;
    int32_t hold = 0; // --hold: copies of each picture's frame (CExportSequence)
    bool codecGiven = false;
    int32_t threads = 0; // 0: one per hardware thread
    // Encoder settings of an MP4, WebM or GIF video (--mp4-preset,
    // --webm-speed, --gif-dither).
    int32_t mp4Preset = CVideoSettings::kDefaultMp4Preset;
    int32_t webmSpeed = CVideoSettings::kDefaultWebmSpeed;
    CVideoSettings::GifDither gifDither = CVideoSettings::GifDither::kOrdered;

    // Morph options; those not given come from the project's options file.
    std::optional<bool> warpOnly;
    std::optional<CTimingCurve> shape;  // --shape-curve, or --ease for both
    std::optional<CTimingCurve> colour; // --colour-curve, or --ease for both
    std::optional<CMorphOptions::Edge> edge;
    std::optional<CMorphOptions::Quality> quality;
    // Samples per side of each pixel of smooth frames (1 or 2): an export
    // setting, so only with --out.
    int32_t supersample = 1;

    // Brings a target picture of another size to the source picture's size
    // for this run (the project is not changed); none: such a project fails.
    std::optional<FitMode> fit;
    // --auto-face: a project without lines gets the face line pairs of
    // both pictures for this run (CAutoFace).
    bool autoFace = false;
    // --faces: the arguments are pictures, not projects; one export morphs
    // each into the next along their face lines (CFaceMorphs).
    bool faces = false;

    bool IsExport() const;
    // The steps N of each morph: steps, or frames - 1.
    int32_t MorphSteps() const { return frames ? *frames - 1 : steps; }
    // The frame rate of the export (given, or its default).
    int32_t ExportFps() const;
    // The project's own options with the switches given laid over them.
    CMorphOptions MorphOptions(const CMorphOptions& kept) const;
    // What an export run writes; `workDir` is the working folder and
    // `projectBase` the project file's name without ".tvl".
    CExportSettings ExportSettings(const std::string& workDir, const std::string& projectBase) const;

    // Fills the options from the arguments after the program name; on a
    // mistake returns the message to print with the usage (the program's
    // own words), else the empty one. --help sets `help` and ends the
    // parse.
    static CMessage Parse(const std::vector<std::string>& args, CRenderOptions& out);
    static const char* Usage();
};
