// Where an export takes its message texts from: the host's selection in the
// plug-in, an mbox file in the command-line tool.
#pragma once

namespace exporter {

class MessageSource {
public:
    virtual ~MessageSource() = default;

    // Moves to the next message: false at the end. text is then the
    // message's text (CR LF line ends), or null when there is none for it.
    virtual bool Next(const char*& text) = 0;
    // Gives back the text of the last Next once its block is written.
    virtual void Release() = 0;
    // True when the source stopped because it could not read a message, not
    // because it had no more.
    virtual bool Failed() const { return false; }
};

}  // namespace exporter
