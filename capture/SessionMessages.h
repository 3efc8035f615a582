#pragma once
#include <windows.h>

// Messages that the tool bar (and the save worker) send the capture session.
inline constexpr UINT kMsgSave = 3024;
inline constexpr UINT kMsgFinish = 3025;
inline constexpr UINT kMsgUndo = 3026;
inline constexpr UINT kMsgClose = 3027;
inline constexpr UINT kMsgHoverChanged = 3028;
inline constexpr UINT kMsgCommitText = 3029;
