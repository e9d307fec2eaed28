#pragma once
// The waveform window's dialog templates and their fields, for the resource
// script and the code that runs them.
#define IDD_FIND_PAUSES 2001
#define IDD_SPLIT_EVERY 2002
#define IDD_FADE_IN 2003
#define IDD_FADE_OUT 2004
#define IDD_CHANGE_LEVEL 2005

// A dialog's number fields, in their tab order, and its check box.
#define IDC_FIELD1 1001
#define IDC_FIELD2 1002
#define IDC_FIELD3 1003
#define IDC_CHECK1 1010
