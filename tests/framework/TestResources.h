#pragma once

#define IDD_TEST 100
#define IDD_PLAIN 101

#define IDC_EDIT 1001
#define IDC_EDIT2 1002
#define IDC_CHECK 1003
#define IDC_COMBO 1004
#define IDC_LIST 1005
#define IDC_OWNERDRAW 1006

#define IDM_TEST 200
#define ID_FILE_OPEN 201
#define ID_FILE_CLOSE 202
#define ID_FILE_EXIT 203
#define ID_EDIT_COPY 210

#define IDB_GREYS 300

#define IDB_PNG_3X2 301
