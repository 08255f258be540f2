// The readable text of a message body, its MIME structure walked.
#pragma once

#include <string>

#include "mime/mime_entity.h"

namespace mime {

// The body of message in code page 932, lines ending in LF or CR LF:
// - text/plain and text/html parts (HTML as text) decoded from their
//   transfer encoding and charset (without a charset, GuessCharset; for
//   HTML, its meta charset first);
// - multipart/alternative: the last part that is or holds (however deeply
//   nested) a text/plain part, else HTML, else anything with text; every
//   other multipart: each part in order, nested ones too; a multipart
//   without a delimiter line: its body as it came;
// - message/rfc822: the forwarded message's Subject, From and Date lines,
//   an empty line and its readable body;
// - every other part, and text parts given as attachments: one line that
//   names it (AttachmentNote).
// Pieces are parted by one empty line. Nesting deeper than a sane mail
// ever goes ends in a note as well.
std::string ReadableBody(const MimeEntity& message);

// "Subject: ...", "From: ...", "Date: ..." for those of the three that
// entity has, decoded, each ending in LF.
std::string ReadableHeaderLines(const MimeEntity& entity);

}  // namespace mime
