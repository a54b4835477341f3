// The image types the code base knows, and what this product accepts. No window code here.
#pragma once
#include <functional>
#include <map>
#include <string>
#include <vector>

struct InputFormatEntry {
    std::string canonical;  // extension of the type's main entry
    std::string description;
};
struct OutputFormatEntry {
    std::string description;
    std::string depths;  // bits per pixel, ascending, separated by ","
};

// Keyed by lower-case extension without the dot. The input catalogue iterates in descending key
// order: that order gives the accepted extensions and the dialog's all-types pattern their
// established order ("rle", "dib", "bmp").
extern std::map<std::string, InputFormatEntry, std::greater<>> InputFormatCatalogue;
extern std::map<std::string, OutputFormatEntry> OutputFormatCatalogue;
extern std::vector<std::string> AcceptedInputExtensions;

void BuildFormatCatalogues();
// Every catalogue extension whose type is an offered input format, in catalogue order.
void BuildAcceptedInputExtensions();
// The Add Input File dialog's "label|pattern|..." text.
std::string BuildInputFilePattern();
// A dialog pattern as GTK's file chooser must be given it: it matches letters case-sensitively and
// "*.*" literally, where the dialog's patterns mean either case and every file. Labels stay.
std::string FileChooserPattern(const std::string& dialogPattern);

// Empty when the extension is not in the catalogue.
std::string InputFormatDescription(const std::string& extension);
std::string OutputFormatDescription(const std::string& extension);
// The depth list text of an output format, e.g. "32"; empty when unknown.
std::string OutputFormatDepths(const std::string& extension);
// The same list as numbers, in order; empty when unknown.
std::vector<int> OutputFormatDepthList(const std::string& extension);
