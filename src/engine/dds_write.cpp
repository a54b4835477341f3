// Writing the DDS file so that the user never loses a file: the old output stays until the new
// one is complete on disk, a folder is never touched, and the input can never be overwritten.
#include <IL/il.h>

#include <atomic>
#include <climits>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <new>
#include <string>
#include <system_error>

#include "engine/conversion_run.h"
#include "engine/pipeline.h"
#include "platform/platform.h"

namespace {

bool IsSameFile(const std::string& first, const std::string& second) {
    if (first == second) return true;
    std::error_code error;
    return std::filesystem::equivalent(first, second, error) && !error;
}

// DevIL's own file writer reports success after a short write (a full disk, a size limit), so it
// writes into memory instead and the file is written here with every write checked.
struct MemorySink {
    std::string bytes;
    size_t at = 0;
    bool failed = false;
};
MemorySink* sink = nullptr;  // the one being written; DevIL is driven by one thread at a time

bool Put(ILHANDLE handle, const void* data, size_t length) {
    auto* target = static_cast<MemorySink*>(handle);
    if (target->failed || target->at + length > static_cast<size_t>(INT_MAX)) return !(target->failed = true);
    try {
        if (target->at + length > target->bytes.size()) target->bytes.resize(target->at + length);
    } catch (const std::bad_alloc&) {
        return !(target->failed = true);
    }
    if (length > 0) std::memcpy(target->bytes.data() + target->at, data, length);
    target->at += length;
    return true;
}

ILHANDLE ILAPIENTRY OpenSink(ILconst_string) { return sink; }
void ILAPIENTRY CloseSink(ILHANDLE) {}
ILint ILAPIENTRY PutSink(ILubyte byte, ILHANDLE handle) { return Put(handle, &byte, 1) ? byte : IL_EOF; }
ILint ILAPIENTRY WriteSink(const void* data, ILuint size, ILuint count, ILHANDLE handle) {
    return Put(handle, data, static_cast<size_t>(size) * count) ? static_cast<ILint>(count) : 0;
}
ILint ILAPIENTRY TellSink(ILHANDLE handle) { return static_cast<ILint>(static_cast<MemorySink*>(handle)->at); }
ILint ILAPIENTRY SeekSink(ILHANDLE handle, ILint offset, ILint origin) {
    auto* target = static_cast<MemorySink*>(handle);
    const int64_t base = origin == IL_SEEK_CUR ? static_cast<int64_t>(target->at)
                         : origin == IL_SEEK_END ? static_cast<int64_t>(target->bytes.size())
                                                 : 0;
    if (base + offset < 0 || base + offset > INT_MAX) return -1;
    target->at = static_cast<size_t>(base + offset);
    return 0;
}

// The bound DevIL image as the bytes of a DDS file.
bool SaveDdsInMemory(std::string* bytes) {
    MemorySink memory;
    const size_t pixels = static_cast<size_t>(ilGetInteger(IL_IMAGE_WIDTH)) * ilGetInteger(IL_IMAGE_HEIGHT);
    try {
        memory.bytes.reserve(pixels * 2 / 3 + 4096);  // DevIL's DXT1 chain, so it never grows by copying
    } catch (const std::bad_alloc&) {
        return false;
    }
    sink = &memory;
    ilSetWrite(OpenSink, CloseSink, PutSink, SeekSink, TellSink, WriteSink);
    ilEnable(IL_FILE_OVERWRITE);
    const bool saved = ilSave(IL_DDS, "memory.dds") == IL_TRUE;
    ilResetWrite();
    sink = nullptr;
    if (!saved || memory.failed || memory.bytes.compare(0, 4, "DDS ") != 0) return false;
    *bytes = std::move(memory.bytes);
    return true;
}

// A DDS file is on disk under its temporary name only while this is held.
std::mutex diskWrite;
std::atomic<bool> abandoned{false};

}  // namespace

bool WriteDdsFile(const std::string& temporaryPath, const std::string& outputPath, const std::string& inputPath) {
    if (temporaryPath.empty() || outputPath.empty() || IsSameFile(outputPath, inputPath)) return false;
    int64_t existing = FileSize(outputPath);
    if (existing == kFileIsFolder || existing == kFileIsOther) return false;

    std::string bytes;
    if (!SaveDdsInMemory(&bytes)) return false;
    std::lock_guard<std::mutex> hold(diskWrite);
    if (abandoned) return false;
    // Complete and flushed before it replaces anything; a failed or abandoned write removes itself.
    if (!WriteNewFile(temporaryPath, bytes, &abandoned)) return false;
    // The file appears under its name only past the pause gate: while the window asks whether to
    // break the run, no file finishes. (Only the window closes the gate; an abandoning console
    // signal never waits on it.)
    PassPauseGate();
    if (!abandoned && ReplaceFile(temporaryPath, outputPath)) return true;
    DeleteFile(temporaryPath);
    return false;
}

void AbandonOutputWrites() {
    abandoned = true;
    // Waits for a write under way to notice and remove its file.
    std::lock_guard<std::mutex> hold(diskWrite);
}
