// Stand-ins for the DirectDraw driver-kit records that the cross toolchain's
// engine header names but does not ship; only their names are needed here.
#pragma once
typedef struct DD_SURFACE_LOCAL_ DD_SURFACE_LOCAL, *PDD_SURFACE_LOCAL;
typedef struct DD_DIRECTDRAW_GLOBAL_ DD_DIRECTDRAW_GLOBAL, *PDD_DIRECTDRAW_GLOBAL;
typedef struct DD_CALLBACKS_ DD_CALLBACKS, *PDD_CALLBACKS;
typedef struct DD_SURFACECALLBACKS_ DD_SURFACECALLBACKS, *PDD_SURFACECALLBACKS;
typedef struct DD_PALETTECALLBACKS_ DD_PALETTECALLBACKS, *PDD_PALETTECALLBACKS;
typedef struct DD_HALINFO_ DD_HALINFO, *PDD_HALINFO;
typedef struct VIDEOMEMORY_ VIDEOMEMORY, *PVIDEOMEMORY;
