#pragma once
// The command ids of the main window's controls, menu items and timers.
namespace padwright::win::ids {

enum : int {
    cmbFoundDevices = 100,
    cmdRefresh,
    cmdAddDevice,
    cmbDevices,
    cmdRemoveDevice,
    cmbProfiles,
    cmdPPopUp,
    scbSettings,
    txtPanelHint,
    txtDeadZone,
    txtMaxVal,
    txtThreshold,
    chkRepeatKeys,
    cmdJSReset,
    cmdJSApply,
    txtTimeInterval,
    txtMaxJoysticks,
    chkStartMinimized,
    chkLogFile,
    cmdASReset,
    cmdASApply,
    cmdSave,
    cmdExit,
    grpJoystickSettings,
    GroupBox1,
    Label,
    // The profile menu.
    mnuPAdd = 200,
    mnuPCopy,
    mnuPRename,
    mnuPDelete,
    mnuPImport,
    mnuPExport,
    mnuPPrograms,
    // Row n's name box has the id FirstRow + n; its other boxes have none.
    FirstRow = 1000,
    // tmrLiveMarks, a single shot.
    tmrLiveMarks = 1,
};

} // namespace padwright::win::ids
