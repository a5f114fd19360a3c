#include "win32/window/MainLayout.h"

#include "win32/window/AboutText.h"

namespace orvanta::win32 {
namespace {

// Every control is its own group, so the arrow keys stay inside the control
// that has the focus (the installation list, the caret of the boot-partition box).
constexpr DWORD Child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_GROUP;
constexpr DWORD Focusable = Child | WS_TABSTOP;
constexpr DWORD LabelStyle = Child | SS_LEFT | SS_NOPREFIX;
constexpr DWORD FrameStyle = Child | BS_GROUPBOX;

} // namespace

const std::array<ControlSpec, 12> MainLayout{{
    {IdRepairButton, L"BUTTON", Focusable | BS_PUSHBUTTON, 0, 4080, 1520, 1095, 360, L"开始修复",
     FontKind::YaHeiChinese, Sizing::Fixed},
    {IdBrowseButton, L"BUTTON", Focusable | BS_PUSHBUTTON, 0, 4320, 360, 855, 325, L"选择...",
     FontKind::YaHeiChinese, Sizing::Fixed},
    {IdBootPartitionBox, L"EDIT", Focusable | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 1320, 360, 2895, 330,
     L"C:", FontKind::YaHeiDefault, Sizing::Fixed},
    {IdInstallationCaption, L"STATIC", LabelStyle, 0, 480, 840, 720, 255, L"系统盘：", FontKind::YaHeiDefault,
     Sizing::ToText},
    {IdBootPartitionCaption, L"STATIC", LabelStyle, 0, 480, 420, 720, 255, L"引导盘：", FontKind::YaHeiDefault,
     Sizing::ToText},
    {IdStatusLine, L"STATIC", LabelStyle, 0, 480, 1575, 360, 255, L"状态", FontKind::YaHeiDefault,
     Sizing::ToText},
    {IdAboutText, L"STATIC", LabelStyle, 0, 480, 2640, 4755, 1650, AboutText, FontKind::YaHeiChinese,
     Sizing::Fixed},
    {IdInstallationList, L"COMBOBOX", Focusable | CBS_DROPDOWNLIST | WS_VSCROLL, 0, 1320, 780, 2895, 330, L"",
     FontKind::Verdana, Sizing::Fixed},
    {IdMakeDefaultCheckBox, L"BUTTON", Focusable | BS_AUTOCHECKBOX, 0, 4320, 840, 855, 255, L"主系统",
     FontKind::YaHeiChinese, Sizing::Fixed},
    {IdChoiceFrame, L"BUTTON", FrameStyle, 0, 240, 120, 5175, 1130, L"", FontKind::YaHeiChinese,
     Sizing::Fixed},
    {IdStatusFrame, L"BUTTON", FrameStyle, 0, 240, 1320, 5175, 690, L"", FontKind::SystemDefault,
     Sizing::Fixed},
    {IdAboutFrame, L"BUTTON", FrameStyle, 0, 240, 2280, 5175, 2100, L"Orvanta 1.0 关于...",
     FontKind::YaHeiChinese, Sizing::Fixed},
}};

} // namespace orvanta::win32
