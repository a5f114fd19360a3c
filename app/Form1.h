#pragma once
// The main window's behaviour: start-up, the compact/expanded size toggle, the
// close guard and the two button clicks.
#include <cstdint>

#include "app/FormControls.h"
#include "platform/Platform.h"

namespace orvanta {

// Client heights of the two sizes and the fixed outer width, in twips.
inline constexpr std::int32_t CompactClientHeight = 2250;
inline constexpr std::int32_t ExpandedClientHeight = 4620;
inline constexpr std::int32_t FixedOuterWidth = 5910;

inline constexpr const char* CloseRefusedMessage = "正在修复系统引导，无法关闭！";

class Form1 {
public:
    struct Fields {
        std::int32_t CompactWidth = 0;
        std::int32_t CompactHeight = 0;
        std::int32_t ExpandedWidth = 0;
        std::int32_t ExpandedHeight = 0;
        std::int16_t LastWindowState = 0;
        ComPointer TaskbarList = 0;
    };

    Form1(FormControls controls, Platform platform);

    // Before the window exists.
    void Form_Initialize();
    // After the controls exist, before the window is first shown.
    void Form_Load();
    // After every change of the window's size or state.
    void Form_Resize();
    // On every close request; true refuses the close.
    bool Form_QueryUnload();
    void Command1_Click();
    void Command4_Click();

    const Fields& fields() const { return fields_; }

private:
    std::int32_t OuterHeightFor(std::int32_t clientHeight);
    void ShowScanResult();

    FormControls c_;
    Platform p_;
    Fields fields_;
};

} // namespace orvanta
