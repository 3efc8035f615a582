// The resources of the built program, read out of snapcrest.exe itself: the
// dialog templates, cursors and their hot spots, the icon's images, the
// notification menu and the accelerator keys, and the code page of its texts.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::string ProgramPath() {
    // The program sits two folders above this test: win/tests/component/.
    char path[MAX_PATH * 4] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string p(path);
    for (int i = 0; i < 3; ++i) p = p.substr(0, p.find_last_of('\\'));
    return p + "\\snapcrest.exe";
}

class ResourcesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        module_ = LoadLibraryExA(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    void SetUp() override { ASSERT_NE(module_, nullptr) << "cannot load " << ProgramPath(); }

    static std::vector<unsigned char> Raw(LPCSTR type, int id) {
        HRSRC res = FindResourceA(module_, MAKEINTRESOURCEA(id), type);
        if (!res) return {};
        HGLOBAL mem = LoadResource(module_, res);
        const auto* data = static_cast<const unsigned char*>(LockResource(mem));
        return std::vector<unsigned char>(data, data + SizeofResource(module_, res));
    }
    template <typename T>
    static T At(const std::vector<unsigned char>& raw, size_t offset) {
        T v;
        std::memcpy(&v, raw.data() + offset, sizeof v);
        return v;
    }

    struct Dialog {
        DWORD style, exStyle;
        WORD items;
        short cx, cy;
        WORD pointSize;
        std::wstring face;
    };
    // Reads a DIALOGEX template: header, then menu, class and title (each
    // empty here), then the font.
    static Dialog ReadDialog(int id) {
        std::vector<unsigned char> raw = Raw(RT_DIALOG, id);
        Dialog d{};
        EXPECT_GE(raw.size(), 26u);
        if (raw.size() < 26) return d;
        EXPECT_EQ(0xFFFF, At<WORD>(raw, 2)) << "not an extended template";
        d.exStyle = At<DWORD>(raw, 8);
        d.style = At<DWORD>(raw, 12);
        d.items = At<WORD>(raw, 16);
        d.cx = At<short>(raw, 22);
        d.cy = At<short>(raw, 24);
        size_t off = 26;
        for (int field = 0; field < 3; ++field) {  // menu, class, title
            if (At<WORD>(raw, off) == 0xFFFF) { off += 4; continue; }
            while (At<WORD>(raw, off) != 0) off += 2;
            off += 2;
        }
        if (d.style & DS_SETFONT) {
            d.pointSize = At<WORD>(raw, off);
            off += 6;  // point size, weight, italic, charset
            for (; At<WORD>(raw, off) != 0; off += 2) d.face += static_cast<wchar_t>(At<WORD>(raw, off));
        }
        return d;
    }

    static HMODULE module_;
};
HMODULE ResourcesTest::module_ = nullptr;

TEST_F(ResourcesTest, DialogTemplates) {
    Dialog session = ReadDialog(102);
    EXPECT_EQ(320, session.cx);
    EXPECT_EQ(272, session.cy);
    EXPECT_EQ(static_cast<DWORD>(WS_POPUP | WS_VISIBLE), session.style & (WS_POPUP | WS_VISIBLE | WS_CAPTION));
    EXPECT_EQ(static_cast<DWORD>(WS_EX_APPWINDOW), session.exStyle);
    EXPECT_EQ(9, session.pointSize);
    EXPECT_TRUE(session.face == L"\u5b8b\u4f53") << "font face is not 宋体";
    EXPECT_EQ(0, session.items);

    Dialog host = ReadDialog(140);
    EXPECT_EQ(175, host.cx);
    EXPECT_EQ(86, host.cy);
    EXPECT_TRUE(host.style & WS_POPUP);
    EXPECT_EQ(static_cast<DWORD>(WS_EX_TRANSPARENT), host.exStyle);
}

TEST_F(ResourcesTest, CursorsHaveTheirSizesDepthsAndHotSpots) {
    struct Want {
        int id, hotX, hotY, bits;
    } wants[] = {{129, 2, 4, 4}, {132, 16, 16, 1}, {133, 16, 16, 1}, {134, 15, 16, 1}, {135, 16, 16, 1}, {136, 15, 16, 1}};
    for (const Want& w : wants) {
        SCOPED_TRACE(w.id);
        // The group names one image; its data starts with the hot spot.
        std::vector<unsigned char> group = Raw(RT_GROUP_CURSOR, w.id);
        ASSERT_GE(group.size(), 6u + 14u);
        ASSERT_EQ(2, At<WORD>(group, 2)) << "not a cursor group";
        ASSERT_EQ(1, At<WORD>(group, 4));
        const WORD imageId = At<WORD>(group, 6 + 12);
        std::vector<unsigned char> image = Raw(RT_CURSOR, imageId);
        ASSERT_GE(image.size(), 4u + sizeof(BITMAPINFOHEADER));
        EXPECT_EQ(w.hotX, At<WORD>(image, 0));
        EXPECT_EQ(w.hotY, At<WORD>(image, 2));
        BITMAPINFOHEADER bih = At<BITMAPINFOHEADER>(image, 4);
        EXPECT_EQ(32, bih.biWidth);
        EXPECT_EQ(64, bih.biHeight);  // image and mask
        EXPECT_EQ(w.bits, bih.biBitCount);
    }
}

TEST_F(ResourcesTest, IconHasSixImagesOf32Bits) {
    std::vector<unsigned char> group = Raw(RT_GROUP_ICON, 128);
    ASSERT_GE(group.size(), 6u);
    ASSERT_EQ(1, At<WORD>(group, 2));
    const WORD count = At<WORD>(group, 4);
    ASSERT_EQ(6, count);
    ASSERT_GE(group.size(), 6u + 14u * count);
    std::vector<int> sizes;
    for (WORD i = 0; i < count; ++i) {
        const size_t e = 6 + 14 * i;
        const int width = group[e] == 0 ? 256 : group[e];
        sizes.push_back(width);
        EXPECT_EQ(32, At<WORD>(group, e + 6)) << "image of " << width;
        EXPECT_FALSE(Raw(RT_ICON, At<WORD>(group, e + 12)).empty());
    }
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ((std::vector<int>{16, 32, 48, 64, 128, 256}), sizes);
}

TEST_F(ResourcesTest, NotificationMenuTextsAndCommands) {
    HMENU menu = LoadMenuA(module_, MAKEINTRESOURCEA(151));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(1, GetMenuItemCount(menu));
    char text[64] = {};
    GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ("0", text);
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_NE(popup, nullptr);
    ASSERT_EQ(3, GetMenuItemCount(popup));
    EXPECT_EQ(32777u, GetMenuItemID(popup, 0));
    GetMenuStringA(popup, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ("显示到任务栏", text);
    EXPECT_EQ(0u, GetMenuItemID(popup, 1));  // the separator
    EXPECT_TRUE(GetMenuState(popup, 1, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(32778u, GetMenuItemID(popup, 2));
    GetMenuStringA(popup, 2, text, sizeof text, MF_BYPOSITION);
    // Code page 936 bytes of 退出.
    EXPECT_STREQ("\xCD\xCB\xB3\xF6", text);
    DestroyMenu(menu);
}

TEST_F(ResourcesTest, AcceleratorsAreCtrlKAndCtrlZ) {
    HACCEL table = LoadAcceleratorsA(module_, MAKEINTRESOURCEA(142));
    ASSERT_NE(table, nullptr);
    ACCEL entries[8];
    const int n = CopyAcceleratorTableA(table, entries, 8);
    ASSERT_EQ(2, n);
    std::sort(entries, entries + 2, [](const ACCEL& a, const ACCEL& b) { return a.key < b.key; });
    const BYTE flags = FVIRTKEY | FCONTROL | FNOINVERT;
    EXPECT_EQ(0x4B, entries[0].key);
    EXPECT_EQ(32772, entries[0].cmd);
    EXPECT_EQ(flags, entries[0].fVirt & (flags | FSHIFT | FALT));
    EXPECT_EQ(0x5A, entries[1].key);
    EXPECT_EQ(32771, entries[1].cmd);
    EXPECT_EQ(flags, entries[1].fVirt & (flags | FSHIFT | FALT));
    DestroyAcceleratorTable(table);
}

TEST_F(ResourcesTest, ChineseTextsAreCodePage936Bytes) {
    std::ifstream file(ProgramPath(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 100000u);
    // The host's title 岚梭截屏 in code page 936, and not in UTF-8.
    EXPECT_NE(std::string::npos, bytes.find("\xE1\xB0\xCB\xF3\xBD\xD8\xC6\xC1"));
    EXPECT_EQ(std::string::npos, bytes.find("\xE5\xB2\x9A\xE6\xA2\xAD"));
    // The narrow literals of this test are converted the same way.
    EXPECT_STREQ("\xE1\xB0\xCB\xF3\xBD\xD8\xC6\xC1", "岚梭截屏");
}

// The release identity: the manifest that makes the process per-monitor DPI
// aware (so the frozen picture is never stretched by the platform), and the
// version resource carrying the VERSION file's number.
TEST_F(ResourcesTest, ManifestDeclaresPerMonitorDpiAwarenessAndVersionMatches) {
    const std::vector<unsigned char> raw = Raw(MAKEINTRESOURCEA(24), 1);
    ASSERT_FALSE(raw.empty()) << "no application manifest (RT_MANIFEST 1)";
    EXPECT_NE(std::string::npos, std::string(raw.begin(), raw.end()).find("version=\"" SNAPCREST_EXPECTED_VERSION ".0\""));
    // Read back the way the loader reads it: through an activation context
    // made from the program's manifest resource.
    const std::string path = ProgramPath();
    ACTCTXA actx{};
    actx.cbSize = sizeof actx;
    actx.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    actx.lpSource = path.c_str();
    actx.lpResourceName = MAKEINTRESOURCEA(1);
    HANDLE context = CreateActCtxA(&actx);
    ASSERT_NE(INVALID_HANDLE_VALUE, context) << "the manifest does not parse, error " << GetLastError();
    using QuerySettingsFn = BOOL(WINAPI*)(DWORD, HANDLE, const wchar_t*, const wchar_t*, wchar_t*, SIZE_T, SIZE_T*);
    auto query = reinterpret_cast<QuerySettingsFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "QueryActCtxSettingsW")));
    ASSERT_NE(nullptr, query);
    auto setting = [&](const wchar_t* ns, const wchar_t* name) {
        wchar_t value[128] = {};
        SIZE_T written = 0;
        return query(0, context, ns, name, value, 128, &written) ? std::wstring(value) : std::wstring(L"<none>");
    };
    EXPECT_EQ(L"true/pm", setting(L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"));
    EXPECT_EQ(L"PerMonitorV2, PerMonitor",
              setting(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"));
    ReleaseActCtx(context);

    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "no version resource";
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    unsigned major = 0, minor = 0, patch = 0;
    ASSERT_EQ(3, std::sscanf(SNAPCREST_EXPECTED_VERSION, "%u.%u.%u", &major, &minor, &patch));
    EXPECT_EQ(major << 16 | minor, fixed->dwFileVersionMS);
    EXPECT_EQ(patch << 16, fixed->dwFileVersionLS);
    EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);
    for (const char* key : {"FileVersion", "ProductVersion", "ProductName", "OriginalFilename"}) {
        char* value = nullptr;
        const std::string query = std::string("\\StringFileInfo\\040904B0\\") + key;
        ASSERT_TRUE(VerQueryValueA(info.data(), query.c_str(), reinterpret_cast<void**>(&value), &length)) << key;
        const std::string want = key == std::string("ProductName")        ? "Snapcrest"
                                 : key == std::string("OriginalFilename") ? "snapcrest.exe"
                                                                          : SNAPCREST_EXPECTED_VERSION;
        EXPECT_EQ(want, std::string(value)) << key;
    }
}

}  // namespace
