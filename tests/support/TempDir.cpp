#include "tests/support/TempDir.h"

#include <cstdlib>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;

namespace swftest {

TempDir::TempDir()
{
    std::string pattern = (fs::temp_directory_path() / "moviscope-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    FPath = pattern;
}

TempDir::~TempDir()
{
    std::error_code ec;
    // Tests may leave read-only folders behind; make them removable first.
    for (auto it = fs::recursive_directory_iterator(FPath, ec); !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        if (it->is_directory(ec))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(FPath, ec);
}

fs::path CopyInto(const fs::path& file, const fs::path& dir, const std::string& name)
{
    fs::path target = dir / (name.empty() ? file.filename().string() : name);
    fs::copy_file(file, target, fs::copy_options::overwrite_existing);
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add);
    return target;
}

}  // namespace swftest
