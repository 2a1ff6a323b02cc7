// In-place conversion between the plain ("FWS") and the zlib-compressed ("CWS") movie.
#include "common/SWFFile.h"

#include "common/FileBytes.h"
#include "common/ZlibStream.h"

#include <algorithm>
#include <cstring>

namespace fs = std::filesystem;

namespace {

constexpr size_t kHeaderSize = 8;
// The output grows as it is inflated, so a lying stored length cannot demand the memory up front.
constexpr size_t kInitialOutput = size_t(1) << 20;

bool FileExists(const fs::path& path)
{
    std::error_code ec;
    return fs::exists(path, ec);
}

}  // namespace

bool CompressSWF(const fs::path& fileName, TSWFHeader header)
{
    if (!FileExists(fileName))
        return false;
    if (!HasSignature(header, "FWS") || header.Version < 6)
        return false;

    std::vector<uint8_t> plain = swffile::ReadWholeFile(fileName);
    // The cached header may be stale: never deflate a file that is not plain.
    if (plain.size() < kHeaderSize || std::memcmp(plain.data(), "FWS", 3) != 0)
        return false;

    std::vector<uint8_t> body = swffile::DeflateBuffer(plain.data() + kHeaderSize,
                                                       plain.size() - kHeaderSize, 9);
    std::vector<uint8_t> out;
    out.reserve(kHeaderSize + body.size());
    out.insert(out.end(), plain.begin(), plain.begin() + kHeaderSize);
    out[0] = 'C';
    out.insert(out.end(), body.begin(), body.end());
    swffile::ReplaceFileContent(fileName, out);
    return true;
}

bool DecompressSWF(const fs::path& fileName, TSWFHeader header)
{
    if (!FileExists(fileName))
        return false;
    if (!HasSignature(header, "CWS"))
        return false;

    std::vector<uint8_t> packed = swffile::ReadWholeFile(fileName);
    if (packed.size() < kHeaderSize || std::memcmp(packed.data(), "CWS", 3) != 0)
        return false;
    uint32_t stored = uint32_t(packed[4]) | uint32_t(packed[5]) << 8 |
                      uint32_t(packed[6]) << 16 | uint32_t(packed[7]) << 24;
    if (stored < kHeaderSize)
        return false;
    size_t wanted = stored - kHeaderSize;

    std::vector<uint8_t> out(packed.begin(), packed.begin() + kHeaderSize);
    out[0] = 'F';
    swffile::TInflater inflater;
    inflater.Feed(packed.data() + kHeaderSize, packed.size() - kHeaderSize);
    size_t have = 0;
    out.resize(kHeaderSize + std::min(wanted, kInitialOutput));
    while (have < wanted) {
        if (kHeaderSize + have == out.size())
            out.resize(kHeaderSize + std::min(wanted, out.size() * 2));
        size_t n = inflater.Inflate(out.data() + kHeaderSize + have, out.size() - kHeaderSize - have);
        have += n;
        if (n == 0)
            break;   // stream ended or input ran out
    }
    // A body shorter than the stored length would leave the rest of the movie undefined.
    if (have < wanted)
        return false;
    swffile::ReplaceFileContent(fileName, out);
    return true;
}

int FileSizeKB(const fs::path& fileName)
{
    std::error_code ec;
    uintmax_t size = fs::file_size(fileName, ec);
    if (ec)
        return 0;
    uintmax_t kb = (size + 1023) / 1024;
    return kb == 0 ? 1 : int(std::min<uintmax_t>(kb, INT32_MAX));
}
