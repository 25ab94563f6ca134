#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "../support/MessageRecorder.h"
#include "../support/TestFiles.h"
#include "app/BrApp.h"
#include "archive/ArchiveWriter.h"

namespace {

// The application with its two windows replaced: the title screen answers with
// a chosen result and the browser window is only counted.
class TestApp : public CBrApp {
  public:
    INT_PTR titleResult = 0;
    int titleShown = 0;
    int mainWindowsMade = 0;

    void UseClock(uint32_t (*clock)()) { clock_ = clock; }

  protected:
    INT_PTR ShowTitleScreen() override {
        ++titleShown;
        return titleResult;
    }
    bool CreateMainWindow() override {
        ++mainWindowsMade;
        return true;
    }
};

// Runs a test in a fresh, empty current directory.
class InEmptyFolder : public ::testing::Test {
  protected:
    InEmptyFolder() : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(dir_.path());
    }
    ~InEmptyFolder() override { std::filesystem::current_path(previous_); }

    TempDir dir_;
    MessageRecorder messages_;

  private:
    std::filesystem::path previous_;
};

using BrAppStartUp = InEmptyFolder;

bool MutexExists() {
    HANDLE h = OpenMutexW(MUTEX_ALL_ACCESS, FALSE, CBrApp::kMutexName);
    if (h != nullptr) {
        CloseHandle(h);
    }
    return h != nullptr;
}

TEST_F(BrAppStartUp, SecondCopyEndsSilentlyAndANewOneStartsAfterTheFirst) {
    HANDLE first = CreateMutexW(nullptr, TRUE, CBrApp::kMutexName);
    ASSERT_NE(first, nullptr);
    {
        TestApp second;
        EXPECT_FALSE(second.InitInstance());
        EXPECT_EQ(second.titleShown, 0);
        EXPECT_TRUE(MessageRecorder::Messages().empty());
        second.ExitInstance();
    }
    EXPECT_TRUE(MutexExists()) << "the second copy must not disturb the first";
    ReleaseMutex(first);
    CloseHandle(first);
    EXPECT_FALSE(MutexExists());

    TestApp next;
    next.titleResult = 1;
    EXPECT_TRUE(next.InitInstance());
    EXPECT_EQ(next.titleShown, 1);
    EXPECT_TRUE(MutexExists());
    next.ExitInstance();
    EXPECT_FALSE(MutexExists()) << "exit releases the mutex";
}

TEST_F(BrAppStartUp, MutexIsReleasedWhenStartUpEndsEarly) {
    TestApp app;
    app.titleResult = 0;
    EXPECT_FALSE(app.InitInstance());
    app.ExitInstance();
    EXPECT_FALSE(MutexExists());
}

TEST_F(BrAppStartUp, EveryMissingArchiveIsToldAndStartUpGoesOn) {
    TestApp app;
    app.titleResult = 1;
    EXPECT_TRUE(app.InitInstance());
    app.ExitInstance();
    const std::vector<std::string> expected = {
        "cg.arcファイルが見当たりません\n", "ex.arcファイルが見当たりません\n",
        "Text.arcファイルが見当たりません\n", "parts.arcファイルが見当たりません\n"};
    EXPECT_EQ(MessageRecorder::Messages(), expected);
    EXPECT_EQ(app.titleShown, 1);
    EXPECT_EQ(app.mainWindowsMade, 1);
    for (const std::vector<std::string>& slot : app.passwordLists) {
        EXPECT_TRUE(slot.empty());
    }
}

TEST_F(BrAppStartUp, ArchivesOpenInOrderAndThePasswordTableLoads) {
    const auto text =
        BuildArchive({{"password.txt", Bytes("\x81\xa0\x82\x4f\x82\x52\x81\x40open "
                                             "sesame\r\n\x81\xa0\x82\x64\x82\x6d\x82\x63\r\n")}});
    for (const char* name : CBrApp::kArchiveNames) {
        WriteBytes(dir_.File(name), *text);
    }
    TestApp app;
    app.titleResult = 1;
    EXPECT_TRUE(app.InitInstance());
    app.ExitInstance();
    EXPECT_TRUE(MessageRecorder::Messages().empty());
    for (size_t i = 0; i < app.archives.size(); ++i) {
        EXPECT_EQ(app.archives[i].fileName(), CBrApp::kArchiveNames[i]);
    }
    EXPECT_EQ(app.passwordLists[3], std::vector<std::string>{"open sesame"});
}

TEST_F(BrAppStartUp, RegistryKeyAndApplicationName) {
    TestApp app;
    app.titleResult = 1;
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(app.appName(), "Ｖｅｌｍｏｒａ");
    EXPECT_EQ(app.registryKey(), "Korvex");
    ASSERT_TRUE(app.WriteProfileInt("settings", "probe", 1234));
    EXPECT_EQ(app.GetProfileInt("settings", "probe", 0), 1234);
    EXPECT_EQ(app.GetProfileInt("settings", "absent", -5), -5);

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Korvex\\Ｖｅｌｍｏｒａ\\settings", 0,
                            KEY_READ | KEY_WRITE, &key),
              ERROR_SUCCESS);
    DWORD value = 0, size = sizeof value;
    EXPECT_EQ(
        RegQueryValueExW(key, L"probe", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size),
        ERROR_SUCCESS);
    EXPECT_EQ(value, 1234u);
    RegDeleteValueW(key, L"probe");
    RegCloseKey(key);
    app.ExitInstance();
}

struct TitleCase {
    INT_PTR result;
    bool goesOn;
    std::vector<std::string> messages;
};

TEST_F(BrAppStartUp, TitleScreenResultDecidesWhetherTheGameStarts) {
    const std::vector<TitleCase> cases = {
        {1, true, {}},
        {0, false, {}},
        {2, false, {}},
        {-1, false, {"Title Error\n", "メモリが足りない可能性があります。\n"}},
        {3, false, {"Title Error\n", "メモリが足りない可能性があります。\n"}},
    };
    for (const TitleCase& c : cases) {
        TestApp app;
        app.titleResult = c.result;
        MessageRecorder::Messages().clear();
        EXPECT_EQ(app.RunTitleScreen(), c.goesOn) << c.result;
        EXPECT_EQ(MessageRecorder::Messages(), c.messages) << c.result;
        EXPECT_NE(app.appIcon, nullptr);
    }
}

uint32_t g_now = 0;
uint32_t FakeClock() {
    return g_now;
}

class CountingTarget : public AnimationTarget {
  public:
    int frames = 0;
    void DrawLogoFrame() override { ++frames; }
};

TEST(BrAppIdle, DrawsNothingUntilATargetIsSetThenAtMostOnceEvery90Ms) {
    TestApp app;
    app.UseClock(FakeClock);
    g_now = 1000;
    EXPECT_FALSE(app.OnIdle(0)) << "no target: no more idle time wanted";

    CountingTarget target;
    app.SetAnimationTarget(&target);
    g_now = 2000;
    EXPECT_TRUE(app.OnIdle(1));
    EXPECT_EQ(target.frames, 1);
    g_now = 2090;  // exactly 90 ms later: not yet
    EXPECT_TRUE(app.OnIdle(2));
    EXPECT_EQ(target.frames, 1);
    g_now = 2091;
    EXPECT_TRUE(app.OnIdle(3));
    EXPECT_EQ(target.frames, 2);
    // The clock wraps around after 49 days; the difference still counts.
    g_now = 0xFFFFFFF0u;
    app.OnIdle(4);
    EXPECT_EQ(target.frames, 3);
    g_now = 0x4A;  // 90 ms after, across the wrap
    app.OnIdle(5);
    EXPECT_EQ(target.frames, 3);
    g_now = 0x4B;
    app.OnIdle(6);
    EXPECT_EQ(target.frames, 4);
}

TEST(BrAppScreen, RecommendationIs800By600WithMoreThan8Bits) {
    EXPECT_FALSE(CBrApp::ScreenBelowRecommendation(800, 600, 16));
    EXPECT_FALSE(CBrApp::ScreenBelowRecommendation(1920, 1080, 32));
    EXPECT_TRUE(CBrApp::ScreenBelowRecommendation(640, 480, 32));
    EXPECT_TRUE(CBrApp::ScreenBelowRecommendation(799, 600, 24));
    EXPECT_TRUE(CBrApp::ScreenBelowRecommendation(800, 599, 24));
    EXPECT_TRUE(CBrApp::ScreenBelowRecommendation(1024, 768, 8));
}

}  // namespace

// The manifest the built program carries, as the system reads it at start.
std::string ProgramManifest() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    // Built beside the tests: <build>/tests/win/ and <build>/src/win/velmora.exe.
    const std::filesystem::path program =
        std::filesystem::path(self).parent_path().parent_path().parent_path() / "src" / "win" /
        "velmora.exe";
    HMODULE module = LoadLibraryExW(program.c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr) {
        ADD_FAILURE() << "cannot load " << program.string();
        return "";
    }
    std::string text;
    if (HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))) {
        const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
        text.assign(bytes, SizeofResource(module, found));
    }
    FreeLibrary(module);
    return text;
}

TEST(ProgramManifest, RunsAsThePlayerOnWindows7To11ScaledByTheSystem) {
    const std::string manifest = ProgramManifest();
    ASSERT_FALSE(manifest.empty()) << "no manifest resource";
    for (const char* setting : {
             R"(<requestedExecutionLevel level="asInvoker" uiAccess="false"/>)",
             "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
             "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
             "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
             "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // 10 and 11
             ">false</dpiAware>",
             ">true</gdiScaling>",
         }) {
        EXPECT_NE(manifest.find(setting), std::string::npos) << setting;
    }
    // Never an administrator's rights, and no second execution level.
    EXPECT_EQ(manifest.find("requireAdministrator"), std::string::npos);
    EXPECT_EQ(manifest.find("highestAvailable"), std::string::npos);
}
