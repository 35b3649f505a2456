; The Windows installer of Tavin, made with NSIS (makensis):
;   makensis -DVERSION=1.0.0.1 -DSOURCE=<folder with the programs> -DICON=<tavin.ico> -DOUTFILE=<setup.exe> tavin.nsi
; It installs the programs with Qt's and MinGW's DLLs into Program Files, adds
; the Start-menu entry, opens *.sin channel files with tavin.exe (with their
; document icon), and registers the uninstaller in the system's list of
; programs. /S installs and uninstalls silently.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!ifndef VERSION
  !error "VERSION is not defined"
!endif
!ifndef SOURCE
  !error "SOURCE is not defined"
!endif
!ifndef OUTFILE
  !define OUTFILE "tavin-${VERSION}-setup.exe"
!endif
!ifndef ICON
  !error "ICON (the program's .ico file) is not defined"
!endif

!define APPNAME "Tavin写频软件"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavin"
; The desktop program's settings (recent files, port mappings).
!define SETTINGS_COMPANY "Software\Local AppWizard-Generated Applications"
!define SETTINGS_KEY "${SETTINGS_COMPANY}\Tavin写频软件"
; The channel files' shell registration.
!define FILE_TYPE "Program.Document"
!define FILE_TYPE_NAME "Program Document"

Name "${APPNAME}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Tavin"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
Icon "${ICON}"
UninstallIcon "${ICON}"
VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductName" "${APPNAME}"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "Copyright (C) Tavin developers"
VIAddVersionKey /LANG=2052 "FileDescription" "${APPNAME} setup"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Tavin"
  SetShellVarContext all
  SetRegView 64
  SetOutPath "$INSTDIR"
  File /r "${SOURCE}/*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortCut "$SMPROGRAMS\${APPNAME}.lnk" "$INSTDIR\tavin.exe" "" "$INSTDIR\tavin.exe" 0

  ; *.sin opens with tavin.exe, shows the document icon (resource 129) and prints.
  WriteRegStr HKCR ".sin" "" "${FILE_TYPE}"
  WriteRegStr HKCR "${FILE_TYPE}" "" "${FILE_TYPE_NAME}"
  WriteRegStr HKCR "${FILE_TYPE}\DefaultIcon" "" "$INSTDIR\tavin.exe,-129"
  WriteRegStr HKCR "${FILE_TYPE}\shell\open\command" "" '"$INSTDIR\tavin.exe" "%1"'
  WriteRegStr HKCR "${FILE_TYPE}\shell\print\command" "" '"$INSTDIR\tavin.exe" --print "%1"'
  WriteRegStr HKCR "${FILE_TYPE}\shell\printto\command" "" '"$INSTDIR\tavin.exe" --print-to "%2" "%1"'

  ; The entry in the system's list of programs.
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${APPNAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tavin.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Tavin"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

  ; Explorer shows the new document icon at once.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  SetRegView 64
  Delete "$SMPROGRAMS\${APPNAME}.lnk"

  ; Only what the installer put there: a folder the user chose keeps the rest.
  Delete "$INSTDIR\*.exe"
  Delete "$INSTDIR\*.dll"
  Delete "$INSTDIR\qt.conf"
  RMDir /r "$INSTDIR\translations"
  RMDir /r "$INSTDIR\platforms"
  RMDir /r "$INSTDIR\styles"
  RMDir /r "$INSTDIR\imageformats"
  RMDir /r "$INSTDIR\printsupport"
  RMDir "$INSTDIR"

  ReadRegStr $0 HKCR ".sin" ""
  StrCmp $0 "${FILE_TYPE}" 0 +2
    DeleteRegKey HKCR ".sin"
  DeleteRegKey HKCR "${FILE_TYPE}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ; The settings of the user who uninstalls, and the company key once empty.
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "${SETTINGS_COMPANY}"

  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
