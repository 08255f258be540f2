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

void PrintDatabase(const palmdoc::PalmDocDatabase& database) {
    std::string name;
    ConvertText(TerminalEncoding(), kCodePage932, database.name, name, true);
    std::printf("name: %s\n", name.c_str());
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
        "Lists the header fields and the records of a Palm DOC e-book.",
        "PDB is the database (\"-\": the standard input). The name, stored in Shift-JIS,\n"
        "is printed in the terminal's encoding; each record line gives the record's\n"
        "offset, its stored length and the length of its decoded text.\n",
        {},
        "  coraxtopalm info inbox.pdb\n",
        Run,
    };
    return spec;
}
