// Measures CompressSWF and DecompressSWF on the largest corpus movies against zlib's own
// level-9 deflate and inflate of the same body bytes in the same process; target: within 1.15x.
// Both sides read the movie from its file and write the result to a file, so the ratio is what
// the routines add to zlib: the temporary file, the rename, the checks.
#include "common/SWFFile.h"

#include "tests/support/SwfWriter.h"
#include "tests/support/TempDir.h"

#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

template <typename Fn>
double BestOf(int runs, Fn fn)
{
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        auto t0 = Clock::now();
        fn();
        best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    }
    return best;
}

std::vector<uint8_t> ZlibDeflate9(const std::vector<uint8_t>& in)
{
    uLongf size = compressBound(uLong(in.size()));
    std::vector<uint8_t> out(size);
    compress2(out.data(), &size, in.data(), uLong(in.size()), 9);
    out.resize(size);
    return out;
}

std::vector<uint8_t> ZlibInflate(const std::vector<uint8_t>& in, size_t outSize)
{
    std::vector<uint8_t> out(outSize);
    uLongf size = uLongf(outSize);
    uncompress(out.data(), &size, in.data(), uLong(in.size()));
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    fs::path corpus = argc > 1 ? fs::path(argv[1]) : fs::path(MOVISCOPE_CORPUS_DIR);
    const int runs = 7;
    const size_t count = 5;

    // The largest movies, plain or compressed, whose body round-trips (stored length = size).
    struct Movie { fs::path path; std::vector<uint8_t> plain; };
    std::vector<Movie> movies;
    for (const auto& e : fs::recursive_directory_iterator(corpus)) {
        if (e.path().extension() != ".swf" || e.path().string().find("/malformed/") != std::string::npos)
            continue;
        TSWFHeader h{};
        try {
            if (!ReadSWFHeader(e.path(), h))
                continue;
        } catch (...) {
            continue;
        }
        std::vector<uint8_t> bytes = swftest::ReadFileBytes(e.path());
        if (h.Compressed)
            bytes = [&] {
                std::vector<uint8_t> body = swftest::ZlibInflate({bytes.begin() + 8, bytes.end()});
                std::vector<uint8_t> p(bytes.begin(), bytes.begin() + 8);
                p[0] = 'F';
                p.insert(p.end(), body.begin(), body.end());
                return p;
            }();
        if (bytes.size() != h.FileLength || h.Version < 6)
            continue;
        movies.push_back({e.path(), std::move(bytes)});
    }
    std::sort(movies.begin(), movies.end(),
              [](const Movie& a, const Movie& b) { return a.plain.size() > b.plain.size(); });
    if (movies.size() > count)
        movies.resize(count);

    swftest::TempDir dir;
    const fs::path work = dir / "m.swf";
    double sumOurs = 0, sumZlib = 0, sumOursIn = 0, sumZlibIn = 0;
    std::printf("%-60s %9s %10s %10s %6s %10s %10s %6s\n", "movie", "bytes", "Compress", "deflate9",
                "ratio", "Decompr.", "inflate", "ratio");
    for (const Movie& m : movies) {
        const std::vector<uint8_t> body(m.plain.begin() + 8, m.plain.end());
        TSWFHeader plainHeader{};
        std::memcpy(plainHeader.Signature, "FWS", 3);
        plainHeader.Version = m.plain[3];
        TSWFHeader packedHeader = plainHeader;
        packedHeader.Signature[0] = 'C';
        packedHeader.Compressed = 1;

        swftest::WriteFileBytes(work, m.plain);
        const double ours = BestOf(runs, [&] {
            swftest::WriteFileBytes(work, m.plain);
            CompressSWF(work, plainHeader);
        });
        const std::vector<uint8_t> packed = swftest::ReadFileBytes(work);
        const double oursIn = BestOf(runs, [&] {
            swftest::WriteFileBytes(work, packed);
            DecompressSWF(work, packedHeader);
        });
        // zlib alone, with the same file write the routines must do, so both sides pay it.
        std::vector<uint8_t> deflated;
        const double zlib = BestOf(runs, [&] {
            swftest::WriteFileBytes(work, m.plain);
            std::vector<uint8_t> in = swftest::ReadFileBytes(work);
            deflated = ZlibDeflate9({in.begin() + 8, in.end()});
            swftest::WriteFileBytes(work, deflated);
        });
        const double zlibIn = BestOf(runs, [&] {
            swftest::WriteFileBytes(work, packed);
            std::vector<uint8_t> in = swftest::ReadFileBytes(work);
            std::vector<uint8_t> out = ZlibInflate({in.begin() + 8, in.end()}, body.size());
            swftest::WriteFileBytes(work, out);
        });
        std::printf("%-60s %9zu %8.2fms %8.2fms %6.3f %8.2fms %8.2fms %6.3f\n",
                    fs::relative(m.path, corpus).string().c_str(), m.plain.size(), ours, zlib,
                    ours / zlib, oursIn, zlibIn, oursIn / zlibIn);
        sumOurs += ours;
        sumZlib += zlib;
        sumOursIn += oursIn;
        sumZlibIn += zlibIn;
    }
    std::printf("total: compress %.2f ms vs %.2f ms (%.3fx), decompress %.2f ms vs %.2f ms (%.3fx); target <= 1.15x\n",
                sumOurs, sumZlib, sumOurs / sumZlib, sumOursIn, sumZlibIn, sumOursIn / sumZlibIn);
    return 0;
}
