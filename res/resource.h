// Morvane - resource identifiers.
#ifndef MORVANE_RESOURCE_H
#define MORVANE_RESOURCE_H

// Icon groups; the lowest is the program's own icon.
#define IDI_APP       100
#define IDI_BIN_FULL  101
#define IDI_BIN_EMPTY 102

// Controls.
#define IDC_CAPTION_TEXT 103
#define IDC_LABEL_EDIT   1000

// Strings: the error box's caption and texts, and the offer of a name for this account only.
#define IDS_ERROR_CAPTION      1
#define IDS_READ_ERROR         2
#define IDS_WRITE_ERROR        3
#define IDS_USER_NAME_QUESTION 4

#endif
