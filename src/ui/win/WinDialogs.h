#pragma once
// Every box and dialog the Windows main window opens, behind one seam: the program shows real
// ones (WinUserDialogs), tests answer them with a fake, so no handler waits on a human.
#include "engine/Records.h"
#include "store/MessageBoxes.h"

#include <windows.h>

#include <optional>
#include <string>

namespace padwright::win {

class IWinDialogs : public IMessageBoxes {
public:
    // A question titled "Padwright" owned by the main window; `buttons` are MessageBox flags
    // (MB_YESNOCANCEL, MB_DEFBUTTON2, ...). Returns IDYES, IDNO, IDCANCEL or IDOK.
    virtual int Question(const std::string& text, UINT buttons) = 0;
    // dlgOpen: an existing single-profile file (UTF-8 path), or nothing when cancelled.
    virtual std::optional<std::string> OpenProfileFile() = 0;
    // dlgSave: the file to write (the user agreed to replace it), or nothing.
    virtual std::optional<std::string> SaveProfileFile() = 0;
    // The name dialog with `initial` in its field: the trimmed name, empty when cancelled.
    virtual std::string AskName(const std::string& initial) = 0;
    // The control editor for the slot labelled `name`; `mapping` is overwritten and true
    // returned when the user pressed OK.
    virtual bool EditControl(const std::string& name, TControlMapping& mapping) = 0;
    // While the editor is open: whether its control is engaged now (its name's live mark).
    virtual void SetEditedEngaged(bool engaged) = 0;
    // The Programs dialog; rules are added for profile `profile` (0-based).
    virtual void ShowPrograms(int profile) = 0;
};

} // namespace padwright::win
