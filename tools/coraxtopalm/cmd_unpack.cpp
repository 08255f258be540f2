// coraxtopalm unpack: the decompressed text of a Palm DOC database, decoded
// and written one record at a time.
#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "commands.h"
#include "input_file.h"
#include "output_file.h"
#include "palmdoc_file.h"
#include "tool_messages.h"

namespace {

constexpr char kStandardOutput[] = "-";

bool WriteText(PalmDocFile& database, const std::string& path, const std::string& shownPath,
               std::uint64_t& textLength, std::string& error) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) {
        error = CannotWrite(shownPath, errno);
        return false;
    }
    bool done = database.ReadRecords(
        [&](const std::vector<unsigned char>& text) {
            textLength += text.size();
            if (std::fwrite(text.data(), 1, text.size(), out) == text.size()) return true;
            error = CannotWrite(shownPath, errno);
            return false;
        },
        error);
    // The close writes what is still buffered and reports its failure.
    if (std::fclose(out) != 0 && done) {
        error = CannotWrite(shownPath, errno);
        done = false;
    }
    return done;
}

int Run(const ParsedArguments& arguments) {
    InputFile input(arguments.operands[0]);
    OutputFile output(arguments.operands.size() > 1 ? arguments.operands[1] : kStandardOutput);
    PalmDocFile database;
    std::string error;
    std::uint64_t textLength = 0;
    const bool done = input.Open(error) && output.Check({&input}, error) &&
                      database.Open(input.Path(), input.Shown(), error) && output.Create(error) &&
                      WriteText(database, output.TemporaryPath(), output.Shown(), textLength, error) &&
                      output.Commit(error);
    if (!done) {
        ReportError(error);
        return kExitFailure;
    }
    ReportSummary(output.Argument(), "wrote " + output.Shown() + ": " + Counted(textLength, "byte", "bytes") +
                                         " of text from " +
                                         Counted(database.Database().records.size(), "record", "records"));
    return kExitOk;
}

}  // namespace

const CommandSpec& UnpackCommand() {
    static const CommandSpec spec = {
        "unpack",
        "PDB [TEXT]",
        1,
        2,
        "Writes the text of a Palm DOC e-book, decoded record by record.",
        "PDB is the database (\"-\": the standard input). TEXT is the file to write, which\n"
        "replaces an existing file only once it is complete; without it, or with \"-\",\n"
        "the text goes to the standard output. The text is as the database holds it:\n"
        "Shift-JIS for the plug-in's documents.\n",
        {QuietOption()},
        "  coraxtopalm unpack inbox.pdb inbox.txt\n"
        "  coraxtopalm unpack inbox.pdb | iconv -f CP932 -t UTF-8 | less\n",
        Run,
    };
    return spec;
}
