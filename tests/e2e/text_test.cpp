// Typing onto the selection as a user would: the box opens where the click is
// released, the keys show in it as they are typed, and once committed the
// text is drawn at the box's corner and is part of the picture taken.
#include "tests/e2e/ToolBarDriver.h"

using namespace e2e;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 128, 255);

class Text : public MarkupFixture {
protected:
    Bar SelectForText() { return SelectAndChoose(kText); }

    // Text committed in a box opened at `corner`: its layout box reaches 12
    // pixels inside the selection's outer right edge and 17 above its bottom.
    static std::function<void(HDC)> TextAt(POINT corner, const std::wstring& text, COLORREF colour) {
        return [=](HDC dc) {
            DrawTypedText(dc, corner, static_cast<float>(kOuterRight - corner.x - 12),
                          static_cast<float>(kOuterBottom - corner.y - 17), text, colour);
        };
    }

    static constexpr int kOuterRight = 1104, kOuterBottom = 704;
};

TEST_F(Text, TypedLatinAndChineseShowAsTypedAndAreDrawnAtTheBoxCorner) {
    const Bar bar = SelectForText();
    Click(400, 300);
    const RECT box{400, 295, 1092, 692};
    auto boxPixels = [&] { return GrabScreenRect(box.left, box.top, 300, 60).data; };
    const std::vector<uint32_t> before = boxPixels();
    // Each key changes what the box shows.
    std::vector<uint32_t> last = before;
    for (char c : std::string("Snap 1")) {
        Type(std::string(1, c));
        if (c == ' ') continue;  // a blank shows nothing
        EXPECT_TRUE(WaitFor([&] { return boxPixels() != last; }, 1000)) << "after typing " << c;
        last = boxPixels();
    }
    Key(VK_RETURN);
    // Composed text arrives as Unicode input, and as the double-byte
    // character an input method hands an ANSI window.
    TypeUnicode(L"中文");
    EXPECT_TRUE(WaitFor([&] { return boxPixels() != last; }, 1000)) << "the Chinese text shows while typed";
    PostMessageA(capture_, WM_IME_CHAR, 0xD7D6, 1);  // 字
    Idle(100);

    // A click in the selection beside the box commits; the text reappears,
    // drawn by its shape, at the corner where the box was opened.
    Click(350, 250);
    const auto marks = TextAt(POINT{400, 300}, L"Snap 1\r\n中文字", kRed);
    ASSERT_NE("", FirstDifference(ExpectedPicture(marks, kL, kT, kW, kH), 0, 0,
                                  ExpectedPicture([](HDC) {}, kL, kT, kW, kH), 0, 0, kW, kH))
        << "the platform draws the text at all";
    EXPECT_EQ("", Shows(marks, "text-committed"));
    FinishAndExpect(bar, marks);
}

TEST_F(Text, ColourUndoWhileTypingUndoBeforePlacingAndTheEdgeBand) {
    const Bar bar = SelectForText();
    ASSERT_TRUE(ChooseColour(bar, capture_, 0, 128, 255));
    ClickButton(bar, kText);
    Click(500, 400);
    Type("Blue");
    Click(350, 250);
    const auto blue = TextAt(POINT{500, 400}, L"Blue", kBlue);
    ASSERT_EQ("", Shows(blue, "text-blue"));

    // The text tool stays chosen: a second box, discarded by Ctrl+Z.
    Click(450, 550);
    Type("gone");
    Idle(100);
    Key('Z', Ctrl);
    EXPECT_EQ("", Shows(blue, "text-undo-typing"));

    // Undo right after a commit, before the text is placed: no text, no crash.
    ClickButton(bar, kText);
    Click(450, 550);
    Type("late");
    Click(350, 250);
    Key('Z', Ctrl);
    Idle(300);
    EXPECT_TRUE(program_->Running()) << program_->Summary();
    EXPECT_EQ("", Shows(blue, "text-undo-before-placing"));

    // A click within 12 pixels of the right edge opens no box and clears the tool.
    ClickButton(bar, kText);
    Click(kOuterRight - 10, 450);
    Type("none");
    Click(600, 600);
    Idle(200);
    EXPECT_EQ("", Shows(blue, "text-edge-band"));

    // A text longer than the old 1023-byte buffer, finished at once: it is
    // in the picture whole, though its 100 ms have not passed yet.
    ClickButton(bar, kText);
    Click(310, 210);
    std::wstring longText;
    for (int i = 0; longText.size() < 1100; ++i) longText += L"word" + std::to_wstring(i) + L" ";
    for (wchar_t c : longText) PostMessageA(capture_, WM_CHAR, static_cast<WPARAM>(c), 1);
    Idle(300);
    const auto both = [&](HDC dc) {
        blue(dc);
        TextAt(POINT{310, 210}, longText, kBlue)(dc);
    };
    FinishAndExpect(bar, both);
}

TEST_F(Text, EscapeWhileTypingEndsTheProcessAndCopiesNothing) {
    ASSERT_TRUE(ClipboardPutText("before"));
    SelectForText();
    Click(400, 300);
    Type("lost");
    Idle(100);
    Key(VK_ESCAPE);
    EXPECT_TRUE(program_->WaitExit(3000)) << program_->Summary();
    EXPECT_EQ(0u, program_->ExitCode());
    EXPECT_EQ("before", ClipboardText());
}

}  // namespace
