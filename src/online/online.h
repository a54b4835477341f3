// The vendor's web site, the update check's HTTP exchange and its rules, the converter search pair
// and JPEG pictures. No window code here: the windows of this subsystem live in online/window.
#pragma once
#include <cstdint>
#include <string>

// --- the vendor's addresses: all derive from one base, which $KESTRIX_SITE replaces ---
std::string SiteAddress();          // the base, without a trailing "/"
std::string HomePageAddress();      // base + "/kestrix/"
std::string UpdateFileAddress();    // base + "/files/kestrix.dat"
std::string UninstallPageAddress(); // base + "/kestrix/uninstall.html"
std::string ConverterFinderAddress(const std::string& from, const std::string& to);  // base + "/find/from-to/"
std::string SupportAddress();       // "support@" + the base's host without "www."

// --- HTTP ---
struct UrlParts {
    std::string host;  // without brackets for an IPv6 literal
    int port = 80;
    std::string path;  // begins with "/"
};
// Splits a URL into host, port (80 when it has none, whatever the scheme) and path. False for a URL
// without a host, with a port outside 1..65535, or with blanks or control characters in it.
bool SplitUrl(const std::string& url, UrlParts* parts);

constexpr int kHttpTimeoutMilliseconds = 10000;
constexpr size_t kHttpBufferSize = 2048;
// One HTTP/1.0 GET: the first three characters of the response body, trimmed; "" when anything fails
// (no host, no connection, no answer within the time limit, an error status, no blank line).
std::string HttpGet(const std::string& url, const std::string& userAgent);
// What HttpGet makes of the bytes received: the body between the first blank line and the next, or
// "" for a non-2xx status line or a reply without a blank line.
std::string HttpAnswerFromReply(const std::string& reply);

// --- update rules ---
enum class UpdateVerdict { ConnectionProblem, NoUpdate, NewVersion };
// The answer's leading number, read as integer settings are ("$" hex, "%" binary), against 290.
UpdateVerdict JudgeUpdateAnswer(const std::string& answer);
// Days between scheduled checks for [General] Update Range; -1 for 5 (never).
int UpdateIntervalDays(int32_t range);
// True when `now` is later than `lastCheck` plus the range's days (both local-time dates).
bool UpdateCheckIsDue(int32_t range, int64_t lastCheck, int64_t now);

// --- converter search ---
// The text with only ASCII letters and digits kept.
std::string KeepAlnum(const std::string& text);
// A field's text as the finder takes it: the first 12 characters, lower-cased, then cleaned.
std::string SearchExtension(const std::string& fieldText);

// --- pictures ---
// Writes 8-bit RGB rows as a baseline JPEG; false (and no file) when encoding or writing fails.
bool WriteJpegFile(const std::string& path, const unsigned char* rgb, int width, int height, int quality);
