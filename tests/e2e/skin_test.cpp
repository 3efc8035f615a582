// The skin pictures beside the executable may be missing or broken: the
// capture must still work and show the frozen screen, undimmed.
#include "tests/e2e/ToolBarDriver.h"

using namespace e2e;

namespace {

const char* const kSkinFiles[] = {"back.jpg",  "icon_bg.png", "rectangle.png", "round.png", "arrow.png", "font.png",
                                  "pen.png",   "return.png",  "save.png",      "close.png", "finish.png", "pop_bg.png",
                                  "one.png",   "mid.png",     "big.png",       "color.png"};

class Skin : public Fixture {
protected:
    void SetUp() override {
        Fixture::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_FALSE(folder_.Path().empty()) << "no temp folder";
        exe_ = CopyProgramTo(folder_.Path());
        ASSERT_FALSE(exe_.empty()) << "could not copy the program to " << folder_.Path();
    }

    // Every skin file replaced by bytes no decoder accepts; some begin like
    // the real format so the decoders get past the signature.
    void WriteGarbageSkin() {
        std::string dir = folder_ / "skinScreen";
        ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
        uint32_t seed = 1;
        for (const char* name : kSkinFiles) {
            std::string bytes = RandomBytes(300 + 97 * seed, seed, false);
            if (seed % 2 == 0) {
                std::string jpeg = "\xFF\xD8\xFF\xE0";
                std::string png = "\x89PNG\r\n\x1A\n";
                bytes = (std::string(name).find(".jpg") != std::string::npos ? jpeg : png) + bytes;
            }
            ASSERT_TRUE(WriteFileBytes(dir + "\\" + name, bytes)) << name;
            ++seed;
        }
    }

    void ExpectFrozenCapture() {
        Program program("", exe_, folder_.Path());
        ASSERT_TRUE(program.Started()) << program.StartError();
        ASSERT_NE(program.WaitCaptures(1, 3000), nullptr)
            << "no capture window within 3 s; " << program.Summary();
        EXPECT_EQ(WaitScreenShows(Pattern::First, 1000, "capture"), "");
        pattern_->Show(Pattern::Second);
        EXPECT_EQ(ScreenKeepsShowing(Pattern::First, 300, "frozen"), "");
        EXPECT_TRUE(program.Running()) << program.Summary();
    }

    // Drags a selection from (400, 300) to (800, 600): with no usable back.jpg
    // nothing around the selection is dimmed.
    void ExpectSelectionUndimmed() {
        Program program("", exe_, folder_.Path());
        ASSERT_TRUE(program.Started()) << program.StartError();
        ASSERT_NE(program.WaitCaptures(1, 3000), nullptr)
            << "no capture window within 3 s; " << program.Summary();
        pattern_->Show(Pattern::Second);
        ASSERT_EQ(WaitScreenShows(Pattern::First, 1000, "capture"), "");

        Drag(POINT{400, 300}, POINT{800, 600}, 12);
        Idle(200);
        ASSERT_TRUE(program.Running()) << program.Summary();

        // Well away from the selection, its frame, any label above it and
        // any toolbar or magnifier beside or below it.
        const int w = ScreenWidth(), h = ScreenHeight();
        const std::vector<Area> outside = {
            {0, 0, w, 200},      // above
            {0, 0, 300, h},      // left
            {0, 900, w, h},      // below
            {1200, 0, w, h},     // right
        };
        EXPECT_EQ(WaitScreenShows(Pattern::First, 1000, "outside", outside), "");

        // The drag was taken as a selection: its frame shows on its edges.
        std::vector<Area> edges = {{394, 294, 806, 306}, {394, 594, 806, 606}, {394, 294, 406, 606}, {794, 294, 806, 606}};
        Pixels shot = GrabScreen();
        EXPECT_NE(ScreenVsPattern(shot, Pattern::First, edges), "") << "no selection frame around (400,300)-(800,600)";
        EXPECT_TRUE(program.Running()) << program.Summary();
    }

    // The real skin beside the copy, then some files damaged the ways files
    // arrive damaged: cut off halfway, a PNG whose header claims 30,000 x
    // 30,000 pixels (3.6 GB decoded), and a backdrop of one pixel.
    void WriteDamagedSkin() {
        std::string dir = folder_ / "skinScreen";
        ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
        std::string source = SnapcrestExe();
        source = source.substr(0, source.find_last_of('\\')) + "\\skinScreen\\";
        for (const char* name : kSkinFiles)
            ASSERT_TRUE(CopyFileA((source + name).c_str(), (dir + "\\" + name).c_str(), FALSE)) << name;
        static const char kHugePng[] =
            "\x89PNG\r\n\x1A\n\x00\x00\x00\x0DIHDR\x00\x00\x75\x30\x00\x00\x75\x30\x08\x06\x00\x00\x00\x66\x27"
            "\xF8\xBA\x00\x00\x00\x0CIDAT\x78\x9C\x63\x60\xA0\x0C\x00\x00\x00\x40\x00\x01\xB7\x34\x7C\xEF\x00"
            "\x00\x00\x00IEND\xAE\x42\x60\x82";
        static const char kOnePixelJpeg[] =
            "\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00\xFF\xDB\x00\x43\x00\x03\x02"
            "\x02\x03\x02\x02\x03\x03\x03\x03\x04\x03\x03\x04\x05\x08\x05\x05\x04\x04\x05\x0A\x07\x07\x06\x08"
            "\x0C\x0A\x0C\x0C\x0B\x0A\x0B\x0B\x0D\x0E\x12\x10\x0D\x0E\x11\x0E\x0B\x0B\x10\x16\x10\x11\x13\x14"
            "\x15\x15\x15\x0C\x0F\x17\x18\x16\x14\x18\x12\x14\x15\x14\xFF\xC0\x00\x0B\x08\x00\x01\x00\x01\x01"
            "\x01\x11\x00\xFF\xC4\x00\x14\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
            "\x00\xFF\xC4\x00\x14\x10\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\xFF"
            "\xDA\x00\x08\x01\x01\x00\x00\x3F\x00\x3F\xFF\xD9";
        for (const char* name : {"rectangle.png", "pop_bg.png", "color.png"})
            ASSERT_TRUE(WriteFileBytes(dir + "\\" + name, std::string(kHugePng, sizeof kHugePng - 1))) << name;
        ASSERT_TRUE(WriteFileBytes(dir + "\\back.jpg", std::string(kOnePixelJpeg, sizeof kOnePixelJpeg - 1)));
        for (const char* name : {"icon_bg.png", "finish.png", "arrow.png"}) {
            HANDLE f = CreateFileA((source + name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                   nullptr);
            std::string bytes(GetFileSize(f, nullptr), '\0');
            DWORD read = 0;
            ReadFile(f, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
            CloseHandle(f);
            ASSERT_GT(read, 100u) << name;
            ASSERT_TRUE(WriteFileBytes(dir + "\\" + name, bytes.substr(0, read / 2))) << name;
        }
    }

    TempFolder folder_;
    std::string exe_;
};

}  // namespace

TEST_F(Skin, MissingFolderStillCapturesFrozenScreen) { ExpectFrozenCapture(); }

TEST_F(Skin, GarbageFilesStillCaptureFrozenScreen) {
    ASSERT_NO_FATAL_FAILURE(WriteGarbageSkin());
    ExpectFrozenCapture();
}

TEST_F(Skin, MissingFolderSelectionLeavesOutsideUndimmed) { ExpectSelectionUndimmed(); }

TEST_F(Skin, GarbageFilesSelectionLeavesOutsideUndimmed) {
    ASSERT_NO_FATAL_FAILURE(WriteGarbageSkin());
    ExpectSelectionUndimmed();
}

TEST_F(Skin, TruncatedHugeAndOnePixelImagesStillCaptureAndCopy) {
    ASSERT_NO_FATAL_FAILURE(WriteDamagedSkin());
    Program program("", exe_, folder_.Path());
    ASSERT_TRUE(program.Started()) << program.StartError();
    ASSERT_NE(program.WaitCaptures(1, 3000), nullptr) << program.Summary();
    ASSERT_EQ(WaitScreenShows(Pattern::First, 1000, "capture"), "");
    pattern_->Show(Pattern::Second);
    Drag(POINT{396, 296}, POINT{700, 500}, 10);
    Idle(300);
    ASSERT_TRUE(program.Running()) << program.Summary();
    ExpectDoubleClickCopiesSelection(program);
}
