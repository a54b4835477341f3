// Runs the real kestrix and compares standard output, standard error and the exit status.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <dirent.h>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/settings.h"
#include "cli/console_job.h"
#include "support/test_support.h"
#include "ui/catalogues.h"

namespace {
const std::string kBanner =
    "Quarvel 2.9\n"
    "BMP to DDS texture converter\n"
    "https://www.marrowfen.example/kestrix/\n"
    " \n";
const std::string kConverted =
    "Preparing...\n"
    "Importing...\n"
    "Import complete, new files added: 1\n"
    "Converting...\n"
    "Conversion complete\n"
    "Files converted: 1 of 1\n";
const std::string kNothingImported =
    "Preparing...\n"
    "Importing...\n"
    "Import complete, new files added: 0\n"
    "Conversion stopped\n"
    "No input file(s) found. Please, add valid file(s) and try again!\n";
const std::string kHelp =
    " \n"
    "Usage: kestrix -i <filename> [options]\n"
    " \n"
    "  kestrix -i example.bmp\n"
    "  kestrix -i /tmp/example.bmp\n"
    "  kestrix -i /tmp/example.bmp -o ~/converted\n"
    "  kestrix -i /tmp/example.bmp -o ~/converted --jpg-quality=95\n"
    " \n"
    "Options:\n"
    " \n"
    "  -h, -?, --help            Display this help and exit\n"
    "  -i FILE, --input=FILE     Set input file\n"
    "  -o PATH, --output=PATH    Set output folder\n"
    "  -c STR, --conversion=STR  Set output extension, STR = (jpg | bmp | ...)\n"
    " \n"
    "Advanced options:\n"
    " \n"
    "  --width=NUM               Set output image width\n"
    "  --height=NUM              Set output image height\n"
    "  --filename-mask=STR       Define output filename format\n"
    "  --flip-horizontal         Flip output image horizontally\n"
    "  --flip-vertical           Flip output image vertically\n"
    "  --brightness=NUM          Set output image brightness, NUM = -100..100\n"
    "  --contrast=NUM            Set output image contrast, NUM = -100..100\n"
    "  --gamma=NUM               Set output image gamma, NUM = 0.01..9.99\n"
    "  --invert                  Invert output image\n"
    "  --greyscale               Greyscale output image\n"
    "  --profile=FILE            Set configuration file with required settings\n"
    "    ...                     Refer documentation for all available options\n"
    " \n"
    "Other options:\n"
    " \n"
    "  -q, --quiet               Don't print status messages to stdout\n"
    "  -d, --debug               Print debug information to stdout\n"
    "  -p, --pause               Pause at exit\n"
    "  -v, --version             Display version information and exit\n";

void Put16(std::string& s, uint16_t v) { s += char(v & 255), s += char(v >> 8); }
void Put32(std::string& s, uint32_t v) { Put16(s, uint16_t(v & 0xFFFF)), Put16(s, uint16_t(v >> 16)); }

// A small 24-bit bottom-up BMP with a colour gradient.
std::string SmallBmp(int width, int height) {
    int pitch = (width * 3 + 3) & ~3;
    std::string bmp = "BM";
    Put32(bmp, uint32_t(54 + pitch * height)), Put32(bmp, 0), Put32(bmp, 54);
    Put32(bmp, 40), Put32(bmp, uint32_t(width)), Put32(bmp, uint32_t(height));
    Put16(bmp, 1), Put16(bmp, 24), Put32(bmp, 0), Put32(bmp, uint32_t(pitch * height));
    Put32(bmp, 2835), Put32(bmp, 2835), Put32(bmp, 0), Put32(bmp, 0);
    for (int y = 0; y < height; ++y) {
        std::string row;
        for (int x = 0; x < width; ++x) row += char(x * 20), row += char(y * 20), row += char(128);
        row.resize(size_t(pitch), '\0');
        bmp += row;
    }
    return bmp;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

int CountFiles(const std::string& folder) {
    int count = 0;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir))
            if (entry->d_name[0] != '.') ++count;
        closedir(dir);
    }
    return count;
}

std::string ProgramFolder() {
    std::string path = QUARVEL_KESTRIX;
    return path.substr(0, path.rfind('/') + 1);
}

bool HasTemporaryFile(const std::string& folder) {
    bool found = false;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir))
            if (std::string(entry->d_name).rfind("kestrix", 0) == 0) found = true;
        closedir(dir);
    }
    return found;
}

// Polls until the condition holds; false when it never did within the time.
bool WaitFor(const std::function<bool()>& condition, int seconds = 60) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// Starts kestrix with the arguments, after `wrapper` when given; `prepare` runs in the child just
// before the program starts. Signals the test runner may have ignored or blocked act as usual.
pid_t StartKestrix(const std::vector<std::string>& arguments, const std::function<void()>& prepare = nullptr,
                   const std::vector<std::string>& wrapper = {}) {
    std::vector<std::string> words = wrapper;
    words.push_back(QUARVEL_KESTRIX);
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t child = fork();
    if (child == 0) {
        for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE, SIGXFSZ}) ::signal(signal, SIG_DFL);
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        if (prepare) prepare();
        execvp(argv[0], argv.data());
        _exit(127);
    }
    return child;
}

int WaitStatus(pid_t child) {
    int status = -1;
    waitpid(child, &status, 0);
    return status;
}

class ConsoleTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = ScratchFolder("console");
        WriteFileText(dir_ + "img.bmp", SmallBmp(8, 8));
        WriteFileText(dir_ + "broken.bmp", "BM this is not a bitmap at all");
        WriteFileText(dir_ + "empty.bmp", "");
        WriteFileText(dir_ + "noext", SmallBmp(2, 2));
        WriteFileText(dir_ + "dot.", SmallBmp(2, 2));
        WriteFileText(dir_ + "list.txt", dir_ + "img.bmp\n");
        WriteFileText(dir_ + "list.LST", dir_ + "img.bmp\n");
        WriteFileText(dir_ + "photo.jpg", SmallBmp(2, 2));
        WriteFileText(dir_ + "comma.ini", "[CLI]\n--GAMMA=1,5\n");
        mkdir((dir_ + "folder.bmp").c_str(), 0755);
        mkfifo((dir_ + "pipe.bmp").c_str(), 0644);
        (void)!symlink("/dev/zero", (dir_ + "device.bmp").c_str());
    }

    // Runs kestrix with the arguments ("{dir}" is the scratch folder) from the given folder.
    CommandResult Kestrix(const std::string& arguments, const std::string& cwd = "") {
        std::string line = std::string("'") + QUARVEL_KESTRIX + "' " + Replace(arguments, "{dir}", dir_);
        return RunCommand("cd '" + (cwd.empty() ? dir_ : cwd) + "' && timeout 60 " + line);
    }

    static std::string dir_;
};
std::string ConsoleTest::dir_;

struct Case {
    const char* arguments;
    std::string out;
    std::string err;
    int status;
    bool writes = false;  // a DDS file appears in {dir}out/
};

TEST_F(ConsoleTest, LinesStreamsAndExitStatus) {
    const std::string failed = kBanner + "Preparing...\n";
    const std::string converted = kBanner + kConverted;
    const Case cases[] = {
        {"-V", "2.9\n", "", 0},
        {"--version", "2.9\n", "", 0},
        {"-h", kHelp, "", 0},
        {"-?", kHelp, "", 0},
        {"--HELP=x", kHelp, "", 0},
        {"-i {dir}noext -h", failed, "Error: Invalid input file\n", 1},
        {"-i", "", "Error: Incorrect number of parameters\n", 2},
        {"-q -i", "", "Error: Incorrect number of parameters\n", 2},
        {"-p --profile={dir}nosuch.ini", "", "Error: Invalid profile file\n", 2},
        {"-p -i {dir}missing.bmp", failed + "Press any key to exit.\n", "Error: Invalid input file\n", 1},
        {"-i {dir}img.bmp -o {dir}out", converted, "", 0, true},
        {"-q -i {dir}img.bmp -o {dir}out", "", "", 0, true},
        {"-q -i {dir}broken.bmp -o {dir}out", "Conversion stopped\n", "", 1},
        {"-q -i {dir}missing.bmp", "", "Error: Invalid input file\n", 1},
        {"-i {dir}img.bmp -o {dir}out -c DDS", failed, "Error: Invalid conversion type\n", 1},
        {"-i {dir}img.bmp -o {dir}out -c dds", converted, "", 0, true},
        {"-i {dir}img.bmp -o {dir}out --DDS-BPP=24", failed, "Error: Invalid dds-bpp value\n", 1},
        {"-i {dir}img.bmp -o {dir}out --dds-bpp=32", converted, "", 0, true},
        {"-i {dir}img.bmp -o {dir}out --WIDTH=800", failed, "Error: Invalid height value\n", 1},
        {"-i {dir}img.bmp -o {dir}out --height=8", failed, "Error: Invalid width value\n", 1},
        {"-i {dir}img.bmp -o {dir}out --gamma=0.01", converted, "", 0, true},
        {"-i {dir}img.bmp -o {dir}out --gamma=9.99", converted, "", 0, true},
        {"-i {dir}img.bmp -o {dir}out --gamma=0", failed, "Error: Invalid gamma value\n", 1},
        {"-i {dir}img.bmp -o {dir}out --gamma=10", failed, "Error: Invalid gamma value\n", 1},
        {"-i {dir}img.bmp -o {dir}out --gamma=nan", failed, "Error: Invalid gamma value\n", 1},
        {"-i {dir}img.bmp -o {dir}out --gamma=1,5", failed, "Error: Invalid gamma value\n", 1},
        {"-i {dir}img.bmp -o {dir}out --gamma=2x", failed, "Error: Invalid gamma value\n", 1},
        {"-i {dir}img.bmp -o {dir}out --profile={dir}comma.ini", failed, "Error: Invalid gamma value\n", 1},
        {"-i {dir}img.bmp -o {dir}out --brightness=-100", converted, "", 0, true},
        {"-i {dir}img.bmp -o {dir}out --brightness=100", converted, "", 0, true},
        {"-i {dir}img.bmp -o {dir}out --brightness=101", failed, "Error: Invalid brightness value\n", 1},
        {"-i {dir}img.bmp -o {dir}out --contrast=-101", failed, "Error: Invalid contrast value\n", 1},
        {"-i {dir}img.bmp -o ../out", failed, "Error: Incorrect output folder\n", 1},
        {"-i {dir}img.bmp -o {dir}out/../out", converted, "", 0, true},
        {"-i {dir}img.bmp -o {dir}nosuch", failed, "Error: Invalid output folder\n", 1},
        // Relative folders are taken from the program's folder, not from the current one.
        {"-i {dir}img.bmp -o out", failed, "Error: Invalid output folder\n", 1},
        {"-i {dir}img.bmp -o ./out", failed, "Error: Invalid output folder\n", 1},
        {"-i {dir}list.txt -o {dir}out", kBanner + kNothingImported, "", 1},
        {"-i {dir}list.LST -o {dir}out", kBanner + kNothingImported, "", 1},
        {"-i {dir}photo.jpg -o {dir}out", kBanner + kNothingImported, "", 1},
        {"-q -i {dir}photo.jpg -o {dir}out", kNothingImported.substr(kNothingImported.find("Conversion stopped")), "",
         1},
        {"-i {dir}folder.bmp", failed, "Error: Invalid input file\n", 1},
        {"-i {dir}pipe.bmp", failed, "Error: Invalid input file\n", 1},
        {"-i {dir}device.bmp", failed, "Error: Invalid input file\n", 1},
        {"-i {dir}empty.bmp", failed, "Error: Invalid input file\n", 1},
        {"-i {dir}noext", failed, "Error: Invalid input file\n", 1},
        {"-i {dir}dot.", failed, "Error: Invalid input file\n", 1},
        {"-i {dir}missing.bmp", failed, "Error: Invalid input file\n", 1},
        {"-i {dir}img.bmp -o {dir}out --wm-text=Hi --wm-font=NoSuchFont", failed, "Error: Invalid watermark font\n", 1},
        {"-i {dir}img.bmp -o {dir}out --wm-text=Hi --wm-font-size=100000", failed, "Error: Invalid watermark font\n", 1},
        {"-i {dir}img.bmp -o {dir}out --wm-image={dir}missing.png", failed, "Error: Invalid watermark image\n", 1},
        {"-i {dir}img.bmp -o {dir}out --wm-image={dir}empty.bmp", failed, "Error: Invalid watermark image\n", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        std::string out = ScratchFolder("console/out");
        ASSERT_FALSE(out.empty());
        CommandResult result = Kestrix(c.arguments);
        EXPECT_EQ(result.out, c.out);
        EXPECT_EQ(result.err, c.err);
        EXPECT_EQ(result.exitStatus, c.status);
        EXPECT_EQ(CountFiles(out), c.writes ? 1 : 0);
        if (c.writes) {
            EXPECT_GT(ReadFileText(out + "img.dds").size(), 128u);
        }
    }
}

TEST_F(ConsoleTest, DebugLinesInOrder) {
    struct DebugCase {
        const char* arguments;
        const char* lines;  // between "Output: " and "Importing..."
        const char* name;   // of the written file
    };
    const DebugCase cases[] = {
        {"--rotation=90 --rotation-type=advanced --rotation-back-color=FF0000 --width=50 --width-unit=percent "
         "--height=40 --keep-aspect-ratio --resize-type=largeimages --resize-algorithm=lanczos --flip-horizontal "
         "--flip-vertical --brightness=-20 --contrast=30 --gamma=1.5 --invert --greyscale --threshold=128 "
         "--dither=bayer8 --fr-solid-left=1 --fr-solid-right=2 --fr-solid-top=3 --fr-solid-bottom=4 "
         "--fr-solid-left-color=FF0000 --fr-solid-right-color=00FF00 --fr-solid-top-color=0000FF "
         "--fr-solid-bottom-color=FFFFFF --fr-solid-opacity=200 '--wm-text=Hello world' --wm-font=Arial "
         "--wm-font-size=12 --wm-font-leading=2 --wm-font-color=FFFF00 --wm-font-style=bolditalic "
         "--wm-font-effect=underline --wm-text-antialiasing --wm-text-alignment=right --wm-text-padding=3 "
         "--wm-text-opacity=128 --wm-back-color=000080 --wm-back-opacity=64 --wm-text-boundary=frame "
         "--wm-text-position=topleft --wm-text-x-offset=-5 --wm-text-y-offset=7 --wm-text-rotation=45 "
         "--wm-text-size=fixed --filename-mask=tex_%filename%.%ext% --file-timestamp=custom "
         "--file-timestamp-custom=1000000000 --no-subfolders",
         "Conversion: dds\n"
         "DDS BPP: 0\n"
         "Image Rotation Type: advanced\n"
         "Image Rotation: 90\n"
         "Image Rotation Back Color: FF0000\n"
         "Width: 50 percent\n"
         "Height: 40 pixels\n"
         "Keep Aspect Ratio: 1\n"
         "Image Resize Type: largeimages\n"
         "Image Resize Algorithm: lanczos\n"
         "Flip Horizontal: 1\n"
         "Flip Vertical: 1\n"
         "Brightness: -20\n"
         "Contrast: 30\n"
         "Gamma: 1.50\n"
         "Invert: 1\n"
         "Greyscale: 1\n"
         "Image Threshold: 128\n"
         "Image Dithering Algorithm: bayer8\n"
         "Frame: solid\n"
         "Frame left: 1\n"
         "Frame right: 2\n"
         "Frame top: 3\n"
         "Frame bottom: 4\n"
         "Frame left color: FF0000\n"
         "Frame right color: 00FF00\n"
         "Frame top color: 0000FF\n"
         "Frame bottom color: FFFFFF\n"
         "Frame opacity: 200\n"
         "Watermark: text\n"
         "Watermark text: Hello world\n"
         "Watermark font: Arial\n"
         "Watermark font size: 12\n"
         "Watermark font leading: 2\n"
         "Watermark font color: FFFF00\n"
         "Watermark font style: bolditalic\n"
         "Watermark font effect: underline\n"
         "Watermark text antialiasing: 1\n"
         "Watermark text alignment: right\n"
         "Watermark text padding: 3\n"
         "Watermark text opacity: 128\n"
         "Watermark background color: 000080\n"
         "Watermark background opacity: 64\n"
         "Watermark boundary: frame\n"
         "Watermark position: topleft\n"
         "Watermark offset (x/y): -5/7\n"
         "Watermark rotation: 45\n"
         "Watermark size/mode: fixed\n"
         "Filename Mask: tex_%filename%.%ext%\n"
         "File Timestamp: custom\n"
         "Custom Timestamp: 1000000000\n"
         "Keep Subfolders: 0\n",
         "tex_img.dds"},
        {"--wm-image={dir}img.bmp --wm-image-greyscale --wm-image-opacity=100 --wm-image-boundary=image "
         "--wm-image-position=middlecenter --wm-image-x-offset=3 --wm-image-y-offset=-4 --wm-image-rotation=180",
         "Conversion: dds\n"
         "DDS BPP: 0\n"
         "Flip Horizontal: 0\n"
         "Flip Vertical: 0\n"
         "Greyscale: 0\n"
         "Frame: none\n"
         "Watermark: image\n"
         "Watermark image: {dir}img.bmp\n"
         "Watermark greyscale: 1\n"
         "Watermark opacity: 100\n"
         "Watermark boundary: image\n"
         "Watermark position: middlecenter\n"
         "Watermark offset (x/y): 3/-4\n"
         "Watermark rotation: 180\n"
         "Watermark size/mode: fixed\n"
         "Filename Mask: %filename%.%ext%\n"
         "File Timestamp: current\n"
         "Keep Subfolders: 1\n",
         "img.dds"},
    };
    for (const DebugCase& c : cases) {
        SCOPED_TRACE(c.arguments);
        std::string out = ScratchFolder("console/out");
        CommandResult result = Kestrix(std::string("-d -i {dir}img.bmp -o {dir}out ") + c.arguments);
        std::string expected = kBanner + "Preparing...\nInput: {dir}img.bmp\nOutput: {dir}out\n" + c.lines +
                               "Importing...\nImport complete, new files added: 1\nConverting...\n"
                               "Processing: {dir}img.bmp\nFile Format: BMP\n[OK] Saving As: {dir}out/" +
                               c.name + "\nConversion complete\nFiles converted: 1 of 1\n";
        EXPECT_EQ(result.out, Replace(expected, "{dir}", dir_));
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(result.exitStatus, 0);
        EXPECT_GT(ReadFileText(out + c.name).size(), 128u);
    }
}

TEST_F(ConsoleTest, PauseWaitsForAKeyOnATerminal) {
    if (system("command -v script >/dev/null 2>&1") != 0) GTEST_SKIP() << "script(1) is needed for a terminal";
    struct Pause {
        const char* arguments;
        const char* typing;  // what reaches the terminal
        int status;          // 124: still waiting when the timeout ended it
    };
    const Pause cases[] = {
        {"-p -i {dir}missing.bmp", "printf k", 1},
        {"-p --profile={dir}nosuch.ini", "printf k", 2},
        {"-p -i {dir}missing.bmp", "sleep 4", 124},
    };
    for (const Pause& c : cases) {
        SCOPED_TRACE(c.arguments);
        std::string line = std::string("'") + QUARVEL_KESTRIX + "' " + Replace(c.arguments, "{dir}", dir_);
        CommandResult result =
            RunCommand(std::string(c.typing) + " | timeout 2 script -qec \"" + line + "\" /dev/null");
        EXPECT_EQ(result.exitStatus, c.status);
        if (c.status == 1) {
            EXPECT_NE(result.out.find("Press any key to exit."), std::string::npos);
        }
    }
}

TEST_F(ConsoleTest, OptionsWithoutInputLeaveTheConsoleSilent) {
    std::string out = ScratchFolder("console/out");
    // Window mode follows; without a display it cannot open, and the timeout keeps it from hanging.
    CommandResult result = RunCommand("cd '" + dir_ + "' && env -u DISPLAY -u WAYLAND_DISPLAY timeout 20 '" +
                                      QUARVEL_KESTRIX + "' --width=100 '" + dir_ + "img.bmp' -o '" + out + "'");
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err.find("Error: Incorrect"), std::string::npos);
    EXPECT_EQ(CountFiles(out), 0);
}

TEST_F(ConsoleTest, RelativeFoldersComeFromTheProgramFolder) {
    std::string name = "console-test-" + std::to_string(getpid());
    std::string programSide = ProgramFolder() + name + "/";
    ASSERT_EQ(mkdir(programSide.c_str(), 0755), 0);
    WriteFileText(dir_ + name + ".bmp", SmallBmp(4, 4));
    struct Form {
        std::string arguments;
        std::string written;
    };
    const Form forms[] = {
        {"-i {dir}img.bmp -o " + name, programSide + "img.dds"},
        {"-i {dir}img.bmp -o ./" + name + "/", programSide + "img.dds"},
        // A bare input name without "-o" writes beside the program.
        {"-i " + name + ".bmp", ProgramFolder() + name + ".dds"},
    };
    for (const Form& form : forms) {
        SCOPED_TRACE(form.arguments);
        CommandResult result = Kestrix("-q " + form.arguments);
        EXPECT_EQ(result.out + result.err, "");
        EXPECT_EQ(result.exitStatus, 0);
        EXPECT_GT(ReadFileText(form.written).size(), 128u);
        unlink(form.written.c_str());
    }
    rmdir(programSide.c_str());
}

TEST_F(ConsoleTest, ConversionsRunSideBySideAndBesideAWindow) {
    std::string out = ScratchFolder("console/parallel");
    for (int i = 0; i < 6; ++i) WriteFileText(out + "p" + std::to_string(i) + ".bmp", SmallBmp(64, 48));
    // The window-mode lock file, held the whole time as an open window would hold it.
    const char* runtime = getenv("XDG_RUNTIME_DIR");
    ASSERT_NE(runtime, nullptr);
    std::string lock = std::string(runtime) + "/Quarvel 2.9.lock";
    std::string runs = "ls '" + out + "'*.bmp | xargs -P 6 -I{} '" + QUARVEL_KESTRIX + "' -q -i {}";
    CommandResult result =
        RunCommand("flock -n '" + lock + "' sh -c \"" + runs + " && '" + QUARVEL_KESTRIX + "' -V\"");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, "2.9\n");
    EXPECT_EQ(result.exitStatus, 0);
    for (int i = 0; i < 6; ++i) EXPECT_GT(ReadFileText(out + "p" + std::to_string(i) + ".dds").size(), 128u) << i;
}

TEST(ConsoleChecks, BitDepthsFollowTheOutputCatalogue) {
    BuildFormatCatalogues();
    struct Depth {
        const char* format;
        int bpp;
        bool valid;
    };
    const Depth cases[] = {{"dds", 0, true},  {"dds", 32, true}, {"dds", 24, false}, {"jpg", 24, true},
                           {"jpg", 32, false}, {"nope", 0, false}, {"DDS", 32, false}};
    for (const Depth& c : cases) EXPECT_EQ(IsValidBpp(c.format, c.bpp), c.valid) << c.format << " " << c.bpp;
    EXPECT_TRUE(IsOutputFormat("dds"));
    EXPECT_FALSE(IsOutputFormat("DDS"));
    EXPECT_FALSE(IsOutputFormat("jpg"));
}

// Formats other than DDS cannot be chosen in this product, but the checks of the shared code base still hold.
TEST(ConsoleChecks, OtherFormatsPrintTheirSettingsAndCheckQuality) {
    BuildFormatCatalogues();
    ApplyDefaults(true);
    Settings.Output.JPGQuality = 101;
    Settings.Output.JPGChroma = 2;
    int depth = -1;
    testing::internal::CaptureStdout();
    std::string error = CheckOutputFormatSettings("jpg", true, &depth);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "JPG BPP: 0\nJPG Quality: 101\nJPG Chroma Subsampling: medium\nJPG Save As: standard\n");
    EXPECT_EQ(error, "Error: Invalid jpg-quality value");

    Settings.Output.PNGBPP = 24;
    Settings.Output.PNGCompression = 2;
    testing::internal::CaptureStdout();
    error = CheckOutputFormatSettings("png", true, &depth);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "PNG BPP: 24\nPNG Compression: zlib6\nPNG Interlaced: 0\n");
    EXPECT_EQ(error, "");
    EXPECT_EQ(depth, 24);

    Settings.Output.TIFFBPP = 16;
    testing::internal::CaptureStdout();
    error = CheckOutputFormatSettings("tiff", false, &depth);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(error, "Error: Invalid tiff-bpp value");

    Settings.Input.RAWLoadAs = 4;
    Settings.Input.RAWImageWidth = 640;
    Settings.Input.RAWToneMapping = 0;
    testing::internal::CaptureStdout();
    PrintInputFormatLines("raw", true);
    PrintInputFormatLines("bmp", true);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "RAW Load As: 48hs\nRAW Header Size: 0\nRAW Image Width: 640\nRAW Image Height: 0\n"
              "RAW Tone Mapping: none\n");
}
}  // namespace

namespace {
TEST_F(ConsoleTest, FullDiskFailsTheFileAndKeepsTheOldOutput) {
    WriteFileText(dir_ + "big.bmp", SmallBmp(256, 256));  // its DDS is about 43 KB
    struct Limit {
        const char* shell;  // run before kestrix
        std::string out;
        int status;
        bool replaced;
    };
    // "ulimit -f" counts blocks of 512 bytes in sh: 40 blocks hold less than the DDS.
    const Limit cases[] = {
        {"trap '' XFSZ; ulimit -f 40", "Conversion stopped\n", 1, false},
        {"ulimit -f 40", "Conversion stopped\n", 1, false},  // the size-limit signal no longer kills it
        {"ulimit -f 4000", "", 0, true},
    };
    for (const Limit& c : cases) {
        SCOPED_TRACE(c.shell);
        const std::string out = ScratchFolder("console/full");
        WriteFileText(out + "big.dds", "old\n");
        CommandResult result = RunCommand(std::string(c.shell) + "; exec '" + QUARVEL_KESTRIX + "' -q -i '" + dir_ +
                                          "big.bmp' -o '" + out + "'");
        EXPECT_EQ(result.out, c.out);
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(result.exitStatus, c.status);
        EXPECT_EQ(CountFiles(out), 1);  // no temporary file left
        const std::string written = ReadFileText(out + "big.dds");
        if (c.replaced) {
            EXPECT_EQ(written.size(), 43832u);
        } else {
            EXPECT_EQ(written, "old\n");
        }
    }
}

TEST_F(ConsoleTest, StatusLinesThatCannotBeWrittenNeverStopTheConversion) {
    const std::string reference = ScratchFolder("console/reference");
    ASSERT_EQ(Kestrix("-q -i {dir}img.bmp -o " + reference).exitStatus, 0);
    struct Output {
        const char* what;
        std::function<void()> prepare;  // gives the child its standard output
    };
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    close(ends[0]);  // a pipe nobody reads any more
    const Output cases[] = {
        {"a pipe without reader", [&] { dup2(ends[1], 1); }},
        {"a full disk", [] { dup2(open("/dev/full", O_WRONLY), 1); }},
        {"a closed descriptor", [] { close(1); }},
    };
    for (const Output& c : cases) {
        for (const bool debug : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (debug ? ", debug lines" : ", status lines"));
            const std::string out = ScratchFolder("console/out");
            std::vector<std::string> arguments = {"-i", dir_ + "img.bmp", "-o", out};
            if (debug) arguments.push_back("-d");
            const int status = WaitStatus(StartKestrix(arguments, c.prepare));
            ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
            EXPECT_EQ(WEXITSTATUS(status), 1);
            EXPECT_EQ(CountFiles(out), 1);
            // Converted all the same, and no status line found its way into the file.
            EXPECT_EQ(ReadFileText(out + "img.dds"), ReadFileText(reference + "img.dds"));
        }
    }
    close(ends[1]);
}

// The kestrix a wrapper started, once it runs (the wrapper may start short-lived helpers first).
pid_t KestrixChildOf(pid_t parent) {
    pid_t found = 0;
    WaitFor([&] {
        const std::string proc = "/proc/" + std::to_string(parent);
        std::istringstream children(ReadFileText(proc + "/task/" + std::to_string(parent) + "/children"));
        for (pid_t child; children >> child;)
            if (ReadFileText("/proc/" + std::to_string(child) + "/comm") == "kestrix\n") found = child;
        return found != 0;
    });
    return found;
}

TEST_F(ConsoleTest, SignalsDuringAConversionLeaveNoTemporaryFile) {
    // strace holds every flush to the disk for seconds, so a signal can land while the file is written.
    const std::vector<std::string> slowDisk = {"strace", "-f", "-qq", "-o", "/dev/null", "-e", "trace=fsync",
                                               "-e", "inject=fsync:delay_enter=3s"};
    if (system("strace -f -qq -o /dev/null -e trace=fsync -e inject=fsync:delay_enter=1ms true 2>/dev/null") != 0)
        GTEST_SKIP() << "strace cannot trace here";
    WriteFileText(dir_ + "big.bmp", SmallBmp(512, 512));
    struct Stop {
        int signal;
        bool whileWriting;  // else as soon as the conversion starts
    };
    const Stop cases[] = {{SIGINT, true}, {SIGTERM, true}, {SIGHUP, true}, {SIGINT, false}, {SIGTERM, false}};
    for (const Stop& c : cases) {
        SCOPED_TRACE(std::string(strsignal(c.signal)) + (c.whileWriting ? " while writing" : " while converting"));
        const std::string out = ScratchFolder("console/signal");
        WriteFileText(out + "big.dds", "old\n");
        int lines[2];
        ASSERT_EQ(pipe(lines), 0);
        const pid_t tracer =
            StartKestrix({"-i", dir_ + "big.bmp", "-o", out}, [&] { dup2(lines[1], 1); }, slowDisk);
        close(lines[1]);
        const pid_t kestrix = KestrixChildOf(tracer);
        ASSERT_NE(kestrix, 0);
        if (c.whileWriting) {
            EXPECT_TRUE(WaitFor([&] { return HasTemporaryFile(out); }));
        } else {
            std::string seen;
            char buffer[256];
            ssize_t n;
            while (seen.find("Converting...") == std::string::npos && (n = read(lines[0], buffer, sizeof buffer)) > 0)
                seen.append(buffer, size_t(n));
        }
        kill(kestrix, c.signal);
        const int status = WaitStatus(tracer);  // strace ends the way its program ended
        close(lines[0]);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal) << "wait status " << status;
        const std::string kept = ReadFileText(out + "big.dds");
        EXPECT_TRUE(kept == "old\n") << "the output now holds " << kept.size() << " bytes";
        EXPECT_FALSE(HasTemporaryFile(out));
        EXPECT_EQ(CountFiles(out), 1);
    }
}

TEST_F(ConsoleTest, PauseTakesTheWholeKeyAndRestoresTheTerminal) {
    struct Key {
        const char* what;
        std::vector<std::string> typed;  // written to the terminal in these parts
        int signal;                      // 0: the key ends the wait
    };
    const Key cases[] = {
        {"a letter", {"k"}, 0},
        {"an arrow", {"\x1b[A"}, 0},
        {"an arrow arriving in parts", {"\x1b", "[", "A"}, 0},
        {"a function key", {"\x1bOP"}, 0},
        {"a key with modifiers", {"\x1b[15;5~"}, 0},
        {"Alt and a letter", {"\x1bx"}, 0},
        {"an accented letter", {"\xc3", "\xa9"}, 0},
        {"Ctrl+C", {"\x03"}, SIGINT},
        {"SIGTERM", {}, SIGTERM},
        {"SIGHUP", {}, SIGHUP},
    };
    for (const Key& c : cases) {
        SCOPED_TRACE(c.what);
        int master = -1, terminal = -1;
        ASSERT_EQ(openpty(&master, &terminal, nullptr, nullptr, nullptr), 0);
        struct termios before;
        ASSERT_EQ(tcgetattr(terminal, &before), 0);
        const pid_t child = StartKestrix({"-p", "-i", dir_ + "missing.bmp"}, [&] {
            setsid();
            ioctl(terminal, TIOCSCTTY, 0);
            for (int fd = 0; fd <= 2; ++fd) dup2(terminal, fd);
            close(master);
            close(terminal);
        });
        // Waiting for the key: echo is off.
        EXPECT_TRUE(WaitFor([&] {
            struct termios now;
            return tcgetattr(terminal, &now) == 0 && !(now.c_lflag & ECHO);
        }));
        for (const std::string& part : c.typed) {
            EXPECT_EQ(write(master, part.data(), part.size()), ssize_t(part.size()));
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (c.typed.empty()) kill(child, c.signal);
        const int status = WaitStatus(child);
        if (c.signal == 0) {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
        } else {
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal) << status;
        }
        struct termios after;
        ASSERT_EQ(tcgetattr(terminal, &after), 0);
        EXPECT_EQ(after.c_lflag & (ECHO | ICANON), before.c_lflag & (ECHO | ICANON));
        // Nothing of the key is left for the shell to read.
        after.c_lflag &= ~ICANON;
        after.c_cc[VMIN] = 0;
        after.c_cc[VTIME] = 0;
        tcsetattr(terminal, TCSANOW, &after);
        char left[64];
        EXPECT_LE(read(terminal, left, sizeof left), 0);
        close(master);
        close(terminal);
    }
}
}  // namespace
