#pragma once
// The component classes of the libraries, for the stored-form fuzz target: one source per
// library group, since some libraries' headers cannot share a source file.
#include <vector>

#include "platform/rtl/Classes.h"

void AddFoundationClasses(std::vector<TClass>& Classes);
void AddOfficeClasses(std::vector<TClass>& Classes);
void AddToolBarClasses(std::vector<TClass>& Classes);
void AddMenusClasses(std::vector<TClass>& Classes);
void AddEditorsClasses(std::vector<TClass>& Classes);
