#pragma once
// Resource ids shared by purgent.rc and the window code.
#define IDR_HEADER_LEFT 101
#define IDR_HEADER_RIGHT 102
#define IDB_BROWSE_GLYPH 103
