#pragma once

#include "CParentFolder.h"
#include "CPosixFile.h"

#include <functional>
#include <string>
#include <sys/types.h>

// A file that takes the place of whatever stands at its path only once it is
// complete: every output the program writes whole (a run's frame files and
// video, an export's video and frames, a saved project, a morph options
// file) goes through it.
//
// The bytes go to a fresh temporary file beside the path, named
// "<name>.tmp-<pid>-<n>" (the name cut to its first kMaxKeptName bytes, at a
// character boundary, when longer) and created exclusively, so nothing
// already there is opened, followed or waited on. Commit puts it in place of
// the path; until then the path keeps what it held, and a file destroyed or
// abandoned uncommitted removes its temporary file. A program killed in
// between leaves the temporary file: RemoveLeftovers, which knows these
// names and no others, sweeps them. The folder is walked one name at a
// time, so paths beyond PATH_MAX work; a folder at the path is refused
// before anything is written.
//
// Over a regular file the new one is exchanged with it (renameat2
// RENAME_EXCHANGE, where the file system can) and the old one removed:
// ext4 takes a rename over a file for a rewrite made without care and
// writes the new file out before the rename returns (a quarter of a second
// and more for a video), while the exchange, like the rename, never leaves
// the path empty. Anything else is renamed over.
class CReplacingFile {
public:
    // What a crash may do to the file; chosen by each caller.
    enum class Durability {
        // Nothing is flushed: the system writes the bytes out when it
        // likes, and after a crash the path may hold the new file with
        // bytes missing. For what a run writes again anyway (its frame
        // files and video), where a flush would cost more than the write.
        kUnflushed,
        // Commit flushes the new file (fsync) before it takes the place of
        // the old one and flushes the folder after, so a crash leaves at
        // the path the old file whole or the new one whole. For what the
        // user saves or exports.
        kFlushed,
    };
    // What happens to what stands at the path.
    enum class Existing {
        // Whatever it is (a regular or read-only file, a symbolic link, a
        // FIFO, a device node) is replaced by the new file.
        kReplaced,
        // The file the path names is updated, as an editor saves a
        // document: symbolic links are followed and the file they name
        // replaced, keeping its permissions (and owner, when allowed); a
        // device or FIFO is written in place, no temporary file made.
        kUpdated,
    };

    static constexpr size_t kMaxKeptName = 200;

    CReplacingFile() = default;
    ~CReplacingFile();
    CReplacingFile(const CReplacingFile&) = delete;
    CReplacingFile& operator=(const CReplacingFile&) = delete;

    // Creates the temporary file for `path` (mode 0666 less the umask). 0
    // or the system's error number: EISDIR when a folder stands at the
    // path, ENOENT when the folder does not exist, and so on.
    int Create(const std::string& path, Durability durability, Existing existing = Existing::kReplaced);
    // The file being written, for writing.
    CPosixFile& File() { return m_file; }
    const CPosixFile& File() const { return m_file; }
    bool IsOpen() const { return m_file.IsOpen(); }
    const std::string& GetPath() const { return m_strPath; }
    // The temporary file, for writers that open it by name; empty when
    // nothing is being written or a link was followed to find the place.
    const std::string& GetTempPath() const { return m_strTempPath; }
    // Whether a regular file stood at the path when it was created (it is
    // kept when Commit fails and replaced when it succeeds).
    bool HadFile() const { return m_bHadFile; }

    // Closes the file and puts it in place of the path. 0 or the system's
    // error number; on failure the temporary file is removed and the path
    // keeps what it held.
    int Commit();
    // Closes and removes the temporary file.
    void Abandon();

    // Removes from `folder` the temporary files of this class left by a
    // program that was killed (the process its name holds is gone), for the
    // final names `isOurs` accepts (a final name longer than kMaxKeptName
    // comes cut, as in the temporary name). Nothing else is touched: the
    // files of a live process, this one's included, stay.
    static void RemoveLeftovers(const std::string& folder, const std::function<bool(const std::string&)>& isOurs);
    // The folder part of `path`, where its temporary file goes ("." when it
    // has none).
    static std::string FolderOf(const std::string& path);

private:
    // The final name a temporary name was made for; false when `name` is
    // not one.
    static bool FinalNameOf(const std::string& name, std::string& finalName, pid_t& pid);

    CParentFolder m_folder;
    CPosixFile m_file;
    Durability m_durability = Durability::kUnflushed;
    std::string m_strPath;
    std::string m_strTemp; // name in m_folder; empty when written in place
    std::string m_strTempPath;
    bool m_bHadFile = false;
    bool m_bInPlace = false;
};
