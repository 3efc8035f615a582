#include "capture/EarlySnapshot.h"

#include <process.h>

#include "capture/ScreenGrab.h"
#include "platform/Surface.h"

std::unique_ptr<ScreenSnapshot> GrabWholeScreen() {
    auto shot = std::make_unique<ScreenSnapshot>();
    shot->width = ::GetSystemMetrics(SM_CXSCREEN);
    shot->height = ::GetSystemMetrics(SM_CYSCREEN);
    shot->bitmap.reset(CreateTopDownDib(shot->width, shot->height, &shot->bits, 8 * kSnapshotBytesPerPixel));
    if (!shot->bitmap) return shot;
    // Band by band: the platform reads the screen through working copies of
    // the size of each copy, in another format than the snapshot's, and
    // memory that size once taken may stay with the process.
    UniqueDC display(::CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
    UniqueDC memory(::CreateCompatibleDC(display.get()));
    SelectScope select(memory.get(), shot->bitmap.get());
    const int bandRows = CopyBandRows(shot->width);
    for (int top = 0; top < shot->height; top += bandRows) {
        const int rows = shot->height - top < bandRows ? shot->height - top : bandRows;
        ::BitBlt(memory.get(), 0, top, shot->width, rows, display.get(), 0, top, SRCCOPY);
    }
    ::GdiFlush();
    return shot;
}

EarlySnapshot::~EarlySnapshot() {
    if (m_thread) ::WaitForSingleObject(m_thread.get(), INFINITE);
}

void EarlySnapshot::Start() {
    if (m_thread) return;
    m_thread.reset(reinterpret_cast<HANDLE>(_beginthreadex(
        nullptr, 0,
        [](void* arg) -> unsigned {
            static_cast<EarlySnapshot*>(arg)->m_shot = GrabWholeScreen();
            return 0;
        },
        this, 0, nullptr)));
}

std::unique_ptr<ScreenSnapshot> EarlySnapshot::Take() {
    if (!m_thread) return nullptr;
    ::WaitForSingleObject(m_thread.get(), INFINITE);
    m_thread.Release();
    std::unique_ptr<ScreenSnapshot> shot = std::move(m_shot);
    if (!shot || !shot->bitmap || shot->width != ::GetSystemMetrics(SM_CXSCREEN) ||
        shot->height != ::GetSystemMetrics(SM_CYSCREEN))
        return nullptr;
    return shot;
}
