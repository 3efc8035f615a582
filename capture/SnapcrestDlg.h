#pragma once
#include <windows.h>

#include <climits>
#include <functional>
#include <memory>
#include <vector>

#include "capture/DimTable.h"
#include "framework/PixelRows.h"
#include "capture/EarlySnapshot.h"
#include "capture/PaintLayout.h"
#include "capture/PaintTiming.h"
#include "capture/SceneDiff.h"
#include "framework/Dialog.h"
#include "framework/Geometry.h"
#include "platform/BlendSprite.h"
#include "platform/GdiHandles.h"
#include "platform/Gdiplus.h"
#include "platform/Surface.h"
#include "shapes/Shapes.h"
#include "textentry/NoWndEdit.h"
#include "toolbar/ToolBars.h"
#include "tracker/MyTracker.h"
#include "tracker/TrackerOwner.h"

// One capture session: a modal window over the whole primary screen that shows
// the screen frozen as it was when the session was constructed, and lets the
// user select a part of it. Everything the user sees is composed off screen on
// the work surface and copied to the window in one block transfer.
class CSnapcrestDlg : public CDialog, public ITrackerOwner {
public:
    // With `ready`, a snapshot of the screen taken a moment before (at the
    // program's start), the session shows that one instead of grabbing anew.
    explicit CSnapcrestDlg(CWnd* pParent = nullptr, std::unique_ptr<ScreenSnapshot> ready = nullptr);
    ~CSnapcrestDlg() override;

    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    // Asks for a paint of the whole window. The picture changes only when
    // m_bFullRedraw was set first.
    void RepaintAll() override;
    HWND TrackerWindow() const override { return m_hWnd; }
    void SetOffHandle(BOOL offHandle) override { m_bOffHandle = offHandle; }

    // The screen-grab routine, reading the live screen (see ScreenGrab.h).
    bool CopyScreenRect(const Rect& rect, HBITMAP* bitmap, BOOL toClipboard);

    // Composition of the picture onto dc, from the session's state. The
    // reference composes step by step in the documented order, dimming the
    // whole screen each time; the fast path starts from the dimmed snapshot
    // prepared once per session. Both give the same pixels.
    void ComposeReference(HDC dc);
    void ComposeFast(HDC dc);
    // Blocks until the dimmed snapshot is ready (it is prepared in the
    // background so that the frozen picture shows at once).
    void WaitForDimmedSnapshot();
    // What dimming adds to each colour value, learnt with the dimmed snapshot.
    const DimTable& GetDimTable() const { return m_dimTable; }

    // The keyboard nudge of the selection by one arrow key; shown at once.
    void NudgeByKey(unsigned vk, bool shift);

    // Message 3025: with the tool bar's finish flag set, the selection goes to
    // the clipboard and the session ends.
    void CopyAndFinish();
    // Message 3024: starts the save worker with the selection as it stands now.
    void StartSave();

    // Ends the typing: the typed text becomes the current shape's text and,
    // 100 ms later, shows at the point where the box was opened.
    void CommitText();

    void DimBackground(HDC dc);
    void DrawSizeLabel(HDC dc, int x, int y);
    void OnUndo();

    // Fields, in the order of the session's data model.
    int m_nScreenWidth;
    int m_nScreenHeight;
    Point m_ptTextOrigin{};
    BOOL m_bShowReadout = 0;
    BOOL m_bFirstDrag = 0;
    BOOL m_bHasSelection = 0;
    Point m_ptAnchor{};
    CMyTracker m_tracker;
    HCURSOR m_hCursor = nullptr;
    UniqueBitmap m_hSnapshot;
    PixelRows m_snapshotPixels;  // the snapshot's pixel memory, read only
    std::unique_ptr<CToolBars> m_pToolBars;
    // The pointer read-out's last corner and pointer positions.
    int m_nReadoutLeft = 0, m_nReadoutTop = 0, m_nReadoutX = 0, m_nReadoutY = 0, m_nReadoutColor = 0;
    gdip::Image m_pBackImage;
    CShapeBase* m_pCurShape = nullptr;  // the newest shape, while it is in the list
    Surface m_dcWork;
    Surface m_dcSnapshot;
    Surface m_hdcPreview;
    Surface m_hdcBefore;
    BOOL m_bOffHandle = 1;
    BOOL m_bBarAbove = 0;
    char m_szSizeText[256] = {};
    std::vector<std::unique_ptr<CShapeBase>> m_shapes;  // oldest first
    BOOL m_bButtonDown = 0;
    BOOL m_bNewShape = 0;
    BOOL m_bFullRedraw = 0;
    BOOL m_bTextBoxOpen = 0;
    // The windowless text entry, made at the first text box so that a
    // capture that types nothing never loads the text services.
    std::unique_ptr<CNoWndEdit> m_pTextEntry;
    std::unique_ptr<Rect> m_pTextBoxRect;  // the open text box; null while none is open
    BOOL m_bUpSeen = 0;
    BOOL m_bOverToolBar = 0;
    HICON m_hIcon = nullptr;

    // Told the window once it covers the screen; the host records it for its
    // keyboard filter.
    std::function<void(HWND)> m_onWindowReady;

    // Set to compose every frame the reference way (for comparisons and
    // benchmarks); from the environment variable SNAPCREST_REFERENCE_PAINT=1.
    bool m_bReferencePaint = false;

protected:
    void OnPaint() override;
    HCURSOR OnQueryDragIcon() override;
    void OnMouseMove(UINT flags, POINT point) override;
    void OnLButtonDown(UINT flags, POINT point) override;
    void OnLButtonUp(UINT flags, POINT point) override;
    // The window lost the input to another: a first drag ends there.
    void OnInputTakenAway();
    void OnLButtonDblClk(UINT flags, POINT point) override;
    BOOL OnEraseBkgnd(HDC dc) override;
    BOOL OnSetCursor(HWND wnd, UINT hitTest, UINT message) override;
    void OnRButtonUp(UINT flags, POINT point) override;
    HBRUSH OnCtlColor(HDC dc, HWND wnd, UINT ctlType) override;
    void OnDestroy() override;
    void OnTimer(UINT_PTR id) override;

private:
    // A tool of the annotation tool bar is chosen: presses on the selection
    // draw instead of moving it.
    bool IsToolChosen() const { return m_pToolBars && m_pToolBars->IsToolChosen(); }
    // The bar takes the pointer only while the screen shows it, so that its
    // buttons cannot be hovered or clicked before a selection exists.
    bool BarAnswers() const { return m_pToolBars && m_bBarShown; }
    // Sets m_bFullRedraw: the next paint composes the picture again.
    void RequestRecompose();
    // Message 3028: a hover frame of the bar changed.
    void OnHoverChanged();

    // What the next composition would show, item by item.
    scene::Look CurrentLook() const;
    // Marks what changed since the last call for composing and showing.
    void InvalidateChanges();
    // Something was drawn straight onto the window there; the next repaint
    // shows the composed picture there again.
    void NoteDrawnOnWindow(const Rect& area);
    void NoteDrawnOnWindow(HRGN area);

    // Shapes: the press that starts one, the pointer's moves, the release.
    void StartShape(Point p);
    void UpdateShape(Point p);
    void FinishShape(Point p);
    void RemoveNewestShape();
    void DrawShapes(HDC dc);
    // The live preview of the current shape from the before-shape surface.
    void PreviewShape();

    // Surfaces and the bar's skin, made when first needed rather than
    // before the first frame.
    // Each false when its screen-sized surfaces cannot be made. A new work
    // surface holds the snapshot unless `withSnapshot` is false (a whole
    // composition follows).
    bool EnsureWorkSurface(bool withSnapshot);
    // The rectangles a paint's context may draw on, when there are several.
    std::vector<Rect> PaintedParts(HDC paintDc) const;
    // Copies `parts` of the window with `copy` (which draws one box onto the
    // window, clipped to the parts) group by group, handing the window's
    // pixels over to the display between groups; one group is copied as
    // `whole`.
    static void ShowInGroups(const std::vector<Rect>& parts, const Rect& whole,
                             const std::function<void(const Rect&)>& copy);
    // Marks `area` of the window (null: all of it) to be repainted, without
    // erasing, and notes that a paint is to come.
    void AskRepaint(HRGN area);
    // Whether the changes just marked may be composed and shown at once
    // rather than by a paint to come, and doing so.
    bool ShowsChangesAtOnce() const;
    void ComposeAndShowChanges();
    // Composes the marked areas on the work surface (all of it after a
    // whole change, or the reference way) and clears the marks and
    // m_bFullRedraw; true when only the marked areas were composed.
    bool ComposeMarked();
    bool EnsureShapeSurfaces();
    // Short of memory for a screen-sized surface: the window goes at once,
    // so the user's screen is back, and the session ends like a cancel.
    void AbandonShortOfMemory();
    void EnsureToolBarSkin();

    // Text: the box that opens at a release with the text tool, the closing
    // of the text entry, and the placing of committed text 100 ms later.
    CNoWndEdit& TextEntry();
    void OpenTextBox(Point p);
    void CloseTextEntry();
    void PlaceCommittedText();
    // Before a grab from the screen: pending text placed, the last
    // composition painted and on the display.
    void PutPictureOnScreen();
    // Forgets a shape that is about to go, so no later step reaches it.
    void ForgetPendingText(const CShapeBase* shape);

    // The pointer read-out: the box beside the pointer with the true
    // rectangle's corner and the colour under the pointer, and the size
    // label's text. Drawn bright, for the dimming that follows to dim it.
    void DrawPointerReadout(const Rect& trueRect, HDC dc);
    // The same on a picture already dimmed: the box's area is composed from
    // the snapshot and dimmed on its own, to the same pixels; a box the
    // interior covers is left out.
    void DrawPointerReadoutDimmed(const Rect& trueRect, HDC dc);
    void PaintPointerReadout(const Rect& trueRect, HDC dc, bool dimmed);
    // The colour the box shows for the pointer at p.
    COLORREF ReadoutColour(Point p) const;
    // What a read-out step records: the label's text and what the box shows.
    void NoteReadout(const Rect& trueRect, Point pointer, COLORREF colour);
    void DimReadoutArea(HDC dc, Rect area);
    // The pointer the read-out is drawn for: the one the last marking of
    // changes saw while a paint is under way, else the pointer now.
    Point ReadoutPointer() const;
    // The colour the window shows at p.
    COLORREF ShownColourAt(Point p) const;
    ReadoutLayout ReadoutLayoutAt(Point pointer) const;
    // Learns from a small probe how dimming changes each byte value.
    void LearnDimTable();
    // Steps of the composition shared by both ways of composing.
    void ComposeSelectionItems(HDC dc, const Rect& trueRect);
    // Ends the session and, through the quit request, the process.
    void EndSessionAndQuit();
    void StartDimmedSnapshot();
    // The background job's work: the dimmed copy and the dimming's table.
    void MakeDimmedSnapshot();
    // The backdrop image, loaded again if it was let go.
    const gdip::Image& BackImage();
    void CaptureLabelBackdrop();
    // Copies `area` of the snapshot onto `dc`, within its clipping.
    void CopySnapshot(HDC dc, const Rect& area);
    // The parts of `area` a copy onto `dc` may change: its clipping's.
    std::vector<Rect> ClippedParts(HDC dc, const Rect& area) const;
    // The work surface's memory while a composition draws on it through
    // `dc`, for the items drawn straight into it; else none.
    PixelTarget WorkTarget(HDC dc) const;

    // The snapshot dimmed once, so that a frame is a few block copies.
    Surface m_dcDimmed;
    UniqueKernelHandle m_hDimThread;
    bool m_bDimmedReady = false;
    // The work surface's memory with the snapshot on it, made by the same
    // job (or refused, short of memory) for the first composition to take.
    UniqueBitmap m_workBitmapMade;
    void* m_workBitsMade = nullptr;
    bool m_bWorkSurfaceRefused = false;
    DimTable m_dimTable;

    Point m_ptReadoutPointer;
    mutable COLORREF m_crReadoutColour = 0;
    bool m_bReadoutPointerFixed = false;
    mutable int m_nReadoutLineHeight = 0, m_nReadoutReferenceWidth = 0;
    UniqueFont m_hReadoutFont;
    UniquePen m_hReadoutPen;
    UniqueFont m_hLabelFont;
    // The label's backdrop and the read-out's fill as the imaging library
    // blends them, captured at their first drawing (see BlendSprite).
    BlendSprite m_labelBackdrop;
    BlendSprite m_readoutFill;

    // Where the last press or move put the pointer.
    Point m_ptLastPointer{INT_MIN, INT_MIN};

    bool m_bSkinLoaded = false;
    bool m_bFirstFrameShown = false;

    // A screen-sized surface could not be made: the session ends unshown.
    bool m_bSurfacesMissing = false;

    // The last composition drew the tool bar.
    BOOL m_bBarShown = 0;
    // The picture as last marked for composing, and the areas marked since
    // the last composition (or all of them).
    scene::Look m_lookMarked;
    UniqueRegion m_rgnCompose;
    bool m_bComposeAll = true;
    // A composition draws on the work surface (m_bComposing), of only the
    // marked areas (m_bComposingParts): those areas as rectangles, the
    // surface's clipping known without asking the platform.
    std::vector<Rect> m_composeParts;
    bool m_bComposing = false;
    bool m_bComposingParts = false;
    // A size label was drawn on the work surface: its text colour is white.
    bool m_bWorkTextWhite = false;
    // The window's context, held while the button is down for the changes
    // shown at once: given back after every move, it had its attributes
    // reset, and the reset looked up the display's defaults again.
    std::unique_ptr<WindowDC> m_dragWindowDC;
    // Where the window shows something other than the work surface.
    UniqueRegion m_rgnDrawnOnWindow;
    bool m_bDrawnOnWindow = false;
    // A repaint the session asked for (AskRepaint) has not come yet.
    bool m_bRepaintAsked = false;
    // Where the current shape's last preview drew on the window.
    UniqueRegion m_rgnPreviewShown{::CreateRectRgn(0, 0, 0, 0)};

    // Committed text shapes waiting to move from their parking place to
    // where their box was opened, oldest first.
    struct PendingText {
        CShapeBase* shape;
        Point origin;
        ULONGLONG due;
    };
    std::vector<PendingText> m_pendingText;

    PaintTiming m_timing;
};

// The window of the capture session last initialised, the target of the tool
// bar's messages; never cleared.
extern HWND g_hCaptureWnd;
