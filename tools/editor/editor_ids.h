// Control ids of lunet-editor's dialogs. The window and the tests that drive
// it both read these numbers, so a change here is a change for both.
#pragma once

// How the window answers where a driver might expect otherwise:
// - Add when every rule is there already: no question; IDC_MESSAGES says what is there.
// - Convert asks once for each rule file saved in UTF-8 or with a byte order mark.
// - A drag released over a window that is no target (the desktop, the taskbar, this editor's
//   windows, a process holding lunet.dll): an OK box saying why, the controls as before the drag.
// - IDOK of IDD_EDIT reads "OK" in both languages, from the template.

#define IDD_MAIN 100
#define IDC_RULES 1001
#define IDC_FINDER 1002
#define IDC_CLASS 1003
#define IDC_TITLE 1004
#define IDC_FRAGMENT 1005
#define IDC_PROGRAM 1006
#define IDC_WINDOWS 1007
#define IDC_ADD 1010
#define IDC_EDIT 1011
#define IDC_REMOVE 1012
#define IDC_UNDO 1013
#define IDC_CONVERT 1014
#define IDC_TEST 1015
#define IDC_CLOSES 1016
#define IDC_MESSAGES 1020

#define IDD_WINDOWS 200
#define IDC_WINDOW_LIST 2001

#define IDD_EDIT 300
#define IDC_EDIT_VALUE 3001
#define IDC_EDIT_KIND 3002

// The closes as they happen (modeless, owned by the main window), and the lines that closed one.
#define IDD_CLOSES 400
#define IDC_CLOSE_LIST 4001
#define IDC_CLOSE_STATE 4002
#define IDC_CLOSE_LINES 4003

#define IDD_LINES 500
#define IDC_LINE_LIST 5001
#define IDC_LINE_EDIT 5002
#define IDC_LINE_REMOVE 5003
#define IDC_LINE_NOTES 5004
#define IDC_LINE_WINDOW 5005

// Labels of the main dialog that no action reads; kept apart from the ids above.
#define IDC_RULES_LABEL 1030
#define IDC_CLASS_LABEL 1031
#define IDC_TITLE_LABEL 1032
#define IDC_FRAGMENT_LABEL 1033
#define IDC_TARGET_GROUP 1034
#define IDC_EDIT_VALUE_LABEL 3003
