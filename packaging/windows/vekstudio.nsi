; The Windows installer:
;   makensis -DDIST=FOLDER -DREMOVE=FILE -DOUTFILE=FILE -DVERSION=X.Y vekstudio.nsi
; DIST is the folder the zip holds (the programs, Qt's libraries and plugins, the help); REMOVE
; lists its files and folders as Delete and RMDir lines, deepest first, for the uninstaller.
; A 64-bit installer for the 64-bit program: it writes the registry's and Program Files' 64-bit
; views, and runs where the program runs.
Target amd64-unicode
SetCompressor /SOLID lzma

Name "Vekstudio ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Vekstudio"
InstallDirRegKey HKLM "Software\Vekstudio" "Install Directory"
RequestExecutionLevel admin
LicenseData "${DIST}\LICENSE.txt"

Page license
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vekstudio"

; A file type that opens in Vekstudio; its class is removed again by the uninstaller.
!macro FileType EXT CLASS DESCRIPTION
    WriteRegStr HKLM "Software\Classes\.${EXT}" "" "${CLASS}"
    WriteRegStr HKLM "Software\Classes\${CLASS}" "" "${DESCRIPTION}"
    WriteRegStr HKLM "Software\Classes\${CLASS}\DefaultIcon" "" "$INSTDIR\vekstudio.exe,0"
    WriteRegStr HKLM "Software\Classes\${CLASS}\shell\open\command" "" '"$INSTDIR\vekstudio.exe" "%1"'
!macroend

; Only an extension that still names our class is taken away: another program may have it now.
!macro RemoveFileType EXT CLASS
    ReadRegStr $0 HKLM "Software\Classes\.${EXT}" ""
    StrCmp $0 "${CLASS}" 0 +2
    DeleteRegKey HKLM "Software\Classes\.${EXT}"
    DeleteRegKey HKLM "Software\Classes\${CLASS}"
!macroend

Section "Vekstudio"
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File /r "${DIST}\*.*"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateDirectory "$SMPROGRAMS\Vekstudio"
    CreateShortcut "$SMPROGRAMS\Vekstudio\Vekstudio.lnk" "$INSTDIR\vekstudio.exe"
    CreateShortcut "$SMPROGRAMS\Vekstudio\Uninstall Vekstudio.lnk" "$INSTDIR\uninstall.exe"

    !insertmacro FileType "spr" "Vekstudio.SpriteFile" "Creatures sprite file"
    !insertmacro FileType "cob" "Vekstudio.ObjectFile" "Creatures object file"
    !insertmacro FileType "cos" "Vekstudio.ObjectSource" "Creatures object source"
    ; Explorer shows the new file types at once.
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

    WriteRegStr HKLM "Software\Vekstudio" "Install Directory" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Vekstudio"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Vekstudio developers"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vekstudio.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    RMDir /r "$SMPROGRAMS\Vekstudio"
    !insertmacro RemoveFileType "spr" "Vekstudio.SpriteFile"
    !insertmacro RemoveFileType "cob" "Vekstudio.ObjectFile"
    !insertmacro RemoveFileType "cos" "Vekstudio.ObjectSource"
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    DeleteRegKey HKLM "Software\Vekstudio"
    ; Only what the installer laid down goes: the user's own files, and a folder that holds
    ; them, stay.
    !include "${REMOVE}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
SectionEnd
