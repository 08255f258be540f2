#include "palmdoc/database_name.h"

#include <cstring>

#include "palmdoc/pdb_format.h"
#include "platform/cp932.h"

namespace palmdoc {

void FormatDatabaseName(const char* title, unsigned char* field) {
    std::memset(field, 0, pdb::kNameSize);
    std::memcpy(field, title, platform::cp932::FittingLength(title, pdb::kMaxNameLength));
}

}  // namespace palmdoc
