; The Fotolark installer, made by tools/package:
;   makensis -DVERSION=2.0 -DDIST=<folder the win32 zip holds> -DDIST64=<folder the win64 zip holds>
;            -DOUTFILE=<setup.exe> [-DLANGUAGES] [-DTARGET=amd64-unicode] installer.nsi
; Each DIST holds its build's fotolark.exe and readme.txt, and language/*.lng when LANGUAGES is
; defined. One setup serves both: the x64 program on 64-bit Windows, the i686 one elsewhere.
; TARGET builds the same setup as a 64-bit program, for machines that cannot run 32-bit code.
!ifdef TARGET
  Target ${TARGET}
!endif
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include x64.nsh

!define KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Fotolark"

Name "Fotolark ${VERSION}"
OutFile "${OUTFILE}"
ShowInstDetails show
ShowUninstDetails show

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; The shortcut and the uninstall key belong to the machine, like the folder. A folder given
; with /D= is kept; otherwise the program goes where Windows keeps programs of its kind.
Function .onInit
  SetShellVarContext all
  ${If} ${RunningX64}
    SetRegView 64
    StrCmp $INSTDIR "" 0 +2
    StrCpy $INSTDIR "$PROGRAMFILES64\Fotolark"
  ${Else}
    StrCmp $INSTDIR "" 0 +2
    StrCpy $INSTDIR "$PROGRAMFILES\Fotolark"
  ${EndIf}
FunctionEnd

Function un.onInit
  SetShellVarContext all
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
FunctionEnd

Section
  SetOutPath "$INSTDIR"
  ${If} ${RunningX64}
    File "${DIST64}/fotolark.exe"
  ${Else}
    File "${DIST}/fotolark.exe"
  ${EndIf}
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
