#pragma once
// The about panel's five lines, each ended by a line break.

namespace orvanta::win32 {

inline constexpr const wchar_t* AboutText =
    L"© 2026 Orvanta Tools Studio，作者：Orvanta 开发组\r\n"
    L"Orvanta 是本工作室出品的系统引导修复工具。\r\n"
    L"使用中遇到任何问题，欢迎通过以下方式反馈。\r\n"
    L"邮箱：support@example.com 网站：www.example.com\r\n"
    L"觉得好用请捐助，支付账户：donate@example.com\r\n";

} // namespace orvanta::win32
