// Ids of the program's resources and commands: the pages handle them and
// app/ holds the resources and the shell that use them.
#pragma once

inline constexpr int IDR_MAINFRAME = 128;  // title string, menu, accelerators, icon
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_MAINDLG = 130;   // page one
inline constexpr int IDD_MAINDLG2 = 131;  // page two

inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_APP_EXIT = 57665;
inline constexpr int ID_FILE_NEW = 57600;
inline constexpr int ID_FILE_OPEN = 57601;
inline constexpr int ID_FILE_SAVE = 57603;
inline constexpr int ID_FILE_PRINT = 57607;
inline constexpr int ID_NEXT_PANE = 57680;
inline constexpr int ID_PREV_PANE = 57681;
inline constexpr int ID_WINDOW_TABFIRST = 0xFF00;
inline constexpr int ID_WINDOW_TABLAST = 0xFFFD;

// Controls of the pages' dialogs.
inline constexpr int IDC_VIEW_FRAME = 1000;
// Hidden on both pages, they do nothing (the pages keep the handles of 1001 and 1002).
inline constexpr int IDC_BUTTON1 = 1001;
inline constexpr int IDC_BUTTON2 = 1002;
inline constexpr int IDC_BUTTON5 = 1005;
inline constexpr int IDC_BUTTON6 = 1006;
inline constexpr int IDC_BUTTON19 = 1019;
inline constexpr int IDC_BUTTON20 = 1020;
inline constexpr int IDC_BUTTON21 = 1021;
inline constexpr int IDC_BUTTON22 = 1022;
inline constexpr int IDC_BUTTON23 = 1023;
inline constexpr int IDC_BUTTON24 = 1024;
inline constexpr int IDC_EYE_LEFT = 1003;   // "<=" of the eye row
inline constexpr int IDC_EYE_RIGHT = 1004;  // "=>" of the eye row
inline constexpr int IDC_RATE_X_UP = 1007;
inline constexpr int IDC_RATE_X_DOWN = 1008;
inline constexpr int IDC_RATE_Y_UP = 1009;
inline constexpr int IDC_RATE_Y_DOWN = 1010;
inline constexpr int IDC_RATE_Z_UP = 1011;
inline constexpr int IDC_RATE_Z_DOWN = 1012;
inline constexpr int IDC_EYE_X_MINUS = 1013;
inline constexpr int IDC_EYE_X_PLUS = 1014;
inline constexpr int IDC_EYE_Y_MINUS = 1015;
inline constexpr int IDC_EYE_Y_PLUS = 1016;
inline constexpr int IDC_EYE_Z_MINUS = 1017;
inline constexpr int IDC_EYE_Z_PLUS = 1018;
// The nine status edits 1025 to 1033, in the order the pages fill them.
inline constexpr int IDC_EDIT_EYE_X = 1025;
inline constexpr int IDC_EDIT_EYE_Y = 1026;
inline constexpr int IDC_EDIT_EYE_Z = 1027;
inline constexpr int IDC_EDIT_LOOKAT_X = 1028;
inline constexpr int IDC_EDIT_LOOKAT_Y = 1029;
inline constexpr int IDC_EDIT_LOOKAT_Z = 1030;
inline constexpr int IDC_EDIT_EYE_LINE = 1031;
inline constexpr int IDC_EDIT_LOOKAT_LINE = 1032;
inline constexpr int IDC_EDIT_RATE_LINE = 1033;
inline constexpr int IDC_GROUP_EYE = 1034;
inline constexpr int IDC_GROUP_SECOND = 1035;
inline constexpr int IDC_RANDOM = 1036;  // "Random" on page one, "START" on page two
inline constexpr int IDC_START = 1036;
inline constexpr int IDC_EYE_STOP = 1037;
inline constexpr int IDC_RATE_X_STOP = 1039;
inline constexpr int IDC_RATE_Y_STOP = 1040;
inline constexpr int IDC_RATE_Z_STOP = 1041;

inline constexpr int IDC_ABOUT_TEXT = 1000;
inline constexpr int IDC_STATIC = -1;  // a control nobody addresses
