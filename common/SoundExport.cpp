// Sound export: walks a plain movie's tags and writes each event sound and each stream
// sound to a file of its own, as a file a player can open where we can decode the format.
#include "common/SWFFile.h"

#include "common/AdpcmDecoder.h"
#include "common/FileBytes.h"
#include "common/SoundFormat.h"
#include "common/WaveFile.h"

#include <optional>

namespace fs = std::filesystem;
using swffile::TSoundFormat;

namespace {

enum : uint16_t {
    kTagEnd = 0, kTagDefineSound = 14, kTagSoundStreamHead = 18, kTagSoundStreamBlock = 19,
    kTagSoundStreamHead2 = 45
};

constexpr size_t kSoundHeaderSize = 5;   // format byte and 32-bit sample count, after the id
constexpr size_t kMp3BlockPrefix = 4;    // stream block: sample count and seek value
constexpr size_t kMp3SoundPrefix = 2;    // event sound: seek value

bool Decodable(uint8_t format)
{
    return format == swffile::kSoundRawNative || format == swffile::kSoundRawLittleEndian ||
           format == swffile::kSoundAdpcm;
}

// The extension a format gives; formats we keep raw leave the current one as it was.
void UpdateExtension(std::string& ext, uint8_t format)
{
    if (format == swffile::kSoundRawNative || format == swffile::kSoundAdpcm ||
        format == swffile::kSoundRawLittleEndian)
        ext = ".WAV";
    else if (format == swffile::kSoundMp3)
        ext = ".MP3";
}

uint32_t Le32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

std::vector<int16_t> DecodeToPcm(const TSoundFormat& f, const uint8_t* data, size_t size,
                                 size_t maxFrames)
{
    std::vector<int16_t> pcm;
    if (f.Format == swffile::kSoundAdpcm)
        swffile::DecodeAdpcm(data, size, f.Channels(), maxFrames, pcm);
    else
        swffile::DecodeRawSamples(f, data, size, pcm);
    return pcm;
}

// One stream sound, from its head to the next head or the end of the movie.
class TStreamSound {
public:
    void Start(std::optional<TSoundFormat> format, uint16_t samplesPerBlock)
    {
        *this = TStreamSound();
        FFormat = format;
        FSamplesPerBlock = samplesPerBlock;
    }

    void AddBlock(const uint8_t* data, size_t size)
    {
        if (FFormat && Decodable(FFormat->Format)) {
            size_t before = FPcm.size();
            std::vector<int16_t> pcm = DecodeToPcm(*FFormat, data, size, FSamplesPerBlock);
            FPcm.insert(FPcm.end(), pcm.begin(), pcm.end());
            FHasData |= FPcm.size() > before;
        } else {
            // MP3 frames follow the prefix; other formats keep their bytes after it as well.
            FBytes.insert(FBytes.end(), data + kMp3BlockPrefix, data + size);
            FHasData |= size > kMp3BlockPrefix;
        }
    }

    bool Empty() const { return !FHasData; }

    std::vector<uint8_t> Content() const
    {
        if (FFormat && Decodable(FFormat->Format))
            return swffile::WaveFileBytes(FPcm, FFormat->Rate, FFormat->Channels());
        return FBytes;
    }

private:
    std::optional<TSoundFormat> FFormat;   // none: blocks before any head
    uint16_t FSamplesPerBlock = 0;
    std::vector<uint8_t> FBytes;
    std::vector<int16_t> FPcm;
    bool FHasData = false;
};

class TSoundWalk {
public:
    TSoundWalk(const fs::path& movie, const fs::path& folder) : FFile(movie), FFolder(folder) {}

    void Run()
    {
        uint8_t nbitsByte = 0;
        FFile.Seek(8);
        if (FFile.Read(&nbitsByte, 1) == 1) {
            uint64_t bits = 5 + 4 * uint64_t(nbitsByte >> 3);
            FFile.Seek((bits + 7) / 8 + 12);
        }
        CreateFolder();
        while (NextTag()) {
        }
        FlushStream();
    }

private:
    // Handles one tag; false when the walk is over.
    bool NextTag()
    {
        uint8_t h[2];
        if (FFile.Read(h, 2) < 2)
            return false;
        uint16_t code = uint16_t((h[0] | h[1] << 8) >> 6);
        uint64_t length = h[0] & 0x3F;
        if (length == 0x3F) {
            uint8_t l[4];
            if (FFile.Read(l, 4) < 4)
                return false;
            length = Le32(l);
        }
        // A tag that runs past the end of the file ends the walk as an End tag would.
        if (length > FFile.Size() - FFile.Position())
            return false;
        if (code == kTagEnd)
            return false;

        const uint64_t next = FFile.Position() + length;
        switch (code) {
        case kTagDefineSound:
            EventSound(ReadBody(length));
            break;
        case kTagSoundStreamHead:
        case kTagSoundStreamHead2:
            StreamHead(ReadBody(length));
            break;
        case kTagSoundStreamBlock:
            if (length >= kMp3BlockPrefix) {
                std::vector<uint8_t> body = ReadBody(length);
                FStream.AddBlock(body.data(), body.size());
            }
            break;
        default:
            break;
        }
        FFile.Seek(next);
        return true;
    }

    std::vector<uint8_t> ReadBody(uint64_t length)
    {
        std::vector<uint8_t> body(static_cast<size_t>(length));
        body.resize(FFile.Read(body.data(), body.size()));
        return body;
    }

    void EventSound(const std::vector<uint8_t>& body)
    {
        // Without its id, format byte and sample count a sound cannot be told apart.
        if (body.size() < 2 + kSoundHeaderSize)
            return;
        const uint16_t id = uint16_t(body[0] | body[1] << 8);
        const TSoundFormat f = TSoundFormat::FromByte(body[2]);
        const uint32_t sampleCount = Le32(&body[3]);
        UpdateExtension(FExtension, f.Format);
        const uint8_t* data = body.data() + 2 + kSoundHeaderSize;
        const size_t size = body.size() - 2 - kSoundHeaderSize;

        std::vector<uint8_t> content;
        if (Decodable(f.Format)) {
            content = swffile::WaveFileBytes(DecodeToPcm(f, data, size, sampleCount), f.Rate,
                                             f.Channels());
        } else if (f.Format == swffile::kSoundMp3) {
            if (size > kMp3SoundPrefix)
                content.assign(data + kMp3SoundPrefix, data + size);
        } else {
            content.assign(body.begin() + 2, body.end());
        }
        swffile::WriteNewFile(FFolder / ("SOUND_" + FourDigits(id) + FExtension), content);
    }

    void StreamHead(const std::vector<uint8_t>& body)
    {
        FlushStream();
        std::optional<TSoundFormat> format;
        uint16_t samplesPerBlock = 0;
        if (body.size() >= 2) {
            format = TSoundFormat::FromByte(body[1]);
            UpdateExtension(FExtension, format->Format);
        }
        if (body.size() >= 4)
            samplesPerBlock = uint16_t(body[2] | body[3] << 8);
        FStream.Start(format, samplesPerBlock);
    }

    void FlushStream()
    {
        if (FStream.Empty())
            return;
        swffile::WriteNewFile(FFolder / ("MUSIC_" + FourDigits(FStreamNumber) + FExtension),
                              FStream.Content());
        ++FStreamNumber;
        FStream.Start(std::nullopt, 0);
    }

    void CreateFolder()
    {
        std::error_code ec;
        fs::create_directories(FFolder, ec);
        if (ec || !fs::is_directory(FFolder))
            throw EFileError("Cannot create folder \"" + FFolder.string() + "\". " + ec.message());
    }

    swffile::TReadFile FFile;
    fs::path FFolder;
    TStreamSound FStream;
    int FStreamNumber = 0;
    std::string FExtension = ".WAV";
};

// Drops the last n characters (code points) of a UTF-8 name.
std::string DropLastCharacters(const std::string& name, int n)
{
    size_t end = name.size();
    while (n-- > 0 && end > 0) {
        --end;
        while (end > 0 && (uint8_t(name[end]) & 0xC0) == 0x80)
            --end;
    }
    return name.substr(0, end);
}

}  // namespace

std::string FourDigits(int n)
{
    if (n < 0)
        return std::to_string(n);
    std::string digits = std::to_string(n);
    return digits.size() >= 4 ? digits : std::string(4 - digits.size(), '0') + digits;
}

fs::path SoundFolderFor(const fs::path& movieFile, const fs::path& targetFolder)
{
    return targetFolder / DropLastCharacters(movieFile.filename().string(), 4) / "";
}

void ExportSounds(const fs::path& movieFile, const fs::path& targetFolder)
{
    TSoundWalk walk(movieFile, SoundFolderFor(movieFile, targetFolder));
    walk.Run();
}
