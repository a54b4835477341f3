// The Linux side of the system facilities the program needs. No business rules here.
#pragma once
#include <atomic>
#include <cstdint>
#include <string>

// --- program and folders ---
std::string ProgramPath();    // full path of the running executable
std::string ProgramFolder();  // its folder, ending with "/"
std::string AppDataFolder();  // $XDG_CONFIG_HOME, else $HOME/.config (no trailing "/")
// Creates the folder and any missing folder above it (new ones 0700); true when it exists afterwards.
bool CreateFolder(const std::string& path);

// --- files ---
constexpr int64_t kFileMissing = -1;
constexpr int64_t kFileIsFolder = -2;
constexpr int64_t kFileIsOther = -3;  // device, fifo, socket
int64_t FileSize(const std::string& path);  // bytes, or one of the kFile* values
bool IsFolder(const std::string& path);
bool DeleteFile(const std::string& path);  // also when read-only
// Moves `from` over `to`, replacing a regular file there; never touches a folder at `to`.
bool ReplaceFile(const std::string& from, const std::string& to);
bool FileModifiedTime(const std::string& path, int64_t* secondsSince1970);  // system time
bool SetFileModifiedTime(const std::string& path, int64_t secondsSince1970);
// At most `limit` bytes from the start of a regular file; false for anything else (a fifo is
// never waited on) or when a read fails.
bool ReadFileStart(const std::string& path, std::string* data, size_t limit);
// The whole of anything that is not a folder, pipes and devices included (opening a named pipe
// waits for its writer). False when it cannot be opened or read, or holds more than `limit`
// bytes: nothing of such a file is kept.
bool ReadWholeFile(const std::string& path, std::string* data, size_t limit);
// Creates `path` (never replacing anything there) holding `data`, every write checked and the
// file flushed to the disk. On any failure, or once *cancel turns true, the file is removed and
// the result is false.
bool WriteNewFile(const std::string& path, const std::string& data, const std::atomic<bool>* cancel);
// Writes a new file beside `path` and renames it over it; false, with nothing written, when
// something other than a regular file is at `path`.
bool WriteFileAtomically(const std::string& path, const std::string& data);
std::string FolderPart(const std::string& path);  // up to and including the last "/"
std::string FileNamePart(const std::string& path);
std::string ExtensionPart(const std::string& path);  // after the last "." of the name, or ""

// --- clock and random numbers ---
int64_t MillisecondsSinceStart();
int32_t NowLocalDate();  // seconds since 1970 counted in local time
int64_t LocalDateToSystemTime(int32_t localDate);
int32_t SystemTimeToLocalDate(int64_t systemTime);
int RandomInt(int low, int high);  // inclusive, thread-safe

// --- console ---
void ConsoleLine(const std::string& line);       // standard output, LF
void ConsoleErrorLine(const std::string& line);  // standard error, LF
void SetConsoleTitle(const std::string& title);  // only on a terminal
bool ConsoleIsTerminal();
// One key without echo, a whole escape sequence for keys that send one; returns at once
// without a terminal.
void WaitForKey();
void RestoreTerminal();  // as WaitForKey found it; does nothing when it changed nothing

// --- console mode's signals ---
// Writes to a closed pipe or past the file size limit fail instead of ending the process, and a
// closed standard stream is held by /dev/null so that no file takes its number.
void PrepareConsoleStreams();
// From now on SIGINT, SIGTERM, SIGHUP and SIGQUIT restore the terminal and run the stop cleanup
// (on a thread of their own, so it may wait for a lock) before they end the process as usual.
// Call before any other thread is started. Signals the process was started ignoring stay ignored.
void HoldStopSignals();
using StopCleanup = void (*)();
void SetStopCleanup(StopCleanup run);

// --- single-instance lock ---
constexpr int kLockHeld = -1;    // another process holds the lock
constexpr int kLockFailed = -2;  // no lock file could be made or locked; *error says why
// In $XDG_RUNTIME_DIR, else (missing, or unusable there) the per-user lock in /tmp. A descriptor,
// or one of the values above.
int AcquireInstanceLock(const std::string& name, std::string* error);
void ReleaseInstanceLock(int handle);

// --- the system's open action ---
void OpenDocument(const std::string& target);  // detached, never waited for, failures silent
