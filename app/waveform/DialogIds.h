#pragma once
// The waveform window's dialog templates and their fields, for the resource
// script and the code that runs them.
#define IDD_FIND_PAUSES 2001
#define IDD_SPLIT_EVERY 2002
#define IDD_FADE_IN 2003
#define IDD_FADE_OUT 2004
#define IDD_CHANGE_LEVEL 2005
#define IDD_LOUDNESS 2006
#define IDD_NORMALIZE_LOUDNESS 2007

// A dialog's number fields, in their tab order, and its check box.
#define IDC_FIELD1 1001
#define IDC_FIELD2 1002
#define IDC_FIELD3 1003
#define IDC_CHECK1 1010
// The Loudness window's table and the note under it.
#define IDC_TABLE 1020
#define IDC_NOTE 1021
