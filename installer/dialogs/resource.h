// Identifiers of the installer's dialog items, icon and bitmaps.
#pragma once
// the standard OK and Cancel buttons (Enter and Escape press them)
#define IDC_OK 1
#define IDC_CANCEL 2

#define IDC_PROGRESS_TEXT 1001
#define IDC_PROGRESS_BAR 1003

// the program icon and the images of the folder tree
#define IDI_SETUP 121
#define IDB_FOLDER_OPEN 106
#define IDB_FOLDER_CLOSED 107
#define IDB_DRIVE 108

// intro dialog (STARTINSTALLNB)
#define IDC_INTRO_TEXT 0
#define IDC_INTRO_DESTINATION 1014
#define IDC_INTRO_CHANGE 1015
#define IDC_INTRO_GROUP 1047

// licence dialog (LICENCE)
#define IDC_LICENCE_TEXT 1016

// setup-type choice (SETUPTYPE)
#define IDC_SETUPTYPE_LIST 1019

// settings form (VEXASETTINGS)
#define IDC_SETTINGS_EMAIL 1030
#define IDC_SETTINGS_NICK 1031
#define IDC_SETTINGS_INFO 1033
#define IDC_SETTINGS_NICK_LABEL 1038
#define IDC_SETTINGS_EMAIL_LABEL 1039

// mail-server form (SMTP)
#define IDC_SMTP_SERVER 1035

// destination chooser (GETDIRDEST) and its name dialog (NEWDIR)
#define IDC_CHOOSER_NEWDIR 1008
#define IDC_CHOOSER_PATH 1009
#define IDC_CHOOSER_TREE 1012
#define IDC_NEWDIR_NAME 1013
