// The windowless text entry over the platform's real text services: which
// messages it takes and which it leaves to the window, how double-byte
// characters of an ANSI window reach the text whole, and what it draws.
#include "textentry/NoWndEdit.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/Surface.h"

namespace {

// GBK bytes of 中 and 文.
const char kZhong[] = "\xD6\xD0";
const char kWen[] = "\xCE\xC4";

class TextEntry : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TextEntryTestWindow";
        RegisterClassA(&wc);
        window_ = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                                  wc.hInstance, nullptr);
        ASSERT_TRUE(window_);
        host_ = std::make_unique<CNoWndEdit>();
        ASSERT_TRUE(host_->HasServices());
    }
    void TearDown() override {
        host_.reset();
        DestroyWindow(window_);
    }

    // The sequence a text box opens with.
    void Open(CNoWndEdit& host, RECT box = RECT{20, 20, 300, 200}) {
        host.SetFontColor(RGB(255, 0, 0));
        host.SetEditRect(window_, box);
        host.SetVisible(TRUE);
        host.Activate();
        host.SetMultiLine(TRUE);
        host.SetFontHeight(300, 0);
    }
    BOOL Route(UINT message, WPARAM wParam, LPARAM lParam = 0) {
        return CNoWndEdit::RouteMessage(window_, message, wParam, lParam);
    }
    void Chars(const char* bytes) {
        for (const char* c = bytes; *c; ++c) Route(WM_CHAR, static_cast<BYTE>(*c));
    }
    static LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

    HWND window_ = nullptr;
    std::unique_ptr<CNoWndEdit> host_;
};

TEST_F(TextEntry, DoubleByteCharactersArriveWholeByEveryRoute) {
    Open(*host_);
    Chars("ab");
    // Two WM_CHAR bytes of an ANSI window, the lead byte consumed on its own.
    EXPECT_TRUE(Route(WM_CHAR, 0xD6));
    EXPECT_EQ("ab", host_->GetText());
    Route(WM_CHAR, 0xD0);
    // The whole character at once, lead byte high, as an input method sends it.
    Route(WM_IME_CHAR, 0xCEC4);
    Chars("c");
    EXPECT_EQ(std::string("ab") + kZhong + kWen + "c", host_->GetText());
}

TEST_F(TextEntry, EnterStartsALineOnlyWhenMultiLine) {
    Open(*host_);
    Chars("one");
    EXPECT_TRUE(Route(WM_KEYDOWN, VK_RETURN));
    Route(WM_CHAR, '\r');
    Route(WM_KEYUP, VK_RETURN);
    Chars("two");
    EXPECT_EQ("one\rtwo", host_->GetText());

    host_->SetMultiLine(FALSE);
    EXPECT_FALSE(Route(WM_KEYDOWN, VK_RETURN));
    EXPECT_FALSE(Route(WM_KEYUP, VK_RETURN));
}

TEST_F(TextEntry, PressesOutsideGreyTheTextAndGoOnToTheWindow) {
    Open(*host_);
    Chars("x");
    EXPECT_TRUE(Route(WM_MOUSEMOVE, 0, At(50, 50)));
    EXPECT_FALSE(Route(WM_MOUSEMOVE, 0, At(350, 250)));
    EXPECT_FALSE(Route(WM_LBUTTONDOWN, MK_LBUTTON, At(350, 250)));
    EXPECT_FALSE(host_->IsActive());
    // Inactive, it leaves keys to the window.
    EXPECT_FALSE(Route(WM_CHAR, 'y'));
    // A press inside activates it again and places the caret.
    EXPECT_TRUE(Route(WM_LBUTTONDOWN, MK_LBUTTON, At(30, 30)));
    EXPECT_TRUE(host_->IsActive());
    EXPECT_EQ(window_, GetCapture());
    // A release outside still ends the capture the press took.
    Route(WM_LBUTTONUP, 0, At(350, 250));
    EXPECT_NE(window_, GetCapture());
}

TEST_F(TextEntry, HiddenOrUnboundHostsTakeNothing) {
    // Not yet bound to the window.
    EXPECT_FALSE(Route(WM_CHAR, 'a'));
    EXPECT_TRUE(Route(WM_INPUTLANGCHANGEREQUEST, 0, 0));
    Open(*host_);
    host_->SetVisible(FALSE);
    EXPECT_FALSE(host_->IsActive());
    EXPECT_FALSE(Route(WM_CHAR, 'a'));
    EXPECT_FALSE(Route(WM_LBUTTONDOWN, MK_LBUTTON, At(30, 30)));
    EXPECT_TRUE(Route(WM_INPUTLANGCHANGEREQUEST, 0, 0));
    EXPECT_FALSE(Route(WM_PAINT, 0, 0));
    EXPECT_EQ("", host_->GetText());
}

TEST_F(TextEntry, OnlyOneHostIsActiveAndSetTextReplacesEverything) {
    CNoWndEdit other;
    Open(*host_);
    Open(other, RECT{20, 220, 300, 290});
    EXPECT_TRUE(other.IsActive());
    EXPECT_FALSE(host_->IsActive());
    Chars("b");
    EXPECT_EQ("b", other.GetText());
    EXPECT_EQ("", host_->GetText());
    other.SetText((std::string("new ") + kZhong).c_str());
    EXPECT_EQ(std::string("new ") + kZhong, other.GetText());
    other.SetText("");
    EXPECT_EQ("", other.GetText());
}

TEST_F(TextEntry, DrawsItsTextInsideItsRectangleOnly) {
    Open(*host_, RECT{40, 40, 200, 120});
    Chars("Wide text WWW");
    Surface surface;
    surface.CreateDib(400, 300);
    auto* px = static_cast<uint32_t*>(surface.bits());
    std::fill(px, px + 400 * 300, 0x00FFFFFFu);
    CNoWndEdit::DrawHosts(window_, surface.dc());
    GdiFlush();
    int inside = 0, outside = 0, red = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x) {
            const uint32_t p = px[y * 400 + x] & 0x00FFFFFF;
            if (p == 0x00FFFFFF) continue;
            const bool in = x >= 40 && x < 200 && y >= 40 && y < 120;
            (in ? inside : outside)++;
            if (((p >> 16) & 0xFF) > 0xC0 && (p & 0xFF) < 0x60) ++red;
        }
    EXPECT_GT(inside, 50);
    EXPECT_EQ(0, outside);
    EXPECT_GT(red, 20) << "the text takes its colour while active";
    // Another window's hosts are not drawn on this one.
    std::fill(px, px + 400 * 300, 0x00FFFFFFu);
    CNoWndEdit::DrawHosts(GetDesktopWindow(), surface.dc());
    GdiFlush();
    EXPECT_EQ(0x00FFFFFFu, px[60 * 400 + 60] & 0x00FFFFFF);
}

}  // namespace

namespace {

TEST_F(TextEntry, LongTextGreysAndCommitsWithoutStalling) {
    // A long single line in a narrow box: greying it at a press outside
    // must not lay all the text out again.
    Open(*host_, RECT{20, 20, 220, 200});
    std::string line;
    while (line.size() < 2048) line += "word ";
    host_->SetText(line.c_str());
    const DWORD start = GetTickCount();
    EXPECT_FALSE(Route(WM_LBUTTONDOWN, MK_LBUTTON, At(350, 250)));
    EXPECT_FALSE(host_->IsActive());
    EXPECT_LT(GetTickCount() - start, 1000u);
    EXPECT_EQ(line, host_->GetText());
    // The session's closing of the box.
    const DWORD closing = GetTickCount();
    host_->SetEditRect(window_, RECT{-1000, -1000, 10, 10});
    host_->SetText("");
    host_->SetVisible(FALSE);
    EXPECT_LT(GetTickCount() - closing, 1000u);
}

}  // namespace
