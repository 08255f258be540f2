// The export of one folder's selected messages into one output file.
#pragma once

#include "palmdoc/bookmark.h"

namespace exporter {

// 1 when a file was produced (the text file or the .pdb), 0 when not.
int ExportFolder(const char* folderPath);

// "%s\%s.txt" in the temporary folder; false when it does not fit the
// 264-byte path buffer out.
bool MakeTextPath(const char* baseName, char* out);

// 1 when the database was written and queued, 0 after the error box.
int ConvertToDoc(const char* baseName, const char* textPath, const char* indexText,
                 const palmdoc::Bookmarks& bookmarks);

}  // namespace exporter
