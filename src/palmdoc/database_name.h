// The name field of the database header, from the document title.
#pragma once

namespace palmdoc {

// Fills the pdb::kNameSize bytes at field with the title's first bytes, as
// many as fit before the terminator, then zeros. A title is code page 932
// text: a double-byte character whose second byte would not fit is left out
// whole, so that the Palm never shows half a character.
void FormatDatabaseName(const char* title, unsigned char* field);

}  // namespace palmdoc
