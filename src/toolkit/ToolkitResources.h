#pragma once
// Resource numbers the toolkit looks up in the running exe (shared with the .rc file).
#define IDR_CAPTION_BUTTONS 2001
#define IDI_PROGRAM_ICON 129
#define IDR_MESSAGE_ICONS 2002
#define IDR_SLIDER_THUMB 2003
#define IDR_SLIDER_THUMB_HOT 2004
