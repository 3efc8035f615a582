// The picture's way out of a capture session: finish puts the selection on the
// clipboard and ends; save does the same on a worker thread, then offers the
// save dialog and writes a PNG file. The picture is grabbed from the screen,
// where the session shows it with its annotations.
#include <process.h>

#include <memory>

#include "capture/SaveNaming.h"
#include "capture/ScreenGrab.h"
#include "capture/SnapcrestDlg.h"
#include "framework/FileDialog.h"
#include "platform/ImageSave.h"
#include "platform/ModulePaths.h"
#include "platform/WindowPixels.h"
#include "resources/Messages.h"

namespace {

// What the save worker needs, copied when the save is asked for: the worker
// shares nothing with the session while the user goes on.
struct SaveJob {
    HWND window;
    Rect selection;  // normalised
    int screenWidth;
    int screenHeight;
    bool saveRequested;
};

void SaveSelection(const SaveJob& job) {
    if (!job.saveRequested || job.selection.IsEmpty()) return;
    UniqueBitmap grab = GrabSelection(job.selection, job.screenWidth, job.screenHeight);
    if (!grab) return;
    // The file's copy is taken before the clipboard owns the bitmap.
    gdip::Image picture = gdip::Image::FromHBitmap(grab.get());
    if (PutBitmapOnClipboard(grab.get(), job.window)) grab.release();

    SYSTEMTIME utc;
    ::GetSystemTime(&utc);
    const std::string name = DefaultSaveName(utc.wYear, utc.wMonth, utc.wDay, utc.wHour, utc.wMinute, utc.wSecond);
    CFileDialog dialog(name.c_str(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, "(*.png)|*.png|All file(*.*)|*.*||",
                       job.window);
    dialog.m_strTitle = "图片保存对话框";
    if (dialog.DoModal() != IDOK) return;
    // The dialog may have moved the working directory; the skin is found from it.
    SetWorkingDirectoryToExecutable();
    const std::string chosen = dialog.GetPathName();
    if (chosen.empty()) return;
    SaveImageByExtension(picture, PngPathFor(chosen).c_str());
}

unsigned __stdcall SaveThreadProc(void* arg) {
    std::unique_ptr<SaveJob> job(static_cast<SaveJob*>(arg));
    SaveSelection(*job);
    // Saved, cancelled or refused: the session ends on its own thread.
    ::PostMessageA(job->window, kMsgClose, 0, 0);
    return 0;
}

}  // namespace

void CSnapcrestDlg::PutPictureOnScreen() {
    PlaceCommittedText();
    ::UpdateWindow(m_hWnd);
    ::GdiFlush();
    // A grab reads the screen, not the window: the platform may otherwise
    // hold the last paint back from the display for a while.
    HandOverWindowPixels();
}

void CSnapcrestDlg::CopyAndFinish() {
    if (!m_pToolBars || !m_pToolBars->m_bFinish) return;
    m_nScreenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    m_nScreenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    const Rect selection = m_tracker.m_rect.Normalized();
    if (!selection.IsEmpty()) {
        PutPictureOnScreen();
        // With the clipboard held by another program the capture stays open.
        if (GrabSelectionToClipboard(selection, m_hWnd, m_nScreenWidth, m_nScreenHeight) == GrabResult::ClipboardBusy)
            return;
    }
    EndSessionAndQuit();
}

void CSnapcrestDlg::StartSave() {
    m_nScreenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    m_nScreenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    auto job = std::make_unique<SaveJob>(SaveJob{m_hWnd, m_tracker.m_rect.Normalized(), m_nScreenWidth,
                                                 m_nScreenHeight, m_pToolBars && m_pToolBars->m_bSave});
    // The worker grabs the screen: the picture as it stands must be on it.
    PutPictureOnScreen();
    // Nobody waits for the worker: it ends the session itself, through 3027.
    UniqueKernelHandle thread(
        reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &SaveThreadProc, job.get(), 0, nullptr)));
    if (!thread) return;  // nothing saved; the session stays open
    job.release();        // the worker's now
}
