// VezIdid, the in-cell scroll bar of ctScrollbar cells.
#include "grid/VezIdid.h"

void TDavEvadurAvuz::DrawCellScrollBar(TCanvas*, int, int, TRect&) {}
