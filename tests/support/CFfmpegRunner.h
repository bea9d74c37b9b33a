#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Runs ffmpeg and ffprobe, the independent readers of the files the output
// writers make.
class CFfmpegRunner {
public:
    // Whether both programs are on the search path.
    static bool Available();

    // Runs `program` with `args`; its standard output goes to `out`, its
    // error output to `err`. Returns the exit status (-1 if it did not run).
    static int Run(const std::string& program, const std::vector<std::string>& args, std::string& out,
                   std::string& err);

    // ffprobe's "key=value" lines for the first video stream, after counting
    // the frames by decoding them (nb_read_frames).
    static std::string ProbeStream(const std::string& path, std::string& err);
    // Value of `key` in ffprobe's "key=value" output, or "".
    static std::string Value(const std::string& probe, const std::string& key);
    // Every frame of the file decoded to bytes blue, green, red, alpha, rows
    // top to bottom, one frame after another.
    static bool DecodeBgra(const std::string& path, std::vector<uint8_t>& pixels, std::string& err);
    // The first frame at or after `seconds`, found by seeking (through the
    // file's index) rather than by reading from the start.
    static bool DecodeFrameAt(const std::string& path, const std::string& seconds, std::vector<uint8_t>& pixels,
                              std::string& err);
};
