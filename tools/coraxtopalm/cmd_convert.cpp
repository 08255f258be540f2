// coraxtopalm convert: the folder export's text pipeline run on an mbox file.
// Every message of the file is exported in file order, as if all of them were
// selected, so the .txt output holds the bytes of the plug-in's temporary
// text file and the .pdb output the document it would install.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "commands.h"
#include "default_title.h"
#include "export/export_text.h"
#include "export/message_source.h"
#include "palmdoc/pdb_writer.h"
#include "settings/plugin_settings.h"
#include "text/medoc_index.h"
#include "tools/mailbox/mailbox.h"

namespace {

constexpr char kUsage[] =
    "[--medoc-index=0|1] [--trim-subject=0|1] [--trim-from=0|1] [--conv-date=0|1] "
    "[--index-out FILE] [--title T] MBOX OUTPUT.txt|OUTPUT.pdb";
// Outputs are written under this suffix and renamed once complete.
constexpr char kPartialSuffix[] = ".partial";
constexpr char kTextPartialSuffix[] = ".txt.partial";

enum class OutputKind { kText, kPalmDoc };

struct FlagOption {
    const char* name;  // with its "="
    int32_t SettingsRecord::*setting;
};

// The settings store's defaults apply when an option is not given.
const FlagOption kFlagOptions[] = {
    {"--medoc-index=", &SettingsRecord::MeDocIndex},
    {"--trim-subject=", &SettingsRecord::TrimSubject},
    {"--trim-from=", &SettingsRecord::TrimFrom},
    {"--conv-date=", &SettingsRecord::ConvDate},
};

struct ConvertOptions {
    std::string mailboxPath;
    std::string outputPath;
    OutputKind outputKind = OutputKind::kText;
    std::string indexPath;  // empty: no index file
    std::string title;
    bool haveTitle = false;
};

void ReportError(const std::string& message) { std::fprintf(stderr, "coraxtopalm convert: %s\n", message.c_str()); }

bool EndsWith(const std::string& text, const char* suffix) {
    const std::string tail(suffix);
    return text.size() > tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// False when the argument names a flag option but with a value other than 0
// or 1; handled tells whether it was a flag option at all.
bool TakeFlagOption(const std::string& argument, bool& handled) {
    handled = false;
    for (const FlagOption& option : kFlagOptions) {
        const std::string name(option.name);
        if (argument.compare(0, name.size(), name) != 0) {
            continue;
        }
        handled = true;
        const std::string value = argument.substr(name.size());
        if (value != "0" && value != "1") {
            return false;
        }
        PluginSettings.*option.setting = value == "1" ? 1 : 0;
        return true;
    }
    return true;
}

bool ParseArguments(const std::vector<std::string>& arguments, ConvertOptions& options) {
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        bool handled = false;
        if (!TakeFlagOption(argument, handled)) {
            ReportError("option " + argument + ": the value must be 0 or 1");
            return false;
        }
        if (handled) {
            continue;
        }
        if (argument == "--index-out" || argument == "--title") {
            if (i + 1 >= arguments.size()) {
                ReportError("option " + argument + " needs a value");
                return false;
            }
            if (argument == "--title") {
                options.title = arguments[++i];
                options.haveTitle = true;
            } else {
                options.indexPath = arguments[++i];
            }
        } else if (argument.compare(0, 1, "-") == 0 && argument != "-") {
            ReportError("unknown option " + argument);
            return false;
        } else {
            paths.push_back(argument);
        }
    }
    if (paths.size() != 2) {
        ReportError(std::string("expected MBOX and OUTPUT\nusage: coraxtopalm convert ") + kUsage);
        return false;
    }
    options.mailboxPath = paths[0];
    options.outputPath = paths[1];
    if (EndsWith(options.outputPath, ".txt")) {
        options.outputKind = OutputKind::kText;
    } else if (EndsWith(options.outputPath, ".pdb")) {
        options.outputKind = OutputKind::kPalmDoc;
    } else {
        ReportError("the output " + options.outputPath + " must end in .txt or .pdb");
        return false;
    }
    if (!options.haveTitle) {
        options.title = DefaultTitle(options.mailboxPath);
    }
    return true;
}

// Only files this run may have written; a folder of that name stays.
void RemoveQuietly(const std::string& path) {
    std::error_code ignored;
    if (std::filesystem::is_regular_file(path, ignored)) {
        std::filesystem::remove(path, ignored);
    }
}

bool Rename(const std::string& from, const std::string& to) {
    std::error_code error;
    std::filesystem::rename(from, to, error);
    if (error) {
        ReportError("cannot write " + to + ": " + error.message());
        return false;
    }
    return true;
}

// Every message of the mailbox in file order, as if all were selected.
class MailboxMessages : public MessageSource {
public:
    explicit MailboxMessages(Mailbox& mailbox) : mailbox_(mailbox) {}

    bool Next(const char*& text) override {
        if (next_ >= mailbox_.Count()) return false;
        if (!mailbox_.ReadText(next_++, text_, error_)) {
            failed_ = true;
            return false;
        }
        text = text_.c_str();
        return true;
    }
    void Release() override { text_.clear(); }
    bool Failed() const override { return failed_; }
    const std::string& Error() const { return error_; }

private:
    Mailbox& mailbox_;
    std::size_t next_ = 0;
    std::string text_;
    std::string error_;
    bool failed_ = false;
};

// Failures name shownPath, the file that the user asked for.
bool WriteMailboxText(Mailbox& mailbox, const std::string& textPath, const std::string& shownPath) {
    MailboxMessages messages(mailbox);
    switch (WriteExportText(textPath.c_str(), messages, static_cast<int32_t>(mailbox.Count()))) {
        case ExportText::Written:
            return true;
        case ExportText::SourceFailed:
            ReportError(messages.Error());
            return false;
        case ExportText::CannotCreate:
        case ExportText::WriteFailed:
            break;
    }
    ReportError("cannot write " + shownPath);
    return false;
}

bool WriteIndexFile(const std::string& path, const std::string& shownPath) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        ReportError("cannot write " + shownPath);
        return false;
    }
    // With the index switched off there is no index text: the file is empty.
    if (MeDocIndexBuffer.text != nullptr) {
        std::fputs(MeDocIndexBuffer.text, file);
    }
    const bool written = std::fflush(file) == 0 && std::ferror(file) == 0;
    if (std::fclose(file) != 0 || !written) {
        ReportError("cannot write " + shownPath);
        return false;
    }
    return true;
}

// Writes the output under its partial name; false after reporting why.
bool WriteOutput(Mailbox& mailbox, const ConvertOptions& options, const std::string& partialPath) {
    if (options.outputKind == OutputKind::kText) {
        return WriteMailboxText(mailbox, partialPath, options.outputPath);
    }
    const std::string textPath = options.outputPath + kTextPartialSuffix;
    bool converted = WriteMailboxText(mailbox, textPath, options.outputPath);
    if (converted) {
        const char* indexText = PluginSettings.MeDocIndex != 0 ? MeDocIndexBuffer.text : nullptr;
        converted = WritePalmDoc(textPath.c_str(), partialPath.c_str(), options.title.c_str(), indexText) ==
                    kWritePalmDocSucceeded;
        if (!converted) {
            ReportError("conversion of " + options.mailboxPath + " to " + options.outputPath + " failed");
        }
    }
    RemoveQuietly(textPath);
    return converted;
}

bool Convert(const ConvertOptions& options) {
    Mailbox mailbox;
    std::string error;
    if (!mailbox.Open(options.mailboxPath, error)) {
        ReportError(error);
        return false;
    }
    const std::string partialOutput = options.outputPath + kPartialSuffix;
    const std::string partialIndex = options.indexPath + kPartialSuffix;
    bool done = WriteOutput(mailbox, options, partialOutput);
    if (done && !options.indexPath.empty()) {
        done = WriteIndexFile(partialIndex, options.indexPath);
    }
    if (done && !options.indexPath.empty()) {
        done = Rename(partialIndex, options.indexPath);
    }
    if (done && !Rename(partialOutput, options.outputPath)) {
        RemoveQuietly(options.indexPath);
        done = false;
    }
    if (!done) {
        RemoveQuietly(partialOutput);
        if (!options.indexPath.empty()) {
            RemoveQuietly(partialIndex);
        }
    }
    return done;
}

}  // namespace

int RunConvert(const std::vector<std::string>& arguments) {
    PluginSettings = kDefaultSettings;
    ConvertOptions options;
    if (!ParseArguments(arguments, options)) {
        return kExitUsage;
    }
    const bool converted = Convert(options);
    ReleaseMeDocIndex();
    return converted ? 0 : kExitFailure;
}
