// Content-Type and Content-Disposition: a value and its parameters.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mime {

struct FieldParameter {
    std::string name;   // lower case, with any RFC 2231 "*" and section number
    std::string value;  // quotes and backslash escapes removed
};

struct StructuredField {
    std::string value;  // lower case: "text/plain", "attachment"
    std::vector<FieldParameter> parameters;
};

StructuredField ParseStructuredField(std::string_view text);

// The parameter's value as written; empty when it is missing.
std::string ParameterValue(const StructuredField& field, std::string_view name);

}  // namespace mime
