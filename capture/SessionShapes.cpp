// Annotation shapes in the capture session: a press on the selection with a
// tool chosen starts one, the pointer's moves preview it, the release finishes
// it, every composition draws the list oldest first, and undo takes the newest.
#include "capture/SnapcrestDlg.h"
#include "framework/Win32Rect.h"
#include "shapes/ShapeGeometry.h"

namespace {
// An arrow must be at least this long when released inside the selection.
constexpr int kMinArrowLength = 15;

void SetArrowCursor() { ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW)); }
}  // namespace

void CSnapcrestDlg::StartShape(Point p) {
    const ToolState& tools = *m_pToolBars;
    // The bar leaves at most one tool flag set; each set flag adds its shape.
    auto add = [&](std::unique_ptr<CShapeBase> shape) {
        m_pCurShape = shape.get();
        m_shapes.push_back(std::move(shape));
        ::SetRectRgn(m_rgnPreviewShown.get(), 0, 0, 0, 0);
    };
    if (tools.m_bPen) add(std::make_unique<CShapeDrawPen>());
    if (tools.m_bRect) add(std::make_unique<CShapeRect>());
    if (tools.m_bCircle) add(std::make_unique<CShapeCircle>());
    if (tools.m_bArrow) add(std::make_unique<CShapeArrow>());
    if (tools.m_bText) add(std::make_unique<CShapeDrawText>());
    // With no tool flag set (a text box is open) the current shape, if any,
    // starts again at this press.
    if (!m_pCurShape) return;

    m_pCurShape->m_ptStart = p;
    m_pCurShape->SetColor(tools.m_crColor);
    m_pCurShape->m_nPenWidth = tools.m_nPenWidth;
    SetArrowCursor();
    m_pCurShape->m_bEnabled = 1;
    m_bButtonDown = 1;
    m_bNewShape = 1;
    // Previews start from the window as the user sees it now, so a picture
    // still waiting to be painted is painted first.
    if (!EnsureShapeSurfaces()) {
        m_bButtonDown = 0;
        AbandonShortOfMemory();
        return;
    }
    ::UpdateWindow(m_hWnd);
    WindowDC window(m_hWnd);
    ::BitBlt(m_hdcBefore.dc(), 0, 0, m_nScreenWidth, m_nScreenHeight, window.get(), 0, 0, SRCCOPY);
}

void CSnapcrestDlg::UpdateShape(Point p) {
    if (!m_tracker.GetTrueRect().Contains(p)) return;
    SetArrowCursor();
    if (!m_pCurShape) return;
    if (!m_bButtonDown) return;
    m_pCurShape->m_ptEnd = p;
    RequestRecompose();

    const ToolState& tools = *m_pToolBars;
    if (tools.m_bArrow) {
        // Too short an arrow has no head to speak of yet.
        if (shapegeo::DragLength(m_pCurShape->m_ptStart, m_pCurShape->m_ptEnd) > kMinArrowLength) PreviewShape();
    } else if (tools.m_bPen) {
        m_pCurShape->m_points.push_back(p);
        WindowDC window(m_hWnd);
        // Only the new segment: the strokes drawn before are on the window already.
        auto* pen = dynamic_cast<CShapeDrawPen*>(m_pCurShape);
        if (pen && !m_bReferencePaint) {
            pen->DrawLastSegment(window.get());
            NoteDrawnOnWindow(pen->LastSegmentBounds());
        } else {
            m_pCurShape->Draw(window.get());
        }
    } else {
        PreviewShape();
    }
}

void CSnapcrestDlg::PreviewShape() {
    WindowDC window(m_hWnd);
    if (m_bReferencePaint) {
        ::BitBlt(m_hdcPreview.dc(), 0, 0, m_nScreenWidth, m_nScreenHeight, m_hdcBefore.dc(), 0, 0, SRCCOPY);
        m_pCurShape->Draw(m_hdcPreview.dc());
        ::BitBlt(window.get(), 0, 0, m_nScreenWidth, m_nScreenHeight, m_hdcPreview.dc(), 0, 0, SRCCOPY);
        return;
    }
    // Only where the shape was and is: everywhere else the window already
    // shows the before-shape picture.
    UniqueRegion now(::CreateRectRgn(0, 0, 0, 0));
    m_pCurShape->AddCoverage(now.get());
    UniqueRegion area(::CreateRectRgn(0, 0, m_nScreenWidth, m_nScreenHeight));
    UniqueRegion either(::CreateRectRgn(0, 0, 0, 0));
    ::CombineRgn(either.get(), now.get(), m_rgnPreviewShown.get(), RGN_OR);
    ::CombineRgn(area.get(), area.get(), either.get(), RGN_AND);
    ::CombineRgn(m_rgnPreviewShown.get(), now.get(), nullptr, RGN_COPY);
    RECT box{};
    if (::GetRgnBox(area.get(), &box) == NULLREGION) return;
    NoteDrawnOnWindow(area.get());
    HDC preview = m_hdcPreview.dc();
    const int w = box.right - box.left, h = box.bottom - box.top;
    ::SelectClipRgn(preview, area.get());
    ::BitBlt(preview, box.left, box.top, w, h, m_hdcBefore.dc(), box.left, box.top, SRCCOPY);
    m_pCurShape->Draw(preview);
    ::SelectClipRgn(preview, nullptr);
    // A slanting arrow or a frame's edges reach the display as a few boxes
    // along them rather than as the box around them all.
    ::SelectClipRgn(window.get(), area.get());
    ShowInGroups(RegionRects(area.get()), Rect{box.left, box.top, box.right, box.bottom}, [&](const Rect& r) {
        ::BitBlt(window.get(), r.left, r.top, r.Width(), r.Height(), preview, r.left, r.top, SRCCOPY);
    });
}

void CSnapcrestDlg::FinishShape(Point p) {
    const Rect selection = m_tracker.GetTrueRect();
    if (selection.Contains(p)) {
        if (m_pCurShape) m_pCurShape->m_ptEnd = p;
        if (m_pToolBars->m_bText) OpenTextBox(p);
        // A release inside the box just opened (or still open) goes on typing.
        if (!(m_pTextBoxRect && m_pTextBoxRect->Contains(p))) CommitText();
        if (m_pToolBars->m_bArrow && m_pCurShape &&
            shapegeo::DragLength(m_pCurShape->m_ptStart, m_pCurShape->m_ptEnd) < kMinArrowLength) {
            SetArrowCursor();
            m_pCurShape->m_bEnabled = 0;
            m_pCurShape->m_bOutlined = 0;
            RemoveNewestShape();
            return;
        }
        if (m_pCurShape) {
            WindowDC window(m_hWnd);
            ::SetROP2(window.get(), R2_COPYPEN);
            m_pCurShape->Draw(window.get());
            NoteDrawnOnWindow(m_pCurShape->Bounds());
            SetArrowCursor();
            m_pCurShape->m_bEnabled = 0;
            m_pCurShape->m_bOutlined = 0;
            RepaintAll();
        }
    }
    // A shape released outside the selection shows, pulled inside it, at the
    // repaint the release asked for.
    if (m_pCurShape && m_bNewShape) {
        m_bNewShape = 0;
        m_pCurShape->m_ptEnd = shapegeo::ClampEndPoint(p, m_pCurShape->m_ptEnd, selection);
    }
    if (m_pCurShape) {
        ::SetRectRgn(m_rgnPreviewShown.get(), 0, 0, 0, 0);
        m_pCurShape->AddCoverage(m_rgnPreviewShown.get());
    }
}

void CSnapcrestDlg::RemoveNewestShape() {
    if (m_shapes.empty()) return;
    ForgetPendingText(m_shapes.back().get());
    if (m_pCurShape == m_shapes.back().get()) m_pCurShape = nullptr;
    m_shapes.pop_back();
}

void CSnapcrestDlg::DrawShapes(HDC dc) {
    for (const auto& shape : m_shapes) {
        shape->m_bEnabled = 1;
        // A composition limited to other areas would draw nothing of it.
        if (RectVisibleOn(dc, shape->Bounds())) shape->Draw(dc);
    }
}

bool CSnapcrestDlg::EnsureShapeSurfaces() {
    if (!m_hdcPreview.bitmap()) {
        if (!m_hdcPreview.CreateDib(m_nScreenWidth, m_nScreenHeight)) return false;
        // The imaging library saves and restores the context's state around
        // its drawing, on every step of a preview.
        m_hdcPreview.KeepFixedQualityFont();
    }
    return m_hdcBefore.bitmap() || m_hdcBefore.CreateDib(m_nScreenWidth, m_nScreenHeight);
}
