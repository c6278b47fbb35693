#pragma once
// Condition statistics of the prediction model, from the condition file.
#include <string>

#include "base/table.h"

namespace veltrix {

inline constexpr int kConditionRows = 300;
inline constexpr int kConditionValues = 13;

struct Conditions {
    int ConditionCount = 0;                                      // rows filled, in file order
    Array1<std::string> ConditionKey{kConditionRows};            // 7-character condition keys
    TextTable ConditionTable{kConditionRows, kConditionValues};  // 13 text values per row

    void clear() {
        ConditionCount = 0;
        ConditionKey = Array1<std::string>(kConditionRows);
        ConditionTable = TextTable(kConditionRows, kConditionValues);
    }
};

}  // namespace veltrix
