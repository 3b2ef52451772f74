#pragma once
// Resource identifiers: the dialog templates' controls and the menu item. Every
// place that names a control uses these names, so the numbers live here alone.

// The About item of the window's menu: its system command.
inline constexpr unsigned IDM_ABOUTBOX = 0x0010;

// A control without an identifier of its own, and the About box's OK button
// (the same identifier as a message box's OK answer).
inline constexpr int IDC_STATIC = -1;
inline constexpr int IDC_ABOUT_OK = 1;

// The main window's controls.
inline constexpr int IDC_PAUSE = 1000;
inline constexpr int IDC_STATUS = 1001;
inline constexpr int IDC_OPEN = 1002;
inline constexpr int IDC_PLAY = 1003;
inline constexpr int IDC_STOP = 1004;
inline constexpr int IDC_ADD = 1005;
inline constexpr int IDC_REMOVE_ALL = 1006;
inline constexpr int IDC_POSITION = 1007;
inline constexpr int IDC_REMOVE_TRACK = 1008;
inline constexpr int IDC_METER_THIRD = 1010;
inline constexpr int IDC_METER_SECOND = 1011;
inline constexpr int IDC_METER_FIRST = 1012;
inline constexpr int IDC_TRACK_LIST = 1014;
inline constexpr int IDC_PLAYLIST_LIST = 1016;
inline constexpr int IDC_CREATE_PLAYLIST = 1017;
inline constexpr int IDC_VOLUME = 1018;
inline constexpr int IDC_DELETE_PLAYLIST = 1019;
inline constexpr int IDC_SAVE = 1020;

// The create-playlist dialog's controls.
inline constexpr int IDC_CREATE_NAMED = 1000;
inline constexpr int IDC_PLAYLIST_NAME = 1001;
