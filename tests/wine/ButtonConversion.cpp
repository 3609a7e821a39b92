#include "ButtonConversion.h"

#include <thread>

#include "ConvertDialogDriver.h"
#include "DialogThread.h"
#include "MessagePump.h"
#include "StandInButton.h"
#include "StandInCommandBar.h"
#include "StandInCommandBars.h"
#include "StandInHost.h"
#include "StandInRibbonStrip.h"
#include "resource.h"

namespace {
// A large deck renders for minutes.
const DWORD kConversionLimitMs = 10 * 60 * 1000;

// The dialog refuses to close, with a box of its own, while its job runs; a job
// whose failure was reported ends moments later.
void CloseWhenIdle(const ConvertDialogDriver& dialog) {
    WaitFor([&] { return dialog.Status().rfind(L"Begin Convert", 0) != 0; }, kConversionLimitMs);
    for (int attempt = 0; attempt < 5 && dialog.IsOpen(); ++attempt) {
        dialog.SysCommand(SC_CLOSE);
        WaitFor([&] { return !dialog.IsOpen(); }, 2000);
    }
}

}  // namespace

StandInButton* ButtonConversion::LoadedButton(StandInHost& host) {
    auto& bars = host.Application().CommandBars();
    if (bars.Count() == 0 || bars.At(0).Count() == 0) return nullptr;
    HWND window = host.Window().Handle();
    const bool shown = MessagePump::PumpUntil(
        [&] { return FindWindowExW(window, nullptr, L"Button", L"Vellumark 5.0") != nullptr; }, 10000);
    return shown ? &bars.At(0).At(0) : nullptr;
}

std::wstring ButtonConversion::Drive(DWORD uiThread) const {
    ConvertDialogDriver dialog(uiThread);
    if (!dialog.Dialog()) return {};
    std::wstring produced;
    if (!m_outputFolder.empty()) dialog.SetText(IDC_OUTPUT_FOLDER, m_outputFolder);
    if (m_options.Apply(dialog)) {
        dialog.Click(IDOK);
        if (afterConvert) afterConvert(dialog);
        if (HWND finish = AwaitFinish(dialog)) {
            if (onFinish) onFinish(finish);
            const auto files = ConvertDialogDriver::FinishFiles(finish);
            if (!files.empty()) produced = files.front();
            PostMessageW(finish, WM_COMMAND, IDCANCEL, 0);
            WaitFor([&] { return !IsWindow(finish); });
        }
    }
    if (GaveUp())
        CloseWhenIdle(dialog);
    else
        dialog.SysCommand(SC_CLOSE);
    return produced;
}

HWND ButtonConversion::AwaitFinish(const ConvertDialogDriver& dialog) const {
    HWND finish = nullptr;
    WaitFor(
        [&] {
            finish = ConvertDialogDriver::FindDialog(dialog.ThreadId(), IDC_FINISH_FILES);
            return finish != nullptr || GaveUp();
        },
        kConversionLimitMs);
    return finish;
}

std::wstring ButtonConversion::Run(StandInButton& button) {
    return Run([&] { button.Click(); });
}

std::wstring ButtonConversion::Run(const std::function<void()>& click) {
    std::wstring produced;
    const DWORD uiThread = GetCurrentThreadId();
    std::thread user([&] { produced = Drive(uiThread); });
    click();  // the Convert dialog runs modally here
    user.join();
    return produced;
}

HWND ButtonConversion::LoadedRibbonButton(StandInHost& host) {
    const StandInRibbonStrip* ribbon = host.Window().Ribbon();
    if (!ribbon || ribbon->Empty()) return nullptr;
    HWND button = nullptr;
    MessagePump::PumpUntil(
        [&] { return (button = FindWindowExW(ribbon->Handle(), nullptr, L"Button", L"Vellumark 5.0")) != nullptr; },
        10000);
    return button;
}

void ButtonConversion::ClickRibbonButton(HWND button) {
    SendMessageW(button, BM_CLICK, 0, 0);
}

// As the keyboard has them: Alt down and up (the window's default handling makes
// that the menu key), then each character.
void ButtonConversion::TypeKeyTip(HWND powerPoint, const std::wstring& keys) {
    SendMessageW(powerPoint, WM_SYSKEYDOWN, VK_MENU, 0x20380001);
    SendMessageW(powerPoint, WM_SYSKEYUP, VK_MENU, static_cast<LPARAM>(0xE0380001));
    for (wchar_t key : keys) SendMessageW(powerPoint, WM_CHAR, key, 1);
}
