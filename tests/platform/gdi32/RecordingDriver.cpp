// A printer driver that records every call the engine makes into it, in
// order, and otherwise draws through the engine: the front's call order and
// routing are watched through it.
#include <cstring>
#include <string>
#include <vector>

#include "uGdiClient.h"

namespace {

std::vector<std::string> Calls;
FLONG Hooks = HOOK_TEXTOUT | HOOK_STROKEPATH | HOOK_COPYBITS;
struct TDevice {
  HDEV hdev;
  HSURF hsurf;
  HPALETTE palette;
} Device;
// The page the driver makes: size, format and palette (PAL_BGR by default).
struct TPageSetup {
  SIZEL Size{16, 8};
  ULONG Format = BMF_24BPP;
  ULONG PaletteMode = PAL_BGR;
  std::vector<ULONG> Colours;  // of an indexed palette
} Page;

void Record(const char* name) { Calls.emplace_back(name); }

DHPDEV APIENTRY EnablePDEV(DEVMODEW*, LPWSTR, ULONG, HSURF*, ULONG, GDIINFO* gi, ULONG, DEVINFO* di,
                           HDEV, LPWSTR, HANDLE) {
  Record("DrvEnablePDEV");
  gi->ulHorzRes = static_cast<ULONG>(Page.Size.cx);
  gi->ulVertRes = static_cast<ULONG>(Page.Size.cy);
  gi->cBitsPixel = Page.Format == BMF_8BPP ? 8 : Page.Format == BMF_32BPP ? 32 : 24;
  Device.palette = EngCreatePalette(Page.PaletteMode, static_cast<ULONG>(Page.Colours.size()),
                                    Page.Colours.data(), 0, 0, 0);
  di->hpalDefault = Device.palette;
  return reinterpret_cast<DHPDEV>(&Device);
}
void APIENTRY CompletePDEV(DHPDEV, HDEV hdev) {
  Record("DrvCompletePDEV");
  Device.hdev = hdev;
}
HSURF APIENTRY EnableSurface(DHPDEV) {
  Record("DrvEnableSurface");
  Device.hsurf = reinterpret_cast<HSURF>(
      EngCreateBitmap(Page.Size, 4 * Page.Size.cx, Page.Format, 0, nullptr));
  EngAssociateSurface(Device.hsurf, Device.hdev, Hooks);
  return Device.hsurf;
}
void APIENTRY DisableSurface(DHPDEV) {
  Record("DrvDisableSurface");
  EngDeleteSurface(Device.hsurf);
}
void APIENTRY DisablePDEV(DHPDEV) {
  Record("DrvDisablePDEV");
  EngDeletePalette(Device.palette);
}
void APIENTRY DisableDriver() { Record("DrvDisableDriver"); }
BOOL APIENTRY StartDoc(SURFOBJ* pso, LPWSTR, DWORD) {
  Record(pso != nullptr && pso->dhpdev == reinterpret_cast<DHPDEV>(&Device) ? "DrvStartDoc"
                                                                            : "DrvStartDoc?");
  return kTrue;
}
BOOL APIENTRY EndDoc(SURFOBJ*, FLONG fl) {
  Record(fl == 0 ? "DrvEndDoc" : "DrvEndDoc(abort)");
  return kTrue;
}
BOOL APIENTRY StartPage(SURFOBJ*) {
  Record("DrvStartPage");
  return kTrue;
}
BOOL APIENTRY SendPage(SURFOBJ*) {
  Record("DrvSendPage");
  return kTrue;
}
BOOL APIENTRY CopyBits(SURFOBJ* d, SURFOBJ* s, CLIPOBJ* c, XLATEOBJ* x, RECTL* r, POINTL* p) {
  Record("DrvCopyBits");
  return EngCopyBits(d, s, c, x, r, p);
}
BOOL APIENTRY TextOut(SURFOBJ* pso, STROBJ* pstro, FONTOBJ* pfo, CLIPOBJ* pco, RECTL* prclExtra,
                      RECTL* prclOpaque, BRUSHOBJ* pboFore, BRUSHOBJ* pboOpaque, POINTL* pptlOrg,
                      MIX mix) {
  Record("DrvTextOut");
  return EngTextOut(pso, pstro, pfo, pco, prclExtra, prclOpaque, pboFore, pboOpaque, pptlOrg, mix);
}
BOOL APIENTRY StrokePath(SURFOBJ* pso, PATHOBJ* ppo, CLIPOBJ* pco, XFORMOBJ* pxo, BRUSHOBJ* pbo,
                         POINTL* pptl, LINEATTRS* pla, MIX mix) {
  Record("DrvStrokePath");
  return EngStrokePath(pso, ppo, pco, pxo, pbo, pptl, pla, mix);
}

template <class Fn>
DRVFN Entry(ULONG index, Fn fn) {
  DRVFN out{index, nullptr};
  std::memcpy(&out.pfn, &fn, sizeof fn);
  return out;
}

DRVFN Table[] = {
    Entry(INDEX_DrvEnablePDEV, &EnablePDEV),       Entry(INDEX_DrvCompletePDEV, &CompletePDEV),
    Entry(INDEX_DrvEnableSurface, &EnableSurface), Entry(INDEX_DrvDisableSurface, &DisableSurface),
    Entry(INDEX_DrvDisablePDEV, &DisablePDEV),     Entry(INDEX_DrvDisableDriver, &DisableDriver),
    Entry(INDEX_DrvStartDoc, &StartDoc),           Entry(INDEX_DrvEndDoc, &EndDoc),
    Entry(INDEX_DrvStartPage, &StartPage),         Entry(INDEX_DrvSendPage, &SendPage),
    Entry(INDEX_DrvCopyBits, &CopyBits),           Entry(INDEX_DrvTextOut, &TextOut),
    Entry(INDEX_DrvStrokePath, &StrokePath),
};

}  // namespace

extern "C" {
PIXMOR_EXPORT BOOL APIENTRY DrvEnableDriver(ULONG, ULONG, DRVENABLEDATA* pded) {
  Record("DrvEnableDriver");
  pded->iDriverVersion = DDI_DRIVER_VERSION_NT5_01_SP1;
  pded->c = sizeof Table / sizeof Table[0];
  pded->pdrvfn = Table;
  return kTrue;
}
PIXMOR_EXPORT std::vector<std::string>* RecordingDriverCalls() { return &Calls; }
PIXMOR_EXPORT void RecordingDriverHooks(FLONG hooks) { Hooks = hooks; }
// The page of the next device: a null colour table with mode PAL_BGR and 16
// x 8 pixels of 24 bits restores the default.
PIXMOR_EXPORT void RecordingDriverPage(SIZEL size, ULONG format, ULONG paletteMode,
                                       const ULONG* colours, ULONG count) {
  Page.Size = size;
  Page.Format = format;
  Page.PaletteMode = paletteMode;
  Page.Colours.assign(colours, colours + (colours != nullptr ? count : 0));
}
}
