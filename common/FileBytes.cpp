#include "common/FileBytes.h"

#include "common/SWFFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace swffile {

namespace {

std::string Reason(int err) { return std::strerror(err); }

[[noreturn]] void Fail(const char* what, const fs::path& path, int err)
{
    throw EFileError(std::string(what) + " \"" + path.string() + "\". " + Reason(err));
}

}  // namespace

TReadFile::TReadFile(const fs::path& path) : FPath(path)
{
    std::error_code ec;
    if (fs::is_directory(path, ec))
        Fail("Cannot open file", path, EISDIR);
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        Fail("Cannot open file", path, errno);
    FFile = f;
    if (std::fseek(f, 0, SEEK_END) != 0) {
        int err = errno;
        std::fclose(f);
        FFile = nullptr;
        Fail("Cannot read file", path, err);
    }
    long end = std::ftell(f);
    FSize = end < 0 ? 0 : uint64_t(end);
    std::fseek(f, 0, SEEK_SET);
}

TReadFile::~TReadFile()
{
    if (FFile)
        std::fclose(static_cast<FILE*>(FFile));
}

size_t TReadFile::Read(uint8_t* buffer, size_t count)
{
    FILE* f = static_cast<FILE*>(FFile);
    size_t n = std::fread(buffer, 1, count, f);
    if (n < count && std::ferror(f))
        Fail("Cannot read file", FPath, errno);
    FPosition += n;
    return n;
}

void TReadFile::Seek(uint64_t offset)
{
    if (std::fseek(static_cast<FILE*>(FFile), long(offset), SEEK_SET) != 0)
        Fail("Cannot read file", FPath, errno);
    FPosition = offset;
}

std::vector<uint8_t> ReadWholeFile(const fs::path& path)
{
    TReadFile f(path);
    std::vector<uint8_t> data(size_t(f.Size()));
    data.resize(f.Read(data.data(), data.size()));
    return data;
}

namespace {

void WriteAll(int fd, const std::vector<uint8_t>& data, const fs::path& path)
{
    size_t done = 0;
    while (done < data.size()) {
        ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Fail("Cannot write file", path, errno);
        }
        done += size_t(n);
    }
}

}  // namespace

void ReplaceFileContent(const fs::path& path, const std::vector<uint8_t>& data)
{
    std::error_code ec;
    // Replace the file a link points at, not the link.
    fs::path target = fs::canonical(path, ec);
    if (ec)
        Fail("Cannot open file", path, ec.value());
    // A movie the user may not write stays as it is, although its folder would allow the rename.
    if (::access(target.c_str(), W_OK) != 0)
        Fail("Cannot create file", path, errno);
    fs::perms perms = fs::status(target).permissions();

    std::random_device rd;
    std::mt19937 gen(rd());
    fs::path temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = target.parent_path() / ("." + target.filename().string() + "." +
                                       std::to_string(gen() % 1000000) + ".tmp");
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST)
            Fail("Cannot create file", temp, errno);
    }
    if (fd < 0)
        Fail("Cannot create file", temp, EEXIST);
    try {
        WriteAll(fd, data, temp);
        // No fsync: a failed write or close (a full disk) is caught here, and the rename over an
        // existing file makes the file systems we run on flush the data first; forcing it to
        // the platter would double the time of a small movie.
        if (::close(fd) != 0) {
            fd = -1;
            Fail("Cannot write file", temp, errno);
        }
        fd = -1;
        fs::permissions(temp, perms, fs::perm_options::replace, ec);
        if (std::rename(temp.c_str(), target.c_str()) != 0)
            Fail("Cannot write file", target, errno);
    } catch (...) {
        if (fd >= 0)
            ::close(fd);
        fs::remove(temp, ec);
        throw;
    }
}

void WriteNewFile(const fs::path& path, const std::vector<uint8_t>& data)
{
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        Fail("Cannot create file", path, errno);
    try {
        WriteAll(fd, data, path);
    } catch (...) {
        ::close(fd);
        throw;
    }
    if (::close(fd) != 0)
        Fail("Cannot write file", path, errno);
}

}  // namespace swffile
