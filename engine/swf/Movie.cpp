#include "engine/swf/Movie.h"

#include "engine/swf/Decompress.h"
#include "engine/swf/RecordReader.h"
#include "engine/swf/TimelineReader.h"

#include <cstring>
#include <fstream>

namespace swf {

const Character* MovieDefinition::FindCharacter(uint16_t id) const
{
    auto it = dictionary.find(id);
    return it != dictionary.end() ? it->second.get() : nullptr;
}

std::shared_ptr<const MovieDefinition> DecodeMovie(std::vector<uint8_t> file)
{
    if (file.size() < 8)
        throw DecodeError("Not a Flash movie: the file is only " + std::to_string(file.size()) +
                          " bytes long, shorter than a movie header");
    auto movie = std::make_shared<MovieDefinition>();
    std::memcpy(movie->signature, file.data(), 3);
    movie->version = file[3];
    movie->storedLength = uint32_t(file[4]) | uint32_t(file[5]) << 8 | uint32_t(file[6]) << 16 | uint32_t(file[7]) << 24;
    std::string sig(reinterpret_cast<const char*>(file.data()), 3);
    size_t expected = movie->storedLength > 8 ? movie->storedLength - 8 : 0;

    std::vector<uint8_t> body;
    if (sig == "FWS") {
        body.assign(file.begin() + 8, file.end());
    } else if (sig == "CWS" || sig == "ZWS") {
        Inflated in = sig == "CWS" ? InflateZlib(file.data() + 8, file.size() - 8, expected)
                                   : InflateLzma(file.data() + 8, file.size() - 8, expected);
        if (in.data.empty())
            throw DecodeError("The movie's compressed body cannot be read: " + in.damage);
        if (!in.damage.empty())
            movie->warnings.push_back(in.damage);
        body = std::move(in.data);
    } else {
        throw DecodeError("Not a Flash movie: the file does not start with FWS, CWS or ZWS");
    }
    std::vector<uint8_t>().swap(file);

    Reader r(body.data(), body.size());
    try {
        movie->stage = ReadRect(r);
        uint16_t rate = r.U16();
        movie->frameRate = (rate >> 8) + (rate & 0xFF) / 256.0;
        movie->headerFrameCount = r.U16();
    } catch (const DecodeError&) {
        throw DecodeError("The movie header is cut off: no stage size, frame rate or frame count");
    }
    size_t tagCount = 0;
    movie->timeline = ReadTimeline(r, *movie, 0, movie->headerFrameCount, tagCount);
    movie->frameCount = static_cast<int>(movie->timeline.frames.size());
    return movie;
}

std::shared_ptr<const MovieDefinition> LoadMovie(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw DecodeError("Cannot open " + path.string());
    std::vector<uint8_t> bytes;
    in.seekg(0, std::ios::end);
    std::streamoff size = in.tellg();
    if (size < 0)
        throw DecodeError("Cannot read " + path.string());
    if (static_cast<uint64_t>(size) > MaxMovieBodySize)
        throw DecodeError("The file is too large for a movie: " + path.string());
    in.seekg(0);
    bytes.resize(static_cast<size_t>(size));
    if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size))
        throw DecodeError("Cannot read " + path.string());
    return DecodeMovie(std::move(bytes));
}

} // namespace swf
