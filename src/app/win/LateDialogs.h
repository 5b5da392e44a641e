#pragma once
// The dialogs for whoever needs them before they exist: the core and the main window are made
// first, and the real dialogs, which belong to the main window, are handed in once it is there.
// Until then a box is a plain one without an owner.
#include "platform/win/Utf16.h"
#include "ui/win/WinDialogs.h"

namespace padwright::win {

class LateDialogs final : public IWinDialogs {
public:
    void Attach(IWinDialogs* dialogs) { dialogs_ = dialogs; }

    void Warning(std::string_view text, std::string_view title) override {
        if (dialogs_)
            return dialogs_->Warning(text, title);
        MessageBoxW(nullptr, Wide(text).c_str(), Wide(title).c_str(), MB_OK | MB_ICONWARNING);
    }
    void Error(std::string_view text) override {
        if (dialogs_)
            return dialogs_->Error(text);
        MessageBoxW(nullptr, Wide(text).c_str(), L"Padwright", MB_OK | MB_ICONERROR);
    }
    int Question(const std::string& text, UINT buttons) override {
        if (dialogs_)
            return dialogs_->Question(text, buttons);
        return MessageBoxW(nullptr, Wide(text).c_str(), L"Padwright", buttons);
    }
    std::optional<std::string> OpenProfileFile() override {
        return dialogs_ ? dialogs_->OpenProfileFile() : std::nullopt;
    }
    std::optional<std::string> SaveProfileFile() override {
        return dialogs_ ? dialogs_->SaveProfileFile() : std::nullopt;
    }
    std::string AskName(const std::string& initial) override {
        return dialogs_ ? dialogs_->AskName(initial) : std::string();
    }
    bool EditControl(const std::string& name, TControlMapping& mapping) override {
        return dialogs_ && dialogs_->EditControl(name, mapping);
    }
    void SetEditedEngaged(bool engaged) override {
        if (dialogs_)
            dialogs_->SetEditedEngaged(engaged);
    }
    void ShowPrograms(int profile) override {
        if (dialogs_)
            dialogs_->ShowPrograms(profile);
    }

private:
    IWinDialogs* dialogs_ = nullptr;
};

} // namespace padwright::win
