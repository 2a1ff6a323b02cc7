// SWFFile: a movie's header, in-place compression and decompression, sound export.
// Standard library and zlib only; both programs link it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>

#pragma pack(push, 1)
struct TSWFHeader {            // 31 bytes, copied by value
    char     Signature[3];
    uint8_t  Version;
    uint8_t  Compressed;       // 0 or 1
    uint32_t FileLength;
    int32_t  XMin, XMax, YMin, YMax;
    uint8_t  FrameRateInt, FrameRateFrac;
    uint32_t FrameCount;
};
#pragma pack(pop)
static_assert(sizeof(TSWFHeader) == 31, "TSWFHeader is a 31-byte record");

// The decompressor's error: a compressed body that is not a valid zlib stream.
struct EZlibError : std::runtime_error {
    EZlibError() : std::runtime_error("Error") {}
};

// A file that exists but cannot be opened, read, created or written.
struct EFileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Fills the record from the file's header; true for "FWS" or "CWS" files longer than 22 bytes.
// Missing file: false, record untouched. Throws EZlibError for a damaged "CWS" body and
// EFileError for a file that cannot be opened.
bool     ReadSWFHeader(const std::filesystem::path& fileName, TSWFHeader& header);
// width bits of buffer from bitPosition, most significant bit first; width 0..32.
uint32_t GetBits(const uint8_t* buffer, uint32_t bitPosition, uint32_t width);

// Rewrite the movie in place (through a temporary file in the same folder, renamed over it).
// The header passed, not the file, decides whether to act; a file whose own signature does
// not match is refused as well. False when nothing was written.
bool     CompressSWF(const std::filesystem::path& fileName, TSWFHeader header);
bool     DecompressSWF(const std::filesystem::path& fileName, TSWFHeader header);

// Size in kilobytes, rounded up, at least 1; 0 when the file cannot be looked at.
int      FileSizeKB(const std::filesystem::path& fileName);

// Writes the movie's sounds into SoundFolderFor(movieFile, targetFolder).
void     ExportSounds(const std::filesystem::path& movieFile, const std::filesystem::path& targetFolder);
// 7 -> "0007"; numbers above 9999 keep all their digits, so names never collide.
std::string FourDigits(int n);
// targetFolder + the movie's file name without its last four characters, as a folder.
std::filesystem::path SoundFolderFor(const std::filesystem::path& movieFile,
                                     const std::filesystem::path& targetFolder);

// Derived values the browser shows (not named VersionText: that is the program's version).
int         MovieWidth(const TSWFHeader& header);    // Trunc(XMax / 20)
int         MovieHeight(const TSWFHeader& header);   // Trunc(YMax / 20)
std::string HeaderVersionText(const TSWFHeader& header);       // "VER:6"
std::string HeaderCompressionText(const TSWFHeader& header);   // "C:Yes" / "C:No"
std::string HeaderSizeText(const TSWFHeader& header);          // "  Width:550  Height:400   Frames:120"
bool        HasSignature(const TSWFHeader& header, const char* sig3);   // exact, case-sensitive
