#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

struct CPictureImage;

// Whole files and folders as the tests read and prepare them.
namespace testfiles {

// The picture in the file (BMP or JPEG, by the program's own decoders), or
// null when there is no such file or it cannot be read.
std::shared_ptr<const CPictureImage> ReadPicture(const std::filesystem::path& path);

// The file's bytes; throws std::runtime_error when it cannot be read.
std::vector<uint8_t> ReadBytes(const std::filesystem::path& path);
// The file's bytes, or none when there is no file to read.
std::vector<uint8_t> ReadBytesOrEmpty(const std::filesystem::path& path);
// Makes `bytes` the whole file, replacing what was there; throws
// std::runtime_error when it cannot be written.
void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

// The names of what the folder holds, sorted.
std::vector<std::string> Names(const std::filesystem::path& folder);

// Lets everyone into `parent` and makes in it the folder "locked", which
// everyone may read and nobody but the superuser may write to (checks of it
// run through RunUnprivileged). Returns the folder's path.
std::filesystem::path LockedFolder(const std::filesystem::path& parent);

// Puts at `path` something an output must replace without opening it
// ("fifo", "symlink" to the file `aside`, "read-only" file) or must refuse
// ("folder").
void Plant(const std::string& path, const std::string& kind, const std::string& aside);

} // namespace testfiles
