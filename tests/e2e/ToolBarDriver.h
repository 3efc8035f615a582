#pragma once
// What the end-to-end tests need to use the tool bar as a user would: where
// its buttons are for a selection, what the skin looks like, the program's
// dialogs, and another program holding the clipboard.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/Driver.h"

namespace e2e {

// Buttons of the bar in their screen order, then the panel's.
enum Button { kRect, kEllipse, kArrow, kText, kPen, kUndo, kClose, kSave, kFinish, kWidth2, kWidth5, kWidth8, kColour };

// An image read through the imaging library: 0xAARRGGBB, top-down rows.
struct Image {
    int width = 0, height = 0;
    std::vector<uint32_t> argb;
    uint32_t at(int x, int y) const { return argb[static_cast<size_t>(y) * width + x]; }
};
Image ReadImageFile(const std::string& path);
// A file of the skin beside the program under test.
Image SkinImage(const std::string& file);

// Where the bar and its buttons lie for a stored selection on this screen.
struct Bar {
    bool above = false;
    RECT rect{};             // the bar's rectangle
    POINT panel{};           // top-left of the panel's background
    POINT origin[13]{};      // top-left of each button, by Button
    POINT Centre(Button b) const;
};
Bar BarFor(int left, int top, int right, int bottom);

// Empty when every opaque pixel of frame `frame` of a three-frame strip shows
// on the screen with its top-left at (x, y); else the first difference.
std::string ShowsStrip(const Pixels& screen, const Image& strip, int frame, int x, int y);
// Likewise for a whole image, but for the screen areas in `covered`.
std::string ShowsImage(const Pixels& screen, const Image& image, int x, int y, const std::vector<RECT>& covered = {});
// The bar's background and its nine buttons, the hovered one (if any) in its
// hover frame; empty when the screen shows them.
std::string ShowsBar(const Pixels& screen, const Bar& bar, int hovered = -1);
// The panel's background and its three width buttons.
std::string ShowsPanel(const Pixels& screen, const Bar& bar);

// Clicks a button of the bar (press and release on its centre).
void ClickButton(const Bar& bar, Button b);
// Clicks the panel's colour button and answers the chooser (owned by
// `owner`) with a colour; false when no chooser appeared.
bool ChooseColour(const Bar& bar, HWND owner, int red, int green, int blue);

// The picture the user should get: the first pattern on a screen-sized
// 32-bit DIB section, `draw` run on it in screen coordinates, and the part
// (x, y, w, h) of the result.
Pixels ExpectedPicture(const std::function<void(HDC)>& draw, int x, int y, int w, int h);
// The platform's own renderings of each kind of mark, for ExpectedPicture.
void DrawRectangle(HDC dc, POINT a, POINT b, int width, COLORREF colour);
void DrawEllipse(HDC dc, POINT a, POINT b, int width, COLORREF colour);
void DrawArrow(HDC dc, POINT tail, POINT tip, COLORREF colour);
void DrawStroke(HDC dc, const std::vector<POINT>& points, int width, COLORREF colour);
// Text in "Arial" 14 pt laid out in (corner, width x height), wrapped and clipped there.
void DrawTypedText(HDC dc, POINT corner, float width, float height, const std::wstring& text, COLORREF colour);

// A capture whose selection (300, 200, 1100, 700) is marked up, and what the
// user should get from it: the part of the selection that a grab takes (all
// but its two-pixel band) is (kL, kT, kW, kH).
class MarkupFixture : public CaptureFixture {
protected:
    // Drags the selection out, waits for its bar and chooses `tool` there.
    Bar SelectAndChoose(Button tool);
    // Waits until the grabbed part of the screen shows the first pattern
    // with `marks` drawn on it; the difference otherwise (and a screenshot).
    std::string Shows(const std::function<void(HDC)>& marks, const std::string& name);
    // Finish: the process ends and the clipboard holds exactly that part.
    void FinishAndExpect(const Bar& bar, const std::function<void(HDC)>& marks);

    static constexpr int kL = 302, kT = 202, kW = 796, kH = 496;
};

// A visible dialog (#32770) owned by `owner`, once it appears; nullptr on timeout.
HWND WaitDialog(HWND owner, int timeoutMs);
// Text of a control of another process.
std::string ControlText(HWND control);
// The file-name box of a save dialog.
HWND FileNameBox(HWND dialog);

// Another program's hold on the clipboard: opened now, closed once `ms` have
// passed (the destructor waits for that, pumping).
class ClipboardHolder {
public:
    explicit ClipboardHolder(int ms);
    ~ClipboardHolder();
    bool Held() const { return held_; }

private:
    HWND window_ = nullptr;
    bool held_ = false;
    DWORD until_ = 0;
};

}  // namespace e2e
