#include "ui/win/WinUserDialogs.h"

#include "platform/win/Utf16.h"
#include "ui/common/DialogTexts.h"

#include <commdlg.h>

namespace padwright::win {

namespace {

constexpr const wchar_t* Title = L"Padwright";
// dlgOpen and dlgSave: single-profile files, filter "Profile|*.pro", default extension "pro".
constexpr wchar_t ProfileFilter[] = L"Profile\0*.pro\0";
// Long paths too: the dialogs take up to this many characters.
constexpr DWORD PathCapacity = 32768;

std::optional<std::string> RunFileDialog(HWND owner, bool save) {
    std::wstring path(PathCapacity, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = ProfileFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = PathCapacity;
    dialog.lpstrDefExt = L"pro";
    // The store and the log are opened by bare name: the working folder must stay where it is.
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
    dialog.Flags |= save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST;
    const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!chosen)
        return std::nullopt;
    path.resize(path.find(L'\0'));
    return Utf8(path);
}

} // namespace

WinUserDialogs::WinUserDialogs(HWND owner, IInputInjector& injector, Core& core,
                               ProgramFollower& follower, const IForegroundSource* source)
    : owner_(owner), editor_(&injector), programs_(core, follower, source) {}

void WinUserDialogs::Warning(std::string_view text, std::string_view title) {
    // No owner window: the refusals of input and of files stand on their own.
    MessageBoxW(nullptr, Wide(text).c_str(), Wide(title).c_str(), MB_OK | MB_ICONWARNING);
}

void WinUserDialogs::Error(std::string_view text) {
    MessageBoxW(owner_, Wide(ErrorBoxText(text)).c_str(), Title, MB_OK | MB_ICONERROR);
}

int WinUserDialogs::Question(const std::string& text, UINT buttons) {
    if ((buttons & MB_ICONMASK) == 0)
        buttons |= MB_ICONQUESTION;
    return MessageBoxW(owner_, Wide(text).c_str(), Title, buttons);
}

std::optional<std::string> WinUserDialogs::OpenProfileFile() {
    return RunFileDialog(owner_, false);
}

std::optional<std::string> WinUserDialogs::SaveProfileFile() {
    return RunFileDialog(owner_, true);
}

std::string WinUserDialogs::AskName(const std::string& initial) {
    return entry_.AskName(owner_, initial);
}

bool WinUserDialogs::EditControl(const std::string& name, TControlMapping& mapping) {
    return editor_.EditControl(owner_, name, mapping);
}

void WinUserDialogs::SetEditedEngaged(bool engaged) {
    editor_.SetEngaged(engaged);
}

void WinUserDialogs::ShowPrograms(int profile) {
    programs_.ShowFor(owner_, profile);
}

} // namespace padwright::win
