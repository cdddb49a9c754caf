// Rendering of values with office spreadsheet number-format strings: up to
// four sections (positive; negative; zero; text), conditions such as [<0],
// colour names, currency brackets, elapsed-time brackets, date and time
// codes, digit placeholders, percent, scientific notation and literal text.
// Each section piece becomes a mask for FormatFloat or FormatDateTime.
#pragma once

#include <vector>

#include "platform/base/Types.h"
#include "platform/base/Variants.h"

// What a section's condition says about the value.
struct TResultCondition {
    bool SupressNeg = false;      // section chosen by its condition: no minus sign
    bool SupressNegComp = false;  // first of two sections fails: the second shows no minus sign
    bool Complement = false;      // the condition does not hold
    bool Assigned = false;        // the section has a condition
};

using TResultConditionArray = std::vector<TResultCondition>;
using WidestringArray = std::vector<String>;

// Result := V rendered with Format. Never raises for any format string.
void XlsFormatValue(const Variant& V, const String& Format, String& Result);
