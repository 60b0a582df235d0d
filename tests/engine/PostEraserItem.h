#pragma once
// One item of work for the next start, every field given.
#include "engine/erasers/PostEraser.h"
#include <memory>
#include <string>

inline std::unique_ptr<TPostEraserItem>
PostEraserItem(uint8_t type, std::string fileName = "", HKEY root = nullptr, std::string key = "",
               std::string valueName = "", std::string valueData = "", std::string line = "") {
    auto item = std::make_unique<TPostEraserItem>();
    *item = TPostEraserItem{type,           std::move(fileName),  root,
                            std::move(key), std::move(valueName), std::move(valueData),
                            std::move(line)};
    return item;
}
