// Control identifiers of the dialog "PROPDLG". Plain macros: the resource
// compilers read this file too, and they understand nothing but the
// preprocessor.
#pragma once

#define IDC_INSTALL_USER 1001
#define IDC_MIN_UNREAD 1003
#define IDC_DO_READ 1100
#define IDC_MEDOC_INDEX 1101
#define IDC_TRIM_SUBJECT 1102
#define IDC_SUB_FOLDER 1103
#define IDC_DECODE_MIME 1104
#define IDC_BOOKMARKS 1105
