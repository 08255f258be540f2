#include "palm_title.h"

#include "code_page_text.h"
#include "default_title.h"
#include "palmdoc/pdb_format.h"
#include "platform/cp932.h"

namespace {

bool ToCodePage932(const std::string& text, std::string& converted, std::string& error) {
    std::size_t stoppedAt = 0;
    if (ConvertText(kCodePage932, TerminalEncoding(), text, converted, false, &stoppedAt)) return true;
    error = "the title \"" + text + "\" has a character that code page 932 cannot hold, at \"" +
            text.substr(stoppedAt) + "\"; give another with --title";
    return false;
}

void CutToNameField(std::string& title) {
    title.resize(platform::cp932::FittingLength(title.c_str(), palmdoc::pdb::kMaxNameLength));
}

}  // namespace

bool TitleFromText(const std::string& text, std::string& title, std::string& error) {
    if (!ToCodePage932(text, title, error)) return false;
    CutToNameField(title);
    return true;
}

bool TitleFromFileName(const std::string& path, std::string& title, std::string& error) {
    // The folders go first, in the terminal's encoding, so that a folder
    // name code page 932 cannot hold does not matter.
    const std::size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string converted;
    if (!ToCodePage932(name, converted, error)) return false;
    title = DefaultTitle(converted);
    CutToNameField(title);
    return true;
}
