#include "mime/mime_entity.h"

#include "mime/ascii.h"

namespace {

struct Line {
    std::string_view text;  // without its line end
    std::size_t next;       // start of the line after it
};

Line LineAt(std::string_view text, std::size_t start) {
    const std::size_t lineFeed = text.find('\n', start);
    const std::size_t end = lineFeed == std::string_view::npos ? text.size() : lineFeed;
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return {line, lineFeed == std::string_view::npos ? text.size() : lineFeed + 1};
}

}  // namespace

MimeEntity ParseEntity(std::string_view text) {
    MimeEntity entity;
    std::size_t position = 0;
    while (position < text.size()) {
        const Line line = LineAt(text, position);
        position = line.next;
        if (line.text.empty()) {
            entity.body = text.substr(position);
            return entity;
        }
        if (IsBlank(line.text.front())) {
            if (!entity.fields.empty()) entity.fields.back().value.append(line.text);
            continue;
        }
        const std::size_t colon = line.text.find(':');
        if (colon == std::string_view::npos) continue;
        std::string_view name = line.text.substr(0, colon);
        while (!name.empty() && IsBlank(name.back())) name.remove_suffix(1);
        entity.fields.push_back({name, std::string(line.text.substr(colon + 1))});
    }
    return entity;
}

const std::string* FindField(const MimeEntity& entity, std::string_view name) {
    const std::string* found = nullptr;
    for (const HeaderField& field : entity.fields) {
        if (EqualsIgnoringCase(field.name, name)) found = &field.value;
    }
    return found;
}
