// One input file becomes one DDS file.
#pragma once
#include <FreeImage.h>

#include <string>

bool ConvertCurrentFile();
int DepthForSource(const std::string& outputFormat, int sourceBitDepth);
// An automatic depth becomes the one the output format gives the source's depth; a chosen one stays.
void ChooseOutputDepth();
FIBITMAP* ConvertToOutputDepth(FIBITMAP* image);

// --- the steps ConvertCurrentFile is made of ---

// Largest width or height of a picture, as loaded and after every step that can grow it
// (rotation, resize): the largest texture graphics hardware takes. Bigger sizes fail the file
// before their pixel memory is allocated. It is the only size limit: at most 16384 x 16384 pixels.
constexpr int kMaxPictureSide = 16384;

// Reads and checks the BMP header, then loads the picture with FreeImage: valid variants the
// library mishandles (V4/V5 and 52/56-byte headers, RLE4/RLE8, alpha bitfields) are rewritten in
// memory into the plain form first (32-bit bitfields in another byte order and 16-bit ones with
// masks other than 5-6-5 and 5-5-5 too, and pixels an RLE stream leaves unset become transparent);
// every other file is loaded from its path. A 32-bit file without an alpha mask whose fourth byte
// is 0 everywhere comes back opaque. nullptr on failure.
FIBITMAP* LoadBmpImage(const std::string& path);

// Builds the mipmap chain of the bound DevIL image (BGRA, 8 bits a channel) with ILU and replaces
// every level below the top with a 2 x 2 box average of the level above. False when ILU fails.
bool BuildFilteredMipmaps();

// Writes the bound DevIL image as DDS under temporaryPath and, once it is complete on disk and
// the pause gate is open, moves it to outputPath, replacing a file there (never a folder). Refuses
// an outputPath that is the input file itself. On any failure (a full disk included) nothing is
// left at temporaryPath and an existing output file is unchanged.
bool WriteDdsFile(const std::string& temporaryPath, const std::string& outputPath, const std::string& inputPath);
