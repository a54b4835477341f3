#include "app/settings.h"
#include "online/online.h"

std::string KeepAlnum(const std::string& text) {
    std::string kept;
    for (char c : text)
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) kept += c;
    return kept;
}

std::string SearchExtension(const std::string& fieldText) {
    // Characters, not bytes: a cut inside a UTF-8 sequence would count one letter as several.
    std::string cut;
    int characters = 0;
    for (size_t i = 0; i < fieldText.size(); ++i) {
        bool starts = (static_cast<unsigned char>(fieldText[i]) & 0xC0) != 0x80;
        if (starts && ++characters > 12) break;
        cut += fieldText[i];
    }
    return KeepAlnum(LowerAscii(cut));
}
