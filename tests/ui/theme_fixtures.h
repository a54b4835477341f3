// Small theme archives for the tests: PNG pictures of one colour, archives written by the zip tool,
// and hand-made ZIP files for sizes no tool would write quickly.
#pragma once
#include <png.h>
#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "support/test_support.h"

// A width x height PNG filled with one opaque colour.
inline std::string SolidPng(int width, int height, uint8_t r, uint8_t g, uint8_t b) {
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    for (size_t i = 0; i < pixels.size(); i += 4) {
        pixels[i] = r;
        pixels[i + 1] = g;
        pixels[i + 2] = b;
        pixels[i + 3] = 255;
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr)) return "";
    std::string png(size, '\0');
    if (!png_image_write_to_memory(&image, png.data(), &size, 0, pixels.data(), 0, nullptr)) return "";
    png.resize(size);
    png_image_free(&image);
    return png;
}

struct ThemeFile {
    std::string name;
    std::string data;
};

// Writes the files into a work folder and packs them with the zip tool; true when zip succeeded.
inline bool ZipTheme(const std::string& archive, const std::vector<ThemeFile>& files) {
    std::string work = ScratchFolder("zipwork");
    std::string names;
    for (const ThemeFile& file : files) {
        WriteFileText(work + file.name, file.data);
        names += " '" + file.name + "'";
    }
    return RunCommand("cd '" + work + "' && zip -q -X '" + archive + "'" + names).exitStatus == 0;
}

// One entry of a hand-made ZIP: `zeros` bytes of zeros, deflated, or else `text`, stored;
// `listedSize` (when not -1) is what the archive claims instead of the true size.
struct ZeroEntry {
    std::string name;
    uint64_t zeros;
    int64_t listedSize = -1;
    std::string text = {};
};

namespace fixture_detail {
inline void Put16(std::string& out, uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}
inline void Put32(std::string& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// Raw deflate of `count` zeros (a multiple of 1 MiB) without pushing them all through zlib:
// after a full flush the compressor starts afresh, so every further MiB compresses to the same bytes.
inline std::string DeflateZeros(uint64_t count, uint32_t* crc) {
    const size_t chunk = 1 << 20;
    std::vector<unsigned char> zeros(chunk, 0), out(chunk);
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
    auto run = [&](int flush, size_t inputSize) {
        stream.next_in = zeros.data();
        stream.avail_in = static_cast<uInt>(inputSize);
        stream.next_out = out.data();
        stream.avail_out = static_cast<uInt>(out.size());
        deflate(&stream, flush);
        return std::string(reinterpret_cast<char*>(out.data()), out.size() - stream.avail_out);
    };
    std::string first = run(Z_FULL_FLUSH, chunk);
    std::string repeat = run(Z_FULL_FLUSH, chunk);
    std::string data = first;
    for (uint64_t done = 2 * chunk; done <= count; done += chunk) data += repeat;
    data += run(Z_FINISH, 0);
    deflateEnd(&stream);
    uLong chunkCrc = crc32(0, zeros.data(), static_cast<uInt>(chunk));
    uLong total = chunkCrc;
    for (uint64_t done = chunk; done < count; done += chunk) total = crc32_combine(total, chunkCrc, chunk);
    *crc = static_cast<uint32_t>(total);
    return data;
}
}  // namespace fixture_detail

// A ZIP written by hand; a deflated GiB of zeros costs about 1 MB of archive.
inline void WriteZeroZip(const std::string& path, const std::vector<ZeroEntry>& entries) {
    using namespace fixture_detail;
    std::string zip, directory;
    for (const ZeroEntry& entry : entries) {
        uint32_t crc = 0;
        bool stored = entry.zeros == 0;
        std::string data = stored ? entry.text : DeflateZeros(entry.zeros, &crc);
        if (stored) crc = static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
        uint64_t size = stored ? data.size() : entry.zeros;
        uint32_t listed = static_cast<uint32_t>(entry.listedSize >= 0 ? static_cast<uint64_t>(entry.listedSize) : size);
        uint32_t offset = static_cast<uint32_t>(zip.size());
        auto header = [&](std::string& out, bool central) {
            Put32(out, central ? 0x02014b50 : 0x04034b50);
            if (central) Put16(out, 20);
            Put16(out, 20);  // version needed
            Put16(out, 0);   // flags
            Put16(out, stored ? 0 : 8);
            Put16(out, 0);   // time
            Put16(out, 0x21);  // 1980-01-01
            Put32(out, crc);
            Put32(out, static_cast<uint32_t>(data.size()));
            Put32(out, listed);
            Put16(out, static_cast<uint32_t>(entry.name.size()));
            Put16(out, 0);  // extra
            if (central) {
                Put16(out, 0);  // comment
                Put16(out, 0);  // disk
                Put16(out, 0);  // internal attributes
                Put32(out, 0);  // external attributes
                Put32(out, offset);
            }
            out += entry.name;
        };
        header(zip, false);
        zip += data;
        header(directory, true);
    }
    uint32_t directoryOffset = static_cast<uint32_t>(zip.size());
    zip += directory;
    Put32(zip, 0x06054b50);
    Put16(zip, 0);
    Put16(zip, 0);
    Put16(zip, static_cast<uint32_t>(entries.size()));
    Put16(zip, static_cast<uint32_t>(entries.size()));
    Put32(zip, static_cast<uint32_t>(directory.size()));
    Put32(zip, directoryOffset);
    Put16(zip, 0);
    WriteFileText(path, zip);
}
