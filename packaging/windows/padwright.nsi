; The Windows installer: padwright.exe into Program Files, a Start-menu entry that runs it with its
; profiles and log in %LOCALAPPDATA%\Padwright (Program Files is not writable for a standard
; user), and an uninstaller that removes what was installed and keeps the user's profiles and
; settings. Built by makensis with
;   -DVERSION=x.y.z -DPROGRAM=<padwright.exe> -DOUTFILE=<Padwright-x.y.z-setup.exe>

; A 64-bit stub: the default 32-bit one does nothing at all on a system without 32-bit support.
Target amd64-unicode
SetCompressor /SOLID lzma

!macro Needed NAME
    !ifndef ${NAME}
        !error "makensis needs -D${NAME}"
    !endif
!macroend
!insertmacro Needed VERSION
!insertmacro Needed PROGRAM
!insertmacro Needed OUTFILE

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Padwright"

Name "Padwright"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Padwright"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Padwright"
VIAddVersionKey "CompanyName" "Vemoskar"
VIAddVersionKey "FileDescription" "Padwright installer"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "2026 Vemoskar. All rights reserved."

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Padwright"
    ; The Start-menu entry is for every user of the machine, as the program is.
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File "/oname=padwright.exe" "${PROGRAM}"
    WriteUninstaller "$INSTDIR\Uninstall.exe"
    CreateShortcut "$SMPROGRAMS\Padwright.lnk" "$INSTDIR\padwright.exe" "--data-folder" \
        "$INSTDIR\padwright.exe" 0 SW_SHOWNORMAL "" "Game controllers as keyboard and mouse"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Padwright"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Vemoskar"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\padwright.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Only what the installer put there goes: the profiles and the log in %LOCALAPPDATA%\Padwright
; and the settings under HKEY_CURRENT_USER\Software\Vemoskar\Padwright are the user's and stay.
Section "Uninstall"
    SetShellVarContext all
    Delete "$SMPROGRAMS\Padwright.lnk"
    Delete "$INSTDIR\padwright.exe"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR" ; only when empty: nothing of the user's is removed with it
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
