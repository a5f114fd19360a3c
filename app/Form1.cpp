#include "app/Form1.h"

#include <cmath>
#include <string>

#include "discovery/ModFindWindows.h"
#include "platform/ModWin7Task.h"
#include "repair/ModOpenFolder.h"
#include "repair/RepairRun.h"

namespace orvanta {

Form1::Form1(FormControls controls, Platform platform) : c_(controls), p_(platform) {}

void Form1::Form_Initialize() {
    p_.commonControls.initialize();
}

std::int32_t Form1::OuterHeightFor(std::int32_t clientHeight) {
    const float frame = c_.window.outerHeight() - c_.window.clientHeight();
    return static_cast<std::int32_t>(std::lround(frame + static_cast<float>(clientHeight)));
}

void Form1::Form_Load() {
    fields_.TaskbarList = SetUpTaskbar(p_.version, p_.com);
    fields_.CompactWidth = FixedOuterWidth;
    fields_.CompactHeight = OuterHeightFor(CompactClientHeight);
    fields_.ExpandedWidth = FixedOuterWidth;
    fields_.ExpandedHeight = OuterHeightFor(ExpandedClientHeight);
    fields_.LastWindowState = c_.window.state();
    // Until the first toggle the window keeps the width of its layout.
    c_.window.setOuterHeight(fields_.CompactHeight);
    ScanSystems({p_.drives, p_.devices, p_.files, p_.messages}, c_.RDriver);
    ShowScanResult();
}

void Form1::ShowScanResult() {
    if (c_.RDriver.count() <= 0) {
        c_.Status.setCaption("当前电脑硬盘里未发现操作系统！");
        return;
    }
    c_.RDriver.select(0);
    c_.Status.setCaption("当前电脑硬盘里共发现" + std::to_string(c_.RDriver.count()) + "个系统！");
}

void Form1::Form_Resize() {
    const WindowState state = c_.window.state();
    std::int16_t last = fields_.LastWindowState;
    if (state == StateNormal || state == StateMinimized) {
        last = state;
    } else if (last == StateNormal || last == StateMaximized) {
        // The maximize command toggles between the two fixed sizes. The
        // operations below raise nested resize events, which find the normal
        // state; the value written last, here, decides.
        const bool expand = last == StateNormal;
        c_.window.setState(StateNormal);
        c_.window.setOuterWidth(expand ? fields_.ExpandedWidth : fields_.CompactWidth);
        c_.window.setOuterHeight(expand ? fields_.ExpandedHeight : fields_.CompactHeight);
        last = expand ? StateMaximized : StateNormal;
    }
    // Maximised straight from minimised: the window stays maximised.
    fields_.LastWindowState = last;
}

bool Form1::Form_QueryUnload() {
    if (c_.Command4.caption() != "正在修复") return false;
    p_.messages.show(CloseRefusedMessage, "警告！", StyleError);
    return true;
}

void Form1::Command1_Click() {
    const std::string path = BrowseFolder(p_.folderDialog, FolderDialogTitle);
    if (!path.empty()) c_.Text1.setText(FirstCharacters(path, 2));
}

void Form1::Command4_Click() {
    RunRepair(c_, p_, fields_.TaskbarList);
}

} // namespace orvanta
