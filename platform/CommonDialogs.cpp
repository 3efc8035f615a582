#include "platform/CommonDialogs.h"

namespace {
// Loaded once and kept for the rest of the process, like a linked library;
// the dialogs' own windows may outlive any one call.
FARPROC DialogEntry(const char* name) {
    static HMODULE library = ::LoadLibraryA("comdlg32.dll");
    return library ? ::GetProcAddress(library, name) : nullptr;
}

template <typename Fn>
Fn Entry(const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(DialogEntry(name)));
}
}  // namespace

BOOL ShowSaveFileDialog(OPENFILENAMEW* ofn) {
    static const auto show = Entry<BOOL(WINAPI*)(OPENFILENAMEW*)>("GetSaveFileNameW");
    return show ? show(ofn) : FALSE;
}

BOOL ShowColourDialog(CHOOSECOLORA* cc) {
    static const auto show = Entry<BOOL(WINAPI*)(CHOOSECOLORA*)>("ChooseColorA");
    return show ? show(cc) : FALSE;
}
