// coraxtopalm info: the header fields and records of a Palm DOC database.
#include <cstdio>
#include <string>
#include <vector>

#include "code_page_text.h"
#include "commands.h"
#include "input_file.h"
#include "palmdoc_file.h"
#include "tool_messages.h"

namespace {

// A name stored in Shift-JIS, in the terminal's encoding.
std::string Shown(const std::string& name) {
    std::string shown;
    ConvertText(TerminalEncoding(), kCodePage932, name, shown, true);
    return shown;
}

void PrintDatabase(const palmdoc::PalmDocDatabase& database) {
    std::printf("name: %s\n", Shown(database.name).c_str());
    std::printf("type: %s\n", database.type.c_str());
    std::printf("creator: %s\n", database.creator.c_str());
    std::printf("records: %u\n", static_cast<unsigned>(database.numberOfRecords));
    std::printf("compression: %u\n", static_cast<unsigned>(database.compression));
    std::printf("text length: %lu\n", static_cast<unsigned long>(database.textLength));
    std::printf("record count: %u\n", static_cast<unsigned>(database.recordCount));
    std::printf("record size: %u\n", static_cast<unsigned>(database.recordSize));
    for (std::size_t k = 0; k < database.records.size(); ++k) {
        const palmdoc::PalmDocRecord& record = database.records[k];
        std::printf("record %lu: offset %lu, stored %lu, text %lu\n", static_cast<unsigned long>(k + 1),
                    static_cast<unsigned long>(record.offset), static_cast<unsigned long>(record.storedLength),
                    static_cast<unsigned long>(record.textLength));
    }
    for (std::size_t b = 0; b < database.bookmarks.size(); ++b) {
        std::printf("bookmark %lu: offset %lu, name %s\n", static_cast<unsigned long>(b + 1),
                    static_cast<unsigned long>(database.bookmarks[b].offset), Shown(database.bookmarks[b].name).c_str());
    }
}

int Run(const ParsedArguments& arguments) {
    InputFile input(arguments.operands[0]);
    PalmDocFile database;
    std::string error;
    // Every record is decoded, one at a time, before anything is printed, so
    // that a damaged database gives its error and no half listing.
    if (!input.Open(error) || !database.Open(input.Path(), input.Shown(), error) ||
        !database.ReadRecords([](const std::vector<unsigned char>&) { return true; }, error)) {
        ReportError(error);
        return kExitFailure;
    }
    PrintDatabase(database.Database());
    return kExitOk;
}

}  // namespace

const CommandSpec& InfoCommand() {
    static const CommandSpec spec = {
        "info",
        "PDB",
        1,
        1,
        "Lists the header fields, the records and the bookmarks of a Palm DOC e-book.",
        "PDB is the database (\"-\": the standard input). The name, stored in Shift-JIS,\n"
        "is printed in the terminal's encoding; each record line gives the record's\n"
        "offset, its stored length and the length of its decoded text; each bookmark\n"
        "line the offset in the decoded text and the name, as the database's name.\n",
        {},
        "  coraxtopalm info inbox.pdb\n",
        Run,
    };
    return spec;
}
