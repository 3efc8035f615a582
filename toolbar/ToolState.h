#pragma once
// The tool bar's tool state: what the session reads when the user draws, and
// what the bar's buttons change. Plain data, so that the rules that change it
// are tested without a window system.
#include <cstdint>

struct ToolState {
    uint32_t m_crColor = 0x000000FF;  // 0x00BBGGRR; red
    int m_bPen = 0;
    int m_bCircle = 0;
    int m_bRect = 0;
    int m_bArrow = 0;
    int m_bText = 0;
    int m_bFinish = 0;
    int m_bSave = 0;
    int m_bDrawMode = 0;
    int m_nPenWidth = 2;
    int m_bPanelShown = 0;

    // One of the five tools (or annotation mode) is on.
    bool IsToolChosen() const { return m_bDrawMode || m_bPen || m_bCircle || m_bRect || m_bArrow || m_bText; }
};
