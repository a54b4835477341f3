#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <iterator>
#include <vector>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

#include "online/online.h"
#include "platform/platform.h"

namespace {
struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf escape;
};

// Collects the encoded bytes in a vector the caller owns, so an error leaves nothing to free here.
struct VectorDestination {
    jpeg_destination_mgr manager;
    std::vector<unsigned char>* bytes;
    unsigned char chunk[4096];
};

void StartChunk(j_compress_ptr info) {
    auto* destination = reinterpret_cast<VectorDestination*>(info->dest);
    destination->manager.next_output_byte = destination->chunk;
    destination->manager.free_in_buffer = sizeof destination->chunk;
}

boolean KeepFullChunk(j_compress_ptr info) {
    auto* destination = reinterpret_cast<VectorDestination*>(info->dest);
    destination->bytes->insert(destination->bytes->end(), destination->chunk, std::end(destination->chunk));
    StartChunk(info);
    return TRUE;
}

void KeepLastChunk(j_compress_ptr info) {
    auto* destination = reinterpret_cast<VectorDestination*>(info->dest);
    size_t used = sizeof destination->chunk - destination->manager.free_in_buffer;
    destination->bytes->insert(destination->bytes->end(), destination->chunk, destination->chunk + used);
}

// libjpeg's own handler ends the process; ours returns to the caller instead.
void LeaveOnError(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegError*>(info->err)->escape, 1); }

// Encodes into memory. No C++ object lives across the jump, so nothing is skipped on the way out.
bool EncodeJpeg(const unsigned char* rgb, int width, int height, int quality, std::vector<unsigned char>* bytes) {
    jpeg_compress_struct info;
    JpegError error;
    VectorDestination destination;
    destination.bytes = bytes;
    destination.manager.init_destination = StartChunk;
    destination.manager.empty_output_buffer = KeepFullChunk;
    destination.manager.term_destination = KeepLastChunk;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = LeaveOnError;
    if (setjmp(error.escape)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    info.dest = &destination.manager;
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb + static_cast<size_t>(info.next_scanline) * width * 3);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}
}  // namespace

bool WriteJpegFile(const std::string& path, const unsigned char* rgb, int width, int height, int quality) {
    if (!rgb || width <= 0 || height <= 0 || width > JPEG_MAX_DIMENSION || height > JPEG_MAX_DIMENSION) return false;
    std::vector<unsigned char> bytes;
    if (!EncodeJpeg(rgb, width, height, quality, &bytes)) return false;
    // Written whole or not at all: a half-written picture is worse than none.
    return WriteFileAtomically(path, std::string(bytes.begin(), bytes.end()));
}
