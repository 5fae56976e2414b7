// The substitute sheet service's own switch (Linux only): scripted choices
// for the property sheets it shows, for tests and the print host.
//
// A script is a comma-separated list of entries:
//   ITEM=CHOICE  chooses a parameter of an item. ITEM is the item's number
//                as shown (1 first) or a word of its shown name; CHOICE is
//                the choice's number as shown ("#2"), or its shown text, or
//                a prefix of exactly one choice's text. Both compare
//                case-insensitively.
//   ok           applies the choices and closes the sheet (the default).
//   cancel       closes the sheet without applying anything.
// Example: "paper=A4,dpi=300,colour=grey,orientation=landscape".
// An entry that matches nothing fails the sheet (result -1); nothing is
// applied then.
//
// Without a script set here, the environment variable PIXMOR_SHEET_SCRIPT
// is used; without either, a sheet asks on the terminal when there is one,
// and otherwise closes with ok and no changes.
#pragma once

#include "uCompstui.h"

extern "C" {
// The service's published entry, for callers that link it directly.
PIXMOR_EXPORT LONG WINAPI CommonPropertySheetUIW(HWND hWndOwner, PFNPROPSHEETUI pfnPropSheetUI,
                                                 LPARAM lParam, LPDWORD pResult);
// Sets the script for the sheets shown from now on; null clears it.
PIXMOR_EXPORT void PlatformSetSheetScript(const char* script);
// How many sheets the service has shown, and the item texts of the last one
// ("Name: choice" lines), for tests.
PIXMOR_EXPORT unsigned long PlatformSheetsShown();
PIXMOR_EXPORT const char* PlatformLastSheetText();
}
