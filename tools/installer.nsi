; The Fotolark installer, made by tools/package:
;   makensis -DVERSION=2.0 -DDIST=<folder the zip holds> -DOUTFILE=<setup.exe> [-DLANGUAGES] installer.nsi
; DIST holds fotolark.exe and readme.txt, and language/*.lng when LANGUAGES is defined.
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!define KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Fotolark"

Name "Fotolark ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Fotolark"
ShowInstDetails show
ShowUninstDetails show

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; The shortcut and the uninstall key belong to the machine, like the folder.
Function .onInit
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetShellVarContext all
FunctionEnd

Section
  SetOutPath "$INSTDIR"
  File "${DIST}/fotolark.exe"
  File "${DIST}/readme.txt"
!ifdef LANGUAGES
  SetOutPath "$INSTDIR\language"
  File "${DIST}/language/*.lng"
!endif
  ; Where Paint's copy goes; a user who cannot write here gets the program's fallback.
  CreateDirectory "$INSTDIR\Temp"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Fotolark.lnk" "$INSTDIR\fotolark.exe"

  WriteRegStr HKLM "${KEY}" "DisplayName" "Fotolark ${VERSION}"
  WriteRegStr HKLM "${KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${KEY}" "Publisher" "云雀软件工作室"
  WriteRegStr HKLM "${KEY}" "DisplayIcon" "$INSTDIR\fotolark.exe"
  WriteRegStr HKLM "${KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${KEY}" "NoRepair" 1
SectionEnd

; Only what the installer put there, and the program's own Temp: a folder chosen by the
; user may hold other files, and the settings under HKCU\Software\Fotolark are the user's.
Section "Uninstall"
  Delete "$SMPROGRAMS\Fotolark.lnk"
  Delete "$INSTDIR\fotolark.exe"
  Delete "$INSTDIR\readme.txt"
  Delete "$INSTDIR\language\*.lng"
  RMDir "$INSTDIR\language"
  RMDir /r "$INSTDIR\Temp"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${KEY}"
  ; Start with Windows, from the options: a program no longer there must not be started.
  DeleteRegValue HKCU "Software\Microsoft\Windows\CurrentVersion\Run" "Fotolark"
SectionEnd
