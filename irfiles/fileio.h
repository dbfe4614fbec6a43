// Files on disk as the formats read and write them, without Qt.
//
// Reading takes regular files only: a folder, FIFO, device or socket is
// refused at once with what it is, never waited on. Writing is safe: the new
// text goes to a temporary file of a unique name beside the target, is
// synced and renamed over it, so that the target holds the old file or the
// whole new one, never part of one, and no other file is touched. A symbolic
// link is followed (the link stays, its target gets the new text); the
// replaced file keeps its permissions (and, where the process may, its
// owner). A device, FIFO or socket is written in place, never replaced.
// "-" is standard input or output.
//
// POSIX: mkstemp, fsync, fchmod, rename. Windows: a temporary created with
// CREATE_NEW under a unique name, FlushFileBuffers, then ReplaceFileW over
// an existing file (which keeps its attributes and security) or MoveFileExW
// with MOVEFILE_WRITE_THROUGH; paths are in the code page the C library
// takes them in (the ...A functions). Symbolic links are not
// followed by hand there, and only a target that is not a disk file (NUL,
// a port, a pipe) is written in place.
#ifndef IRFILES_FILEIO_H
#define IRFILES_FILEIO_H

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace irfiles::fileio {

// The name that stands for standard input or output.
constexpr std::string_view kStandardStream = "-";

// A file opened for reading, or why it cannot be read.
class InputFile
{
public:
    explicit InputFile(const std::string &path);
    ~InputFile();
    InputFile(const InputFile &) = delete;
    InputFile &operator=(const InputFile &) = delete;

    // Null when the file could not be opened; error() says why.
    std::FILE *file() const
    {
        return file_;
    }
    const std::string &error() const
    {
        return error_;
    }
    // Whether path names this very file (the same device and inode, however
    // it is reached: another name, a link); never for standard input.
    bool isFile(const std::string &path) const;

private:
    std::FILE *file_ = nullptr;
    bool ownsFile_ = false;
    std::string error_;
    struct Identity;
    std::unique_ptr<Identity> identity_;
};

// A file being written. Nothing reaches the target before commit(): a
// regular file's text goes to the temporary, anything else is kept in memory
// and written on commit(), so that a conversion that fails half way leaves
// the target as it was. Destroyed without commit(), it leaves no trace.
class OutputFile
{
public:
    explicit OutputFile(const std::string &path);
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    // False once anything failed; error() says why.
    bool ok() const
    {
        return error_.empty();
    }
    const std::string &error() const
    {
        return error_;
    }

    bool write(std::string_view data);
    // Makes the text the target's; false (with error()) when it could not.
    bool commit();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::string error_;
};

} // namespace irfiles::fileio

#endif // IRFILES_FILEIO_H
