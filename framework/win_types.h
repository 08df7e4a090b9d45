// framework: identifiers and style bits of the dialog templates, with the
// values the program was designed with, so that templates read like the
// resource scripts they come from.
#pragma once

#include <cstdint>

namespace afx {

using Style = std::uint32_t;

// Command ids of the standard buttons and dialog results.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDC_STATIC = -1;

// Window styles.
inline constexpr Style WS_POPUP = 0x80000000;
inline constexpr Style WS_CHILD = 0x40000000;
inline constexpr Style WS_VISIBLE = 0x10000000;
inline constexpr Style WS_CAPTION = 0x00C00000;
inline constexpr Style WS_BORDER = 0x00800000;
inline constexpr Style WS_VSCROLL = 0x00200000;
inline constexpr Style WS_SYSMENU = 0x00080000;
inline constexpr Style WS_THICKFRAME = 0x00040000; // a frame the user can size
inline constexpr Style WS_GROUP = 0x00020000;
inline constexpr Style WS_MINIMIZEBOX = 0x00020000; // same bit as WS_GROUP, on windows
inline constexpr Style WS_TABSTOP = 0x00010000;
inline constexpr Style WS_MAXIMIZEBOX = 0x00010000; // same bit as WS_TABSTOP, on windows
inline constexpr Style WS_EX_APPWINDOW = 0x00040000;
inline constexpr Style DS_MODALFRAME = 0x00000080;
inline constexpr Style DS_SETFONT = 0x00000040;

// Button styles (low four bits: the kind).
inline constexpr Style BS_TYPEMASK = 0x0000000F;
inline constexpr Style BS_PUSHBUTTON = 0x00000000;
inline constexpr Style BS_DEFPUSHBUTTON = 0x00000001;
inline constexpr Style BS_AUTOCHECKBOX = 0x00000003;
inline constexpr Style BS_GROUPBOX = 0x00000007;

// Edit styles.
inline constexpr Style ES_RIGHT = 0x00000002;
inline constexpr Style ES_MULTILINE = 0x00000004;
inline constexpr Style ES_AUTOHSCROLL = 0x00000080;

// Static styles (low five bits: the kind).
inline constexpr Style SS_TYPEMASK = 0x0000001F;
inline constexpr Style SS_LEFT = 0x00000000;
inline constexpr Style SS_ICON = 0x00000003;
inline constexpr Style SS_NOPREFIX = 0x00000080;

// List box styles.
inline constexpr Style LBS_NOTIFY = 0x00000001;
inline constexpr Style LBS_USETABSTOPS = 0x00000080;
inline constexpr Style LBS_NOINTEGRALHEIGHT = 0x00000100;
inline constexpr Style LBS_DISABLENOSCROLL = 0x00001000;

// Combo box styles (low two bits: the kind): an edit box with a list, or a
// list alone.
inline constexpr Style CBS_TYPEMASK = 0x00000003;
inline constexpr Style CBS_DROPDOWN = 0x00000002;
inline constexpr Style CBS_DROPDOWNLIST = 0x00000003;

// Window-menu commands.
inline constexpr unsigned SC_SIZE = 0xF000;
inline constexpr unsigned SC_MOVE = 0xF010;
inline constexpr unsigned SC_MINIMIZE = 0xF020;
inline constexpr unsigned SC_MAXIMIZE = 0xF030;
inline constexpr unsigned SC_CLOSE = 0xF060;
inline constexpr unsigned SC_RESTORE = 0xF120;

// Help.
inline constexpr unsigned HELP_CONTEXT = 0x0001;
inline constexpr unsigned HID_BASE_RESOURCE = 0x00020000; // F1 context = this + template id

} // namespace afx
