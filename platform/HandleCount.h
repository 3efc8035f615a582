#pragma once
#include <atomic>

// Objects alive in the program's owners: GDI and kernel handles in
// UniqueHandle, GDI+ images in gdip::Image. Kept so that a leak shows as a
// number even where the platform reports no handle counts (GetGuiResources
// under Wine); one relaxed atomic add per object made or released.
struct LiveHandles {
    static std::atomic<long>& Owned() {
        static std::atomic<long> n{0};
        return n;
    }
    static std::atomic<long>& Images() {
        static std::atomic<long> n{0};
        return n;
    }
    static void Add(std::atomic<long>& n, long d) { n.fetch_add(d, std::memory_order_relaxed); }
};

// Appends "owned=N images=M" and a line end to the file that
// SNAPCREST_HANDLE_LOG names; nothing when it is unset.
void ReportLiveHandles();
