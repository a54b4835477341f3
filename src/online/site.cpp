#include <cstdlib>

#include "online/online.h"

namespace {
constexpr const char* kBuiltInSite = "https://www.marrowfen.example";
}  // namespace

std::string SiteAddress() {
    // Tests and mirrors point the program at another server without rebuilding it.
    const char* override = std::getenv("KESTRIX_SITE");
    std::string site = override && *override ? override : kBuiltInSite;
    while (!site.empty() && site.back() == '/') site.pop_back();
    return site;
}

std::string HomePageAddress() { return SiteAddress() + "/kestrix/"; }

std::string UpdateFileAddress() { return SiteAddress() + "/files/kestrix.dat"; }

std::string UninstallPageAddress() { return SiteAddress() + "/kestrix/uninstall.html"; }

std::string ConverterFinderAddress(const std::string& from, const std::string& to) {
    return SiteAddress() + "/find/" + from + "-" + to + "/";
}

std::string SupportAddress() {
    UrlParts parts;
    std::string host = SplitUrl(SiteAddress(), &parts) ? parts.host : std::string("marrowfen.example");
    if (host.rfind("www.", 0) == 0) host.erase(0, 4);
    return "support@" + host;
}
