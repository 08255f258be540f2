// The mbox reader and the read-mark write-back on any bytes: every message
// reads, and after marking all of them read the file indexes again to the
// same count with every message read.
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "tools/mailbox/mailbox.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Mailbox mailbox;
    std::string error;
    if (!mailbox.Open(WriteScratchFile(data, size), error)) {
        Require(!error.empty());
        return 0;
    }
    const std::size_t count = mailbox.Count();
    std::string text;
    for (std::size_t index = 0; index < count; ++index) {
        Require(mailbox.ReadText(index, text, error));
        // Every line ends in one CR LF.
        Require(text.empty() || (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0));
    }
    Require(mailbox.WriteReadFlags(std::vector<bool>(count, true), error));
    Require(mailbox.Count() == count);
    for (std::size_t index = 0; index < count; ++index) Require(mailbox.IsRead(index));
    return 0;
}
