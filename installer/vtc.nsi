; Windows installer of Varnok Traffic Counter.
; makensis -DVERSION=<version> -DSRCDIR=<program folder> -DOUTFILE=<setup.exe> installer/vtc.nsi
; Installs per user (no administrator needed): the meter writes its statistics
; and settings next to itself, which a standard user cannot do under Program Files.
Unicode true
; A 64-bit installer: the programs are 64-bit, and so is every Windows they target.
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "nsDialogs.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

; The version comes from the build (scripts/dist.sh), never from here.
!ifndef VERSION
  !error "VERSION is not defined: build the installer with scripts/dist.sh"
!endif
!define PRODUCT "Varnok Traffic Counter"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\VarnokTrafficCounter"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"

Var Dialog
Var RadioEthernet
Var RadioWifi
Var RadioModem
Var RadioKeep
; The link type to write into options.ini; empty: leave the file as it is.
Var AutoFind

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
Page custom ConnectionPage ConnectionPageLeave
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\qmeter4.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

Function .onInit
  ; Unattended installs choose the link with /AUTOFIND=6|71|23. Without it a
  ; first install measures Ethernet (the shipped options.ini) and a reinstall
  ; keeps what the user set.
  StrCpy $AutoFind ""
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/AUTOFIND=" $1
  ${IfNot} ${Errors}
    ; Any other number would have the meter look for a link that is not
    ; there; refused before anything is written.
    ${If} $1 != "6"
    ${AndIf} $1 != "71"
    ${AndIf} $1 != "23"
      MessageBox MB_OK|MB_ICONSTOP "Неверное значение параметра /AUTOFIND=$1.$\r$\nДопустимые значения: 6 (локальная сеть, Ethernet), 71 (беспроводная сеть, Wi-Fi), 23 (модем, PPP/PPPoE).$\r$\nУстановка отменена, ничего не изменено." /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
    StrCpy $AutoFind $1
  ${EndIf}
FunctionEnd

Function ConnectionPage
  !insertmacro MUI_HEADER_TEXT "Подключение к Интернету" "Какое подключение нужно измерять?"
  nsDialogs::Create 1018
  Pop $Dialog
  ${NSD_CreateLabel} 0 0 100% 24u "Счетчик найдет интерфейс этого типа сам. Позже его можно сменить в настройках (вкладка $\"Учет трафика$\")."
  Pop $0
  ${NSD_CreateRadioButton} 10u 32u 100% 12u "Локальная сеть (Ethernet, IEEE 802.3)"
  Pop $RadioEthernet
  ${NSD_CreateRadioButton} 10u 48u 100% 12u "Беспроводная сеть (Wi-Fi, IEEE 802.11)"
  Pop $RadioWifi
  ${NSD_CreateRadioButton} 10u 64u 100% 12u "Модем (PPP, PPPoE)"
  Pop $RadioModem
  ; Preselected: the link of the command line, else the one the installed
  ; options.ini already measures, else Ethernet for a first install.
  StrCpy $0 $AutoFind
  ${If} $0 == ""
    StrCpy $0 "6"
    ${If} ${FileExists} "$INSTDIR\options.ini"
      ReadINIStr $0 "$INSTDIR\options.ini" "Options" "AutoFind"
    ${EndIf}
  ${EndIf}
  ${If} $0 == "71"
    ${NSD_Check} $RadioWifi
  ${ElseIf} $0 == "23"
    ${NSD_Check} $RadioModem
  ${ElseIf} $0 == "6"
    ${NSD_Check} $RadioEthernet
  ${Else}
    ; Set in the settings program to a type this page does not offer.
    ${NSD_CreateRadioButton} 10u 80u 100% 12u "Оставить как сейчас в настройках программы"
    Pop $RadioKeep
    ${NSD_Check} $RadioKeep
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function ConnectionPageLeave
  ${NSD_GetState} $RadioWifi $0
  ${NSD_GetState} $RadioModem $1
  ${NSD_GetState} $RadioEthernet $2
  ${If} $0 == ${BST_CHECKED}
    StrCpy $AutoFind "71"
  ${ElseIf} $1 == ${BST_CHECKED}
    StrCpy $AutoFind "23"
  ${ElseIf} $2 == ${BST_CHECKED}
    StrCpy $AutoFind "6"
  ${Else}
    StrCpy $AutoFind ""
  ${EndIf}
FunctionEnd

Section "Install"
  SetOutPath "$INSTDIR"
  File "${SRCDIR}/qmeter4.exe"
  File "${SRCDIR}/qmeter_cfg.exe"
  ; The licence of the UPnP library linked into the programs goes with them.
  !if /FileExists "${SRCDIR}/miniupnpc-LICENSE.txt"
    File "${SRCDIR}/miniupnpc-LICENSE.txt"
  !endif
  SetOutPath "$INSTDIR\Look"
  File /r "${SRCDIR}/Look/*.*"
  SetOutPath "$INSTDIR"
  ; The user's own settings and tariffs survive a reinstall untouched; only a
  ; link type chosen now, on the page or the command line, is written, and
  ; only when it differs from what the file holds.
  SetOverwrite off
  File "${SRCDIR}/options.ini"
  File "${SRCDIR}/tarif.ini"
  SetOverwrite on
  ${If} $AutoFind != ""
    ReadINIStr $0 "$INSTDIR\options.ini" "Options" "AutoFind"
    ${If} $0 != $AutoFind
      WriteINIStr "$INSTDIR\options.ini" "Options" "AutoFind" "$AutoFind"
    ${EndIf}
  ${EndIf}

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\qmeter4.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Настройки ${PRODUCT}.lnk" "$INSTDIR\qmeter_cfg.exe"

  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "${PRODUCT} team"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\qmeter4.exe"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  ; A running meter would keep its file locked and rewrite the totals.
  nsExec::Exec 'taskkill /F /IM qmeter4.exe'
  Delete "$INSTDIR\qmeter4.exe"
  Delete "$INSTDIR\qmeter_cfg.exe"
  Delete "$INSTDIR\miniupnpc-LICENSE.txt"
  Delete "$INSTDIR\bug.txt"
  Delete "$INSTDIR\last_upd.txt"
  RMDir /r "$INSTDIR\Look"
  Delete "$SMPROGRAMS\${PRODUCT}\*.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  DeleteRegValue HKLM "Software\Microsoft\Windows\CurrentVersion\Run" "${PRODUCT}"
  DeleteRegValue HKCU "Software\Microsoft\Windows\CurrentVersion\Run" "${PRODUCT}"
  ; The user's own data goes only when the user says so (silent: kept).
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "Удалить также вашу статистику, тарифы, настройки и накопленные счетчики?" /SD IDNO IDNO keep
    Delete "$INSTDIR\statistic.ini"
    Delete "$INSTDIR\tarif.ini"
    Delete "$INSTDIR\options.ini"
    DeleteRegKey HKLM "Software\${PRODUCT}"
    DeleteRegKey HKCU "Software\${PRODUCT}"
    DeleteRegValue HKLM "Software\Microsoft\DrWatson" "DumpFile"
    DeleteRegValue HKCU "Software\Microsoft\DrWatson" "DumpFile"
  keep:
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINST_KEY}"
SectionEnd
