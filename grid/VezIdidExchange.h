#pragma once
// States announced by the string grid's exchange operations (files, clipboard, HTML) and
// the kind of the last clipboard operation.
enum TExportState { esExportStart, esExportNewRow, esExportDone, esExportSelRow };
enum TImportState { isImportStart, isImportNewRow, isImportDone, isImportSelRow };
enum TClipOperation { coCopy, coCut };
