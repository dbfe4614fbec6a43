// A temporary folder tree for a test, removed with the object.
#ifndef TESTS_LIRC_TEMPDIR_H
#define TESTS_LIRC_TEMPDIR_H

#include <cstdlib>
#include <filesystem>
#include <string>

class TempDir
{
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tavrel-lirc-XXXXXX");
        if (::mkdtemp(pattern.data()))
            path_ = pattern;
    }
    ~TempDir()
    {
        std::error_code error;
        if (!path_.empty())
            std::filesystem::remove_all(path_, error);
    }
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    // Creates `relative` (and its parents) as folders; answers its path.
    std::string folder(const std::string &relative) const
    {
        const auto path = std::filesystem::path(path_) / relative;
        std::filesystem::create_directories(path);
        return path.string();
    }
    std::string path(const std::string &relative = "") const
    {
        return (std::filesystem::path(path_) / relative).string();
    }

private:
    std::string path_;
};

#endif // TESTS_LIRC_TEMPDIR_H
