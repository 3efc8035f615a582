// Holds one hidden window and a message loop so that the Wine desktop process,
// and with it the clipboard, outlives the programs under test.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.lpszClassName = "SnapcrestTestKeeper";
    RegisterClassA(&wc);
    CreateWindowExA(0, wc.lpszClassName, "keeper", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, instance, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
