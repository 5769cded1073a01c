#pragma once
// Resource ids shared by purgent.rc and the window code.
// The icon has the lowest id: Explorer shows the first icon of a program.
#define IDI_PURGENT 100
#define IDR_HEADER_LEFT 101
#define IDR_HEADER_RIGHT 102
#define IDB_BROWSE_GLYPH 103
