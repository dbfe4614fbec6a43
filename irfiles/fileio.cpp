#include "fileio.h"

#include "loaded.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace irfiles::fileio {

namespace {

std::string cannotOpen(const std::string &reason)
{
    return "cannot open the file: " + reason;
}

bool isStandardStream(const std::string &path)
{
    return path == kStandardStream;
}

// What an output file is, on every platform.
struct Output
{
    std::string target;    // the file itself (POSIX: links followed)
    std::string temporary; // beside it; empty when written in place
    bool exists = false;
    // Not a regular file (a device, FIFO, socket) or standard output: the
    // text is kept until commit() and written in place then.
    bool inPlace = false;
    bool standardOutput = false;
    bool committed = false;
    std::string held;
};

} // namespace

#ifdef _WIN32

namespace {

// Temporaries get a counter after the process id; names taken are skipped.
constexpr int kTemporaryAttempts = 1000;

std::string lastError()
{
    char text[512] = {};
    const DWORD code = GetLastError();
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, text, sizeof text, nullptr);
    std::string message(text, length);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
        message.pop_back();
    return message.empty() ? "error " + std::to_string(code) : message;
}

// The path made absolute: ReplaceFile does not take every relative one.
std::string fullPath(const std::string &path)
{
    const DWORD size = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return path;
    std::string full(size, '\0');
    const DWORD length = GetFullPathNameA(path.c_str(), size, &full[0], nullptr);
    if (length == 0 || length >= size)
        return path;
    full.resize(length);
    return full;
}

bool identityOf(HANDLE handle, BY_HANDLE_FILE_INFORMATION &info)
{
    return handle != INVALID_HANDLE_VALUE && GetFileInformationByHandle(handle, &info);
}

// The file's type when it can be opened: disk files are the only regular ones.
DWORD typeOf(const std::string &path)
{
    HANDLE h = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return FILE_TYPE_UNKNOWN;
    const DWORD type = GetFileType(h);
    CloseHandle(h);
    return type;
}

} // namespace

struct InputFile::Identity
{
    DWORD volume = 0, high = 0, low = 0;
};

InputFile::InputFile(const std::string &path)
{
    if (isStandardStream(path)) {
        _setmode(_fileno(stdin), _O_BINARY);
        file_ = stdin;
        return;
    }
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        error_ = "is a folder, not a file";
        return;
    }
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) {
        error_ = cannotOpen(std::strerror(errno));
        return;
    }
    ownsFile_ = true;
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file_)));
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(handle) != FILE_TYPE_DISK || !identityOf(handle, info)) {
        error_ = "is a device or pipe, not a file";
    } else if ((int64_t(info.nFileSizeHigh) << 32 | info.nFileSizeLow) > irlimits::kMaxFileBytes) {
        error_ = tooLargeMessage();
    } else {
        identity_ = std::make_unique<Identity>(
            Identity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow});
        return;
    }
    std::fclose(file_);
    file_ = nullptr;
    ownsFile_ = false;
}

InputFile::~InputFile()
{
    if (ownsFile_)
        std::fclose(file_);
}

bool InputFile::isFile(const std::string &path) const
{
    if (!identity_)
        return false;
    HANDLE h = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = identityOf(h, info);
    if (h != INVALID_HANDLE_VALUE)
        CloseHandle(h);
    return known && info.dwVolumeSerialNumber == identity_->volume
        && info.nFileIndexHigh == identity_->high && info.nFileIndexLow == identity_->low;
}

struct OutputFile::Impl : Output
{
    HANDLE handle = INVALID_HANDLE_VALUE;

    bool put(std::string_view data, std::string &error);
    bool writeInPlace(std::string &error);
    bool replace(std::string &error);

    ~Impl()
    {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
        if (!temporary.empty() && !committed)
            DeleteFileA(temporary.c_str());
    }
};

OutputFile::OutputFile(const std::string &path) : impl_(std::make_unique<Impl>())
{
    Impl &d = *impl_;
    if (isStandardStream(path)) {
        d.inPlace = d.standardOutput = true;
        return;
    }
    d.target = fullPath(path);
    const DWORD attributes = GetFileAttributesA(d.target.c_str());
    d.exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (d.exists && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        error_ = "is a folder, not a file";
        return;
    }
    const DWORD type = typeOf(d.target);
    if (type != FILE_TYPE_DISK && type != FILE_TYPE_UNKNOWN) {
        d.inPlace = true;
        return;
    }
    for (int n = 0; n < kTemporaryAttempts; ++n) {
        const std::string candidate = d.target + ".~" + std::to_string(GetCurrentProcessId()) + "."
            + std::to_string(n) + ".tmp";
        d.handle = CreateFileA(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
            FILE_ATTRIBUTE_NORMAL, nullptr);
        if (d.handle != INVALID_HANDLE_VALUE) {
            d.temporary = candidate;
            return;
        }
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    error_ = "cannot create a temporary file beside it: " + lastError();
}

bool OutputFile::Impl::put(std::string_view data, std::string &error)
{
    while (!data.empty()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(data.size(), 1u << 30));
        if (!WriteFile(handle, data.data(), chunk, &written, nullptr) || written == 0) {
            error = "cannot write: " + lastError();
            return false;
        }
        data.remove_prefix(written);
    }
    return true;
}

bool OutputFile::Impl::writeInPlace(std::string &error)
{
    if (standardOutput) {
        _setmode(_fileno(stdout), _O_BINARY);
        if (std::fwrite(held.data(), 1, held.size(), stdout) != held.size()
            || std::fflush(stdout) != 0)
            error = "cannot write to standard output";
        return error.empty();
    }
    std::FILE *f = std::fopen(target.c_str(), "wb");
    if (!f || std::fwrite(held.data(), 1, held.size(), f) != held.size())
        error = "cannot write: " + std::string(std::strerror(errno));
    if (f && std::fclose(f) != 0 && error.empty())
        error = "cannot write: " + std::string(std::strerror(errno));
    return error.empty();
}

bool OutputFile::Impl::replace(std::string &error)
{
    if (!FlushFileBuffers(handle)) {
        error = "cannot write: " + lastError();
        return false;
    }
    CloseHandle(handle);
    handle = INVALID_HANDLE_VALUE;
    const bool replaced = exists
        ? ReplaceFileA(target.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
            nullptr, nullptr)
        : MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
    if (!replaced) {
        error = "cannot replace the file: " + lastError();
        return false;
    }
    return true;
}

#else // POSIX

namespace {

// More links than this in a row are a loop.
constexpr int kMaxLinks = 40;

std::string errorText()
{
    return std::strerror(errno);
}

// What a file that is not a regular one is, for refusing it as input.
const char *kindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return nullptr;
    if (S_ISDIR(mode))
        return "is a folder, not a file";
    if (S_ISFIFO(mode))
        return "is a FIFO (named pipe), not a file: give its data on standard input, as \"-\"";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "is a device, not a file";
    if (S_ISSOCK(mode))
        return "is a socket, not a file";
    return "is not a regular file";
}

std::string folderOf(const std::string &path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The path with every symbolic link in its last part followed, even to a
// target that does not exist yet.
bool followLinks(std::string &path, std::string &error)
{
    for (int i = 0; i < kMaxLinks; ++i) {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return true;
        std::string link(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t length = ::readlink(path.c_str(), &link[0], link.size());
        if (length < 0) {
            error = "cannot follow the link: " + errorText();
            return false;
        }
        link.resize(static_cast<size_t>(length));
        path = !link.empty() && link.front() == '/' ? link : folderOf(path) + "/" + link;
    }
    error = "cannot follow the link: too many levels of links";
    return false;
}

bool writeAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

mode_t newFileMode()
{
    // The mode a new file gets: read and write for all, less the umask.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

} // namespace

struct InputFile::Identity
{
    dev_t device;
    ino_t inode;
};

InputFile::InputFile(const std::string &path)
{
    if (isStandardStream(path)) {
        file_ = stdin;
        return;
    }
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
        error_ = cannotOpen(errorText());
        return;
    }
    if (const char *kind = kindOf(st.st_mode)) {
        error_ = kind;
        return;
    }
    // Never waits: the file is checked again once open, in case it changed.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error_ = cannotOpen(errorText());
        return;
    }
    if (::fstat(fd, &st) != 0 || kindOf(st.st_mode)) {
        error_ = kindOf(st.st_mode) ? kindOf(st.st_mode) : cannotOpen(errorText());
        ::close(fd);
        return;
    }
    if (st.st_size > irlimits::kMaxFileBytes) {
        error_ = tooLargeMessage();
        ::close(fd);
        return;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    file_ = ::fdopen(fd, "rb");
    if (!file_) {
        error_ = cannotOpen(errorText());
        ::close(fd);
        return;
    }
    ownsFile_ = true;
    identity_ = std::make_unique<Identity>(Identity{st.st_dev, st.st_ino});
}

InputFile::~InputFile()
{
    if (ownsFile_)
        std::fclose(file_);
}

bool InputFile::isFile(const std::string &path) const
{
    struct stat st;
    return identity_ && !isStandardStream(path) && ::stat(path.c_str(), &st) == 0
        && st.st_dev == identity_->device && st.st_ino == identity_->inode;
}

struct OutputFile::Impl : Output
{
    int fd = -1;
    struct stat existing
    {
    };

    bool put(std::string_view data, std::string &error);
    bool writeInPlace(std::string &error);
    bool replace(std::string &error);

    ~Impl()
    {
        if (fd >= 0)
            ::close(fd);
        if (!temporary.empty() && !committed)
            ::unlink(temporary.c_str());
    }
};

OutputFile::OutputFile(const std::string &path) : impl_(std::make_unique<Impl>())
{
    Impl &d = *impl_;
    if (isStandardStream(path)) {
        d.inPlace = d.standardOutput = true;
        return;
    }
    d.target = path;
    if (!followLinks(d.target, error_))
        return;
    d.exists = ::stat(d.target.c_str(), &d.existing) == 0;
    if (!d.exists && errno != ENOENT) {
        error_ = "cannot write: " + errorText();
        return;
    }
    if (d.exists && S_ISDIR(d.existing.st_mode)) {
        error_ = "is a folder, not a file";
        return;
    }
    if (d.exists && !S_ISREG(d.existing.st_mode)) {
        d.inPlace = true;
        return;
    }
    const size_t slash = d.target.rfind('/');
    const std::string base = slash == std::string::npos ? d.target : d.target.substr(slash + 1);
    std::string name = folderOf(d.target) + "/." + base + ".XXXXXX";
    d.fd = ::mkstemp(&name[0]);
    if (d.fd < 0) {
        error_ = "cannot create a temporary file beside it: " + errorText();
        return;
    }
    d.temporary = name;
}

bool OutputFile::Impl::put(std::string_view data, std::string &error)
{
    if (!writeAll(fd, data)) {
        error = "cannot write: " + errorText();
        return false;
    }
    return true;
}

bool OutputFile::Impl::writeInPlace(std::string &error)
{
    const int out
        = standardOutput ? STDOUT_FILENO : ::open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (out < 0 || !writeAll(out, held))
        error = "cannot write: " + errorText();
    if (out >= 0 && !standardOutput && ::close(out) != 0 && error.empty())
        error = "cannot write: " + errorText();
    return error.empty();
}

bool OutputFile::Impl::replace(std::string &error)
{
    const mode_t mode = exists ? existing.st_mode & 07777 : newFileMode();
    if (::fsync(fd) != 0 || ::fchmod(fd, mode) != 0) {
        error = "cannot write: " + errorText();
        return false;
    }
    // The owner is kept where the process may give the file away (as root).
    if (exists && (existing.st_uid != ::geteuid() || existing.st_gid != ::getegid())) {
        [[maybe_unused]] const int kept = ::fchown(fd, existing.st_uid, existing.st_gid);
    }
    const int written = fd;
    fd = -1;
    if (::close(written) != 0) {
        error = "cannot write: " + errorText();
        return false;
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        error = "cannot replace the file: " + errorText();
        return false;
    }
    // The rename itself reaches the disk with the folder.
    const int folder = ::open(folderOf(target).c_str(), O_RDONLY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

#endif

OutputFile::~OutputFile() = default;

bool OutputFile::write(std::string_view data)
{
    if (!ok())
        return false;
    if (impl_->inPlace) {
        impl_->held.append(data);
        return true;
    }
    return impl_->put(data, error_);
}

bool OutputFile::commit()
{
    if (!ok())
        return false;
    if (impl_->inPlace)
        return impl_->writeInPlace(error_);
    impl_->committed = impl_->replace(error_);
    return impl_->committed;
}

} // namespace irfiles::fileio
