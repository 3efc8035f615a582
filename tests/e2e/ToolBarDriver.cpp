#include "tests/e2e/ToolBarDriver.h"

#include <gtest/gtest.h>

#include <objidl.h>
#include <gdiplus.h>


#include "platform/DibInfo.h"
#include "shapes/ArrowGeometry.h"

namespace e2e {

Image ReadImageFile(const std::string& path) {
    using namespace Gdiplus;
    using namespace Gdiplus::DllExports;
    static ULONG_PTR token = [] {
        ULONG_PTR t = 0;
        GdiplusStartupInput input;
        GdiplusStartup(&t, &input, nullptr);
        return t;
    }();
    (void)token;
    Image image;
    std::wstring wide(path.begin(), path.end());
    GpBitmap* bitmap = nullptr;
    if (GdipCreateBitmapFromFile(wide.c_str(), &bitmap) != Ok) return image;
    UINT w = 0, h = 0;
    GdipGetImageWidth(bitmap, &w);
    GdipGetImageHeight(bitmap, &h);
    BitmapData data{};
    GpRect all(0, 0, static_cast<INT>(w), static_cast<INT>(h));
    if (GdipBitmapLockBits(bitmap, &all, ImageLockModeRead, PixelFormat32bppARGB, &data) == Ok) {
        image.width = static_cast<int>(w);
        image.height = static_cast<int>(h);
        image.argb.resize(static_cast<size_t>(w) * h);
        for (UINT y = 0; y < h; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const char*>(data.Scan0) + y * data.Stride);
            std::copy(row, row + w, image.argb.begin() + static_cast<ptrdiff_t>(y) * w);
        }
        GdipBitmapUnlockBits(bitmap, &data);
    }
    GdipDisposeImage(bitmap);
    return image;
}

Image SkinImage(const std::string& file) {
    std::string dir = SnapcrestExe();
    dir = dir.substr(0, dir.find_last_of('\\') + 1);
    return ReadImageFile(dir + "skinScreen\\" + file);
}

POINT Bar::Centre(Button b) const {
    const int size = b >= kWidth2 && b <= kWidth8 ? 18 : 24;
    return POINT{origin[b].x + size / 2, origin[b].y + size / 2};
}

Bar BarFor(int left, int top, int right, int bottom) {
    // The selection's outer rectangle: normalised and grown by the handles.
    const int sl = std::min(left, right) - 4, st = std::min(top, bottom) - 4;
    const int sr = std::max(left, right) + 4, sb = std::max(top, bottom) + 4;
    (void)sl;
    static const Image background = SkinImage("icon_bg.png"), button = SkinImage("rectangle.png");
    static const Image panel = SkinImage("pop_bg.png"), size = SkinImage("one.png");
    Bar bar;
    bar.above = sb + 43 > ScreenHeight();
    const int x = sr - 319, y = bar.above ? st - 38 : sb + 2;
    bar.rect = RECT{x - 30, y, x + 309, y + 38};
    const int rowTop = y + (background.height - button.height) / 2;
    for (int k = kRect; k <= kFinish; ++k) bar.origin[k] = POINT{x - 15 + 30 * k, rowTop};
    const POINT anchor = bar.above ? POINT{sr - 440, st - 81} : POINT{x, y};
    bar.panel = POINT{anchor.x, anchor.y + 43};
    const int py = anchor.y + 43 + (panel.height - size.height) / 2;
    for (int k = 0; k < 3; ++k) bar.origin[kWidth2 + k] = POINT{anchor.x + 4 + 20 * k, py};
    bar.origin[kColour] = POINT{anchor.x + 74, py - 5};
    return bar;
}

namespace {
const char* const kStrips[] = {"rectangle.png", "round.png", "arrow.png", "font.png", "pen.png", "return.png",
                               "close.png", "save.png", "finish.png", "one.png", "mid.png", "big.png", "color.png"};

bool Inside(const std::vector<RECT>& rects, int x, int y) {
    for (const RECT& r : rects)
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
    return false;
}

std::string CompareOpaque(const Pixels& screen, const Image& image, int sx, int w, int x, int y,
                          const std::vector<RECT>& covered = {}) {
    for (int yy = 0; yy < image.height; ++yy)
        for (int xx = 0; xx < w; ++xx) {
            const uint32_t want = image.at(sx + xx, yy);
            const int px = x + xx, py = y + yy;
            if ((want >> 24) != 0xFF || px < 0 || py < 0 || px >= screen.width || py >= screen.height) continue;
            if (Inside(covered, px, py)) continue;
            if ((want & 0xFFFFFF) != screen.at(px, py))
                return "at (" + std::to_string(px) + ", " + std::to_string(py) + ") the screen shows " +
                       Hex(screen.at(px, py)) + ", the skin " + Hex(want & 0xFFFFFF);
        }
    return "";
}
}  // namespace

std::string ShowsStrip(const Pixels& screen, const Image& strip, int frame, int x, int y) {
    if (strip.width == 0) return "no skin image";
    const int w = strip.width / 3;
    return CompareOpaque(screen, strip, w * frame, w, x, y);
}

std::string ShowsImage(const Pixels& screen, const Image& image, int x, int y, const std::vector<RECT>& covered) {
    if (image.width == 0) return "no skin image";
    return CompareOpaque(screen, image, 0, image.width, x, y, covered);
}

namespace {
std::string ShowsButtons(const Pixels& screen, const Bar& bar, int first, int last, int hovered,
                         std::vector<RECT>* covered) {
    for (int b = first; b <= last; ++b) {
        static std::vector<Image> strips;
        if (strips.empty())
            for (const char* file : kStrips) strips.push_back(SkinImage(file));
        const Image& strip = strips[static_cast<size_t>(b)];
        const POINT o = bar.origin[b];
        covered->push_back(RECT{o.x, o.y, o.x + strip.width / 3, o.y + strip.height});
        const std::string why = ShowsStrip(screen, strip, b == hovered ? 1 : 0, o.x, o.y);
        if (!why.empty()) return std::string(kStrips[b]) + ": " + why;
    }
    return "";
}
}  // namespace

std::string ShowsBar(const Pixels& screen, const Bar& bar, int hovered) {
    static const Image background = SkinImage("icon_bg.png");
    std::vector<RECT> covered;
    const std::string why = ShowsButtons(screen, bar, kRect, kFinish, hovered, &covered);
    if (!why.empty()) return why;
    return ShowsImage(screen, background, bar.rect.left, bar.rect.top, covered);
}

std::string ShowsPanel(const Pixels& screen, const Bar& bar) {
    static const Image background = SkinImage("pop_bg.png");
    std::vector<RECT> covered;
    const std::string why = ShowsButtons(screen, bar, kWidth2, kWidth8, -1, &covered);
    if (!why.empty()) return why;
    const POINT c = bar.origin[kColour];
    covered.push_back(RECT{c.x - 1, c.y - 1, c.x + 25, c.y + 25});  // the swatch and its 2-pixel edge
    return ShowsImage(screen, background, bar.panel.x, bar.panel.y, covered);
}

void ClickButton(const Bar& bar, Button b) {
    const POINT c = bar.Centre(b);
    MoveTo(c.x, c.y);
    Idle(30);
    Click(c.x, c.y);
}

bool ChooseColour(const Bar& bar, HWND owner, int red, int green, int blue) {
    ClickButton(bar, kColour);
    HWND chooser = WaitDialog(owner, 3000);
    if (!chooser) return false;
    const int values[] = {red, green, blue};
    for (int i = 0; i < 3; ++i)
        SendMessageA(GetDlgItem(chooser, 706 + i), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(std::to_string(values[i]).c_str()));
    SendMessageA(GetDlgItem(chooser, IDOK), BM_CLICK, 0, 0);
    return WaitFor([&] { return !IsWindow(chooser); }, 2000);
}

Pixels ExpectedPicture(const std::function<void(HDC)>& draw, int x, int y, int w, int h) {
    const int W = ScreenWidth(), H = ScreenHeight();
    BITMAPINFO bi = TopDownDib32(W, H);
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP dib = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, dib);
    const Pixels pattern = PatternPixels(Pattern::First, W, H);
    std::copy(pattern.data.begin(), pattern.data.end(), static_cast<uint32_t*>(bits));
    draw(dc);
    GdiFlush();
    Pixels part = ReadDC(dc, x, y, w, h);
    SelectObject(dc, old);
    DeleteObject(dib);
    DeleteDC(dc);
    return part;
}

void DrawRectangle(HDC dc, POINT a, POINT b, int width, COLORREF colour) {
    HPEN pen = CreatePen(PS_DASH, width, colour);
    HGDIOBJ oldPen = SelectObject(dc, pen), oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, a.x, a.y, b.x, b.y);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

namespace {
Gdiplus::ARGB Opaque(COLORREF c) { return 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }
}  // namespace

void DrawEllipse(HDC dc, POINT a, POINT b, int width, COLORREF colour) {
    using namespace Gdiplus::DllExports;
    Gdiplus::GpGraphics* g = nullptr;
    Gdiplus::GpPen* pen = nullptr;
    GdipCreateFromHDC(dc, &g);
    GdipSetSmoothingMode(g, Gdiplus::SmoothingModeHighQuality);
    GdipCreatePen1(Opaque(colour), static_cast<Gdiplus::REAL>(width), Gdiplus::UnitWorld, &pen);
    // The ellipse inscribed in the rectangle the two points span.
    const int x = std::min(a.x, b.x), y = std::min(a.y, b.y);
    GdipDrawEllipseI(g, pen, x, y, std::abs(b.x - a.x), std::abs(b.y - a.y));
    GdipDeletePen(pen);
    GdipDeleteGraphics(g);
}

void DrawArrow(HDC dc, POINT tail, POINT tip, COLORREF colour) {
    using namespace Gdiplus::DllExports;
    Point outline[6];
    if (!arrowgeo::Polygon(Point{tail.x, tail.y}, Point{tip.x, tip.y}, 16.0, 20, outline)) return;
    Gdiplus::GpPoint points[6];
    for (int i = 0; i < 6; ++i) points[i] = Gdiplus::GpPoint(outline[i].x, outline[i].y);
    Gdiplus::GpGraphics* g = nullptr;
    Gdiplus::GpSolidFill* brush = nullptr;
    GdipCreateFromHDC(dc, &g);
    GdipSetSmoothingMode(g, Gdiplus::SmoothingModeHighQuality);
    GdipCreateSolidFill(Opaque(colour), &brush);
    GdipFillPolygonI(g, brush, points, 6, Gdiplus::FillModeAlternate);
    GdipDeleteBrush(brush);
    GdipDeleteGraphics(g);
}

Bar MarkupFixture::SelectAndChoose(Button tool) {
    StartCapture();
    Drag(POINT{296, 196}, POINT{1100, 700}, 10);
    const Bar bar = BarFor(300, 200, 1100, 700);
    std::string why;
    if (!WaitFor([&] { return (why = ShowsBar(GrabScreen(), bar)).empty(); }, 3000, 40)) {
        SaveArtifact(GrabScreen(), "bar-after-selection");
        ADD_FAILURE() << "no bar after the selection: " << why << "; " << program_->Summary();
    }
    ClickButton(bar, tool);
    return bar;
}

std::string MarkupFixture::Shows(const std::function<void(HDC)>& marks, const std::string& name) {
    const Pixels want = ExpectedPicture(marks, kL, kT, kW, kH);
    std::string why;
    if (!WaitFor([&] { return (why = FirstDifference(GrabScreenRect(kL, kT, kW, kH), 0, 0, want, 0, 0, kW, kH)).empty(); },
                 2000, 20))
        SaveArtifact(GrabScreen(), name);
    return why;
}

void MarkupFixture::FinishAndExpect(const Bar& bar, const std::function<void(HDC)>& marks) {
    ClickButton(bar, kFinish);
    // The click is taken only after everything posted before it (a long text
    // typed at once is a thousand characters); on a busy machine the program
    // was once still running three seconds after it.
    EXPECT_TRUE(program_->WaitExit(10000)) << program_->Summary();
    const Pixels clip = ClipboardBitmap();
    ASSERT_EQ(kW, clip.width);
    ASSERT_EQ(kH, clip.height);
    EXPECT_EQ("", FirstDifference(clip, 0, 0, ExpectedPicture(marks, kL, kT, kW, kH), 0, 0, kW, kH));
}

void DrawTypedText(HDC dc, POINT corner, float width, float height, const std::wstring& text, COLORREF colour) {
    using namespace Gdiplus::DllExports;
    Gdiplus::GpGraphics* g = nullptr;
    Gdiplus::GpFontFamily* family = nullptr;
    Gdiplus::GpFont* font = nullptr;
    Gdiplus::GpLineGradient* brush = nullptr;
    Gdiplus::GpStringFormat* format = nullptr;
    GdipCreateFromHDC(dc, &g);
    GdipCreateFontFamilyFromName(L"Arial", nullptr, &family);
    GdipCreateFont(family, 14.0f, Gdiplus::FontStyleRegular, Gdiplus::UnitPoint, &font);
    const Gdiplus::GpPoint from(0, 0), to(20, 20);
    GdipCreateLineBrushI(&from, &to, Opaque(colour), Opaque(colour), Gdiplus::WrapModeTile, &brush);
    GdipCreateStringFormat(0, 0, &format);
    const Gdiplus::RectF box(static_cast<float>(corner.x), static_cast<float>(corner.y), width, height);
    GdipDrawString(g, text.c_str(), static_cast<INT>(text.size()), font, &box, format, brush);
    GdipDeleteStringFormat(format);
    GdipDeleteBrush(brush);
    GdipDeleteFont(font);
    GdipDeleteFontFamily(family);
    GdipDeleteGraphics(g);
}

void DrawStroke(HDC dc, const std::vector<POINT>& points, int width, COLORREF colour) {
    HPEN pen = CreatePen(PS_SOLID, width, colour);
    HGDIOBJ old = SelectObject(dc, pen);
    SetBkMode(dc, TRANSPARENT);
    MoveToEx(dc, points[0].x, points[0].y, nullptr);
    for (size_t i = 1; i < points.size(); ++i) LineTo(dc, points[i].x, points[i].y);
    SelectObject(dc, old);
    DeleteObject(pen);
}

HWND WaitDialog(HWND owner, int timeoutMs) {
    HWND found = nullptr;
    WaitFor(
        [&] {
            found = nullptr;
            std::pair<HWND, HWND*> ctx(owner, &found);
            EnumWindows(
                [](HWND h, LPARAM lp) -> BOOL {
                    auto* c = reinterpret_cast<std::pair<HWND, HWND*>*>(lp);
                    char cls[32] = {};
                    GetClassNameA(h, cls, sizeof cls);
                    if (GetWindow(h, GW_OWNER) == c->first && IsWindowVisible(h) && std::string(cls) == "#32770") {
                        *c->second = h;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&ctx));
            return found != nullptr;
        },
        timeoutMs, 50);
    return found;
}

std::string ControlText(HWND control) {
    char text[1024] = {};
    SendMessageA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

HWND FileNameBox(HWND dialog) {
    if (HWND edit = GetDlgItem(dialog, 0x480)) return edit;
    HWND combo = FindWindowExA(dialog, nullptr, "ComboBoxEx32", nullptr);
    return combo ? FindWindowExA(FindWindowExA(combo, nullptr, "ComboBox", nullptr), nullptr, "Edit", nullptr)
                 : nullptr;
}

ClipboardHolder::ClipboardHolder(int ms) : until_(GetTickCount() + static_cast<DWORD>(ms)) {
    window_ = CreateWindowExA(0, "STATIC", "holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    held_ = OpenClipboard(window_) != FALSE;
}

ClipboardHolder::~ClipboardHolder() {
    const DWORD now = GetTickCount();
    if (static_cast<int>(until_ - now) > 0) Idle(static_cast<int>(until_ - now));
    if (held_) CloseClipboard();
    DestroyWindow(window_);
}

}  // namespace e2e
