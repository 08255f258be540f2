// coraxtopalm convert: the folder export's text pipeline run on an mbox file.
// Every message of the file is exported in file order, as if all of them were
// selected, so the .txt output holds the bytes of the plug-in's temporary
// text file and the .pdb output the document it would install.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "commands.h"
#include "database_output.h"
#include "export/export_text.h"
#include "export/message_source.h"
#include "input_file.h"
#include "mime/ascii.h"
#include "output_file.h"
#include "palmdoc/pdb_format.h"
#include "palm_title.h"
#include "settings/plugin_settings.h"
#include "temporary_files.h"
#include "text/medoc_index.h"
#include "tool_messages.h"
#include "tools/mailbox/mailbox.h"

namespace {

constexpr char kTitleOption[] = "--title";
constexpr char kIndexOutOption[] = "--index-out";
constexpr char kTextExtension[] = ".txt";
constexpr char kPalmDocExtension[] = ".pdb";
constexpr char kTextPrefix[] = ".coraxtopalm-text.";

// The plug-in's settings that the command line may switch, each 0 or 1.
struct SettingOption {
    const char* name;
    int32_t settings::SettingsRecord::*setting;
    int32_t defaultValue;
    const char* help;
};

const SettingOption kSettingOptions[] = {
    {"--medoc-index", &settings::SettingsRecord::MeDocIndex, settings::kDefaultSettings.MeDocIndex,
     "1: a MeDoc index of the subjects at the head of the .pdb"},
    {"--trim-subject", &settings::SettingsRecord::TrimSubject, settings::kDefaultSettings.TrimSubject,
     "1: a leading [tag] of the subject removed"},
    {"--trim-from", &settings::SettingsRecord::TrimFrom, settings::kDefaultSettings.TrimFrom,
     "1: only the name of the sender, without the address"},
    {"--conv-date", &settings::SettingsRecord::ConvDate, settings::kDefaultSettings.ConvDate,
     "1: the date as \"month/day hh:mm zone\""},
    // On here, unlike in the plug-in: the tool's job is a readable e-book.
    {"--decode-mime", &settings::SettingsRecord::DecodeMime, 1,
     "1: MIME and the Japanese charsets decoded into readable Shift-JIS; 0: the plug-in's default text"},
    {"--bookmarks", &settings::SettingsRecord::Bookmarks, settings::kDefaultSettings.Bookmarks,
     "1: a Palm DOC bookmark at every message, named with its subject"},
};

// The extension alone is no file name.
bool EndsWithIgnoringCase(const std::string& text, const std::string& tail) {
    return text.size() > tail.size() &&
           mime::EqualsIgnoringCase(std::string_view(text).substr(text.size() - tail.size()), tail);
}

// Every message of the mailbox in file order, as if all were selected.
class MailboxMessages : public exporter::MessageSource {
public:
    explicit MailboxMessages(Mailbox& mailbox) : mailbox_(mailbox) {}

    bool Next(const char*& text) override {
        if (next_ >= mailbox_.Count()) return false;
        ShowProgress("message " + GroupedNumber(next_ + 1) + " of " + GroupedNumber(mailbox_.Count()));
        if (!mailbox_.ReadText(next_++, text_, error_)) return false;
        text = text_.c_str();
        return true;
    }
    void Release() override { text_.clear(); }
    // A message that cannot be read always says why.
    bool Failed() const override { return !error_.empty(); }
    const std::string& Error() const { return error_; }

private:
    Mailbox& mailbox_;
    std::size_t next_ = 0;
    std::string text_;
    std::string error_;
};

// The mailbox's messages name the file it opened: for the standard input,
// a copy of it, which the user never named.
std::string NamingInput(std::string message, const InputFile& input) {
    for (std::size_t at; input.Path() != input.Shown() && (at = message.find(input.Path())) != std::string::npos;) {
        message.replace(at, input.Path().size(), input.Shown());
    }
    return message;
}

std::uint64_t FileSize(const std::string& path) {
    struct stat status;
    return stat(path.c_str(), &status) == 0 ? static_cast<std::uint64_t>(status.st_size) : 0;
}

// Writes the export's text file of the mailbox and measures it.
bool WriteMailboxText(Mailbox& mailbox, const InputFile& input, const std::string& textPath,
                      const std::string& shownOutput, std::uint64_t& textLength, std::string& error,
                      palmdoc::Bookmarks* bookmarks = nullptr) {
    MailboxMessages messages(mailbox);
    platform::FileFailure failure;
    switch (exporter::WriteExportText(textPath.c_str(), messages, bookmarks, &failure)) {
        case exporter::ExportText::Written:
            textLength = FileSize(textPath);
            return true;
        case exporter::ExportText::SourceFailed:
            error = NamingInput(messages.Error(), input);
            return false;
        case exporter::ExportText::CannotCreate:
        case exporter::ExportText::WriteFailed:
            break;
    }
    error = CannotWrite(shownOutput, failure.errorNumber != 0 ? failure.errorNumber : EIO);
    return false;
}

bool WriteIndexFile(const std::string& path, const std::string& shownPath, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        error = CannotWrite(shownPath, errno);
        return false;
    }
    // With the index switched off there is no index text: the file is empty.
    if (text::MeDocIndexBuffer.text != nullptr) std::fputs(text::MeDocIndexBuffer.text, file);
    errno = 0;
    const bool written = std::fflush(file) == 0 && std::ferror(file) == 0;
    const int reason = errno;
    if (std::fclose(file) != 0 || !written) {
        error = CannotWrite(shownPath, reason != 0 ? reason : errno);
        return false;
    }
    return true;
}

struct ConvertRun {
    bool database = false;  // a .pdb, not a .txt
    std::string title;
    std::size_t messages = 0;
    std::uint64_t textLength = 0;
};

// The .pdb: the text file goes beside the output's temporary file, then the
// database is written from it and the index.
bool WriteDatabase(Mailbox& mailbox, const InputFile& input, OutputFile& output, ConvertRun& run,
                   std::string& error) {
    DatabaseJob job;
    if (!CreateTemporaryFile(output.SiblingFolder(), kTextPrefix, job.textPath)) {
        error = CannotWrite(output.Shown(), errno);
        return false;
    }
    job.textShown = input.Shown();
    job.title = run.title;
    job.pdbPath = output.TemporaryPath();
    job.pdbShown = output.Shown();
    bool done = WriteMailboxText(mailbox, input, job.textPath, output.Shown(), run.textLength, error, &job.bookmarks);
    if (done) {
        // With the index switched off the export leaves no index text.
        if (text::MeDocIndexBuffer.text != nullptr) job.index = text::MeDocIndexBuffer.text;
        run.textLength += job.index.size();
        done = WriteDatabaseFile(job, error);
    }
    RemoveTemporaryFile(job.textPath);
    return done;
}

bool Convert(const ParsedArguments& arguments, ConvertRun& run, std::string& error) {
    InputFile input(arguments.operands[0]);
    OutputFile output(arguments.operands[1]);
    const bool hasIndexOut = arguments.Has(kIndexOutOption);
    OutputFile indexOut(arguments.Value(kIndexOutOption));
    Mailbox mailbox;
    if (!input.Open(error) || !output.Check({&input}, error) || (hasIndexOut && !indexOut.Check({&input}, error))) {
        return false;
    }
    if (hasIndexOut && !indexOut.IsDistinctFrom(output)) {
        error = "refusing to write the index " + indexOut.Shown() + ": it is the output " + output.Shown();
        return false;
    }
    if (!mailbox.Open(input.Path(), error)) {
        error = NamingInput(error, input);
        return false;
    }
    run.messages = mailbox.Count();
    if (!output.Create(error) || (hasIndexOut && !indexOut.Create(error))) return false;
    bool done = run.database ? WriteDatabase(mailbox, input, output, run, error)
                             : WriteMailboxText(mailbox, input, output.TemporaryPath(), output.Shown(),
                                                run.textLength, error);
    done = done && (!hasIndexOut || (WriteIndexFile(indexOut.TemporaryPath(), indexOut.Shown(), error) &&
                                     indexOut.Commit(error)));
    return done && output.Commit(error);
}

// --title, or the mailbox's file name; the output's for the standard input.
bool ChooseTitle(const ParsedArguments& arguments, std::string& title, std::string& error) {
    if (arguments.Has(kTitleOption)) return TitleFromText(arguments.Value(kTitleOption), title, error);
    const std::string& mailboxPath = arguments.operands[0];
    return TitleFromFileName(mailboxPath != "-" ? mailboxPath : arguments.operands[1], title, error);
}

int Run(const ParsedArguments& arguments) {
    ConvertRun run;
    const std::string& outputPath = arguments.operands[1];
    run.database = EndsWithIgnoringCase(outputPath, kPalmDocExtension);
    if (!run.database && !EndsWithIgnoringCase(outputPath, kTextExtension)) {
        ReportError("the output " + ShownOutput(outputPath) + " must be a file name ending in .txt or .pdb");
        return kExitUsage;
    }
    std::string error;
    // Only the database has a title.
    if (run.database && !ChooseTitle(arguments, run.title, error)) {
        ReportError(error);
        return kExitUsage;
    }
    settings::PluginSettings = settings::kDefaultSettings;
    for (const SettingOption& option : kSettingOptions) {
        settings::PluginSettings.*option.setting = arguments.Flag(option.name, option.defaultValue);
    }
    const bool converted = Convert(arguments, run, error);
    text::ReleaseMeDocIndex();
    if (!converted) {
        ReportError(error);
        return kExitFailure;
    }
    std::string summary = "wrote " + outputPath + ": " + Counted(run.messages, "message", "messages") + ", " +
                          Counted(run.textLength, "byte", "bytes") + " of text";
    if (run.database) summary += " in " + Counted(palmdoc::pdb::TextRecordCount(run.textLength), "record", "records");
    ReportSummary(outputPath, summary);
    return kExitOk;
}

std::vector<OptionSpec> ConvertOptions() {
    std::vector<OptionSpec> options;
    for (const SettingOption& option : kSettingOptions) {
        options.push_back({option.name, 0, OptionKind::kFlag, nullptr,
                           std::string(option.help) + " (default: " + std::to_string(option.defaultValue) + ")"});
    }
    options.push_back({kIndexOutOption, 0, OptionKind::kText, "FILE",
                       "also write the MeDoc index text to FILE (empty with --medoc-index=0)"});
    options.push_back({kTitleOption, 't', OptionKind::kText, "T",
                       "the document's name, in the terminal's encoding; stored as Shift-JIS and cut to 31 bytes "
                       "on a character boundary (default: MBOX's file name without its extension)"});
    options.push_back(QuietOption());
    return options;
}

}  // namespace

const CommandSpec& ConvertCommand() {
    static const CommandSpec spec = {
        "convert",
        "MBOX OUTPUT",
        2,
        2,
        "Exports the messages of an mbox file as the plug-in exports a folder.",
        "MBOX is a mail folder in mbox format, messages in Shift-JIS as the plug-in\n"
        "expects them (\"-\": the standard input). OUTPUT ending in .txt (any letter\n"
        "case) gets the plug-in's text file, ending in .pdb its Palm DOC e-book; it\n"
        "replaces an existing file only once it is complete. The settings options\n"
        "take the plug-in's defaults.\n",
        ConvertOptions(),
        "  coraxtopalm convert --trim-from=1 --title=Inbox Inbox.mbox Inbox.pdb\n",
        Run,
    };
    return spec;
}
