// HTML export of the grid (filled in below).
#include "grid/VezIdid.h"

void TDavEvadurAvuz::SaveToHTMLString(const std::string& ImageFolder, std::string& Out) { Out.clear(); }
void TDavEvadurAvuz::OutputToHTML(const std::string& FileName, bool Append) {}
void TDavEvadurAvuz::SaveToHTML(const std::string& FileName, bool Preview) { OutputToHTML(FileName, false); }
