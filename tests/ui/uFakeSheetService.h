// A stand-in for the sheet service's side of a sheet: the PROPSHEETUI_INFO
// it hands the sheet function and its add-page function, which records the
// page it was given.
#pragma once

#include "uCompstui.h"

struct TFakeService {
  int AddCalls = 0;
  UINT Function = 0;
  LPARAM Block = 0;
  DWORD* Added = nullptr;
  static constexpr LONG_PTR kPageHandle = 0x5A5A;

  static LONG_PTR CALLBACK AddPage(HANDLE self, UINT function, LPARAM block, LPARAM added) {
    auto* service = static_cast<TFakeService*>(self);
    ++service->AddCalls;
    service->Function = function;
    service->Block = block;
    service->Added = reinterpret_cast<DWORD*>(added);
    return kPageHandle;
  }

  PROPSHEETUI_INFO Info(LPARAM header) {
    PROPSHEETUI_INFO info{};
    info.cbSize = sizeof(PROPSHEETUI_INFO);
    info.Version = 0x0100;
    info.Reason = PROPSHEETUI_REASON_INIT;
    info.hComPropSheet = this;
    info.pfnComPropSheet = AddPage;
    info.lParamInit = header;
    return info;
  }
};
