// Access to published properties by name, as the skinning units use it to
// reach properties of controls they do not know the classes of.
#pragma once

#include <cstdint>
#include <string>

#include "framework/portable/object.h"

namespace kova::skin {

bool PublishedPropExists(const TObject* obj, const std::string& name);
// The object held by an object-type property; nullptr when there is none.
TObject* ObjectPropByName(TObject* obj, const std::string& name);
// The ordinal value (integers, booleans, colours, enums, sets); -1 when the
// property is missing or not ordinal.
std::int64_t OrdPropByName(TObject* obj, const std::string& name);
void SetOrdPropByName(TObject* obj, const std::string& name, std::int64_t value);
// Whether a set-type property holds the element of that exact name.
bool SetPropHasElement(TObject* obj, const std::string& propName, const std::string& elementName);
// Adds or removes the element; the result is always false.
bool SetPropToggleElement(TObject* obj, const std::string& propName, const std::string& elementName, bool add);

}  // namespace kova::skin
