#include "capture/EarlySnapshot.h"

#include <process.h>

#include "capture/ScreenGrab.h"
#include "platform/Surface.h"

std::unique_ptr<ScreenSnapshot> GrabWholeScreen() {
    auto shot = std::make_unique<ScreenSnapshot>();
    shot->width = ::GetSystemMetrics(SM_CXSCREEN);
    shot->height = ::GetSystemMetrics(SM_CYSCREEN);
    shot->bitmap.reset(CreateTopDownDib(shot->width, shot->height, &shot->bits));
    if (!shot->bitmap) return shot;
    HBITMAP bitmap = shot->bitmap.get();
    CopyScreenRect(Rect{0, 0, shot->width, shot->height}, &bitmap, false, nullptr, shot->width, shot->height);
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
