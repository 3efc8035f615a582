/* A stand-in for the desk-band component, for the end-to-end tests: started
   through rundll32, its entry point writes the command line it was started
   with into deskband-started.txt beside the library, and returns. */
#include <windows.h>

static HINSTANCE g_module;

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) g_module = module;
    return TRUE;
}

__declspec(dllexport) void CALLBACK ShowDeskband(HWND window, HINSTANCE instance, LPSTR args, int show) {
    char path[MAX_PATH * 2];
    DWORD n = GetModuleFileNameA(g_module, path, MAX_PATH);
    (void)window; (void)instance; (void)args; (void)show;
    if (n == 0 || n >= MAX_PATH) return;
    while (n > 0 && path[n - 1] != '\\') --n;
    lstrcpyA(path + n, "deskband-started.txt");
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return;
    const char* line = GetCommandLineA();
    DWORD written = 0;
    WriteFile(file, line, (DWORD)lstrlenA(line), &written, NULL);
    CloseHandle(file);
}
