// Small SWF writer for test fixtures: each test builds exactly the bytes it needs.
//
//   swftest::SwfWriter w(6);                 // version 6, stage 0..11000 x 0..8000 twips
//   w.Stage(0, 11000, 0, 8000, 15);          // RECT with NBits 15 (0 = smallest that fits)
//   w.DefineSound(3, swftest::kMp3, 3, true, true, 1152, mp3Bytes);
//   w.ShowFrame();
//   w.End();
//   w.WriteFile(dir / "m.swf", swftest::Packing::Zlib);
//
// The writer keeps the tags as bytes; header and packing are applied by Build().
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace swftest {

using Bytes = std::vector<uint8_t>;

// Sound format nibbles of DefineSound and SoundStreamHead.
enum SoundFormat : uint8_t {
    kRawNative = 0, kAdpcm = 1, kMp3 = 2, kRawLittleEndian = 3, kNellymoser16 = 4,
    kNellymoser8 = 5, kNellymoser = 6, kAlaw = 7, kMulaw = 8, kSpeex = 11
};

// Sound rate codes: 0 = 5512 Hz, 1 = 11025, 2 = 22050, 3 = 44100.
int SoundRateHz(int rateCode);

// Tag codes the fixtures use most.
enum TagCode : uint16_t {
    kEnd = 0, kShowFrame = 1, kSetBackgroundColor = 9, kDefineSound = 14,
    kSoundStreamHead = 18, kSoundStreamBlock = 19, kSoundStreamHead2 = 45
};

enum class Packing { Plain, Zlib, Lzma };   // FWS, CWS, ZWS

void PutU8(Bytes& out, uint8_t v);
void PutU16(Bytes& out, uint16_t v);   // little-endian
void PutU32(Bytes& out, uint32_t v);   // little-endian
void PutBytes(Bytes& out, const Bytes& data);

// Bit-packed fields, most significant bit first, as RECT, MATRIX and ADPCM data use them.
class BitWriter {
public:
    void WriteUB(uint32_t value, int nbits);
    void WriteSB(int32_t value, int nbits);   // two's complement in nbits
    void Align();                             // pad with zero bits to a whole byte
    const Bytes& Data();                      // aligns first
private:
    Bytes FBytes;
    int FBitCount = 0;                        // bits used in the last byte (0..7)
};

// Smallest NBits that holds every value as a signed field.
int SignedBitsFor(std::initializer_list<int32_t> values);

// RECT record; nbits < 0 picks the smallest width that fits.
Bytes Rect(int32_t xmin, int32_t xmax, int32_t ymin, int32_t ymax, int nbits = -1);

// A tag header; long form when asked or when the length does not fit in 6 bits (< 63).
Bytes TagHeader(uint16_t code, uint32_t length, bool forceLong = false);

// zlib (RFC 1950) at the given level, and LZMA "alone" split the way ZWS stores it.
Bytes ZlibDeflate(const Bytes& data, int level = 9);
Bytes ZlibInflate(const Bytes& data);   // whole stream; throws std::runtime_error on failure

class SwfWriter {
public:
    explicit SwfWriter(uint8_t version = 6);

    SwfWriter& Version(uint8_t v) { FVersion = v; return *this; }
    SwfWriter& Stage(int32_t xmin, int32_t xmax, int32_t ymin, int32_t ymax, int nbits = -1);
    SwfWriter& RawRect(const Bytes& rect) { FRect = rect; return *this; }   // any bytes
    SwfWriter& FrameRate(uint8_t whole, uint8_t fraction = 0) { FRateInt = whole; FRateFrac = fraction; return *this; }
    SwfWriter& FrameCount(uint16_t n) { FFrameCount = n; return *this; }
    // Overrides the stored length (bytes 4..7); otherwise it is the real uncompressed length.
    SwfWriter& StoredLength(uint32_t n) { FStoredLength = n; return *this; }
    SwfWriter& Signature(const std::string& sig3) { FSignature = sig3; return *this; } // overrides packing's

    // Tags.
    SwfWriter& Tag(uint16_t code, const Bytes& body, bool forceLong = false);
    SwfWriter& RawTagBytes(const Bytes& bytes);   // anything, e.g. a header whose length lies
    SwfWriter& ShowFrame() { return Tag(kShowFrame, {}); }
    SwfWriter& End() { return Tag(kEnd, {}); }
    SwfWriter& SetBackgroundColor(uint8_t r, uint8_t g, uint8_t b);

    // DefineSound: id, then format nibble / rate / 16-bit / stereo, sample count, data.
    SwfWriter& DefineSound(uint16_t id, uint8_t format, int rateCode, bool is16Bit, bool stereo,
                           uint32_t sampleCount, const Bytes& data);
    // SoundStreamHead (18) or SoundStreamHead2 (45); MP3 heads carry the latency field.
    SwfWriter& SoundStreamHead(uint8_t format, int rateCode, bool is16Bit, bool stereo,
                               uint16_t samplesPerBlock, bool head2 = true, int16_t latency = 0);
    SwfWriter& SoundStreamBlock(const Bytes& data);   // data as stored, no prefix added
    // MP3 stream block: sample count and seek value, then the frames.
    SwfWriter& Mp3StreamBlock(uint16_t sampleCount, int16_t seek, const Bytes& frames);

    // The uncompressed file: header, RECT, rate, count, tags.
    Bytes PlainBytes() const;
    Bytes Build(Packing packing = Packing::Plain) const;
    void WriteFile(const std::filesystem::path& path, Packing packing = Packing::Plain) const;

    const Bytes& TagBytes() const { return FTags; }

private:
    uint8_t FVersion;
    Bytes FRect;
    uint8_t FRateInt = 12, FRateFrac = 0;
    uint16_t FFrameCount = 1;
    std::optional<uint32_t> FStoredLength;
    std::optional<std::string> FSignature;
    Bytes FTags;
};

// Whole-file helpers.
Bytes ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const Bytes& data);

}  // namespace swftest
