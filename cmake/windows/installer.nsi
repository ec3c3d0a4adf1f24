; The Windows installer: the staged program folder under Program Files for all users, a Start Menu
; entry, a desktop shortcut if asked for, an entry in Apps & Features, and an uninstaller that
; takes away what was installed and nothing else. scripts/windows compiles it on Linux:
;   makensis -DPRODUCT=<product.nsh of the build> -DSTAGE=<staged folder> -DOUTFILE=<setup.exe> installer.nsi
; Unattended: setup.exe /S [/D=<folder>], and the QuietUninstallString of Apps & Features. They end
; with exit code 2 when they changed nothing (the editor runs, or a newer version is installed),
; and 3 when they stopped part of the way (an installation is registered still).
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
; Windows draws the pages at the screen's scale instead of stretching them blurred.
ManifestDPIAware true

; PRODUCT_NAME, PRODUCT_VERSION, PRODUCT_VERSION_QUAD, PUBLISHER, ICON and RUNNING_MUTEX, from the build.
!include "${PRODUCT}"
!include MUI2.nsh
!include LogicLib.nsh
!include Sections.nsh
!include FileFunc.nsh
!include WordFunc.nsh

!tempfile INSTALL_LIST
!tempfile PLACE_LIST
!tempfile UNINSTALL_LIST
!tempfile FOLDER_LIST
!system 'cmake -DSTAGE="${STAGE}" -DINSTALL_LIST="${INSTALL_LIST}" -DPLACE_LIST="${PLACE_LIST}" -DUNINSTALL_LIST="${UNINSTALL_LIST}" -DFOLDER_LIST="${FOLDER_LIST}" -P "${__FILEDIR__}/InstallerFiles.cmake"' = 0

!define PROGRAM "dmx-scene-editor.exe"
!define SHORTCUT "${PRODUCT_NAME}.lnk"
!define UNINSTALLER "uninstall.exe"
; The new version is copied here first, on the drive it goes to.
!define STAGED "$INSTDIR\setup.tmp"
; Expanded for each user as the shortcut starts the program.
!define START_IN "%USERPROFILE%\Documents"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT_NAME}"
!define UNCHANGED 2
!define STOPPED 3
!define SYNCHRONIZE 0x00100000
!define ERROR_ACCESS_DENIED 5

Name "${PRODUCT_NAME}"
OutFile "${OUTFILE}"
; No InstallDir: .onInit takes /D=, or else the earlier installation's folder or Program Files.
RequestExecutionLevel admin
BrandingText "${PRODUCT_NAME} ${PRODUCT_VERSION}"

VIProductVersion "${PRODUCT_VERSION_QUAD}"
VIFileVersion "${PRODUCT_VERSION_QUAD}"
VIAddVersionKey "ProductName" "${PRODUCT_NAME}"
VIAddVersionKey "ProductVersion" "${PRODUCT_VERSION}"
VIAddVersionKey "FileVersion" "${PRODUCT_VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT_NAME} ${PRODUCT_VERSION} Setup"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_WELCOMEPAGE_TEXT "Setup will install ${PRODUCT_NAME} ${PRODUCT_VERSION} for all users of this computer, replacing a version installed before.$\r$\n$\r$\nClick Next to continue."
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; An earlier installation, from its entry in Apps & Features: its folder, empty unless it is a full
; path below a drive's root that holds the program and its uninstaller (setup runs no program it
; did not put there), and its version.
Var Earlier
Var EarlierVersion

; Ends setup or the uninstaller with a message, which unattended only the exit code gives.
!macro STOP code message
    MessageBox MB_OK|MB_ICONSTOP "${message}" /SD IDOK
    SetErrorLevel ${code}
    Quit
!macroend

; Moves a file from the staged folder to its place, over what the earlier version left there. On
; the same drive that takes no room and cannot stop half way.
!macro PLACE file
    Delete "$INSTDIR\${file}"
    Rename "${STAGED}\${file}" "$INSTDIR\${file}"
!macroend

; The editor marks that it runs with a named mutex. Its files cannot be replaced or removed while
; it runs, so the user is asked to close it; unattended, nothing is changed.
!macro CLOSE_EDITOR_FIRST un
    Function ${un}CloseEditorFirst
        ${Do}
            System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${RUNNING_MUTEX}") p .r0 ?e'
            Pop $1
            System::Call 'kernel32::CloseHandle(p r0)'
            ; Another user's editor shows as a mutex this one may not open.
            ${If} $0 P= 0
            ${AndIf} $1 <> ${ERROR_ACCESS_DENIED}
                Return
            ${EndIf}
            ${If} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT_NAME} is running. Close it, then click Retry." /SD IDCANCEL IDCANCEL`
                SetErrorLevel ${UNCHANGED}
                Quit
            ${EndIf}
        ${Loop}
    FunctionEnd
!macroend
!insertmacro CLOSE_EDITOR_FIRST ""
!insertmacro CLOSE_EDITOR_FIRST "un."

Function FindEarlierInstallation
    ReadRegStr $EarlierVersion HKLM "${UNINSTALL_KEY}" "DisplayVersion"
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    StrCpy $1 $0 2 1
    ${If} $1 != ":\"
        Return
    ${EndIf}
    System::Call 'kernel32::GetFullPathNameW(w r0, i ${NSIS_MAX_STRLEN}, w .r0, p 0)'
    StrLen $1 $0
    ${If} $1 > 3
    ${AndIf} ${FileExists} "$0\${PROGRAM}"
    ${AndIf} ${FileExists} "$0\${UNINSTALLER}"
        StrCpy $Earlier $0
    ${EndIf}
FunctionEnd

Section "!${PRODUCT_NAME}" ProgramSection
    SectionIn RO
    ; Copy first, beside what it replaces: a copy that fails leaves the earlier installation whole
    ; and registered.
    RMDir /r "${STAGED}"
    ClearErrors
    SetOverwrite try
    !include "${INSTALL_LIST}"
    WriteUninstaller "${STAGED}\${UNINSTALLER}"
    ; Out of the staged folder, which goes once its files are in place.
    InitPluginsDir
    SetOutPath "$PLUGINSDIR"
    ${If} ${Errors}
        RMDir /r "${STAGED}"
        RMDir "$INSTDIR"
        !insertmacro STOP ${UNCHANGED} "${PRODUCT_NAME} could not be copied to $INSTDIR. Nothing was changed."
    ${EndIf}

    ; Then the earlier version goes, by its own uninstaller: it knows its files, which need not be
    ; this version's. It runs from a copy, as it removes itself, and is told its folder, so that
    ; its exit code comes back.
    ${If} $Earlier != ""
        CopyFiles /SILENT "$Earlier\${UNINSTALLER}" "$PLUGINSDIR"
        ClearErrors
        StrCpy $0 "none"
        ExecWait '"$PLUGINSDIR\${UNINSTALLER}" /S _?=$Earlier' $0
        ; The editor was started after the check above: the uninstaller changed nothing, nor has Setup.
        ${If} $0 == ${UNCHANGED}
            RMDir /r "${STAGED}"
            !insertmacro STOP ${UNCHANGED} "${PRODUCT_NAME} is running, so ${PRODUCT_NAME} ${PRODUCT_VERSION} was not installed. Close it and run Setup again."
        ${EndIf}
        ${If} ${Errors}
        ${OrIf} $0 <> 0
            RMDir /r "${STAGED}"
            !insertmacro STOP ${STOPPED} "The uninstaller of ${PRODUCT_NAME} $EarlierVersion in $Earlier failed (exit code $0), so ${PRODUCT_NAME} ${PRODUCT_VERSION} was not installed."
        ${EndIf}
        Delete "$Earlier\${UNINSTALLER}"
        RMDir "$Earlier"
    ${EndIf}

    ; Last the new version takes its place and is registered, its uninstaller first: should a file
    ; be held by another program, the entry is there to repair or remove what is in place.
    ClearErrors
    !insertmacro PLACE "${UNINSTALLER}"
    !include "${PLACE_LIST}"
    StrCpy $R0 ""
    ${If} ${Errors}
        StrCpy $R0 1
    ${EndIf}
    RMDir /r "${STAGED}"
    ; A shortcut starts the program in the folder it was made in, which is where Open and Save As
    ; begin: the user's documents, which the program's folder under Program Files is not.
    StrCpy $OUTDIR "${START_IN}"
    CreateShortCut "$SMPROGRAMS\${SHORTCUT}" "$INSTDIR\${PROGRAM}"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT_NAME}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${PRODUCT_VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM},0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    ; Run in place, the uninstaller gives its exit code to the caller.
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S _?=$INSTDIR'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${INSTALLED_SIZE_KB}
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${If} $R0 != ""
        !insertmacro STOP ${STOPPED} "Some files of ${PRODUCT_NAME} could not be put in $INSTDIR. Close the programs that use them, then run setup again."
    ${EndIf}
SectionEnd

Section /o "Desktop shortcut" DesktopSection
    StrCpy $OUTDIR "${START_IN}"
    CreateShortCut "$DESKTOP\${SHORTCUT}" "$INSTDIR\${PROGRAM}"
SectionEnd

Function .onInit
    SetShellVarContext all
    Call FindEarlierInstallation
    ; A newer version is replaced only when the user says so; the same one may be repaired.
    ${VersionCompare} "$EarlierVersion" "${PRODUCT_VERSION}" $0
    ${If} $0 == 1
    ${AndIfNot} ${Cmd} `MessageBox MB_YESNO|MB_ICONEXCLAMATION|MB_DEFBUTTON2 "${PRODUCT_NAME} $EarlierVersion is installed, which is newer than ${PRODUCT_VERSION}. Replace it with the older version?" /SD IDNO IDYES`
        SetErrorLevel ${UNCHANGED}
        Quit
    ${EndIf}
    Call CloseEditorFirst
    ; An upgrade goes where the earlier version is, unless /D= names a folder.
    ${If} $INSTDIR == ""
        StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT_NAME}"
        ${If} $Earlier != ""
            StrCpy $INSTDIR $Earlier
        ${EndIf}
    ${EndIf}
    ; An upgrade keeps the desktop shortcut of the version it replaces.
    ${If} ${FileExists} "$DESKTOP\${SHORTCUT}"
        !insertmacro SelectSection ${DesktopSection}
    ${EndIf}
FunctionEnd

; What stays in the folder are files the user put there, which are not the uninstaller's to remove.
Function un.TellIfKept
    ${If} ${FileExists} "$INSTDIR\*.*"
        MessageBox MB_OK|MB_ICONINFORMATION "$INSTDIR was kept: it holds files that were not installed with ${PRODUCT_NAME}." /SD IDOK
    ${EndIf}
FunctionEnd

Function un.onInit
    SetShellVarContext all
    ; The copy that removes the uninstaller of a run in place, once that run has ended.
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/AFTER=" $1
    ${IfNot} ${Errors}
        System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r1) p .r2'
        System::Call 'kernel32::WaitForSingleObject(p r2, i -1)'
        System::Call 'kernel32::CloseHandle(p r2)'
        Delete "$INSTDIR\${UNINSTALLER}"
        RMDir "$INSTDIR"
        Call un.TellIfKept
        Quit
    ${EndIf}
    Call un.CloseEditorFirst
FunctionEnd

Section "Uninstall"
    ; The program's files first, and the entry in Apps & Features only once they are gone: a file
    ; that cannot be removed leaves the entry and this uninstaller to remove it with later.
    ClearErrors
    !include "${UNINSTALL_LIST}"
    ${If} ${Errors}
        !insertmacro STOP ${STOPPED} "Some files in $INSTDIR could not be removed. Close the programs that use them, then uninstall ${PRODUCT_NAME} again."
    ${EndIf}
    !include "${FOLDER_LIST}"
    Delete "$SMPROGRAMS\${SHORTCUT}"
    Delete "$DESKTOP\${SHORTCUT}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    ; Run in place, the uninstaller cannot remove its own file: a copy of it does once this run has
    ; ended, started by the uninstaller as it starts itself without a folder named.
    ${If} $EXEDIR == $INSTDIR
        System::Call 'kernel32::GetCurrentProcessId() i .r0'
        StrCpy $1 ""
        ${If} ${Silent}
            StrCpy $1 "/S "
        ${EndIf}
        ExecWait '"$INSTDIR\${UNINSTALLER}" $1/AFTER=$0'
    ${Else}
        Delete "$INSTDIR\${UNINSTALLER}"
        RMDir "$INSTDIR"
        Call un.TellIfKept
    ${EndIf}
SectionEnd

!delfile "${INSTALL_LIST}"
!delfile "${PLACE_LIST}"
!delfile "${UNINSTALL_LIST}"
!delfile "${FOLDER_LIST}"
