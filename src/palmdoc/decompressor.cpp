#include "palmdoc/decompressor.h"

#include "palmdoc/compressed_stream.h"

namespace palmdoc {

namespace {

constexpr unsigned kMatchLengthMask = (1u << kDistanceShift) - 1;
constexpr unsigned kBackReferenceFieldMask = 0x3FFF;

}  // namespace

bool DecompressRecord(const unsigned char* record, std::size_t recordLength, std::size_t maxLength,
                      std::vector<unsigned char>& text, std::string& error) {
    const std::size_t start = text.size();
    std::size_t i = 0;
    while (i < recordLength) {
        const unsigned char c = record[i++];
        if (c >= kVerbatimRunMin && c <= kVerbatimRunMax) {
            if (recordLength - i < c) {
                error = "verbatim run cut off by the end of the record";
                return false;
            }
            text.insert(text.end(), record + i, record + i + c);
            i += c;
        } else if (c >= kBackReferenceMin && c <= kBackReferenceMax) {
            if (i == recordLength) {
                error = "back-reference cut off by the end of the record";
                return false;
            }
            const unsigned field = ((unsigned{c} << 8) | record[i++]) & kBackReferenceFieldMask;
            const std::size_t distance = field >> kDistanceShift;
            const std::size_t length = (field & kMatchLengthMask) + kMinMatch;
            if (distance == 0 || distance > text.size() - start) {
                error = "back-reference of distance " + std::to_string(distance) + " before the record's start";
                return false;
            }
            // Byte by byte: the copy may run on into the bytes it produces.
            for (std::size_t k = 0; k < length; ++k) text.push_back(text[text.size() - distance]);
        } else if (c >= kSpacePairMin) {
            text.push_back(kSpace);
            text.push_back(static_cast<unsigned char>(c ^ kSpacePairXor));
        } else {
            text.push_back(c);
        }
        if (text.size() - start > maxLength) {
            error = "record decompresses to more than " + std::to_string(maxLength) + " bytes";
            return false;
        }
    }
    return true;
}

}  // namespace palmdoc
