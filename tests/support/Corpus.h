// The shared SWF corpus: where it is and what its manifest says.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace swftest {

// MOVISCOPE_CORPUS_DIR from the environment, else from the build; none when absent.
std::optional<std::filesystem::path> CorpusDir();

// One row of manifest.tsv (or malformed/expect.tsv), by column name.
struct ManifestRow {
    std::map<std::string, std::string> fields;
    const std::string& operator[](const std::string& column) const;
};

std::vector<ManifestRow> ReadTsv(const std::filesystem::path& file);

// Runs a shell command; its standard output, or none when it could not run or failed.
std::optional<std::string> RunCommand(const std::string& command);
bool HaveProgram(const std::string& name);
std::string ShellQuote(const std::string& text);

}  // namespace swftest
