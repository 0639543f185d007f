#pragma once
// All of the GDI layer: device contexts, objects, regions, drawing, blits, text, edges,
// system colours and theme parts.
#include "platform/gdi/Blit.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Edges.h"
#include "platform/gdi/FontMap.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/Regions.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/gdi/UxTheme.h"
