#pragma once
// The stream interface of Korvane's MP3 encoder module, lame_enc.so. The
// engine loads the module at run time and looks the six entry points up by
// name; the module and the engine both compile against this header, so the
// configuration record and every call agree on both sides.
#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Results of the entry points; 0 is success, anything else an error code.
enum LameEncResult {
  LAME_ENC_OK = 0,
  LAME_ENC_BAD_CONFIG = 1,      // unknown configuration kind, version or size
  LAME_ENC_BAD_FORMAT = 2,      // the encoder refused rate, mode or bit rate
  LAME_ENC_NO_MEMORY = 3,
  LAME_ENC_BAD_STREAM = 4,      // not a stream of this module, or the wrong state for the call
  LAME_ENC_BAD_ARGUMENT = 5,
  LAME_ENC_ENCODE_FAILED = 6,   // the encoder failed (output buffer too small, internal error)
  LAME_ENC_FILE_ERROR = 7,      // the finished file cannot be opened, read or written
  LAME_ENC_NO_INFO_HEADER = 8,  // the stream was opened without an information header
};

// The configuration kind of the extended record below; the only one accepted.
#define LAME_ENC_CONFIG_EXTENDED 256u
#define LAME_ENC_CONFIG_VERSION 1u
#define LAME_ENC_CONFIG_SIZE 331u

// Channel modes of the record. Every mode but mono takes two input channels.
#define LAME_ENC_MODE_STEREO 0
#define LAME_ENC_MODE_JOINT_STEREO 1
#define LAME_ENC_MODE_DUAL_CHANNEL 2
#define LAME_ENC_MODE_MONO 3

// The quality word carries the quality (0 best .. 9 fastest) in its low byte
// and the low byte's complement in its high byte; a word whose two bytes do
// not match leaves the encoder's default quality.
#define LAME_ENC_QUALITY_WORD(q) ((uint16_t)(((255u - (unsigned)(q)) << 8) | (unsigned)(q)))

// The configuration record: 331 bytes, byte-packed, little-endian. Callers
// zero it before setting fields.
#pragma pack(push, 1)
typedef struct EncoderConfig {
  uint32_t kind;              // LAME_ENC_CONFIG_EXTENDED
  uint32_t version;           // LAME_ENC_CONFIG_VERSION
  uint32_t size;              // LAME_ENC_CONFIG_SIZE
  uint32_t sampleRate;        // Hz of the samples handed over
  uint32_t outputSampleRate;  // Hz of the MP3 stream; 0: the same as sampleRate
  int32_t mode;               // LAME_ENC_MODE_*
  uint32_t bitRate;           // kbit/s (constant bit rate)
  uint32_t maxBitRate;        // kbit/s, variable bit rate only; 0: none
  int32_t preset;             // -1: none
  uint32_t mpegVersion;       // informative: the sample rate decides the version
  uint32_t psyModel;          // informative
  uint32_t emphasis;          // header emphasis bits, 0 to 3
  int32_t privateBit;
  int32_t crc;                // protect each frame with a CRC
  int32_t copyrightBit;
  int32_t originalBit;
  int32_t infoHeader;         // reserve the first frame for the information header
  int32_t vbr;                // must be 0: this module writes constant bit rate only
  int32_t vbrQuality;
  uint32_t abrBitRate;
  int32_t vbrMethod;
  int32_t noReservoir;        // 1: bit reservoir off, every frame stands alone
  int32_t strictIso;
  uint16_t quality;           // LAME_ENC_QUALITY_WORD
  uint8_t reserved[237];
} EncoderConfig;
#pragma pack(pop)

#ifdef __cplusplus
#define LAME_ENC_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
#else
#define LAME_ENC_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif
LAME_ENC_STATIC_ASSERT(sizeof(EncoderConfig) == 331, "EncoderConfig is 331 bytes");
LAME_ENC_STATIC_ASSERT(offsetof(EncoderConfig, kind) == 0, "kind");
LAME_ENC_STATIC_ASSERT(offsetof(EncoderConfig, version) == 4, "version");
LAME_ENC_STATIC_ASSERT(offsetof(EncoderConfig, size) == 8, "size");
LAME_ENC_STATIC_ASSERT(offsetof(EncoderConfig, sampleRate) == 12, "sampleRate");
LAME_ENC_STATIC_ASSERT(offsetof(EncoderConfig, outputSampleRate) == 16, "outputSampleRate");
LAME_ENC_STATIC_ASSERT(offsetof(EncoderConfig, mode) == 20, "mode");
LAME_ENC_STATIC_ASSERT(offsetof(EncoderConfig, bitRate) == 24, "bitRate");
LAME_ENC_STATIC_ASSERT(offsetof(EncoderConfig, maxBitRate) == 28, "maxBitRate");
LAME_ENC_STATIC_ASSERT(offsetof(EncoderConfig, preset) == 32, "preset");
LAME_ENC_STATIC_ASSERT(offsetof(EncoderConfig, mpegVersion) == 36, "mpegVersion");
LAME_ENC_STATIC_ASSERT(offsetof(EncoderConfig, psyModel) == 40, "psyModel");
LAME_ENC_STATIC_ASSERT(offsetof(EncoderConfig, emphasis) == 44, "emphasis");
LAME_ENC_STATIC_ASSERT(offsetof(EncoderConfig, privateBit) == 48, "privateBit");
LAME_ENC_STATIC_ASSERT(offsetof(EncoderConfig, crc) == 52, "crc");
LAME_ENC_STATIC_ASSERT(offsetof(EncoderConfig, copyrightBit) == 56, "copyrightBit");
LAME_ENC_STATIC_ASSERT(offsetof(EncoderConfig, originalBit) == 60, "originalBit");
LAME_ENC_STATIC_ASSERT(offsetof(EncoderConfig, infoHeader) == 64, "infoHeader");
LAME_ENC_STATIC_ASSERT(offsetof(EncoderConfig, vbr) == 68, "vbr");
LAME_ENC_STATIC_ASSERT(offsetof(EncoderConfig, vbrQuality) == 72, "vbrQuality");
LAME_ENC_STATIC_ASSERT(offsetof(EncoderConfig, abrBitRate) == 76, "abrBitRate");
LAME_ENC_STATIC_ASSERT(offsetof(EncoderConfig, vbrMethod) == 80, "vbrMethod");
LAME_ENC_STATIC_ASSERT(offsetof(EncoderConfig, noReservoir) == 84, "noReservoir");
LAME_ENC_STATIC_ASSERT(offsetof(EncoderConfig, strictIso) == 88, "strictIso");
LAME_ENC_STATIC_ASSERT(offsetof(EncoderConfig, quality) == 92, "quality");
LAME_ENC_STATIC_ASSERT(offsetof(EncoderConfig, reserved) == 94, "reserved");
#undef LAME_ENC_STATIC_ASSERT

// An open encoding stream; opaque to callers.
typedef struct EncoderStream EncoderStream;

// Opens a stream for the record. Fills the number of interleaved samples (all
// channels) to hand over per chunk, the output buffer size every call needs,
// and the stream. Callers written for an older, wider form of this call pass
// fifteen further values after the four (the engine passes 0, 0, seven empty
// strings, 0, 1, 30, 5, 16000, 2400); this module takes and ignores them.
typedef uint32_t (*BeInitStreamProc)(EncoderConfig* config, uint32_t* samplesPerChunk,
                                     uint32_t* outputBufferSize, EncoderStream** stream,
                                     int32_t unused1, int32_t unused2, const char* unusedText1,
                                     const char* unusedText2, const char* unusedText3,
                                     const char* unusedText4, const char* unusedText5,
                                     const char* unusedText6, const char* unusedText7,
                                     int32_t unused10, int32_t unused11, int32_t unused12,
                                     int32_t unused13, int32_t unused14, int32_t unused15);

// Encodes samplesPerChannel samples per channel, floats on the 16-bit scale
// (full scale +-32768), one buffer per channel (right is null for mono), into
// output (of the size beInitStream gave); fills the bytes produced.
typedef uint32_t (*BeEncodeChunkFloatS16NIProc)(EncoderStream* stream, uint32_t samplesPerChannel,
                                                const float* left, const float* right,
                                                uint8_t* output, uint32_t* bytesProduced);

// Flushes the encoder at the end of the stream; fills the bytes produced.
typedef uint32_t (*BeDeinitStreamProc)(EncoderStream* stream, uint8_t* output,
                                       uint32_t* bytesProduced);

// Ends the stream. A flushed stream with an information header stays alive
// until the header has been written (beWriteInfoTag or beWriteVBRHeader);
// any other stream is freed at once. Streams whose header is never written
// are freed when the module is unloaded or the process ends.
typedef uint32_t (*BeCloseStreamProc)(EncoderStream* stream);

// Writes the stream's information header into the first frame of the closed
// file at path (UTF-8), then frees the stream. Call after beCloseStream.
typedef uint32_t (*BeWriteInfoTagProc)(EncoderStream* stream, const char* path);

// The same for the most recently closed stream still waiting for its header.
typedef uint32_t (*BeWriteVBRHeaderProc)(const char* path);

#define LAME_ENC_EXPORT __attribute__((visibility("default")))

LAME_ENC_EXPORT uint32_t beInitStream(EncoderConfig* config, uint32_t* samplesPerChunk,
                                      uint32_t* outputBufferSize, EncoderStream** stream,
                                      int32_t unused1, int32_t unused2, const char* unusedText1,
                                      const char* unusedText2, const char* unusedText3,
                                      const char* unusedText4, const char* unusedText5,
                                      const char* unusedText6, const char* unusedText7,
                                      int32_t unused10, int32_t unused11, int32_t unused12,
                                      int32_t unused13, int32_t unused14, int32_t unused15);
LAME_ENC_EXPORT uint32_t beEncodeChunkFloatS16NI(EncoderStream* stream, uint32_t samplesPerChannel,
                                                 const float* left, const float* right,
                                                 uint8_t* output, uint32_t* bytesProduced);
LAME_ENC_EXPORT uint32_t beDeinitStream(EncoderStream* stream, uint8_t* output,
                                        uint32_t* bytesProduced);
LAME_ENC_EXPORT uint32_t beCloseStream(EncoderStream* stream);
LAME_ENC_EXPORT uint32_t beWriteInfoTag(EncoderStream* stream, const char* path);
LAME_ENC_EXPORT uint32_t beWriteVBRHeader(const char* path);

#ifdef __cplusplus
}  // extern "C"

#include <type_traits>
// Each prototype has the type the loader casts its looked-up address to.
static_assert(std::is_same_v<decltype(&beInitStream), BeInitStreamProc>);
static_assert(std::is_same_v<decltype(&beEncodeChunkFloatS16NI), BeEncodeChunkFloatS16NIProc>);
static_assert(std::is_same_v<decltype(&beDeinitStream), BeDeinitStreamProc>);
static_assert(std::is_same_v<decltype(&beCloseStream), BeCloseStreamProc>);
static_assert(std::is_same_v<decltype(&beWriteInfoTag), BeWriteInfoTagProc>);
static_assert(std::is_same_v<decltype(&beWriteVBRHeader), BeWriteVBRHeaderProc>);
#endif
