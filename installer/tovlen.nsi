; Tovlen's per-user installer. Built by installer/build_installer.cmake, which passes:
;   VERSION          x.y.z of the program
;   OUTFILE          the installer to write
;   STAGE            folder holding Tovlen.exe and tovlenctl.exe (signed when signing is set up)
;   HELP_PDF, LIGHTON_ICO   the files installed beside them, when the build has them
;   SOURCE_DIR       the source tree (app icon, example influence list)
;   WIZARD_BITMAP    the picture of the first and last pages
;   SIGN_SCRIPT      optional: signs a file given as its one argument (scripts/sign.sh)
;   INSTALLER_NAME   the installer's OriginalFilename, which the update asks of what it starts
;   PYTHON           Python 3, which gives the uninstaller a name of its own before it is signed
;
; Installed for the current user only, into a folder the user can write: the program keeps its
; list files in its own folder. Started by the update with the update window's handle and
; /D=<the program's folder>, it installs silently there and starts the new program. (Versions
; before 1.6 saved it in the program's folder and passed the handle alone.) The version
; resource carries VERSION: the update starts only an installer newer than the running program.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true
ManifestSupportedOS all

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!define APP_NAME "Tovlen"
!define PUBLISHER "Tovlen"
!define APP_EXE "Tovlen.exe"
!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP_NAME}"
!define SETTINGS_KEY "Software\${APP_NAME}"
!define UPDATE_FILE "updatefile.exe"

; Process access for reading a process's image path, ending it and waiting for it.
!define PROCESS_TERMINATE 0x0001
!define PROCESS_QUERY_LIMITED_INFORMATION 0x1000
!define SYNCHRONIZE 0x00100000
!define TH32CS_SNAPPROCESS 0x00000002
!define WAIT_OBJECT_0 0
; sizeof(PROCESSENTRY32W) on x64; the process id is its third 32-bit field.
!define PROCESSENTRY32W_SIZE 568
; How long the update gives the old program to end by itself, and how long ending it may take.
!define UPDATE_GRACE_MS 20000
!define TERMINATE_WAIT_MS 5000

; The uninstaller comes with the installer's version resource; it is named for what it is before
; it is signed, so that the update never takes it for the installer.
!uninstfinalize '"${PYTHON}" "${SOURCE_DIR}/installer/name_uninstaller.py" "%1" "${INSTALLER_NAME}" "${UNINSTALLER}"' = 0
!ifdef SIGN_SCRIPT
!finalize '"${SIGN_SCRIPT}" "%1"' = 0
!uninstfinalize '"${SIGN_SCRIPT}" "%1"' = 0
!endif

Name "${APP_NAME}"
Caption "${APP_NAME} ${VERSION} Setup"
UninstallCaption "${APP_NAME} Uninstall"
BrandingText "${APP_NAME} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${APP_NAME}"
; An earlier install is updated where it is.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${APP_NAME}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${APP_NAME} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"
; The update starts a signed download only when it calls itself this.
VIAddVersionKey "OriginalFilename" "${INSTALLER_NAME}"

!define MUI_ICON "${SOURCE_DIR}/res/app.ico"
!define MUI_UNICON "${SOURCE_DIR}/res/app.ico"
!ifdef WIZARD_BITMAP
!define MUI_WELCOMEFINISHPAGE_BITMAP "${WIZARD_BITMAP}"
!define MUI_UNWELCOMEFINISHPAGE_BITMAP "${WIZARD_BITMAP}"
!endif
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TITLE "Welcome to ${APP_NAME} ${VERSION}"
!define MUI_WELCOMEPAGE_TEXT "${APP_NAME} is a keyboard launcher: press Caps Lock anywhere, type a few letters, press Enter, and a program, file, folder or web site opens.$\r$\n$\r$\nSetup installs ${APP_NAME} for you alone, in your own programs folder, so it needs no administrator rights. If ${APP_NAME} is running, Setup closes it and starts the new version at the end.$\r$\n$\r$\nClick Next to continue."
!insertmacro MUI_PAGE_WELCOME

!define MUI_DIRECTORYPAGE_TEXT_TOP "${APP_NAME} keeps your own commands and lists in its program folder, so choose a folder that you can write to. Installing over an earlier version keeps customprograms.lst, influence.lst and commandtack.lst."
!insertmacro MUI_PAGE_DIRECTORY

; The progress page stays until the user moves on, so the log can be read.
!define MUI_FINISHPAGE_NOAUTOCLOSE
!insertmacro MUI_PAGE_INSTFILES

!define MUI_FINISHPAGE_TITLE "${APP_NAME} is installed"
!define MUI_FINISHPAGE_TEXT "Press Caps Lock anywhere to open the command line, type a few letters and press Enter. Type $\"help$\" for the user guide."
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start ${APP_NAME}"
!define MUI_FINISHPAGE_RUN_FUNCTION StartTovlen
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_UNFINISHPAGE_NOAUTOCLOSE
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Handle of the update window when the update started us; empty otherwise.
Var UpdateWindow

; Ends every process whose program is $INSTDIR\Tovlen.exe, and no other: a copy of Tovlen
; started from another folder keeps running. Tovlen ends by its own "exit" command only, so a
; polite close is not possible; it keeps nothing unsaved, since every setting and list is
; written when it changes. The number on the stack is how long each may take to end by itself
; (the update's program is ending already) before it is stopped.
!macro DEFINE_STOP_TOVLEN PREFIX
Function ${PREFIX}StopTovlen
    Exch $R9
    Push $R0
    Push $R1
    Push $R2
    Push $R3
    Push $R4
    Push $R5
    Push $R6
    Push $R7
    Push $R8

    StrCpy $R8 "$INSTDIR\${APP_EXE}"
    System::Call 'kernel32::GetLongPathNameW(w R8, w .R5, i ${NSIS_MAX_STRLEN}) i .R7'
    ${If} $R7 <> 0
        StrCpy $R8 $R5
    ${EndIf}

    System::Call 'kernel32::CreateToolhelp32Snapshot(i ${TH32CS_SNAPPROCESS}, i 0) p .R0'
    ${If} $R0 P<> -1
        System::Alloc ${PROCESSENTRY32W_SIZE}
        Pop $R1
        System::Call '*$R1(i ${PROCESSENTRY32W_SIZE})'
        System::Call 'kernel32::Process32FirstW(p R0, p R1) i .R2'
        ${DoWhile} $R2 <> 0
            System::Call '*$R1(i, i, i .R3)'
            System::Call 'kernel32::OpenProcess(i ${PROCESS_QUERY_LIMITED_INFORMATION}|${PROCESS_TERMINATE}|${SYNCHRONIZE}, i 0, i R3) p .R4'
            ${If} $R4 P<> 0
                System::Call 'kernel32::QueryFullProcessImageNameW(p R4, i 0, w .R5, *i ${NSIS_MAX_STRLEN}) i .R7'
                ${If} $R7 <> 0
                    System::Call 'kernel32::GetLongPathNameW(w R5, w .R6, i ${NSIS_MAX_STRLEN}) i .R7'
                    ${If} $R7 <> 0
                        StrCpy $R5 $R6
                    ${EndIf}
                    ${If} $R5 == $R8
                        DetailPrint "Closing ${APP_NAME} (process $R3)"
                        System::Call 'kernel32::WaitForSingleObject(p R4, i R9) i .R7'
                        ${If} $R7 <> ${WAIT_OBJECT_0}
                            System::Call 'kernel32::TerminateProcess(p R4, i 1)'
                            System::Call 'kernel32::WaitForSingleObject(p R4, i ${TERMINATE_WAIT_MS})'
                        ${EndIf}
                    ${EndIf}
                ${EndIf}
                System::Call 'kernel32::CloseHandle(p R4)'
            ${EndIf}
            System::Call 'kernel32::Process32NextW(p R0, p R1) i .R2'
        ${Loop}
        System::Free $R1
        System::Call 'kernel32::CloseHandle(p R0)'
    ${EndIf}

    Pop $R8
    Pop $R7
    Pop $R6
    Pop $R5
    Pop $R4
    Pop $R3
    Pop $R2
    Pop $R1
    Pop $R0
    Pop $R9
FunctionEnd
!macroend
!insertmacro DEFINE_STOP_TOVLEN ""
!insertmacro DEFINE_STOP_TOVLEN "un."

Function .onInit
    SetShellVarContext current
    StrCpy $UpdateWindow ""
    ; /D= is gone from the parameters by now, and is in $INSTDIR.
    ${GetParameters} $R0
    IntPtrOp $R1 $R0 + 0
    ${If} $R0 != ""
    ${AndIf} $R1 == $R0
        ${If} ${FileExists} "$EXEDIR\${APP_EXE}"
            StrCpy $UpdateWindow $R0
            StrCpy $INSTDIR $EXEDIR
            SetSilent silent
        ${ElseIf} ${FileExists} "$INSTDIR\${APP_EXE}"
            StrCpy $UpdateWindow $R0
            SetSilent silent
        ${EndIf}
    ${EndIf}
FunctionEnd

Function StartTovlen
    SetOutPath "$INSTDIR"
    Exec '"$INSTDIR\${APP_EXE}"'
FunctionEnd

Section "${APP_NAME}" SectionProgram
    SectionIn RO
    ${If} $UpdateWindow != ""
        Push ${UPDATE_GRACE_MS}
    ${Else}
        Push 0
    ${EndIf}
    Call StopTovlen

    SetOutPath "$INSTDIR"
    SetOverwrite on
    File "${STAGE}/${APP_EXE}"
    File "${STAGE}/tovlenctl.exe"
!ifdef HELP_PDF
    File "${HELP_PDF}"
!endif
!ifdef LIGHTON_ICO
    File "${LIGHTON_ICO}"
!endif
    ; The user's lists are theirs: the example influence list only goes where there is none.
    ${If} ${FileExists} "$INSTDIR\influence.lst"
        DetailPrint "Keeping your influence.lst"
    ${Else}
        File "/oname=influence.lst" "${SOURCE_DIR}/installer/influence.lst"
    ${EndIf}

    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    CreateShortCut "$SMPROGRAMS\${APP_NAME}.lnk" "$INSTDIR\${APP_EXE}" "" "$INSTDIR\${APP_EXE}" 0 \
        SW_SHOWNORMAL "" "Keyboard launcher: press Caps Lock and type"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP_NAME}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${APP_EXE},0"
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0

    ; Without pages nobody ticks "Start Tovlen"; a silent install (and so every update) starts it.
    ${If} ${Silent}
        Call StartTovlen
    ${EndIf}
SectionEnd

Function un.onInit
    SetShellVarContext current
FunctionEnd

Section "Uninstall"
    Push 0
    Call un.StopTovlen

    Delete "$INSTDIR\${APP_EXE}"
    Delete "$INSTDIR\tovlenctl.exe"
    Delete "$INSTDIR\help.pdf"
    Delete "$INSTDIR\LIGHTON.ico"
    Delete "$INSTDIR\${UPDATE_FILE}"
    ; What a save cut short left: each list (or a download tovlenctl saved here) is written as
    ; "~<name>.<process>.<random>.tmp" beside it first. It is never the user's only copy.
    Delete "$INSTDIR\~*.lst.*.tmp"
    Delete "$INSTDIR\~${UPDATE_FILE}.*.tmp"
    Delete "$INSTDIR\${UNINSTALLER}"
    ; Installers that updates downloaded; the folders go only when empty (the log stays).
    Delete "$LOCALAPPDATA\${APP_NAME}\updates\*.exe"
    RMDir "$LOCALAPPDATA\${APP_NAME}\updates"
    RMDir "$LOCALAPPDATA\${APP_NAME}"

    Delete "$SMPROGRAMS\${APP_NAME}.lnk"
    ; Tovlen puts itself into the all-users Startup folder, or the user's own where that one
    ; cannot be written; an ordinary user cannot remove the all-users one either, which is quiet.
    Delete "$SMSTARTUP\${APP_NAME}.lnk"
    SetShellVarContext all
    Delete "$SMSTARTUP\${APP_NAME}.lnk"
    SetShellVarContext current

    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"

    ${If} ${FileExists} "$INSTDIR\customprograms.lst"
    ${OrIf} ${FileExists} "$INSTDIR\influence.lst"
    ${OrIf} ${FileExists} "$INSTDIR\commandtack.lst"
        MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
            "Also delete your own commands and lists (customprograms.lst, influence.lst and commandtack.lst in $INSTDIR)?$\r$\n$\r$\nChoose No to keep them for a later install." \
            /SD IDNO IDNO keep_lists
        Delete "$INSTDIR\customprograms.lst"
        Delete "$INSTDIR\influence.lst"
        Delete "$INSTDIR\commandtack.lst"
    keep_lists:
    ${EndIf}

    ; Only an empty folder goes: whatever else the user keeps there stays.
    RMDir "$INSTDIR"
SectionEnd
