#include "mime/header_text.h"

#include <vector>

#include "mime/ascii.h"
#include "mime/charsets.h"
#include "mime/transfer_encoding.h"

namespace mime {

namespace {

constexpr char kWordStart[] = "=?";
constexpr char kWordEnd[] = "?=";
constexpr std::size_t kMarkLength = 2;
// RFC 2231 lets a language follow the charset: "utf-8*ja".
constexpr char kLanguageMark = '*';
constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;

struct Piece {
    bool encoded;
    Charset charset;     // of an encoded piece
    std::string bytes;   // decoded bytes, or the text as written
};

bool IsTokenByte(char c) {
    const unsigned char byte = static_cast<unsigned char>(c);
    return byte > ' ' && byte < kDelete && c != '?';
}

// Where the text of an encoded word that starts at a position stops: at the
// first "?=" or blank from there, or at the end. The answer holds for every
// position up to the stop, so a value full of broken words is scanned once.
class WordTextEnd {
public:
    explicit WordTextEnd(std::string_view value) : value_(value) {}

    std::size_t From(std::size_t position) {
        if (position < from_ || position > stop_) {
            from_ = position;
            stop_ = position;
            while (stop_ < value_.size() && !IsWhiteSpace(value_[stop_]) &&
                   value_.compare(stop_, kMarkLength, kWordEnd) != 0) {
                ++stop_;
            }
        }
        return stop_;
    }

private:
    std::string_view value_;
    std::size_t from_ = 1;
    std::size_t stop_ = 0;
};

// An encoded word "=?charset?B?text?=" at value[start] that decodes in a
// known charset: true, with the piece and the position after it.
bool ReadEncodedWord(std::string_view value, std::size_t start, WordTextEnd& textEnds, Piece& piece,
                     std::size_t& end) {
    std::size_t position = start + kMarkLength;
    const std::size_t charsetStart = position;
    while (position < value.size() && IsTokenByte(value[position])) ++position;
    if (position == charsetStart || position + 2 >= value.size() || value[position] != '?' ||
        value[position + 2] != '?') {
        return false;
    }
    std::string_view charsetName = value.substr(charsetStart, position - charsetStart);
    charsetName = charsetName.substr(0, charsetName.find(kLanguageMark));
    const char encoding = LowerAscii(value[position + 1]);
    const std::size_t textStart = position + 3;
    const std::size_t textEnd = textEnds.From(textStart);
    if ((encoding != 'b' && encoding != 'q') || textEnd == value.size() || IsWhiteSpace(value[textEnd])) {
        return false;
    }
    piece.encoded = true;
    piece.charset = CharsetFromName(charsetName);
    if (piece.charset == Charset::kUnknown) return false;
    const std::string_view text = value.substr(textStart, textEnd - textStart);
    piece.bytes.clear();
    if (encoding == 'b') {
        if (!DecodeBase64(text, piece.bytes)) return false;
    } else {
        piece.bytes = DecodeQEncoding(text);
    }
    end = textEnd + kMarkLength;
    return true;
}

std::vector<Piece> SplitPieces(std::string_view value) {
    std::vector<Piece> pieces;
    WordTextEnd textEnds(value);
    std::size_t plainStart = 0;
    std::size_t position = value.find(kWordStart);
    while (position != std::string_view::npos) {
        Piece word;
        std::size_t end = 0;
        if (!ReadEncodedWord(value, position, textEnds, word, end)) {
            position = value.find(kWordStart, position + 1);
            continue;
        }
        const std::string_view between = value.substr(plainStart, position - plainStart);
        const bool afterWord = !pieces.empty() && pieces.back().encoded;
        // White space between two encoded words is only where the sender folded.
        if (!(afterWord && TrimBlanks(between).empty()) && !between.empty()) {
            pieces.push_back({false, Charset::kUnknown, std::string(between)});
        }
        if (!pieces.empty() && pieces.back().encoded && pieces.back().charset == word.charset) {
            pieces.back().bytes += word.bytes;
        } else {
            pieces.push_back(std::move(word));
        }
        plainStart = end;
        position = value.find(kWordStart, end);
    }
    if (plainStart < value.size()) pieces.push_back({false, Charset::kUnknown, std::string(value.substr(plainStart))});
    return pieces;
}

}  // namespace

std::string SingleLine(std::string_view text) {
    std::string line;
    line.reserve(text.size());
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte == 0) continue;
        line += byte < kFirstPrintable || byte == kDelete ? ' ' : c;
    }
    return std::string(TrimBlanks(line));
}

std::string DecodeHeaderText(std::string_view value) {
    std::string decoded;
    for (const Piece& piece : SplitPieces(value)) {
        AppendAsCp932(piece.bytes, piece.encoded ? piece.charset : GuessCharset(piece.bytes), decoded);
    }
    return SingleLine(decoded);
}

}  // namespace mime
