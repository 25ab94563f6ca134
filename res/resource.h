#pragma once

// Resource and command ids. Windows' own ids (IDOK, VK_...) come from <windows.h>.

// Main frame: menu, accelerators, icon and document-template string.
#define IDR_MAINFRAME 128
#define IDC_LINK 130
#define IDD_ABOUTBOX 100
#define IDD_TITLE 195
#define IDB_LOGO 139
#define IDD_ADDRESSBAR 1002
#define IDC_ADDRESS_LABEL 1010
#define IDC_ADDRESS_COMBO 1002
#define IDD_TOOLBUTTON 155
#define IDD_MESSAGE 199
#define IDD_PASSWORD 201
#define IDC_PASSWORD_EDIT 1012
#define IDD_PICTURE 1004

// Tool-button faces: normal, pressed and disabled of each button.
#define IDB_HOME_NORMAL 172
#define IDB_HOME_PRESSED 173
#define IDB_HOME_DISABLED 174
#define IDB_FAVOURITES_NORMAL 175
#define IDB_FAVOURITES_PRESSED 176
#define IDB_FAVOURITES_DISABLED 177
#define IDB_FORWARD_NORMAL 178
#define IDB_FORWARD_PRESSED 179
#define IDB_FORWARD_DISABLED 180
#define IDB_BACK_NORMAL 181
#define IDB_BACK_PRESSED 182
#define IDB_BACK_DISABLED 183
#define IDB_SEARCH_NORMAL 184
#define IDB_SEARCH_PRESSED 185
#define IDB_SEARCH_DISABLED 186

// A page's form controls: child dialogs of the page view.
#define IDD_FORM_TEXTFIELD 190
#define IDC_FORM_EDIT 1012
#define IDD_FORM_BUTTON 191
#define IDC_FORM_BUTTON 1042

// Strings of the framework's own range.
#define IDS_APP_TITLE 57344
#define IDS_IDLE_MESSAGE 57345

// Commands.
#define ID_VIEW_ADDRESSBAR 32831
#define ID_FAVOURITES_ADD 32832
#define ID_FAVOURITES_DELETE 32833
#define ID_EDIT_REGISTER_HOME 32841
#define ID_TITLE_QUIT 32852
#define ID_VIEW_TOOLBAR 59392
#define ID_VIEW_STATUS_BAR 59393
// The message window types without waiting between characters.
#define ID_VIEW_FAST_TEXT 32870
#define ID_FILE_NEW 57600
#define ID_FILE_OPEN 57601
#define ID_FILE_SAVE 57603
#define ID_FILE_PRINT_SETUP 57606
#define ID_FILE_PRINT 57607
#define ID_FILE_PRINT_DIRECT 57608
#define ID_FILE_PRINT_PREVIEW 57609
// Two commands the view takes without doing anything.
#define ID_VIEW_RESERVED_A 32845
#define ID_VIEW_RESERVED_B 32861
#define ID_EDIT_COPY 57634
#define ID_EDIT_CUT 57635
#define ID_EDIT_PASTE 57637
#define ID_EDIT_UNDO 57643
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
#define ID_NEXT_PANE 57680
#define ID_GO_BACK 61460
#define ID_GO_FORWARD 61447
#define ID_GO_HOME 61448
#define ID_GO_SEARCH 61449
#define ID_FAVOURITES_WINDOW 61450
#define ID_PREV_PANE 57681

// Downloads, the plug-in, favourites and the home page.
#define IDD_DOWNLOAD 204
#define IDC_DOWNLOAD_OK 1042
#define IDC_DOWNLOAD_FILE 1047
#define IDD_PLUGIN_SETUP 202
#define IDC_PLUGIN_PROGRESS 1044
#define IDC_PLUGIN_STATUS 1045
#define IDD_FAVOURITE_DELETE 135
#define IDD_FAVOURITE_ADD 136
#define IDD_FAVOURITES 167
#define IDC_FAVOURITE_LIST 1017
#define IDC_FAVOURITE_DELETE 1021
#define IDD_HOME_PAGE 137
#define IDC_HOME_ADDRESS 1012
#define IDC_HOME_CURRENT 1019
#define IDC_HOME_STANDARD 1020
