#pragma once
// The anti-aliasing choice that the GDI+-painted controls publish; apart from the GDI+
// object layer so that window-system units can name it too.
enum TAntiAlias { aaNone, aaClearType, aaAntiAlias };
