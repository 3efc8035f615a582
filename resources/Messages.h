// Window message numbers of the program, in one place: those other processes
// send the host, and those the tool bar and the save worker send a capture
// session. Word and long parameters are 0 and are not read. Plain unsigned
// numbers (the platform's UINT), so that code without a window system names
// them too.
#pragma once

// To the host window "岚梭截屏".
inline constexpr unsigned kMsgReopenGate = 2024;      // allow another capture request
inline constexpr unsigned kMsgCaptureRequest = 3024;  // open a capture (admitted from lower integrity)
inline constexpr unsigned kMsgQuit = 3025;            // end the process
// Notification-area callbacks for the host's icon: word parameter the icon's
// identifier, long parameter the mouse message.
inline constexpr unsigned kMsgTrayNotify = 3034;
inline constexpr unsigned kTrayIconId = 10001;

// To a capture session window.
inline constexpr unsigned kMsgSave = 3024;          // posted: save button
inline constexpr unsigned kMsgFinish = 3025;        // posted: finish button
inline constexpr unsigned kMsgUndo = 3026;          // posted: undo button
inline constexpr unsigned kMsgClose = 3027;         // posted: close button, or the save worker when done
inline constexpr unsigned kMsgHoverChanged = 3028;  // posted: a tool bar button's hover state changed
inline constexpr unsigned kMsgCommitText = 3029;    // sent: commit the text being typed before a tool change

inline constexpr unsigned kMsgFirstFrameShown = 3031;  // posted to itself: what the first frame did not need comes now

// Timers of a capture session window.
inline constexpr unsigned kTimerPlaceText = 3030;  // a committed text moves to its box's corner
