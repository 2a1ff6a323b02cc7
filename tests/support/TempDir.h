// A fresh temporary folder, removed with everything in it when the object goes.
#pragma once

#include <filesystem>
#include <string>

namespace swftest {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return FPath; }
    std::filesystem::path operator/(const std::string& name) const { return FPath / name; }

private:
    std::filesystem::path FPath;
};

// Copies a file into dir (writable by the owner) and returns the copy's path.
std::filesystem::path CopyInto(const std::filesystem::path& file, const std::filesystem::path& dir,
                               const std::string& name = {});

}  // namespace swftest
