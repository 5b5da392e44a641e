#pragma once
// The control editor on Win32: the function, modifiers and repeat rate of one control slot. It
// edits a working copy and writes the whole record back on OK only; only OK and Cancel close it.
#include "engine/Records.h"
#include "ui/common/KeyCatch.h"
#include "ui/win/WinControls.h"

#include "ui/win/Win32.h"

#include <string>

namespace padwright {
class IInputInjector;
}

namespace padwright::win {

class TWinControlEntry final : public TWinDialog {
public:
    // The controls' identifiers in the dialog. Cancel is not IDCANCEL, which the dialog manager
    // sends for Escape and the close command: neither closes the editor.
    enum Id : int {
        idOK = IDOK,
        idCancel = 100,
        idControlName,
        idFunction,
        idShift,
        idCtrl,
        idAlt,
        idWin,
        idPressKey,
        idRepeatRate,
        idAutoRepeat,
        idLabel1,
        idDescription,
    };

    // `injector` says what a key types and which key a pressed one is; null: no layout.
    explicit TWinControlEntry(IInputInjector* injector) : injector_(injector) {}

    // Shows the dialog modally over `owner` for the slot labelled `name`; true, with `mapping`
    // overwritten, when the user pressed OK.
    bool EditControl(HWND owner, const std::string& name, TControlMapping& mapping);
    // The live mark of the control name while the dialog is open.
    void SetEngaged(bool engaged);

    TControlMapping WorkMapping{};
    TControlMapping* TargetMapping = nullptr;

private:
    bool OnInit() override;
    INT_PTR OnMessage(UINT message, WPARAM w, LPARAM l) override;
    static LRESULT CALLBACK FunctionListProc(HWND list, UINT message, WPARAM w, LPARAM l, UINT_PTR,
                                             DWORD_PTR self);
    void BuildControls();
    void FormCreate();
    void Open();
    bool Command(int id, int code);
    bool Checked(int id) const;
    void SetChecked(int id, bool checked);
    // Paints the static texts: the control name carries the live mark.
    HBRUSH StaticColours(HWND control, HDC dc);

    void cmbFunctionClick();
    void trkRepeatRateChange();
    void cmdOKClick();
    void cmdCancelClick();
    void cmdPressKeyClick();
    // A key reached the function list while the capture was armed.
    void CaptureKey(UINT message, WPARAM vk, LPARAM flags);
    void ShowCaptured(const TCaughtKey& key);

    IInputInjector* injector_;
    std::string name_;
    KeyCatch catch_;
    bool swallowing_ = false; // the key that ended a capture is still down
    bool engaged_ = false;
    HBRUSH engagedBrush_ = nullptr;
};

} // namespace padwright::win
