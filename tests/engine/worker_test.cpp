#include <FreeImage.h>
#include <IL/il.h>
#include <IL/ilu.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include <chrono>
#include <thread>

#include "app/job.h"
#include "app/settings.h"
#include "engine/conversion_run.h"
#include "engine/image_fixture.h"
#include "platform/platform.h"
#include "support/test_support.h"

namespace {
class WorkerTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        ilInit();
        iluInit();
    }

    void SetUp() override {
        ApplyDefaults(true);
        ResetJob();
        folder_ = ScratchFolder(testing::UnitTest::GetInstance()->current_test_info()->name());
        Job.OutputFolder = folder_;
        Job.OutputFormat = "dds";
        Job.InputFormat = "bmp";
        Job.AutomaticDepth = true;
        Job.ConsoleMode = true;
        Job.RunModeText.clear();
    }

    // A real BMP written by FreeImage, entered into the input list.
    std::string AddBmp(const std::string& name, int width = 16, int height = 16) {
        std::string path = folder_ + name;
        ImagePtr image = MakePattern(width, height);
        EXPECT_TRUE(FreeImage_Save(FIF_BMP, image.get(), path.c_str(), 0));
        InputList[path] = "";
        return path;
    }

    std::string AddGarbage(const std::string& name) {
        std::string path = folder_ + name;
        WriteFileText(path, "garbage, not a picture at all");
        InputList[path] = "";
        return path;
    }

    std::string Output(const std::string& name) { return folder_ + name; }

    static void RunToEnd() {
        std::thread worker(RunConversion);
        worker.join();
        EXPECT_TRUE(ConversionRun.Ended);
    }

    static int32_t Index() {
        std::lock_guard<std::mutex> guard(ConversionRun.Lock);
        return ConversionRun.CurrentIndex;
    }

    std::string folder_;
};

int64_t ModifiedTime(const std::string& path) {
    int64_t when = -1;
    FileModifiedTime(path, &when);
    return when;
}
}  // namespace

TEST_F(WorkerTest, EmptyListEndsAtOnce) {
    ResetConversionRun();
    RunToEnd();
    EXPECT_EQ(ConversionRun.CurrentIndex, 0);
    EXPECT_EQ(ConversionRun.ConvertedCount, 0);
    EXPECT_EQ(ConversionRun.CurrentFile, "");
}

TEST_F(WorkerTest, StopRequestBeforeTheFirstFileConvertsNothing) {
    AddBmp("photo.bmp");
    ResetConversionRun();
    ConversionRun.Running = false;
    RunToEnd();
    EXPECT_EQ(ConversionRun.CurrentIndex, 0);
    EXPECT_EQ(ConversionRun.ConvertedCount, 0);
    EXPECT_EQ(FileSize(Output("photo.dds")), kFileMissing);
    EXPECT_EQ(Job.NameCounter, 1);
}

TEST_F(WorkerTest, StopRequestDuringAFileFinishesItAndStartsNoOther) {
    // Large enough that the stop request lands while it converts.
    AddBmp("a_large.bmp", 2048, 2048);
    AddBmp("b_next.bmp");
    ResetConversionRun();
    std::thread worker(RunConversion);
    while (Index() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    {
        std::lock_guard<std::mutex> guard(ConversionRun.Lock);
        ConversionRun.Running = false;
    }
    worker.join();
    EXPECT_EQ(ConversionRun.CurrentIndex, 1);
    EXPECT_EQ(ConversionRun.ConvertedCount, 1);
    EXPECT_GT(FileSize(Output("a_large.dds")), 0);
    EXPECT_EQ(FileSize(Output("b_next.dds")), kFileMissing);
    EXPECT_EQ(Job.NameCounter, 2);
}

TEST_F(WorkerTest, ClosedPauseGateHoldsTheRunUntilOpened) {
    AddBmp("photo.bmp");
    ResetConversionRun();
    ClosePauseGate();
    std::thread worker(RunConversion);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(Index(), 0);
    EXPECT_FALSE(ConversionRun.Ended);
    EXPECT_EQ(FileSize(Output("photo.dds")), kFileMissing);
    OpenPauseGate();
    worker.join();
    EXPECT_EQ(ConversionRun.ConvertedCount, 1);
    EXPECT_GT(FileSize(Output("photo.dds")), 0);
}

TEST_F(WorkerTest, QuickSuccessCountsAsOneSecond) {
    std::string first = AddBmp("a.bmp");
    std::string second = AddBmp("b.bmp");
    Job.NameCounter = 7;
    Job.RandomNumber = 0;  // outside the drawn range, so the draw shows
    ResetConversionRun();
    RunToEnd();
    EXPECT_EQ(ConversionRun.CurrentIndex, 2);
    EXPECT_EQ(ConversionRun.CurrentFile, second);
    EXPECT_EQ(ConversionRun.PreviousDuration, 1000);  // a 16 × 16 picture takes far less
    EXPECT_EQ(ConversionRun.ConvertedCount, 2);
    EXPECT_EQ(Job.NameCounter, 9);
    EXPECT_GE(Job.RandomNumber, 1);
    EXPECT_LE(Job.RandomNumber, 99999);
    EXPECT_EQ(Job.OutputPath, Output("b.dds"));
}

TEST_F(WorkerTest, FailedFileKeepsEarlierOutputAndCountersAndZeroesTheDuration) {
    AddBmp("a_good.bmp");
    AddGarbage("b_bad.bmp");
    AddBmp("c_good.bmp");
    Settings.Advanced.FilenameMask = "%filename%_%n%.%ext%";
    ResetConversionRun();
    RunToEnd();
    EXPECT_EQ(ConversionRun.CurrentIndex, 3);
    EXPECT_EQ(ConversionRun.PreviousDuration, 0);  // the failed file's, published with the third
    EXPECT_EQ(ConversionRun.ConvertedCount, 2);
    EXPECT_GT(FileSize(Output("a_good_00001.dds")), 0);
    EXPECT_EQ(FileSize(Output("b_bad_00002.dds")), kFileMissing);
    // The failure did not advance the counter: the next success takes the following number.
    EXPECT_GT(FileSize(Output("c_good_00002.dds")), 0);
    EXPECT_EQ(Job.NameCounter, 3);
}

TEST_F(WorkerTest, TimestampRuleSetsTheOutputTime) {
    const int64_t inputTime = 981173106;   // 2001-02-03 04:05:06 UTC
    const int64_t customTime = 1234567890;  // 2009-02-13 23:31:30 UTC
    struct Case {
        int8_t mode;
        int64_t expected;  // 0: the time of writing
    } cases[] = {{0, 0}, {1, inputTime}, {2, customTime}, {7, 0}};
    for (const Case& c : cases) {
        InputList.clear();
        std::string input = AddBmp("mode" + std::to_string(c.mode) + ".bmp");
        ASSERT_TRUE(SetFileModifiedTime(input, inputTime));
        Settings.Advanced.FileTimestamp = c.mode;
        Settings.Advanced.CustomTimestamp = SystemTimeToLocalDate(customTime);
        const int64_t before = static_cast<int64_t>(time(nullptr));
        ResetConversionRun();
        RunToEnd();
        ASSERT_EQ(ConversionRun.ConvertedCount, 1) << "mode " << int{c.mode};
        int64_t written = ModifiedTime(Job.OutputPath);
        if (c.expected == 0)
            EXPECT_GE(written, before) << "mode " << int{c.mode};
        else
            EXPECT_EQ(written, c.expected) << "mode " << int{c.mode};
    }
}

TEST_F(WorkerTest, InputTimeInTheRepeatedAutumnHourIsCopiedExactly) {
    struct ZoneForThisTest {
        const char* before = getenv("TZ");
        std::string saved = before ? before : "";
        ZoneForThisTest() {
            setenv("TZ", "Europe/Berlin", 1);
            tzset();
        }
        ~ZoneForThisTest() {
            if (before) setenv("TZ", saved.c_str(), 1);
            else unsetenv("TZ");
            tzset();
        }
    } zone;
    // 02:30 local time happens twice that night; this is the first one, in summer time.
    const int64_t inputTime = 1698539400;  // 2023-10-29 00:30:00 UTC
    std::string input = AddBmp("autumn.bmp");
    ASSERT_TRUE(SetFileModifiedTime(input, inputTime));
    Settings.Advanced.FileTimestamp = 1;
    ResetConversionRun();
    RunToEnd();
    EXPECT_EQ(ModifiedTime(Output("autumn.dds")), inputTime);
}

TEST_F(WorkerTest, StatusLinesOnlyInConsoleDebugMode) {
    std::string good = AddBmp("a.bmp");
    std::string bad = AddGarbage("b.bmp");
    const std::string debugLines = "Processing: " + good + "\nFile Format: BMP\n[OK] Saving As: " + Output("a.dds") +
                                   "\nProcessing: " + bad + "\nFile Format: [ERROR] UNRECOGNIZED\n"
                                   "[ERROR] Unable to convert the file!\n";
    struct Case {
        bool console;
        const char* mode;
        std::string expected;
    } cases[] = {{true, "DEBUG", debugLines}, {false, "DEBUG", ""}, {true, "T", ""}, {true, "", ""}};
    for (const Case& c : cases) {
        Job.ConsoleMode = c.console;
        Job.RunModeText = c.mode;
        ResetConversionRun();
        testing::internal::CaptureStdout();
        RunToEnd();
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.expected) << c.console << " " << c.mode;
        EXPECT_EQ(ConversionRun.ConvertedCount, 1);
    }
}
