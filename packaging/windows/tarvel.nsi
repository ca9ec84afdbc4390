; The Windows installer of Tarvel, made by scripts/windows.sh:
;   makensis -DVERSION=… -DLISTS=<folder with install.nsh, uninstall.nsh> -DICON=… -DOUTFILE=…
; Run normally it installs for the current user, without administrator rights, into
; %LOCALAPPDATA%\Programs\Tarvel; run as administrator, for all users into Program Files.
; /S installs silently, /CurrentUser and /AllUsers choose the mode. Each trainee's data lives
; in their own folder (%APPDATA%\Tarvel), which the uninstaller never touches.

; 64-bit like the program it installs (and so it runs where only 64-bit wine is).
Target amd64-unicode
SetCompressor /SOLID lzma
Name "Tarvel"
OutFile "${OUTFILE}"
BrandingText "Tarvel ${VERSION}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvel"
!define SHORTCUT "$SMPROGRAMS\Tarvel — тренажёр кассира.lnk"
!define PROGID "Tarvel.Exercise"

; Asking for no rights, but installing for everybody when it has them: MultiUser's
; "Standard" level with its all-users default turned on.
!define MULTIUSER_EXECUTIONLEVEL Standard
!define MULTIUSER_EXECUTIONLEVEL_ALLUSERS
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "Tarvel"
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INIT_TEXT_ALLUSERSNOTPOSSIBLE \
    "Tarvel установлен для всех пользователей. Запустите программу удаления от имени администратора."
!include MultiUser.nsh
!include MUI2.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\tarvel.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "ProductName" "Tarvel"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileDescription" "Установка Tarvel — тренажёра кассира"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "LegalCopyright" "Tarvel developers"

Function .onInit
    SetRegView 64
    !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
    SetRegView 64
    !insertmacro MULTIUSER_UNINIT
    ; Removed in the mode it was installed in, however the uninstaller is started.
    ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    StrCmp $0 $INSTDIR 0 +2
        Call un.MultiUser.InstallMode.CurrentUser
FunctionEnd

Section "Tarvel"
    SetOutPath "$INSTDIR"
    !include "${LISTS}\install.nsh"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "${SHORTCUT}" "$INSTDIR\tarvel.exe" "" "$INSTDIR\tarvel.exe" 0

    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Tarvel — тренажёр кассира"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tarvel.exe,0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Tarvel"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" \
        '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" \
        '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1

    ; Exercise files open in Tarvel. An editor that already owns .toml keeps it: Tarvel is
    ; then offered under "Open with".
    WriteRegStr SHCTX "Software\Classes\${PROGID}" "" "Упражнение Tarvel"
    WriteRegStr SHCTX "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\tarvel.exe,0"
    WriteRegStr SHCTX "Software\Classes\${PROGID}\shell\open\command" "" \
        '"$INSTDIR\tarvel.exe" --exercise "%1"'
    WriteRegStr SHCTX "Software\Classes\.toml\OpenWithProgids" "${PROGID}" ""
    ReadRegStr $0 SHCTX "Software\Classes\.toml" ""
    StrCmp $0 "" 0 +2
        WriteRegStr SHCTX "Software\Classes\.toml" "" "${PROGID}"
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

; Only what the installer put there goes: the folders are removed when left empty.
Section "Uninstall"
    !include "${LISTS}\uninstall.nsh"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    Delete "${SHORTCUT}"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
    DeleteRegKey SHCTX "Software\Classes\${PROGID}"
    DeleteRegValue SHCTX "Software\Classes\.toml\OpenWithProgids" "${PROGID}"
    ReadRegStr $0 SHCTX "Software\Classes\.toml" ""
    StrCmp $0 "${PROGID}" 0 +2
        DeleteRegValue SHCTX "Software\Classes\.toml" ""
    DeleteRegKey /ifempty SHCTX "Software\Classes\.toml\OpenWithProgids"
    DeleteRegKey /ifempty SHCTX "Software\Classes\.toml"
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
