// Resource ids of the program. The pictures (type "PNG") use their numeric ids directly.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_ZORVEXSFCREPAIR_DIALOG 102
#define IDR_MAINFRAME 128
#define IDB_SCROLLBAR_SKIN 130

#define IDD_OPERATIONS 190
#define IDD_START_INNER 191
#define IDD_START_OUTER 192
#define IDD_AGREEMENT_OUTER 193
#define IDD_AGREEMENT_INNER 194
#define IDD_PROGRESS_INNER 195
#define IDD_PROGRESS_OUTER 196
#define IDD_PROMPT_OUTER 197
#define IDD_PROMPT_INNER 198
#define IDD_FEEDBACK_OUTER 199
#define IDD_FEEDBACK_INNER 200

// Operations window (190).
#define IDC_OP_CLOSE 1002
#define IDC_OP_MIN 1003
#define IDC_OP_LOCAL 1004
#define IDC_OP_VERSION 1006
#define IDC_OP_FEEDBACK 1008
#define IDC_OP_MORETOOLS 1018

// Agreement text (194).
#define IDC_AGREEMENT_TEXT 1009

// Start page (191).
#define IDC_START_AGREE 1010
#define IDC_START_LINK 1012
#define IDC_START_CLOSE 1015
#define IDC_START_RUN 1018

// Progress popup (195).
#define IDC_PROGRESS_STATUS 1011

// Message prompt (198).
#define IDC_PROMPT_CLOSE 1014
#define IDC_PROMPT_OK 1016
#define IDC_PROMPT_CANCEL 1023
#define IDC_PROMPT_TEXT 1024

// Problem-solved feedback (200).
#define IDC_FEEDBACK_CLOSE 1017
#define IDC_FEEDBACK_MORE 1018
#define IDC_FEEDBACK_SOLVED 1019
#define IDC_FEEDBACK_UNSOLVED 1022

// The system menu's About command (low four bits clear, below 0xF000).
#define IDM_ABOUTBOX 0x0010
