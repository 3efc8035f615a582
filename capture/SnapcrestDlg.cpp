#include "capture/SnapcrestDlg.h"

#include <process.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "capture/BackdropDimming.h"
#include "capture/KeyboardNudge.h"
#include "capture/ScreenGrab.h"
#include "platform/HandleCount.h"
#include "platform/ModulePaths.h"
#include "resources/resource.h"

HWND g_hCaptureWnd = nullptr;

namespace {
// The tracker's look in a session: outline one pixel outside the selection and
// handles centred on it.
constexpr unsigned kSessionTrackerStyle = 81;
constexpr COLORREF kTrackerIdleColor = 0x0082640A;

// The image that dims the screen outside the selection and backs the label.
gdip::Image LoadBackdrop() { return gdip::Image::PixelsFromFile(L".\\skinScreen\\back.jpg"); }
}  // namespace

CSnapcrestDlg::CSnapcrestDlg(CWnd* pParent, std::unique_ptr<ScreenSnapshot> ready)
    : CDialog(IDD_SNAPCREST_DIALOG, pParent) {
    // What the previous sessions left alive, for the leak test; nothing of
    // this session is made yet.
    ReportLiveHandles();
    m_ptAnchor = Point{0, 0};

    // The skin is found relative to the executable.
    SetWorkingDirectoryToExecutable();

    m_tracker.m_nStyle = kSessionTrackerStyle;
    m_tracker.m_rect = Rect{-1, -2, -3, -4};
    m_tracker.SetColor(kTrackerIdleColor);
    m_tracker.SetCursors(IDC_SIZE_NS, IDC_SIZE_WE, IDC_SIZE_NWSE, IDC_SIZE_NESW, IDC_SIZE_ALL);
    m_tracker.SetOwner(this);

    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    m_hCursor = ::LoadCursorW(instance, MAKEINTRESOURCEW(IDC_SESSION_CURSOR));

    m_bShowReadout = m_bFirstDrag = m_bHasSelection = 0;
    m_ptAnchor = Point{0, 0};
    m_bOffHandle = 1;

    m_nScreenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    m_nScreenHeight = ::GetSystemMetrics(SM_CYSCREEN);

    // The snapshot is taken before the window exists, so it never shows the
    // session. It is a DIB section so that the dimmed copy can be made from
    // its memory on another thread; nothing ever draws on it.
    if (!ready || ready->width != m_nScreenWidth || ready->height != m_nScreenHeight) ready = GrabWholeScreen();
    m_hSnapshot = std::move(ready->bitmap);
    if (m_hSnapshot) m_snapshotPixels = PixelRows::Of(ready->bits, m_nScreenWidth, kSnapshotBytesPerPixel);

    m_rgnCompose.reset(::CreateRectRgn(0, 0, 0, 0));
    m_rgnDrawnOnWindow.reset(::CreateRectRgn(0, 0, 0, 0));
    m_nReadoutLeft = m_nReadoutTop = m_nReadoutX = m_nReadoutY = m_nReadoutColor = 0;

    // The bar's skin is composed once the first frame is on the screen.
    m_pToolBars = std::make_unique<CToolBars>();
    m_pCurShape = nullptr;

    m_bTextBoxOpen = m_bButtonDown = m_bFullRedraw = 0;

    // Only the snapshot is needed for the first frame. The work surface is
    // made at the first composition, the shape surfaces at the first shape:
    // a session that draws nothing never holds their memory.
    m_dcSnapshot.CreateContext();
    m_dcSnapshot.SelectBitmap(m_hSnapshot.get());
    // Without its snapshot the session has no true picture to show: it ends
    // before its window ever shows. The other screen-sized surfaces are made
    // later; their failure ends the session then (AbandonShortOfMemory).
    m_bSurfacesMissing = !m_hSnapshot;

    m_hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME));

    const char* reference = std::getenv("SNAPCREST_REFERENCE_PAINT");
    m_bReferencePaint = reference && std::strcmp(reference, "1") == 0;

    // The backdrop image is read and the dimmed snapshot made in the
    // background, so that the frozen picture shows at once; nothing uses the
    // image before that is done.
    if (!m_bSurfacesMissing) StartDimmedSnapshot();
}

CSnapcrestDlg::~CSnapcrestDlg() { WaitForDimmedSnapshot(); }

bool CSnapcrestDlg::CopyScreenRect(const Rect& rect, HBITMAP* bitmap, BOOL toClipboard) {
    return ::CopyScreenRect(rect, bitmap, toClipboard != 0, m_hWnd, m_nScreenWidth, m_nScreenHeight);
}

BOOL CSnapcrestDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (m_bSurfacesMissing) {
        // Never shown (the template's visibility goes with the style), so the
        // user's screen stays as it is; the session ends like a cancel and
        // the surfaces made so far go with the window.
        ::SetWindowLongA(m_hWnd, GWL_STYLE, WS_POPUP);
        EndDialog(IDABORT);
        return TRUE;
    }
    if (m_onWindowReady) m_onWindowReady(m_hWnd);
    g_hCaptureWnd = m_hWnd;
    if (m_pToolBars) m_pToolBars->SetTarget(m_hWnd);

    ::SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    ::SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    // No caption, no border. WS_VISIBLE comes from the show step below: set on
    // a window that is still hidden it would leave the window unmapped on
    // some platforms.
    ::SetWindowLongA(m_hWnd, GWL_STYLE, WS_POPUP);
    // Only accept-files and tool-window survive: no taskbar button.
    ::SetWindowLongA(m_hWnd, GWL_EXSTYLE, ::GetWindowLongA(m_hWnd, GWL_EXSTYLE) & 0x90);
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, m_nScreenWidth, m_nScreenHeight, SWP_SHOWWINDOW);
    return TRUE;
}

HCURSOR CSnapcrestDlg::OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(m_hIcon); }

HBRUSH CSnapcrestDlg::OnCtlColor(HDC dc, HWND wnd, UINT ctlType) { return CDialog::OnCtlColor(dc, wnd, ctlType); }

void CSnapcrestDlg::OnDestroy() {
    m_dragWindowDC.reset();
    CDialog::OnDestroy();
    // The background preparation may still be reading the surfaces.
    WaitForDimmedSnapshot();

    if (m_pToolBars) m_pToolBars->ReleaseSkin();
    m_pCurShape = nullptr;
    m_pendingText.clear();
    m_shapes.clear();  // oldest first
    m_pToolBars.reset();
    m_pTextBoxRect.reset();
    m_pTextEntry.reset();

    // Each surface gets back the bitmap its context held when it was made.
    m_dcSnapshot.RestoreBitmap();
    m_dcWork.RestoreBitmap();
    m_hdcBefore.RestoreBitmap();
    m_hdcPreview.RestoreBitmap();

    m_hSnapshot.Release();
    m_dcWork.DeleteContext();
    m_dcSnapshot.DeleteContext();
    m_hdcPreview.DeleteContext();
    m_hdcPreview.DeleteBitmap();
    m_hdcBefore.DeleteContext();
    m_hdcBefore.DeleteBitmap();
    m_dcWork.DeleteBitmap();
    m_workBitmapMade.Release();  // made by the background job, never composed on
    m_dcDimmed.DeleteContext();
    m_dcDimmed.DeleteBitmap();
}

void CSnapcrestDlg::NudgeByKey(unsigned vk, bool shift) {
    if (!m_bHasSelection) return;
    // Recomposed at once, so that what is shown is what a copy takes.
    if (NudgeSelection(m_tracker.m_rect, vk, shift)) {
        RequestRecompose();
        RepaintAll();
    }
}

void CSnapcrestDlg::AbandonShortOfMemory() {
    ::ShowWindow(m_hWnd, SW_HIDE);
    EndDialog(IDABORT);
}

void CSnapcrestDlg::EndSessionAndQuit() {
    EndDialog(0);
    ::PostQuitMessage(0);
}

void CSnapcrestDlg::StartDimmedSnapshot() {
    if (!m_snapshotPixels) {
        m_pBackImage = LoadBackdrop();
        return;
    }
    // The snapshot is never written; the job reads it from memory so that it
    // shares no context with this thread.
    ::GdiFlush();
    m_hDimThread.reset(reinterpret_cast<HANDLE>(_beginthreadex(
        nullptr, 0,
        [](void* arg) -> unsigned {
            auto* self = static_cast<CSnapcrestDlg*>(arg);
            self->MakeDimmedSnapshot();
            return 0;
        },
        this, 0, nullptr)));
    if (!m_hDimThread) m_pBackImage = LoadBackdrop();
}

void CSnapcrestDlg::MakeDimmedSnapshot() {
    const int w = m_nScreenWidth, h = m_nScreenHeight;
    if (!m_dcDimmed.CreateDib(w, h)) return;
    auto* bits = static_cast<uint32_t*>(m_dcDimmed.bits());
    // The banded way holds one of the library's working copies at its peak,
    // and that one a band where the scale allows; it is taken where it gives
    // the one drawing's pixels.
    if (!DimInBandsMatches(BackImage(), w, h) ||
        !DimInBands(m_dcDimmed.dc(), bits, w, h, m_snapshotPixels, BackImage(), w, h)) {
        CopyPlainArea(bits, w, m_snapshotPixels, Rect{0, 0, w, h});
        DimBackground(m_dcDimmed.dc());
    }
    LearnDimTable();
    // Items drawn on every step of a drag are blended by the program itself
    // once it knows how the platform blends.
    BlendSprite::LearnPlatformBlending();
    CaptureLabelBackdrop();
    // The decoded image is let go: a screen's worth of dimming is in the
    // copy, and the rare drawings that need the image again load it again.
    m_pBackImage = gdip::Image();
    // The work surface, holding what the window shows until the first
    // composition. Made at that composition, a screen's worth of fresh
    // pages held up the first step of the first drag by several ms.
    void* workBits = nullptr;
    m_workBitmapMade.reset(CreateTopDownDib(w, h, &workBits));
    if (m_workBitmapMade) CopyPlainArea(static_cast<uint32_t*>(workBits), w, m_snapshotPixels, Rect{0, 0, w, h});
    m_workBitsMade = workBits;
    m_bWorkSurfaceRefused = !m_workBitmapMade;
    ::GdiFlush();
}

const gdip::Image& CSnapcrestDlg::BackImage() {
    if (!m_pBackImage) m_pBackImage = LoadBackdrop();
    return m_pBackImage;
}

void CSnapcrestDlg::WaitForDimmedSnapshot() {
    if (m_hDimThread) {
        ::WaitForSingleObject(m_hDimThread.get(), INFINITE);
        m_hDimThread.Release();
        m_bDimmedReady = m_dcDimmed.bits() != nullptr;
        // A paint that could not wait for the job made its own.
        if (m_dcWork.bitmap()) m_workBitmapMade.Release();
    }
}
