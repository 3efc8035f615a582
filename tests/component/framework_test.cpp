// The framework's modal dialogs, message dispatch, pre-translation walk and
// message filter, as the program's host and capture session rely on them.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/Dialog.h"
#include "framework/WinApp.h"
#include "resources/resource.h"

namespace {

std::vector<std::string> g_log;

class TestApp : public CWinApp {
public:
    BOOL ProcessMessageFilter(int code, MSG* msg) override {
        if (code == MSGF_DIALOGBOX && msg->message == WM_KEYDOWN) {
            g_log.push_back("filter");
            ++filterCalls;
        }
        return CWinApp::ProcessMessageFilter(code, msg);
    }
    int filterCalls = 0;
};
TestApp g_app;

constexpr UINT kEndMessage = WM_APP + 7;

class Probe : public CDialog {
public:
    Probe(const char* name, UINT templateId = IDD_SHOWPOINT) : CDialog(templateId, nullptr), name_(name) {}

    std::function<void(Probe&)> onInit, onTimer;
    int createResult = 0;
    bool passKeys = false;     // like the session's arrows: skip the dialog manager
    bool consumeKeys = false;  // like the host's Escape

    void Log(const std::string& what) { g_log.push_back(what + " " + name_); }

    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_KEYDOWN) {
            Log("pre");
            if (consumeKeys) return TRUE;
            if (passKeys) return FALSE;
        }
        return CDialog::PreTranslateMessage(msg);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_KEYDOWN) Log("key");
        if (message == kEndMessage) EndDialog(static_cast<int>(wParam));
        return CDialog::WindowProc(message, wParam, lParam);
    }
    BOOL OnInitDialog() override {
        Log("init");
        CDialog::OnInitDialog();
        if (onInit) onInit(*this);
        return TRUE;
    }
    void OnOK() override {
        Log("ok");
        CDialog::OnOK();
    }
    void OnCancel() override {
        Log("cancel");
        CDialog::OnCancel();
    }

protected:
    int OnCreate(LPCREATESTRUCTA cs) override {
        Log("create");
        if (createResult == -1) return -1;
        return CDialog::OnCreate(cs);
    }
    void OnDestroy() override {
        Log("destroy");
        CDialog::OnDestroy();
    }
    void OnTimer(UINT_PTR id) override {
        ::KillTimer(m_hWnd, id);
        Log("timer");
        if (onTimer) onTimer(*this);
    }
    void OnLButtonDown(UINT, POINT p) override { Log("down " + std::to_string(p.x) + "," + std::to_string(p.y)); }

private:
    std::string name_;
};

class FrameworkTest : public ::testing::Test {
protected:
    void SetUp() override { g_log.clear(); }
    void TearDown() override {
        g_app.m_pMainWnd = nullptr;
        // No quit request may leak into the next test.
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    static std::string Joined() {
        std::string out;
        for (const std::string& s : g_log) out += (out.empty() ? "" : "; ") + s;
        return out;
    }
};

TEST_F(FrameworkTest, CreationComesBeforeInitialisationAndEndDialogGivesTheResult) {
    Probe dialog("d");
    HWND hwnd = nullptr;
    dialog.onInit = [&](Probe& d) {
        hwnd = d.m_hWnd;
        d.EndDialog(7);
    };
    EXPECT_EQ(7, dialog.DoModal());
    EXPECT_EQ("create d; init d; destroy d", Joined());
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(nullptr, dialog.m_hWnd);
}

TEST_F(FrameworkTest, FailedCreationEndsDoModalAtOnce) {
    Probe dialog("d");
    dialog.createResult = -1;
    EXPECT_EQ(-1, dialog.DoModal());
    EXPECT_EQ("create d", Joined());
}

TEST_F(FrameworkTest, ModalRunDisablesTheMainWindowUntilItEnds) {
    Probe outer("outer");
    Probe inner("inner");
    g_app.m_pMainWnd = &outer;
    bool ownerEnabledDuring = true, ownerEnabledAfter = false;
    HWND innerOwner = nullptr;
    INT_PTR innerResult = 0;
    outer.onInit = [](Probe& d) { SetTimer(d.m_hWnd, 1, 1, nullptr); };
    outer.onTimer = [&](Probe& d) {
        innerResult = inner.DoModal();
        ownerEnabledAfter = IsWindowEnabled(d.m_hWnd) != 0;
        d.EndDialog(5);
    };
    inner.onInit = [&](Probe& d) {
        ownerEnabledDuring = IsWindowEnabled(outer.m_hWnd) != 0;
        innerOwner = GetWindow(d.m_hWnd, GW_OWNER);
        PostMessageA(d.m_hWnd, WM_COMMAND, IDOK, 0);
    };
    EXPECT_EQ(5, outer.DoModal());
    EXPECT_EQ(IDOK, innerResult);
    EXPECT_FALSE(ownerEnabledDuring);
    EXPECT_TRUE(ownerEnabledAfter);
    EXPECT_NE(nullptr, innerOwner);
    EXPECT_EQ("create outer; init outer; timer outer; create inner; init inner; ok inner; destroy inner; destroy outer",
              Joined());
}

TEST_F(FrameworkTest, QuitRequestEndsTheInnerRunThenTheOuterOne) {
    Probe outer("outer");
    Probe inner("inner");
    g_app.m_pMainWnd = &outer;
    outer.onInit = [](Probe& d) { SetTimer(d.m_hWnd, 1, 1, nullptr); };
    outer.onTimer = [&](Probe& d) {
        inner.DoModal();
        d.Log("returned");
    };
    inner.onInit = [](Probe&) { PostQuitMessage(0); };
    EXPECT_EQ(-1, outer.DoModal());
    EXPECT_EQ(
        "create outer; init outer; timer outer; create inner; init inner; destroy inner; returned outer; destroy outer",
        Joined());
    // The request is still there for whoever runs next (the process's end).
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(FrameworkTest, CloseAndCancelReachOnCancel) {
    Probe closing("c");
    closing.onInit = [](Probe& d) { PostMessageA(d.m_hWnd, WM_CLOSE, 0, 0); };
    EXPECT_EQ(IDCANCEL, closing.DoModal());
    EXPECT_EQ("create c; init c; cancel c; destroy c", Joined());

    g_log.clear();
    Probe cancelling("x");
    cancelling.onInit = [](Probe& d) { PostMessageA(d.m_hWnd, WM_COMMAND, IDCANCEL, 0); };
    EXPECT_EQ(IDCANCEL, cancelling.DoModal());
    EXPECT_EQ("create x; init x; cancel x; destroy x", Joined());
}

TEST_F(FrameworkTest, KeysWalkFromTheWindowToItsOwnerAndMeetTheFilterOnce) {
    Probe outer("outer");
    Probe inner("inner");
    g_app.m_pMainWnd = &outer;
    g_app.filterCalls = 0;
    inner.passKeys = true;
    outer.onInit = [](Probe& d) { SetTimer(d.m_hWnd, 1, 1, nullptr); };
    outer.onTimer = [&](Probe& d) {
        inner.DoModal();
        d.EndDialog(0);
    };
    inner.onInit = [](Probe& d) {
        PostMessageA(d.m_hWnd, WM_KEYDOWN, VK_RIGHT, 0);
        PostMessageA(d.m_hWnd, kEndMessage, 0, 0);
    };
    outer.DoModal();
    EXPECT_EQ(1, g_app.filterCalls);
    EXPECT_EQ(
        "create outer; init outer; timer outer; create inner; init inner; pre inner; pre outer; filter; key inner; "
        "destroy inner; destroy outer",
        Joined());
}

TEST_F(FrameworkTest, AConsumedKeyGoesNoFurther) {
    Probe outer("outer");
    Probe inner("inner");
    g_app.m_pMainWnd = &outer;
    inner.consumeKeys = true;
    outer.onInit = [](Probe& d) { SetTimer(d.m_hWnd, 1, 1, nullptr); };
    outer.onTimer = [&](Probe& d) {
        inner.DoModal();
        d.EndDialog(0);
    };
    inner.onInit = [](Probe& d) {
        PostMessageA(d.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageA(d.m_hWnd, kEndMessage, 0, 0);
    };
    outer.DoModal();
    EXPECT_EQ("create outer; init outer; timer outer; create inner; init inner; pre inner; destroy inner; destroy outer",
              Joined());
}

TEST_F(FrameworkTest, MouseHandlersGetSignedPointsAndCustomMessagesReachWindowProc) {
    Probe dialog("d");
    dialog.onInit = [](Probe& d) {
        PostMessageA(d.m_hWnd, WM_LBUTTONDOWN, 0, MAKELPARAM(-5, 7));
        PostMessageA(d.m_hWnd, kEndMessage, 3, 0);
    };
    EXPECT_EQ(3, dialog.DoModal());
    EXPECT_EQ("create d; init d; down -5,7 d; destroy d", Joined());
}

}  // namespace
