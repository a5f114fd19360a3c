// Benchmark reference, not part of the product: what a themed dialog-style
// window program costs to start, with none of the product's own work (no
// drive scan, no bus queries). It asks for Common Controls 6 in its manifest
// (ThemedWindow.rc), links comctl32, ole32 and shell32, joins a COM apartment,
// creates the taskbar list and initialises it, creates the product's fonts
// ("微软雅黑" with the Chinese and the default character set, "Verdana"), builds
// a window of the product's size with 12 standard controls and a tooltip,
// sizes the short labels to their text and shows the window centred.
// The window title is the first argument (default "ThemedWindow").
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace {

// The client area in twips (1/1440 inch) and the controls' identifiers.
constexpr int ClientWidthTwips = 5670;
constexpr int ClientHeightTwips = 2250;
constexpr int IdStart = 100, IdBrowse = 101, IdPath = 102, IdDrives = 107, IdDefault = 108;
constexpr DWORD WindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD Child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_GROUP;
constexpr DWORD Focusable = Child | WS_TABSTOP;
constexpr DWORD Label = Child | SS_LEFT | SS_NOPREFIX;
constexpr DWORD Frame = Child | BS_GROUPBOX;

enum class Font { Chinese, ChineseDefault, Latin, System };

struct Control {
    int id;
    const wchar_t* windowClass;
    DWORD style, extendedStyle;
    int left, top, width, height; // twips
    const wchar_t* text;
    Font font;
    bool fitToText;
};

constexpr Control Controls[] = {
    {IdStart, L"BUTTON", Focusable | BS_PUSHBUTTON, 0, 4080, 1520, 1095, 360, L"开始", Font::Chinese, false},
    {IdBrowse, L"BUTTON", Focusable | BS_PUSHBUTTON, 0, 4320, 360, 855, 325, L"浏览...", Font::Chinese, false},
    {IdPath, L"EDIT", Focusable | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 1320, 360, 2895, 330, L"C:",
     Font::ChineseDefault, false},
    {103, L"STATIC", Label, 0, 480, 840, 720, 255, L"目标盘：", Font::ChineseDefault, true},
    {104, L"STATIC", Label, 0, 480, 420, 720, 255, L"源文件夹：", Font::ChineseDefault, true},
    {105, L"STATIC", Label, 0, 480, 1575, 360, 255, L"状态", Font::ChineseDefault, true},
    {106, L"STATIC", Label, 0, 480, 2640, 4755, 1650,
     L"这是一个基准测试用的参考窗口程序。\r\n它只建立窗口、字体和标准控件。\r\n"
     L"它不读取任何磁盘，也不查询任何设备。\r\n窗口显示之后就等待关闭的请求。\r\n"
     L"测量结果与主程序的启动时间对照。\r\n",
     Font::Chinese, false},
    {IdDrives, L"COMBOBOX", Focusable | CBS_DROPDOWNLIST | WS_VSCROLL, 0, 1320, 780, 2895, 330 * 9, L"",
     Font::Latin, false},
    {IdDefault, L"BUTTON", Focusable | BS_AUTOCHECKBOX, 0, 4320, 840, 855, 255, L"默认", Font::Chinese, false},
    {109, L"BUTTON", Frame, 0, 240, 120, 5175, 1130, L"", Font::Chinese, false},
    {110, L"BUTTON", Frame, 0, 240, 1320, 5175, 690, L"", Font::System, false},
    {111, L"BUTTON", Frame, 0, 240, 2280, 5175, 2100, L"关于", Font::Chinese, false},
};

struct Window {
    HINSTANCE instance = nullptr;
    HWND handle = nullptr;
    int dpiX = 96, dpiY = 96;
    HFONT fonts[3] = {};
};

HFONT createFont(const wchar_t* face, BYTE charSet, int dpiY) {
    LOGFONTW font = {};
    font.lfHeight = -MulDiv(9, dpiY, 72);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = charSet;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

void queryDpi(Window& window) {
    const HDC screen = GetDC(nullptr);
    if (!screen) return;
    window.dpiX = GetDeviceCaps(screen, LOGPIXELSX);
    window.dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
}

void fitToText(HWND label) {
    const HDC context = GetDC(label);
    if (!context) return;
    const HGDIOBJ previous = SelectObject(context, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    wchar_t text[64] = {};
    GetWindowTextW(label, text, 64);
    RECT bounds = {};
    DrawTextW(context, text, -1, &bounds, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(context, previous);
    ReleaseDC(label, context);
    SetWindowPos(label, nullptr, 0, 0, bounds.right, bounds.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND createControl(const Window& window, const Control& control) {
    const HWND handle = CreateWindowExW(
        control.extendedStyle, control.windowClass, control.text, control.style,
        MulDiv(control.left, window.dpiX, 1440), MulDiv(control.top, window.dpiY, 1440),
        MulDiv(control.width, window.dpiX, 1440), MulDiv(control.height, window.dpiY, 1440), window.handle,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), window.instance, nullptr);
    if (handle && control.font != Font::System) {
        SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(window.fonts[static_cast<int>(control.font)]), FALSE);
    }
    if (handle && control.fitToText) fitToText(handle);
    return handle;
}

void addToolTip(const Window& window, HWND control, const wchar_t* text) {
    const HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window.handle,
                                     nullptr, window.instance, nullptr);
    if (!tip) return;
    TOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window.handle;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<wchar_t*>(text);
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void createControls(const Window& window) {
    for (const Control& control : Controls) {
        const HWND handle = createControl(window, control);
        if (handle && control.id == IdDefault) {
            SendMessageW(handle, BM_SETCHECK, BST_CHECKED, 0);
            addToolTip(window, handle, L"把选中的目标作为默认项");
        }
    }
}

// The browse button asks for a folder with the shell's dialog and puts the
// path in the edit box: the shell32 use that a window of this kind carries.
void browse(HWND window) {
    BROWSEINFOW info = {};
    info.hwndOwner = window;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    const PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    if (!chosen) return;
    wchar_t path[MAX_PATH] = {};
    if (SHGetPathFromIDListW(chosen, path)) SetDlgItemTextW(window, IdPath, path);
    CoTaskMemFree(chosen);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == IdBrowse && HIWORD(wParam) == BN_CLICKED) {
        browse(window);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// The taskbar list as a program that shows progress on its taskbar button
// sets it up; it is held until the program ends.
ITaskbarList3* createTaskbarList() {
    ITaskbarList3* taskbar = nullptr;
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                reinterpret_cast<void**>(&taskbar)))) {
        return nullptr;
    }
    if (FAILED(taskbar->HrInit())) {
        taskbar->Release();
        return nullptr;
    }
    return taskbar;
}

bool createWindow(Window& window, const wchar_t* title) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = window.instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"BenchThemedWindow";
    RegisterClassExW(&windowClass);
    RECT outer = {0, 0, MulDiv(ClientWidthTwips, window.dpiX, 1440), MulDiv(ClientHeightTwips, window.dpiY, 1440)};
    AdjustWindowRectEx(&outer, WindowStyle, FALSE, 0);
    window.handle = CreateWindowExW(0, L"BenchThemedWindow", title, WindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                    outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                                    window.instance, nullptr);
    return window.handle != nullptr;
}

void showCentred(HWND window, int show) {
    RECT outer = {};
    GetWindowRect(window, &outer);
    SetWindowPos(window, nullptr, (GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top)) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window, show);
    UpdateWindow(window);
}

int runMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(GetAncestor(message.hwnd, GA_ROOT), &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int show) {
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    InitCommonControls();
    Window window;
    window.instance = instance;
    queryDpi(window);
    ITaskbarList3* taskbar = createTaskbarList();
    window.fonts[0] = createFont(L"微软雅黑", GB2312_CHARSET, window.dpiY);
    window.fonts[1] = createFont(L"微软雅黑", ANSI_CHARSET, window.dpiY);
    window.fonts[2] = createFont(L"Verdana", ANSI_CHARSET, window.dpiY);
    int result = 1;
    if (createWindow(window, (arguments && *arguments) ? arguments : L"ThemedWindow")) {
        createControls(window);
        showCentred(window.handle, show);
        result = runMessageLoop();
    }
    for (HFONT font : window.fonts) DeleteObject(font);
    if (taskbar) taskbar->Release();
    if (com) CoUninitialize();
    return result;
}
