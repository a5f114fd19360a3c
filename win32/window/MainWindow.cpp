#include "win32/window/MainWindow.h"

#include "win32/window/ControlFactory.h"
#include "win32/window/ErrorBoundary.h"
#include "win32/window/MainLayout.h"
#include "win32/shell/Win32ShutdownBlock.h"

namespace orvanta::win32 {
namespace {

constexpr const wchar_t* WindowClassName = L"OrvantaMainWindow";
// Fixed single border, title bar with the control menu, minimize and maximize.
constexpr DWORD WindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

HICON LoadProgramIcon(HINSTANCE instance, int sizeMetricX, int sizeMetricY) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                         GetSystemMetrics(sizeMetricX), GetSystemMetrics(sizeMetricY),
                                         LR_DEFAULTCOLOR));
}

bool RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = WindowClassName;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace

MainWindow::MainWindow(HINSTANCE instance, MessageBoxes& errors)
    : instance_(instance), errors_(errors), dpi_(QueryScreenDpi()), fonts_(dpi_), windowFrame_(dpi_) {}

MainWindow::~MainWindow() {
    controller_ = nullptr;
    if (window_ != nullptr && IsWindow(window_)) DestroyWindow(window_);
}

MainControls MainWindow::controls() {
    return MainControls{windowFrame_,  installationList_, bootPartitionBox_, makeDefaultCheckBox_,
                        browseButton_, repairButton_,     statusLine_,       firmwareLine_};
}

bool MainWindow::create() {
    if (!RegisterWindowClass(instance_, &Procedure)) return false;
    RECT outer{0, 0, dpi_.pixelsX(LayoutClientWidth), dpi_.pixelsY(LayoutClientHeight)};
    AdjustWindowRectEx(&outer, WindowStyle, FALSE, 0);
    // WM_NCCREATE stores the window in window_.
    CreateWindowExW(0, WindowClassName, WindowTitle, WindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                    outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr, instance_,
                    this);
    if (window_ == nullptr) return false;
    setIcons();
    createControls();
    return true;
}

void MainWindow::setIcons() {
    bigIcon_.reset(LoadProgramIcon(instance_, SM_CXICON, SM_CYICON));
    smallIcon_.reset(LoadProgramIcon(instance_, SM_CXSMICON, SM_CYSMICON));
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
}

void MainWindow::createControls() {
    for (const ControlSpec& spec : MainLayout) {
        const HWND control = CreateLayoutControl(window_, spec, dpi_, fonts_);
        switch (spec.id) {
        case IdRepairButton:
            repairButton_.attach(control);
            focus_ = control;
            break;
        case IdBrowseButton:
            browseButton_.attach(control);
            break;
        case IdBootPartitionBox:
            bootPartitionBox_.attach(control);
            break;
        case IdStatusLine:
            statusLine_.attach(control);
            break;
        case IdStatusFrame:
            firmwareLine_.attach(control);
            break;
        case IdInstallationList:
            installationList_.attach(control);
            break;
        case IdMakeDefaultCheckBox:
            makeDefaultCheckBox_.attach(control);
            SendMessageW(control, BM_SETCHECK, BST_CHECKED, 0);
            AddToolTip(window_, control, MakeDefaultToolTip);
            break;
        default:
            break;
        }
    }
}

void MainWindow::showCentred(int showCommand) {
    RECT outer{};
    GetWindowRect(window_, &outer);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    SetWindowPos(window_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window_, showCommand);
    UpdateWindow(window_);
    if (GetActiveWindow() == window_ && focus_ != nullptr) SetFocus(focus_);
}

LRESULT CALLBACK MainWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->window_ = window;
        self->windowFrame_.attach(window);
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    return self->handleMessage(window, message, wParam, lParam);
}

LRESULT MainWindow::handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        if (controller_ != nullptr) guarded([this] { controller_->onResized(); });
        return 0;
    case WM_QUERYENDSESSION:
        return onSessionEndQuery();
    case WM_ENDSESSION:
        onSessionEnd(wParam, lParam);
        return 0;
    case WM_COMMAND:
        onCommand(wParam, lParam);
        return 0;
    case WM_CLOSE:
        onClose();
        return 0;
    case WM_ACTIVATE:
        if (onActivate(wParam)) return 0;
        break;
    case WM_SETFOCUS:
        if (focus_ != nullptr && IsWindowEnabled(focus_) != FALSE) {
            SetFocus(focus_);
            return 0;
        }
        break;
    case WM_DESTROY:
        controller_ = nullptr;
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        window_ = nullptr;
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void MainWindow::onCommand(WPARAM wParam, LPARAM lParam) {
    if (controller_ == nullptr || HIWORD(wParam) != BN_CLICKED || lParam == 0) return;
    switch (LOWORD(wParam)) {
    case IdBrowseButton:
        guarded([this] { controller_->onBrowseClicked(); });
        break;
    case IdRepairButton:
        guarded([this] { controller_->onRepairClicked(); });
        break;
    default:
        break;
    }
}

void MainWindow::onClose() {
    bool refused = false;
    if (controller_ != nullptr) guarded([this, &refused] { refused = controller_->onCloseRequested(); });
    if (!refused) DestroyWindow(window_);
}

// A repair refuses the end of the session: the system then shows the reason
// the controller gave and lets the user decide.
LRESULT MainWindow::onSessionEndQuery() {
    bool refused = false;
    if (controller_ != nullptr) guarded([this, &refused] { refused = controller_->onSessionEndRequested(); });
    return refused ? FALSE : TRUE;
}

// The process may be ended as soon as this returns, unless only this program
// is asked to close: then the close request that follows decides.
void MainWindow::onSessionEnd(WPARAM ending, LPARAM flags) {
    if (ending != FALSE && controller_ != nullptr) {
        guarded([this, flags] { controller_->onSessionEnding(SessionEndOf(flags)); });
    }
}

template <typename Handler>
void MainWindow::guarded(Handler&& handler) {
    RunGuarded(errors_, std::forward<Handler>(handler), [this] {
        if (controller_ != nullptr) controller_->releaseBeforeExit();
    });
}

// Keeps the focus on the control that had it when the window was left.
bool MainWindow::onActivate(WPARAM wParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focused = GetFocus();
        if (focused != nullptr && IsChild(window_, focused) != FALSE) focus_ = focused;
        return false;
    }
    if (HIWORD(wParam) != 0 || focus_ == nullptr || IsWindowEnabled(focus_) == FALSE) return false;
    SetFocus(focus_);
    return true;
}

} // namespace orvanta::win32
