// Ids of the raw dialog and its controls, shared by the resource script and
// the code (plain defines: the resource compiler reads this file too).
#pragma once

#define IDD_RAWCONTROLS 100

#define IDC_RAW_PUSH 1001
#define IDC_RAW_DEFPUSH 1002
#define IDC_RAW_CHECK 1003
#define IDC_RAW_AUTOCHECK 1004
#define IDC_RAW_3STATE 1005
#define IDC_RAW_AUTO3STATE 1006
#define IDC_RAW_RADIO 1007
#define IDC_RAW_AUTORADIO 1008
#define IDC_RAW_GROUP 1009
#define IDC_RAW_OWNERDRAW 1010
#define IDC_RAW_BITMAP 1011
#define IDC_RAW_DISABLED 1012
#define IDC_RAW_DROPDOWN 1020
#define IDC_RAW_DROPLIST 1021
#define IDC_RAW_SIMPLE 1022
#define IDC_RAW_COMBOEX 1023
#define IDC_RAW_TAB 1030
#define IDC_RAW_PROGRESS 1031
#define IDC_RAW_TRACK 1032
#define IDC_RAW_SIZEGRIP 1033
#define IDC_RAW_TOOLBAR 1034
#define IDC_RAW_TREE 1035
#define IDC_RAW_EDIT 1040
#define IDC_RAW_STATIC 1041
