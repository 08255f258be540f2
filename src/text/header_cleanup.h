// The three optional clean-ups of header values, each in place inside the
// value's buffer. None of them can fail: text that does not have the
// expected form is left as it is (or, for a date, read as zeros).
#pragma once

#include "text/message_headers.h"

namespace text {

// Removes one leading "[tag]" and one space after it; blanks before the tag
// stay, and a subject that is a tag alone keeps it.
void TrimSubjectTag(HeaderValue& subject);

// Keeps what lies outside comments in parentheses and addresses in angle
// brackets, with trailing spaces removed. Quotes shield brackets, and an ESC
// with its two following bytes (ISO-2022-JP) never counts as a bracket or a
// quote. A value that begins with '<' after white space is left alone.
void TrimFromValue(HeaderValue& from);

// Rewrites an RFC 822 style date as "month/day hh:mm zone".
void ConvertDate(HeaderValue& date);

}  // namespace text
