; The Windows installer of the TQ-540 setup utility, made by
; scripts/build-windows.sh:
;   makensis -DVERSION=2.5 -DPROGRAMS=<build folder> -DSOURCE=<checkout>
;            -DOUTFILE=<installer> tq540setup.nsi
; It installs tq540setup.exe and tq540ctl.exe for all users, a Start-menu
; entry, .vfd files opening in the window, tq540ctl on the system PATH and an
; uninstaller listed in Apps that takes all of it away again.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include LogicLib.nsh
!include WinMessages.nsh
!include WordFunc.nsh

!define TITLE "TQ-540_setup_V${VERSION}"
!define PRODUCT "TQ-540 setup utility"
!define PUBLISHER "The TQ-540 setup utility maintainers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\TQ540Setup"
!define APP_PATHS_KEY "Software\Microsoft\Windows\CurrentVersion\App Paths"
!define PROG_ID "TQ540.SettingsFile"
!define ENVIRONMENT_KEY "SYSTEM\CurrentControlSet\Control\Session Manager\Environment"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\TQ-540 Setup"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT} installer"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

LicenseData "${PROGRAMS}\LICENSE.txt"
Page license
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; Tells Explorer that file types changed, so that .vfd files get their icon.
!macro NotifyAssociations
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
!macroend

Function .onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Section "Install"
    SetOutPath "$INSTDIR"
    File "${PROGRAMS}\src\app\tq540setup.exe"
    File "${PROGRAMS}\src\ctl\tq540ctl.exe"
    File "${PROGRAMS}\LICENSE.txt"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateShortCut "$SMPROGRAMS\${TITLE}.lnk" "$INSTDIR\tq540setup.exe"

    ; .vfd files open in the window, which asks before it loads one.
    WriteRegStr HKLM "Software\Classes\.vfd" "" "${PROG_ID}"
    WriteRegStr HKLM "Software\Classes\${PROG_ID}" "" "TQ-540 settings file"
    WriteRegStr HKLM "Software\Classes\${PROG_ID}\DefaultIcon" "" "$INSTDIR\tq540setup.exe,0"
    WriteRegStr HKLM "Software\Classes\${PROG_ID}\shell\open\command" "" \
        '"$INSTDIR\tq540setup.exe" "%1"'
    !insertmacro NotifyAssociations

    ; tq540ctl for Run and start, and on the PATH of new command prompts.
    WriteRegStr HKLM "${APP_PATHS_KEY}\tq540ctl.exe" "" "$INSTDIR\tq540ctl.exe"
    Call AddToPath

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tq540setup.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Appends the install folder to the system PATH, unless it is there already
; or the PATH is too long for this installer to rewrite without cutting it
; (tq540ctl is then still found through App Paths by Run and start).
Function AddToPath
    ReadRegStr $0 HKLM "${ENVIRONMENT_KEY}" "Path"
    ClearErrors
    ${WordFind} "$0" "$INSTDIR" "E#" $1
    ${If} ${Errors}
        StrLen $1 "$0$INSTDIR"
        ${If} $1 < ${NSIS_MAX_STRLEN}
            WriteRegExpandStr HKLM "${ENVIRONMENT_KEY}" "Path" "$0;$INSTDIR"
            WriteRegDWORD HKLM "${UNINSTALL_KEY}" "AddedToPath" 1
            SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=2000
        ${Else}
            DetailPrint "The PATH is too long to extend: tq540ctl is in $INSTDIR"
        ${EndIf}
    ${EndIf}
FunctionEnd

Function un.RemoveFromPath
    ReadRegDWORD $1 HKLM "${UNINSTALL_KEY}" "AddedToPath"
    ${If} $1 == 1
        ReadRegStr $0 HKLM "${ENVIRONMENT_KEY}" "Path"
        ${un.WordReplace} "$0" ";$INSTDIR" "" "+" $2
        WriteRegExpandStr HKLM "${ENVIRONMENT_KEY}" "Path" "$2"
        SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=2000
    ${EndIf}
FunctionEnd

Section "Uninstall"
    Call un.RemoveFromPath

    Delete "$SMPROGRAMS\${TITLE}.lnk"

    ; The .vfd type only while it is still ours: another program may have
    ; taken it since.
    ReadRegStr $0 HKLM "Software\Classes\.vfd" ""
    ${If} $0 == "${PROG_ID}"
        DeleteRegValue HKLM "Software\Classes\.vfd" ""
        DeleteRegKey /IfEmpty HKLM "Software\Classes\.vfd"
    ${EndIf}
    DeleteRegKey HKLM "Software\Classes\${PROG_ID}"
    !insertmacro NotifyAssociations

    DeleteRegKey HKLM "${APP_PATHS_KEY}\tq540ctl.exe"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"

    Delete "$INSTDIR\tq540setup.exe"
    Delete "$INSTDIR\tq540ctl.exe"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
SectionEnd
