// The mipmap chain: ILU builds its structure, every level below the top is then refilled with a
// 2 x 2 box average of the level above. ILU's own levels are point-sampled, which makes fine
// detail shimmer or vanish (a one-pixel checkerboard turns black).
#include <IL/il.h>
#include <IL/ilu.h>

#include <cstdint>

#include "engine/pipeline.h"

namespace {

struct Level {
    const uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
};

// Source columns (or rows) that make up target column i: two, three for the last target of an
// odd-sized source so no edge pixel is dropped, one when the source is a single pixel wide.
void SourceSpan(int i, int target, int source, int* first, int* count) {
    if (source == 1) {
        *first = 0;
        *count = 1;
        return;
    }
    *first = 2 * i;
    *count = (i == target - 1 && source % 2 == 1) ? 3 : 2;
}

void BoxAverage(const Level& above, uint8_t* target, int width, int height) {
    const int rowBytes = above.width * 4;
    for (int y = 0; y < height; ++y) {
        int firstRow, rowCount;
        SourceSpan(y, height, above.height, &firstRow, &rowCount);
        for (int x = 0; x < width; ++x) {
            int firstColumn, columnCount;
            SourceSpan(x, width, above.width, &firstColumn, &columnCount);
            unsigned sum[4] = {0, 0, 0, 0};
            for (int r = firstRow; r < firstRow + rowCount; ++r) {
                const uint8_t* pixel = above.pixels + static_cast<size_t>(r) * rowBytes + firstColumn * 4;
                for (int c = 0; c < columnCount; ++c, pixel += 4)
                    for (int channel = 0; channel < 4; ++channel) sum[channel] += pixel[channel];
            }
            const unsigned n = static_cast<unsigned>(rowCount * columnCount);
            uint8_t* out = target + (static_cast<size_t>(y) * width + x) * 4;
            for (int channel = 0; channel < 4; ++channel) out[channel] = static_cast<uint8_t>((sum[channel] + n / 2) / n);
        }
    }
}

Level CurrentLevel() {
    return {ilGetData(), ilGetInteger(IL_IMAGE_WIDTH), ilGetInteger(IL_IMAGE_HEIGHT)};
}

bool IsFourByteImage() {
    return ilGetInteger(IL_IMAGE_BYTES_PER_PIXEL) == 4 && ilGetInteger(IL_IMAGE_TYPE) == IL_UNSIGNED_BYTE &&
           ilGetInteger(IL_IMAGE_DEPTH) == 1;
}

}  // namespace

bool BuildFilteredMipmaps() {
    const ILuint name = static_cast<ILuint>(ilGetInteger(IL_CUR_IMAGE));
    if (!iluBuildMipmaps()) return false;
    if (!IsFourByteImage()) return true;  // nothing this filter knows how to average: keep ILU's
    Level above = CurrentLevel();
    // ilActiveMipmap moves the binding to the level, so each level is reached from the base again.
    for (ILuint number = 1;; ++number) {
        ilBindImage(name);
        if (!ilActiveMipmap(number)) break;
        Level level = CurrentLevel();
        if (!IsFourByteImage() || !level.pixels || level.width != (above.width > 1 ? above.width / 2 : 1) ||
            level.height != (above.height > 1 ? above.height / 2 : 1))
            break;
        BoxAverage(above, ilGetData(), level.width, level.height);
        above = level;
    }
    ilBindImage(name);
    return true;
}
