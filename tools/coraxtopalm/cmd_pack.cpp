// coraxtopalm pack: the plug-in's database writer on a text file.
#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "commands.h"
#include "database_output.h"
#include "input_file.h"
#include "output_file.h"
#include "palmdoc/pdb_format.h"
#include "palm_title.h"
#include "tool_messages.h"

namespace {

constexpr char kTitleOption[] = "--title";
constexpr char kIndexOption[] = "--index";

// The writer takes the index as a NUL-terminated string, as the export
// hands it over, so an index file is cut at its first NUL byte.
bool ReadIndex(const InputFile& file, std::string& index, std::string& error) {
    std::FILE* stream = std::fopen(file.Path().c_str(), "rb");
    if (stream == nullptr) {
        error = CannotRead(file.Shown(), errno);
        return false;
    }
    char chunk[1 << 16];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, stream)) > 0) index.append(chunk, got);
    const bool failed = std::ferror(stream) != 0;
    const int reason = errno;
    std::fclose(stream);
    if (failed) {
        error = CannotRead(file.Shown(), reason);
        return false;
    }
    index.resize(index.find('\0') == std::string::npos ? index.size() : index.find('\0'));
    return true;
}

bool ChooseTitle(const ParsedArguments& arguments, std::string& title, std::string& error) {
    if (arguments.Has(kTitleOption)) return TitleFromText(arguments.Value(kTitleOption), title, error);
    for (const std::string& path : arguments.operands) {
        if (path != "-") return TitleFromFileName(path, title, error);
    }
    error = "with the text and the database both \"-\" there is no file name for the title; give one with --title";
    return false;
}

int Run(const ParsedArguments& arguments) {
    DatabaseJob job;
    std::string error;
    if (!ChooseTitle(arguments, job.title, error)) {
        ReportError(error);
        return kExitUsage;
    }
    InputFile text(arguments.operands[0]);
    OutputFile pdb(arguments.operands[1]);
    InputFile index(arguments.Value(kIndexOption));
    const bool hasIndex = arguments.Has(kIndexOption);
    std::vector<const InputFile*> inputs = {&text};
    if (hasIndex) inputs.push_back(&index);
    bool done = text.Open(error) && (!hasIndex || index.Open(error)) && pdb.Check(inputs, error) &&
                (!hasIndex || ReadIndex(index, job.index, error));
    job.textPath = text.Path();
    job.textShown = text.Shown();
    job.pdbShown = pdb.Shown();
    done = done && pdb.Create(error);
    job.pdbPath = pdb.TemporaryPath();
    done = done && WriteDatabaseFile(job, error) && pdb.Commit(error);
    if (!done) {
        ReportError(error);
        return kExitFailure;
    }
    const std::uint64_t textLength = text.Size() + job.index.size();
    ReportSummary(pdb.Argument(), "wrote " + pdb.Shown() + ": " + Counted(textLength, "byte", "bytes") +
                                      " of text in " + Counted(palmdoc::pdb::TextRecordCount(textLength), "record", "records"));
    return kExitOk;
}

}  // namespace

const CommandSpec& PackCommand() {
    static const CommandSpec spec = {
        "pack",
        "TEXT PDB",
        2,
        2,
        "Makes a Palm DOC e-book (.pdb) from a Shift-JIS text file.",
        "TEXT is the text, in Shift-JIS (code page 932) as the handheld shows it; each\n"
        "4096 bytes become one compressed record, control characters other than the\n"
        "line ends dropped. PDB is the database to write: it replaces an existing file\n"
        "only once it is complete. \"-\" reads TEXT from the standard input or writes\n"
        "PDB to the standard output. A Palm DOC holds at most 268,427,264 bytes of text.\n",
        {
            {kTitleOption, 't', OptionKind::kText, "T",
             "the document's name, in the terminal's encoding; stored as Shift-JIS and cut to 31 bytes on a "
             "character boundary (default: TEXT's file name without its extension)"},
            {kIndexOption, 0, OptionKind::kText, "FILE",
             "put the text of FILE (up to its first NUL byte) before TEXT, as the plug-in puts its MeDoc index "
             "(default: none)"},
            QuietOption(),
        },
        "  coraxtopalm pack --title=Inbox inbox.txt inbox.pdb\n",
        Run,
    };
    return spec;
}
