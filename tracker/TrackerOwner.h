#pragma once
#include <windows.h>

// What the selection tracker needs of the window it works for: the window
// itself, the whole-window repaint that stands in for drawing during tracking,
// and the flag that tells the press handler whether the pointer is on a handle.
class ITrackerOwner {
public:
    virtual HWND TrackerWindow() const = 0;
    virtual void RepaintAll() = 0;
    virtual void SetOffHandle(BOOL offHandle) = 0;

protected:
    ~ITrackerOwner() = default;
};
