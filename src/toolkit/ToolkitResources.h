#pragma once
// Resource numbers the toolkit looks up in the running exe (shared with the .rc file).
#define IDR_CAPTION_BUTTONS 2001
#define IDI_PROGRAM_ICON 129
