// Saving from the tool bar: the dialog the user answers, the file it writes,
// and the clipboard it fills whatever the answer.
#include "tests/e2e/ToolBarDriver.h"

using namespace e2e;

namespace {

// The proposed name's prefix, 岚梭截图 (this driver's narrow texts are code page 936).
const std::string kNamePrefix = "岚梭截图";

std::string ProposedNameAt(const SYSTEMTIME& t) {
    return kNamePrefix + std::to_string(t.wYear) + std::to_string(t.wMonth) + std::to_string(t.wDay) +
           std::to_string(t.wHour + 8) + std::to_string(t.wMinute) + std::to_string(t.wSecond);
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class Save : public CaptureFixture {
protected:
    // Selects, up and to the left, a rectangle over the middle of the screen,
    // where the dialog will appear, and clicks save; returns the dialog.
    // With `holdMs`, another program holds the clipboard that long from just
    // before the click.
    HWND StartSave(int holdMs = 0) {
        StartCapture();
        Drag(POINT{kRight, kBottom}, POINT{kLeft, kTop}, 10);
        const Bar bar = BarFor(kRight + 4, kBottom + 4, kLeft, kTop);
        EXPECT_TRUE(WaitFor([&] { return ShowsBar(GrabScreen(), bar).empty(); }, 2000, 40));
        GetSystemTime(&before_);
        {
            std::unique_ptr<ClipboardHolder> holder;
            if (holdMs) holder = std::make_unique<ClipboardHolder>(holdMs);
            EXPECT_TRUE(!holder || holder->Held());
            ClickButton(bar, kSave);
        }
        HWND dialog = WaitDialog(capture_, 5000);
        GetSystemTime(&after_);
        EXPECT_NE(nullptr, dialog) << "no dialog owned by the capture window\n" << program_->Summary();
        return dialog;
    }

    void Answer(HWND dialog, const std::string& path) {
        SendMessageA(FileNameBox(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        EXPECT_TRUE(program_->WaitExit(5000)) << program_->Summary();
    }

    // The clipboard holds the selection's picture, without the dialog.
    Pixels ExpectClipboardPicture() {
        Pixels clip = ClipboardBitmap();
        EXPECT_EQ(kRight + 4 - kLeft - 4, clip.width);
        EXPECT_EQ(kBottom + 4 - kTop - 4, clip.height);
        if (clip.width > 0) {
            EXPECT_EQ("", FirstDifference(clip, 0, 0, PatternPixels(Pattern::First, ScreenWidth(), ScreenHeight()),
                                          kLeft + 2, kTop + 2, clip.width, clip.height));
        }
        return clip;
    }

    static constexpr int kLeft = 500, kTop = 300, kRight = 1400, kBottom = 800;
    SYSTEMTIME before_{}, after_{};
    TempFolder folder_;
};

}  // namespace

TEST_F(Save, TheDialogProposesANameAndTheFileEqualsTheClipboardPicture) {
    HWND dialog = StartSave();
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ("图片保存对话框", WindowTextA(dialog));
    const RECT r = WindowRect(dialog);
    EXPECT_EQ(dialog, GetAncestor(WindowFromPoint(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}), GA_ROOT))
        << "the dialog is not in front";
    const std::string proposed = ControlText(FileNameBox(dialog));
    EXPECT_TRUE(proposed == ProposedNameAt(before_) || proposed == ProposedNameAt(after_)) << proposed;

    Answer(dialog, folder_ / "shot");
    const Pixels clip = ExpectClipboardPicture();
    const std::string file = folder_ / "shot.png";
    ASSERT_TRUE(FileExists(file));
    HANDLE f = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    char signature[8] = {};
    DWORD read = 0;
    ReadFile(f, signature, 8, &read, nullptr);
    CloseHandle(f);
    EXPECT_EQ(std::string("\x89PNG\r\n\x1a\n", 8), std::string(signature, read));
    const Image png = ReadImageFile(file);
    ASSERT_EQ(clip.width, png.width);
    ASSERT_EQ(clip.height, png.height);
    for (int y = 0; y < png.height; ++y)
        for (int x = 0; x < png.width; ++x)
            ASSERT_EQ(Hex(0xFF000000u | clip.at(x, y)), Hex(png.at(x, y))) << x << "," << y;
}

TEST_F(Save, PngIsAlwaysAppendedAndLongPathsAreWrittenWhole) {
    HWND dialog = StartSave();
    ASSERT_NE(nullptr, dialog);
    Answer(dialog, folder_ / "shot.png");
    EXPECT_TRUE(FileExists(folder_ / "shot.png.png"));
    EXPECT_FALSE(FileExists(folder_ / "shot.png"));

    // A path whose ".png" runs past 256 bytes, but within what the system takes.
    const std::string base = folder_ / "";
    const std::string name = std::string(254 - base.size(), 'n');
    dialog = StartSave();
    ASSERT_NE(nullptr, dialog);
    Answer(dialog, base + name);
    EXPECT_TRUE(FileExists(base + name + ".png")) << (base + name).size() << " bytes";
}

TEST_F(Save, CancellingKeepsThePictureOnTheClipboardAndEnds) {
    ASSERT_TRUE(ClipboardPutText("before"));
    HWND dialog = StartSave();
    ASSERT_NE(nullptr, dialog);
    SendMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_TRUE(program_->WaitExit(5000)) << program_->Summary();
    EXPECT_EQ(0u, program_->ExitCode());
    ExpectClipboardPicture();
}

TEST_F(Save, AClipboardHeldFor300MsStillGetsThePictureAndTheFileIsWritten) {
    HWND dialog = StartSave(300);
    ASSERT_NE(nullptr, dialog);
    Answer(dialog, folder_ / "held");
    ExpectClipboardPicture();
    EXPECT_TRUE(FileExists(folder_ / "held.png"));
}
