// The BMP intake: checks the header before FreeImage sees the file, and hands FreeImage a plain
// in-memory BMP for the valid variants its BMP loader rejects or decodes wrongly.
#include <FreeImage.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "engine/pipeline.h"
#include "platform/platform.h"

namespace {

constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3, kAlphaBitfields = 6;
constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
// Enough for the largest info header and the masks that may follow a 40-byte one.
constexpr size_t kHeaderProbeSize = kFileHeaderSize + 124 + 16;

struct BmpHeader {
    uint64_t fileSize = 0;
    uint32_t pixelOffset = 0;
    uint32_t headerSize = 0;
    int64_t width = 0;
    int64_t height = 0;  // negative: rows stored top-down
    uint32_t bitCount = 0;
    uint32_t compression = 0;
    uint32_t coloursUsed = 0;
    uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
};

uint32_t Read16(const std::string& data, size_t at) {
    return static_cast<uint8_t>(data[at]) | static_cast<uint8_t>(data[at + 1]) << 8;
}
uint32_t Read32(const std::string& data, size_t at) {
    return Read16(data, at) | Read16(data, at + 2) << 16;
}
void Put16(std::string& out, uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}
void Put32(std::string& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// The first `length` bytes of the file, fewer when it is shorter.
bool ReadFileStart(const std::string& path, size_t length, std::string* data) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(fopen(path.c_str(), "rb"), fclose);
    if (!file) return false;
    data->resize(length);
    size_t got = length ? fread(data->data(), 1, length, file.get()) : 0;
    data->resize(got);
    return true;
}

uint64_t Rows(const BmpHeader& header) {
    return static_cast<uint64_t>(header.height < 0 ? -header.height : header.height);
}

uint64_t RowBytes(int64_t width, uint32_t bitCount) {
    return (static_cast<uint64_t>(width) * bitCount + 31) / 32 * 4;
}

bool KnownHeaderSize(uint32_t size) {
    return size == 12 || size == 16 || size == 40 || size == 52 || size == 56 || size == 64 || size == 108 ||
           size == 124;
}

bool MaskIsContiguous(uint32_t mask) {
    if (mask == 0) return true;
    uint32_t shifted = mask >> std::countr_zero(mask);
    return (shifted & (shifted + 1)) == 0;
}

// Refuses what no valid BMP holds and what would make a reader allocate or read out of bounds.
bool ParseHeader(const std::string& probe, uint64_t fileSize, BmpHeader* header) {
    if (probe.size() < kFileHeaderSize + 12 || probe[0] != 'B' || probe[1] != 'M') return false;
    header->fileSize = fileSize;
    header->pixelOffset = Read32(probe, 10);
    header->headerSize = Read32(probe, 14);
    if (!KnownHeaderSize(header->headerSize) || probe.size() < kFileHeaderSize + header->headerSize) return false;
    uint32_t planes = 0;
    if (header->headerSize == 12) {
        header->width = Read16(probe, 18);
        header->height = Read16(probe, 20);
        planes = Read16(probe, 22);
        header->bitCount = Read16(probe, 24);
    } else {
        header->width = static_cast<int32_t>(Read32(probe, 18));
        header->height = static_cast<int32_t>(Read32(probe, 22));
        planes = Read16(probe, 26);
        header->bitCount = Read16(probe, 28);
        header->compression = header->headerSize >= 20 ? Read32(probe, 30) : kRgb;
        header->coloursUsed = header->headerSize >= 36 ? Read32(probe, 46) : 0;
    }
    const uint64_t rows = Rows(*header);
    if (planes != 1 || header->width <= 0 || rows == 0 || header->width > kMaxPictureSide || rows > kMaxPictureSide)
        return false;
    uint32_t bits = header->bitCount;
    if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;

    switch (header->compression) {
        case kRgb: break;
        case kRle8: if (bits != 8 || header->height < 0) return false; break;
        case kRle4: if (bits != 4 || header->height < 0) return false; break;
        case kBitfields:
        case kAlphaBitfields: {
            if (bits != 16 && bits != 32) return false;
            // Masks sit inside the longer headers and right after a 40-byte one.
            size_t at = kFileHeaderSize + 40;
            int count = header->compression == kAlphaBitfields ? 4 : 3;
            if (header->headerSize >= 56) count = 4;
            else if (header->headerSize == 52) count = 3;
            if (probe.size() < at + 4 * count) return false;
            for (int i = 0; i < count; ++i) header->masks[i] = Read32(probe, at + 4 * i);
            for (uint32_t mask : header->masks)
                if (!MaskIsContiguous(mask)) return false;
            break;
        }
        default: return false;  // JPEG, PNG and unknown streams: nothing here decodes them
    }

    if (header->pixelOffset < kFileHeaderSize + header->headerSize || header->pixelOffset >= fileSize) return false;
    if (header->compression == kRgb || header->compression == kBitfields || header->compression == kAlphaBitfields) {
        // Every row must be in the file; the last one may lack its padding.
        uint64_t needed = RowBytes(header->width, bits) * (rows - 1) +
                          (static_cast<uint64_t>(header->width) * bits + 7) / 8;
        if (header->pixelOffset + needed > fileSize) return false;
    }
    return true;
}

bool HasAlphaMask(const BmpHeader& header) {
    return (header.compression == kBitfields || header.compression == kAlphaBitfields) && header.masks[3] != 0;
}

bool HasMasks(const BmpHeader& header, uint32_t red, uint32_t green, uint32_t blue) {
    return header.masks[0] == red && header.masks[1] == green && header.masks[2] == blue;
}

// FreeImage reads 32-bit bitfields only in the usual byte order, 16-bit ones only as 5-6-5 or
// 5-5-5, and ignores an alpha mask.
bool DecodesBitfieldsHere(const BmpHeader& header) {
    if (header.compression != kBitfields && header.compression != kAlphaBitfields) return false;
    if (HasAlphaMask(header) || header.compression == kAlphaBitfields) return true;
    if (header.bitCount == 16) return !HasMasks(header, 0xF800, 0x7E0, 0x1F) && !HasMasks(header, 0x7C00, 0x3E0, 0x1F);
    return !HasMasks(header, 0xFF0000, 0xFF00, 0xFF);
}

bool NeedsRewrite(const BmpHeader& header) {
    return header.headerSize == 52 || header.headerSize == 56 || header.headerSize == 108 ||
           header.headerSize == 124 || header.compression == kRle8 || header.compression == kRle4 ||
           DecodesBitfieldsHere(header);
}

uint32_t PaletteEntries(const BmpHeader& header) {
    if (header.bitCount > 8) return 0;
    uint32_t most = 1u << header.bitCount;
    return header.coloursUsed == 0 || header.coloursUsed > most ? most : header.coloursUsed;
}

void PutPlainHeaders(std::string& out, const BmpHeader& header, uint32_t bitCount, uint32_t compression,
                     uint32_t paletteEntries, uint64_t pixelBytes) {
    uint32_t extra = compression == kBitfields ? 12 : 0;
    uint32_t offset = static_cast<uint32_t>(kFileHeaderSize + kInfoHeaderSize + extra + 4 * paletteEntries);
    out.reserve(offset + pixelBytes);
    out += "BM";
    Put32(out, static_cast<uint32_t>(offset + pixelBytes));
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, kInfoHeaderSize);
    Put32(out, static_cast<uint32_t>(header.width));
    Put32(out, static_cast<uint32_t>(static_cast<int32_t>(header.height)));
    Put16(out, 1);
    Put16(out, bitCount);
    Put32(out, compression);
    Put32(out, static_cast<uint32_t>(pixelBytes));
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, paletteEntries);
    Put32(out, 0);
    if (compression == kBitfields)
        for (int i = 0; i < 3; ++i) Put32(out, header.masks[i]);
}

void PutPalette(std::string& out, const std::string& file, const BmpHeader& header) {
    size_t at = kFileHeaderSize + header.headerSize;
    if (header.compression == kBitfields && header.headerSize == 40) at += 12;
    for (uint32_t i = 0; i < PaletteEntries(header); ++i, at += 4)
        for (int c = 0; c < 4; ++c) out += at + c < header.pixelOffset ? file[at + c] : '\0';
}

// RLE streams decoded into plain rows of the same depth; runs past a row's end are clipped. When
// delta codes or an early end leave pixels unset, those pixels are transparent, as other readers
// show them, so the rows become 32-bit BGRA instead.
std::string DecodeRle(const std::string& file, const BmpHeader& header) {
    const uint64_t width = static_cast<uint64_t>(header.width);
    const uint64_t rows = static_cast<uint64_t>(header.height);
    const bool four = header.compression == kRle4;
    std::vector<uint8_t> indices(width * rows, 0);
    std::vector<bool> set(width * rows, false);
    uint64_t x = 0, y = 0, setCount = 0;
    auto put = [&](uint8_t index) {
        if (x < width && y < rows) {
            indices[y * width + x] = index;
            if (!set[y * width + x]) ++setCount;
            set[y * width + x] = true;
        }
        ++x;
    };
    size_t at = header.pixelOffset;
    const size_t end = file.size();
    while (at + 1 < end && y < rows) {
        uint8_t count = file[at], value = file[at + 1];
        at += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i) put(four ? (i % 2 ? value & 0x0F : value >> 4) : value);
        } else if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (at + 1 >= end) break;
            x += static_cast<uint8_t>(file[at]);
            y += static_cast<uint8_t>(file[at + 1]);
            at += 2;
        } else {
            size_t bytes = four ? (value + 1) / 2 : value;
            for (int i = 0; i < value && at + (four ? i / 2 : i) < end; ++i) {
                uint8_t byte = file[at + (four ? i / 2 : i)];
                put(four ? (i % 2 ? byte & 0x0F : byte >> 4) : byte);
            }
            at += bytes + (bytes & 1);
        }
    }
    std::string plain;
    if (setCount < width * rows) {
        std::string palette;
        PutPalette(palette, file, header);
        PutPlainHeaders(plain, header, 32, kRgb, 0, width * 4 * rows);
        for (uint64_t i = 0; i < width * rows; ++i) {
            size_t entry = static_cast<size_t>(indices[i]) * 4;
            bool known = set[i] && entry + 3 < palette.size();
            for (int c = 0; c < 3; ++c) plain += known ? palette[entry + c] : '\0';
            plain += set[i] ? '\xFF' : '\0';
        }
        return plain;
    }
    uint64_t rowBytes = RowBytes(header.width, header.bitCount);
    PutPlainHeaders(plain, header, header.bitCount, kRgb, PaletteEntries(header), rowBytes * rows);
    PutPalette(plain, file, header);
    std::string row(rowBytes, '\0');
    for (uint64_t r = 0; r < rows; ++r) {
        const uint8_t* source = &indices[r * width];
        std::fill(row.begin(), row.end(), '\0');
        for (uint64_t i = 0; i < width; ++i) {
            if (four) row[i / 2] = static_cast<char>(row[i / 2] | (i % 2 ? source[i] : source[i] << 4));
            else row[i] = static_cast<char>(source[i]);
        }
        plain += row;
    }
    return plain;
}

uint8_t ScaleChannel(uint32_t pixel, uint32_t mask, uint8_t missing) {
    if (mask == 0) return missing;
    int shift = std::countr_zero(mask);
    uint32_t most = mask >> shift;
    return static_cast<uint8_t>(static_cast<uint64_t>((pixel & mask) >> shift) * 255 / most);
}

// Bitfield pixels become plain 32-bit BGRA, whose fourth byte FreeImage keeps as alpha.
std::string DecodeBitfields(const std::string& file, const BmpHeader& header) {
    const uint64_t width = static_cast<uint64_t>(header.width);
    const uint64_t rows = Rows(header);
    const uint64_t sourceRow = RowBytes(header.width, header.bitCount);
    std::string plain;
    PutPlainHeaders(plain, header, 32, kRgb, 0, width * 4 * rows);
    for (uint64_t r = 0; r < rows; ++r) {
        size_t at = header.pixelOffset + r * sourceRow;
        for (uint64_t i = 0; i < width; ++i) {
            uint32_t pixel = header.bitCount == 16 ? Read16(file, at + 2 * i) : Read32(file, at + 4 * i);
            plain += static_cast<char>(ScaleChannel(pixel, header.masks[2], 0));
            plain += static_cast<char>(ScaleChannel(pixel, header.masks[1], 0));
            plain += static_cast<char>(ScaleChannel(pixel, header.masks[0], 0));
            plain += static_cast<char>(ScaleChannel(pixel, header.masks[3], 255));
        }
    }
    return plain;
}

// A longer header shortened to the 40-byte one; palette, masks and rows are kept as they are.
std::string ShortenHeader(const std::string& file, const BmpHeader& header) {
    uint64_t rows = Rows(header);
    uint64_t pixelBytes = RowBytes(header.width, header.bitCount) * rows;
    uint64_t available = file.size() - header.pixelOffset;
    std::string plain;
    PutPlainHeaders(plain, header, header.bitCount, header.compression, PaletteEntries(header), pixelBytes);
    PutPalette(plain, file, header);
    plain.append(file, header.pixelOffset, std::min(pixelBytes, available));
    plain.resize(plain.size() + (pixelBytes - std::min(pixelBytes, available)), '\0');
    return plain;
}

FIBITMAP* LoadFromMemory(std::string& plain) {
    FIMEMORY* memory = FreeImage_OpenMemory(reinterpret_cast<BYTE*>(plain.data()), static_cast<DWORD>(plain.size()));
    if (!memory) return nullptr;
    FIBITMAP* image = FreeImage_LoadFromMemory(FIF_BMP, memory, 0);
    FreeImage_CloseMemory(memory);
    return image;
}

// Writers that leave the fourth byte unused fill it with 0; read as alpha that hides the picture.
void MakeOpaqueWhenAlphaIsUnused(FIBITMAP* image) {
    if (FreeImage_GetBPP(image) != 32 || FreeImage_GetImageType(image) != FIT_BITMAP) return;
    unsigned width = FreeImage_GetWidth(image), height = FreeImage_GetHeight(image);
    for (unsigned y = 0; y < height; ++y) {
        const BYTE* line = FreeImage_GetScanLine(image, y);
        for (unsigned x = 0; x < width; ++x)
            if (line[4 * x + FI_RGBA_ALPHA] != 0) return;
    }
    for (unsigned y = 0; y < height; ++y) {
        BYTE* line = FreeImage_GetScanLine(image, y);
        for (unsigned x = 0; x < width; ++x) line[4 * x + FI_RGBA_ALPHA] = 255;
    }
}

}  // namespace

FIBITMAP* LoadBmpImage(const std::string& path) {
    int64_t size = FileSize(path);
    if (size <= 0) return nullptr;
    std::string probe;
    BmpHeader header;
    if (!ReadFileStart(path, kHeaderProbeSize, &probe) || !ParseHeader(probe, static_cast<uint64_t>(size), &header))
        return nullptr;

    FIBITMAP* image = nullptr;
    if (NeedsRewrite(header)) {
        std::string file;
        if (!ReadFileStart(path, static_cast<size_t>(size), &file) || file.size() != static_cast<uint64_t>(size))
            return nullptr;
        std::string plain = header.compression == kRle8 || header.compression == kRle4 ? DecodeRle(file, header)
                            : DecodesBitfieldsHere(header)                              ? DecodeBitfields(file, header)
                                                                                        : ShortenHeader(file, header);
        file.clear();
        file.shrink_to_fit();
        image = LoadFromMemory(plain);
    } else {
        image = FreeImage_Load(FIF_BMP, path.c_str(), 0);
    }
    if (!image) return nullptr;
    if (FreeImage_GetWidth(image) != header.width || FreeImage_GetHeight(image) != Rows(header)) {
        FreeImage_Unload(image);
        return nullptr;
    }
    if (header.bitCount == 32 && !HasAlphaMask(header)) MakeOpaqueWhenAlphaIsUnused(image);
    return image;
}
