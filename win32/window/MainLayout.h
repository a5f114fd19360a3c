#pragma once
// Every control of the main window: its kind, place, size (twips, relative to
// the client area), start text and font.
#include <windows.h>

#include <array>
#include <cstdint>

#include "win32/window/Fonts.h"

namespace orvanta::win32 {

// Client area as laid out, in twips.
inline constexpr std::int32_t LayoutClientWidth = 5670;
inline constexpr std::int32_t LayoutClientHeight = 2250;

inline constexpr const wchar_t* WindowTitle = L"Orvanta";
inline constexpr const wchar_t* MakeDefaultToolTip = L"将当前选择的系统盘作为默认系统";

// Control identifiers; 1 and 2 (IDOK, IDCANCEL) stay unused, so Enter and Esc
// press no button.
enum ControlId : int {
    IdRepairButton = 100,
    IdBrowseButton,
    IdBootPartitionBox,
    IdInstallationCaption,
    IdBootPartitionCaption,
    IdStatusLine,
    IdAboutText,
    IdInstallationList,
    IdMakeDefaultCheckBox,
    IdChoiceFrame,
    IdStatusFrame,
    IdAboutFrame,
};

enum class Sizing { Fixed, ToText };

struct ControlSpec {
    ControlId id;
    const wchar_t* windowClass;
    DWORD style;
    DWORD extendedStyle;
    std::int32_t left, top, width, height;
    const wchar_t* text;
    FontKind font;
    Sizing sizing;
};

// In creation order, which is also the order of Tab and of depth: the first is
// in front. The frames come last, so every control inside them lies in front.
extern const std::array<ControlSpec, 12> MainLayout;

} // namespace orvanta::win32
