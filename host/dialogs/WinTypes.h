// The window-system names the dialog framework speaks in (BOOL, handles, notification codes, button
// states), with the values a plug-in written for the host's platform expects.
#pragma once
#include <cstdint>

struct HostWindow; // what a window handle refers to; private to the dialog framework

using HWND = HostWindow*;
using UINT = unsigned int;
using DWORD_PTR = std::uintptr_t;
using INT_PTR = std::intptr_t;
typedef int BOOL;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// Id of labels that nothing addresses.
constexpr int IDC_STATIC = -1;

// Button notifications.
constexpr int BN_CLICKED = 0;
// Edit box notifications.
constexpr int EN_SETFOCUS = 0x0100;
constexpr int EN_KILLFOCUS = 0x0200;
constexpr int EN_CHANGE = 0x0300;
// Combo box notifications.
constexpr int CBN_SELCHANGE = 1;
constexpr int CBN_DBLCLK = 2;
constexpr int CBN_SETFOCUS = 3;
constexpr int CBN_KILLFOCUS = 4;
constexpr int CBN_EDITCHANGE = 5;
// List box notifications (sent only by list boxes with the Notify style).
constexpr int LBN_SELCHANGE = 1;
constexpr int LBN_DBLCLK = 2;

// Check box and radio button states.
constexpr int BST_UNCHECKED = 0;
constexpr int BST_CHECKED = 1;
constexpr int BST_INDETERMINATE = 2;

// ShowWindow commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOW = 5;

// GetWindow relations.
constexpr UINT GW_HWNDFIRST = 0;
constexpr UINT GW_HWNDLAST = 1;
constexpr UINT GW_HWNDNEXT = 2;
constexpr UINT GW_HWNDPREV = 3;
constexpr UINT GW_OWNER = 4;
constexpr UINT GW_CHILD = 5;

// Combo and list box results.
constexpr int CB_ERR = -1;
constexpr int CB_ERRSPACE = -2;
constexpr int LB_ERR = -1;
constexpr int LB_ERRSPACE = -2;
