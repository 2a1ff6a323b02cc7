#include "tests/support/Corpus.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace swftest {

std::optional<std::filesystem::path> CorpusDir()
{
    std::filesystem::path dir;
    if (const char* env = std::getenv("MOVISCOPE_CORPUS_DIR"); env && *env)
        dir = env;
#ifdef MOVISCOPE_CORPUS_DIR
    else
        dir = MOVISCOPE_CORPUS_DIR;
#endif
    std::error_code ec;
    if (dir.empty() || !std::filesystem::exists(dir / "manifest.tsv", ec))
        return std::nullopt;
    return dir;
}

const std::string& ManifestRow::operator[](const std::string& column) const
{
    static const std::string empty;
    auto it = fields.find(column);
    return it == fields.end() ? empty : it->second;
}

namespace {
std::vector<std::string> SplitTabs(const std::string& line)
{
    std::vector<std::string> cells;
    std::string cell;
    std::istringstream in(line);
    while (std::getline(in, cell, '\t'))
        cells.push_back(cell);
    if (!line.empty() && line.back() == '\t')
        cells.emplace_back();
    return cells;
}
}  // namespace

std::vector<ManifestRow> ReadTsv(const std::filesystem::path& file)
{
    std::ifstream in(file);
    std::string line;
    std::vector<ManifestRow> rows;
    if (!std::getline(in, line))
        return rows;
    std::vector<std::string> names = SplitTabs(line);
    while (std::getline(in, line)) {
        if (line.empty())
            continue;
        std::vector<std::string> cells = SplitTabs(line);
        ManifestRow row;
        for (size_t i = 0; i < names.size(); ++i)
            row.fields[names[i]] = i < cells.size() ? cells[i] : std::string();
        rows.push_back(std::move(row));
    }
    return rows;
}

std::optional<std::string> RunCommand(const std::string& command)
{
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return std::nullopt;
    std::string out;
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        out.append(buffer.data(), n);
    int status = ::pclose(pipe);
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return out;
}

bool HaveProgram(const std::string& name)
{
    return RunCommand("command -v " + ShellQuote(name) + " >/dev/null 2>&1").has_value();
}

std::string ShellQuote(const std::string& text)
{
    std::string out = "'";
    for (char c : text) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

}  // namespace swftest
