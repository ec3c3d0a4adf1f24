; The Windows installer: the staged program folder under Program Files for all users, a Start Menu
; entry, a desktop shortcut if asked for, an entry in Apps & Features, and an uninstaller that
; takes away what was installed and nothing else. scripts/windows compiles it on Linux:
;   makensis -DPRODUCT=<product.nsh of the build> -DSTAGE=<staged folder> -DOUTFILE=<setup.exe> installer.nsi
; Unattended: setup.exe /S [/D=<folder>], and uninstall.exe /S.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
; Windows draws the pages at the screen's scale instead of stretching them blurred.
ManifestDPIAware true

; PRODUCT_NAME, PRODUCT_VERSION, PRODUCT_VERSION_QUAD, PUBLISHER and ICON, from the build.
!include "${PRODUCT}"
!include MUI2.nsh
!include LogicLib.nsh
!include Sections.nsh

!tempfile INSTALL_LIST
!tempfile UNINSTALL_LIST
!system 'cmake -DSTAGE="${STAGE}" -DINSTALL_LIST="${INSTALL_LIST}" -DUNINSTALL_LIST="${UNINSTALL_LIST}" -P "${__FILEDIR__}/InstallerFiles.cmake"' = 0

!define PROGRAM "dmx-scene-editor.exe"
!define SHORTCUT "${PRODUCT_NAME}.lnk"
!define UNINSTALLER "uninstall.exe"
; Expanded for each user as the shortcut starts the program.
!define START_IN "%USERPROFILE%\Documents"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT_NAME}"

Name "${PRODUCT_NAME}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT_NAME}"
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

Section "!${PRODUCT_NAME}" ProgramSection
    SectionIn RO
    ; An installed version, older or the same, goes first, by its own uninstaller: it knows its
    ; files, which need not be this version's. Run in place, it cannot remove itself.
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} ${FileExists} "$0\${UNINSTALLER}"
        ExecWait '"$0\${UNINSTALLER}" /S _?=$0'
        Delete "$0\${UNINSTALLER}"
        RMDir "$0"
    ${EndIf}

    !include "${INSTALL_LIST}"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
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
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${INSTALLED_SIZE_KB}
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section /o "Desktop shortcut" DesktopSection
    StrCpy $OUTDIR "${START_IN}"
    CreateShortCut "$DESKTOP\${SHORTCUT}" "$INSTDIR\${PROGRAM}"
SectionEnd

Function .onInit
    SetShellVarContext all
    ; An upgrade keeps the desktop shortcut of the version it replaces.
    ${If} ${FileExists} "$DESKTOP\${SHORTCUT}"
        !insertmacro SelectSection ${DesktopSection}
    ${EndIf}
FunctionEnd

Function un.onInit
    SetShellVarContext all
FunctionEnd

Section "Uninstall"
    !include "${UNINSTALL_LIST}"
    Delete "$INSTDIR\${UNINSTALLER}"
    Delete "$SMPROGRAMS\${SHORTCUT}"
    Delete "$DESKTOP\${SHORTCUT}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    RMDir "$INSTDIR"
    ; Scene files saved in the program's folder are the user's: they stay, and so does the folder.
    ${If} ${FileExists} "$INSTDIR\*.*"
        MessageBox MB_OK|MB_ICONINFORMATION "$INSTDIR was kept: it holds files that were not installed with ${PRODUCT_NAME}, such as saved scene files." /SD IDOK
    ${EndIf}
SectionEnd

!delfile "${INSTALL_LIST}"
!delfile "${UNINSTALL_LIST}"
