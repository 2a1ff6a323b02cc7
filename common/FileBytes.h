// Whole-file reading and the atomic replacement of a file's content.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace swffile {

// Opens a regular file for reading or throws EFileError.
class TReadFile {
public:
    explicit TReadFile(const std::filesystem::path& path);
    ~TReadFile();
    TReadFile(const TReadFile&) = delete;
    TReadFile& operator=(const TReadFile&) = delete;

    uint64_t Size() const { return FSize; }
    // Reads up to count bytes at the current position; returns how many were read.
    size_t Read(uint8_t* buffer, size_t count);
    void Seek(uint64_t offset);
    uint64_t Position() const { return FPosition; }

private:
    std::filesystem::path FPath;
    void* FFile = nullptr;   // FILE*
    uint64_t FSize = 0;
    uint64_t FPosition = 0;
};

std::vector<uint8_t> ReadWholeFile(const std::filesystem::path& path);

// Writes data to a new file in the same folder and renames it over path, keeping path's
// permissions: the file is either wholly old or wholly new. Throws EFileError.
void ReplaceFileContent(const std::filesystem::path& path, const std::vector<uint8_t>& data);

// Creates (or truncates) path and writes data; throws EFileError.
void WriteNewFile(const std::filesystem::path& path, const std::vector<uint8_t>& data);

}  // namespace swffile
