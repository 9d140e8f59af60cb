// The words of the open spelling dictionary, in the order it keeps them.
#pragma once

#include <string>
#include <vector>

#include "text/spell_dictionary.h"

inline std::vector<std::string> DictionaryWords()
{
    std::vector<std::string> out;
    ForEachDictionaryWord(
        [](const uint8_t* w, void* user) {
            static_cast<std::vector<std::string>*>(user)->emplace_back(reinterpret_cast<const char*>(w + 1), w[0]);
        },
        &out);
    return out;
}
